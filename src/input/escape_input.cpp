#include "input/escape_input.h"

#include "host/hook_state.h"
#include "input/hook_thread.h"
#include "input/journal_input.h"

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

// The thread that holds the low-level Escape hook.
HookThread escapeHooks;

// Written by the host's thread, read by the Escape hook's.
volatile LONG nEscapeRouted = 0;

// Reports Escape and passes every key on: a low-level hook that kept a key would take it from
// every program. Runs on the Escape hook's thread.
LRESULT CALLBACK EscapeKeyProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam && wParam == WM_KEYDOWN &&
        (reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam)->vkCode & 0xFF) == VK_ESCAPE &&
        !InterlockedCompareExchange(&nEscapeRouted, 0, 0))
        PostMessageA(hwndEscapeTarget, UM_ESCAPE, 0, 0);
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
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
            HandRecordToSelection(event);
            return 1;
        }
    }
    return CallNextHookEx(hKeyHook, nCode, wParam & 0xFFFF, lParam);
}

bool StartLowLevelEscape(HHOOK &hKey) {
    if (!StartHookThread(escapeHooks, WH_KEYBOARD_LL, EscapeKeyProc))
        return false;
    hKey = escapeHooks.ahHook[0];
    return true;
}

BOOL StopLowLevelEscape() {
    return StopHookThread(escapeHooks);
}

void RouteEscapeThroughSelection(bool bRoute) {
    InterlockedExchange(&nEscapeRouted, bRoute ? 1 : 0);
}

void ReportQueuedEscape() {
    if (nEscapeRouted)
        PostMessageA(hwndEscapeTarget, UM_ESCAPE, 0, 0);
}
