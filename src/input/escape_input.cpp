#include "input/escape_input.h"

#include "entry/mouse_hook.h"
#include "input/hook_paths.h"
#include "host/hook_claim.h"
#include "host/hook_state.h"

namespace {

// Whether lParam can be the address of a record, taken whole: a 32-bit build takes addresses with
// their three highest bits clear, as it always has; a 64-bit build every user-mode address, those
// above 4 GiB included.
bool IsRecordAddress(LPARAM lParam) {
#ifdef _WIN64
    return lParam && (ULONG_PTR(lParam) >> 47) == 0;
#else
    return lParam && (ULONG_PTR(lParam) & 0xE0000000) == 0;
#endif
}

} // namespace

LRESULT CALLBACK EscapeHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    // The address is tested before the record is read.
    if (nCode == HC_ACTION && IsRecordAddress(lParam)) {
        const EVENTMSG &event = *reinterpret_cast<const EVENTMSG *>(lParam);
        if (event.message == WM_KEYDOWN && (event.paramL & 0xFF) == VK_ESCAPE) {
            PostMessageA(hwndEscapeTarget, UM_ESCAPE, 0, 0);
            // Kept from the journal-record hooks after this one; a selection hook among them
            // gets the key here. The key itself still reaches the window with the focus.
            HandEscapeToSelection(event);
            return 1;
        }
    }
    return CallNextHookEx(hKeyHook, nCode, wParam & 0xFFFF, lParam);
}

extern "C" int WINAPI SetKeyboardHook(HWND hwndTarget, BOOL bEnable) {
    // While another host has the hook on, turning on changes nothing here.
    if (bEnable && !bKeyHookOn && !ClaimHook(CLAIM_ESCAPE))
        return 0;
    hwndEscapeTarget = hwndTarget;
    if (bEnable) {
        if (bKeyHookOn)
            return 0;
        if (!InstallEscapeHook()) {
            FreeHookClaim(CLAIM_ESCAPE);
            return 0;
        }
        bKeyHookOn = 1;
        bKeyHookFirst = bMouseHookOn;
        return 1;
    }
    if (!bKeyHookOn || !hKeyHook)
        return 0;
    const BOOL bResult = RemoveEscapeHook();
    bKeyHookOn = 0;
    FreeHookClaim(CLAIM_ESCAPE);
    return bResult;
}
