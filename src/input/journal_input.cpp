#include "input/journal_input.h"

#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "input/held_keys.h"
#include "selection/dispatch.h"

UINT fJournalHeld = 0;

namespace {

// A record's key is the right one of a pair: the right Shift by its scan code, the right Ctrl by
// the extended-key flag.
bool IsRightKey(const EVENTMSG &event) {
    const UINT nVk = event.paramL & 0xFF;
    if (nVk == VK_SHIFT)
        return ((event.paramL >> 8) & 0xFF) == 0x36;
    return nVk == VK_CONTROL && ((event.paramH & 0x8000) || (event.paramL & 0x10000));
}

} // namespace

InputEvent FromJournalRecord(const EVENTMSG &event, UINT fHeld) {
    if (event.message >= WM_KEYFIRST && event.message <= WM_KEYLAST)
        return InputEvent{event.message, POINT{0, 0}, event.paramL & 0xFF,
                          fHeld,         event.time,  event.hwnd};
    return InputEvent{
        event.message, POINT{LONG(event.paramL), LONG(event.paramH)}, 0, fHeld, event.time,
        event.hwnd};
}

LRESULT CALLBACK SelectionHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode >= 0 && pHostRecord && lParam) {
        // Physical pixels for the selection's work; the next hook runs as the host declared.
        PhysicalPixels physicalPixels;
        const EVENTMSG &record = *reinterpret_cast<const EVENTMSG *>(lParam);
        fJournalHeld =
            SidedAfter(fJournalHeld, record.message, record.paramL & 0xFF, IsRightKey(record));
        SelectionEvent(FromJournalRecord(record, HeldOfSided(fJournalHeld)));
    }
    return CallNextHookEx(hMouseHook, nCode, wParam & 0xFFFF, lParam);
}

void HandRecordToSelection(const EVENTMSG &event) {
    // Between two journal-record hooks the one installed last is called first, and the record
    // the Escape hook keeps is not seen by the selection hook after it. Low-level hooks see it
    // whatever the order.
    if (bMouseHookOn && pHostRecord && nMouseHookPath == HOOK_JOURNAL && bKeyHookFirst) {
        PhysicalPixels physicalPixels;
        SelectionEvent(FromJournalRecord(event, HeldOfSided(fJournalHeld)));
    }
}
