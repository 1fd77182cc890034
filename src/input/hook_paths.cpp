#include "input/hook_paths.h"

#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "input/escape_input.h"
#include "input/held_keys.h"
#include "input/journal_input.h"
#include "input/lowlevel_input.h"

HHOOK hMouseKeyHook = nullptr;

namespace {

HHOOK HookAll(int idHook, HOOKPROC pfn) {
    return SetWindowsHookExA(idHook, pfn, hResourceModule, 0);
}

// Windows cancels journal-record hooks when the person presses Ctrl+Esc or Ctrl+Alt+Del: it
// removes them and posts WM_CANCELJOURNAL, with no window, to the thread that installed them. A
// message hook of that thread sees it as the host's loop takes it.
HHOOK hCancelWatch = nullptr;
HookCancelListener *pSelectionCancel = nullptr;
HookCancelListener *pEscapeCancel = nullptr;

LRESULT CALLBACK CancelWatchProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && wParam == PM_REMOVE && lParam) {
        const MSG &msg = *reinterpret_cast<const MSG *>(lParam);
        // The selection's hook first, then the Escape hook's: each that was a journal hook.
        if (msg.message == WM_CANCELJOURNAL && !msg.hwnd) {
            PhysicalPixels physicalPixels;
            if (nMouseHookPath == HOOK_JOURNAL && pSelectionCancel)
                pSelectionCancel->HookCancelled();
            if (nKeyHookPath == HOOK_JOURNAL && pEscapeCancel)
                pEscapeCancel->HookCancelled();
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The cancel watch is on while a journal-record hook is; Escape goes through the selection's queue
// while both hooks are low-level.
void PathsChanged() {
    RouteEscapeThroughSelection(nMouseHookPath == HOOK_LOWLEVEL && nKeyHookPath == HOOK_LOWLEVEL);
    const bool bWanted = nMouseHookPath == HOOK_JOURNAL || nKeyHookPath == HOOK_JOURNAL;
    if (bWanted && !hCancelWatch) {
        hCancelWatch =
            SetWindowsHookExA(WH_GETMESSAGE, CancelWatchProc, nullptr, GetCurrentThreadId());
    } else if (!bWanted && hCancelWatch) {
        UnhookWindowsHookEx(hCancelWatch);
        hCancelWatch = nullptr;
    }
}

} // namespace

UINT AllowedHookPaths() {
    char szValue[16] = "";
    const DWORD n = GetEnvironmentVariableA("SPXHK_HOOKS", szValue, sizeof szValue);
    if (n > 0 && n < sizeof szValue) {
        if (lstrcmpiA(szValue, "journal") == 0)
            return HOOK_JOURNAL;
        if (lstrcmpiA(szValue, "lowlevel") == 0)
            return HOOK_LOWLEVEL;
    }
    return HOOK_JOURNAL | HOOK_LOWLEVEL;
}

bool InstallSelectionHook(HookCancelListener *pOnCancel) {
    const UINT fPaths = AllowedHookPaths();
    pSelectionCancel = pOnCancel;
    if (fPaths & HOOK_JOURNAL) {
        fJournalHeld = SidedNow();
        hMouseHook = HookAll(WH_JOURNALRECORD, SelectionHookProc);
        if (hMouseHook) {
            nMouseHookPath = HOOK_JOURNAL;
            PathsChanged();
            return true;
        }
    }
    if ((fPaths & HOOK_LOWLEVEL) && StartLowLevelSelection(hMouseHook, hMouseKeyHook)) {
        nMouseHookPath = HOOK_LOWLEVEL;
        PathsChanged();
        return true;
    }
    nMouseHookPath = 0;
    return false;
}

BOOL RemoveSelectionHook() {
    BOOL bResult;
    if (nMouseHookPath == HOOK_LOWLEVEL) {
        bResult = StopLowLevelSelection();
    } else {
        bResult = UnhookWindowsHookEx(hMouseHook);
    }
    hMouseHook = nullptr;
    hMouseKeyHook = nullptr;
    nMouseHookPath = 0;
    pSelectionCancel = nullptr;
    PathsChanged();
    return bResult;
}

bool InstallEscapeHook(HookCancelListener *pOnCancel) {
    const UINT fPaths = AllowedHookPaths();
    pEscapeCancel = pOnCancel;
    if (fPaths & HOOK_JOURNAL) {
        hKeyHook = HookAll(WH_JOURNALRECORD, EscapeHookProc);
        if (hKeyHook) {
            nKeyHookPath = HOOK_JOURNAL;
            PathsChanged();
            return true;
        }
    }
    if ((fPaths & HOOK_LOWLEVEL) && StartLowLevelEscape(hKeyHook)) {
        nKeyHookPath = HOOK_LOWLEVEL;
        PathsChanged();
        return true;
    }
    nKeyHookPath = 0;
    return false;
}

BOOL RemoveEscapeHook() {
    const BOOL bResult =
        nKeyHookPath == HOOK_LOWLEVEL ? StopLowLevelEscape() : UnhookWindowsHookEx(hKeyHook);
    hKeyHook = nullptr;
    nKeyHookPath = 0;
    pEscapeCancel = nullptr;
    PathsChanged();
    return bResult;
}

void RemoveJournalHooksAtUnload() {
    if (nMouseHookPath == HOOK_JOURNAL)
        UnhookWindowsHookEx(hMouseHook);
    if (nKeyHookPath == HOOK_JOURNAL)
        UnhookWindowsHookEx(hKeyHook);
    if (hCancelWatch)
        UnhookWindowsHookEx(hCancelWatch);
    hCancelWatch = nullptr;
}
