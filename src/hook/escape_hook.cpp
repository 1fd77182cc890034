#include "hook/escape_hook.h"

#include "hook/hook_install.h"
#include "hook/hook_paths.h"
#include "host/hook_state.h"

LRESULT CALLBACK EscapeHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    // The address is tested before the record is read.
    if (nCode == HC_ACTION && lParam && (DWORD(lParam) & 0xE0000000) == 0) {
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
    if (HookOwnedElsewhere(hKeyHook, dwKeyHookProcess))
        return 0;
    hwndEscapeTarget = hwndTarget;
    if (bEnable) {
        if (bKeyHookOn)
            return 0;
        if (!InstallEscapeHook())
            return 0;
        dwKeyHookProcess = GetCurrentProcessId();
        bKeyHookOn = 1;
        bKeyHookFirst = bMouseHookOn;
        return 1;
    }
    if (!bKeyHookOn || !hKeyHook)
        return 0;
    const BOOL bResult = RemoveEscapeHook();
    bKeyHookOn = 0;
    return bResult;
}
