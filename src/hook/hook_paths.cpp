#include "hook/hook_paths.h"

#include "hook/escape_hook.h"
#include "hook/hook_install.h"
#include "host/hook_state.h"

namespace {

const UINT WM_SPX_INPUT = WM_APP + 0x5A;
const char kSinkClass[] = "SPXHK110InputSink";

// Events noted by the low-level callbacks and not yet dispatched. Each one queued is announced by
// exactly one posted WM_SPX_INPUT; when the queue is full, events are passed on unseen. A mouse
// record carries its event's point, as a journal record does.
const UINT kQueueSize = 64;
EVENTMSG aPending[kQueueSize];
UINT nPendingHead = 0;
UINT nPendingTail = 0;
HWND hwndInputSink = nullptr;

void QueueEvent(const EVENTMSG &event) {
    if (!hwndInputSink || nPendingHead - nPendingTail >= kQueueSize)
        return;
    aPending[nPendingHead % kQueueSize] = event;
    if (PostMessageA(hwndInputSink, WM_SPX_INPUT, 0, 0))
        ++nPendingHead;
}

void DispatchPending() {
    if (nPendingTail == nPendingHead)
        return;
    const EVENTMSG event = aPending[nPendingTail++ % kQueueSize];
    if (bMouseHookOn && pHostRecord && nMouseHookPath == HOOK_LOWLEVEL)
        SelectionEvent(event);
}

LRESULT CALLBACK InputSinkProc(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_SPX_INPUT) {
        DispatchPending();
        return 0;
    }
    return DefWindowProcA(hwnd, nMsg, wParam, lParam);
}

bool OpenInputSink() {
    if (hwndInputSink)
        return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = InputSinkProc;
    wc.hInstance = hResourceModule;
    wc.lpszClassName = kSinkClass;
    RegisterClassA(&wc); // already there after an earlier time: that is fine
    hwndInputSink = CreateWindowExA(0, kSinkClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    hResourceModule, nullptr);
    nPendingHead = nPendingTail = 0;
    return hwndInputSink != nullptr;
}

void CloseInputSink() {
    if (hwndInputSink)
        DestroyWindow(hwndInputSink);
    hwndInputSink = nullptr;
    nPendingHead = nPendingTail = 0;
}

// The window with the keyboard focus, in whichever thread has it.
HWND FocusWindow() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(0, &info) ? info.hwndFocus : nullptr;
}

EVENTMSG KeyDownRecord(const KBDLLHOOKSTRUCT &key) {
    return EVENTMSG{WM_KEYDOWN, UINT(key.vkCode & 0xFF) | UINT(key.scanCode << 8), 1, key.time,
                    FocusWindow()};
}

LRESULT CALLBACK EscapeKeyProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam && wParam == WM_KEYDOWN) {
        const KBDLLHOOKSTRUCT &key = *reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        if ((key.vkCode & 0xFF) == VK_ESCAPE) {
            PostMessageA(hwndEscapeTarget, UM_ESCAPE, 0, 0);
            HandEscapeToSelection(KeyDownRecord(key));
            return 1;
        }
    }
    return CallNextHookEx(hKeyHook, nCode, wParam, lParam);
}

HHOOK HookAll(int idHook, HOOKPROC pfn) {
    return SetWindowsHookExA(idHook, pfn, hResourceModule, 0);
}

} // namespace

// The callbacks only note the event and pass it on at once: the platform drops a low-level hook
// whose callback takes too long, and a track started by an event runs for as long as the drag.
LRESULT CALLBACK SelectionMouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam && IsHandledKind(UINT(wParam))) {
        const MSLLHOOKSTRUCT &mouse = *reinterpret_cast<const MSLLHOOKSTRUCT *>(lParam);
        QueueEvent(EVENTMSG{UINT(wParam), UINT(mouse.pt.x), UINT(mouse.pt.y), mouse.time,
                            WindowFromPoint(mouse.pt)});
    }
    return CallNextHookEx(hMouseHook, nCode, wParam, lParam);
}

LRESULT CALLBACK SelectionKeyProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam && wParam == WM_KEYDOWN)
        QueueEvent(KeyDownRecord(*reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam)));
    return CallNextHookEx(hMouseKeyHook, nCode, wParam, lParam);
}

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

bool InstallSelectionHook() {
    const UINT fPaths = AllowedHookPaths();
    if (fPaths & HOOK_JOURNAL) {
        hMouseHook = HookAll(WH_JOURNALRECORD, SelectionHookProc);
        if (hMouseHook) {
            nMouseHookPath = HOOK_JOURNAL;
            return true;
        }
    }
    if ((fPaths & HOOK_LOWLEVEL) && OpenInputSink()) {
        hMouseHook = HookAll(WH_MOUSE_LL, SelectionMouseProc);
        hMouseKeyHook = hMouseHook ? HookAll(WH_KEYBOARD_LL, SelectionKeyProc) : nullptr;
        if (hMouseHook && hMouseKeyHook) {
            nMouseHookPath = HOOK_LOWLEVEL;
            return true;
        }
        if (hMouseHook)
            UnhookWindowsHookEx(hMouseHook);
        hMouseHook = nullptr;
        if (!hKeyHook || nKeyHookPath != HOOK_LOWLEVEL)
            CloseInputSink();
    }
    nMouseHookPath = 0;
    return false;
}

BOOL RemoveSelectionHook() {
    const BOOL bResult = UnhookWindowsHookEx(hMouseHook);
    if (hMouseKeyHook)
        UnhookWindowsHookEx(hMouseKeyHook);
    hMouseHook = nullptr;
    hMouseKeyHook = nullptr;
    if (nMouseHookPath == HOOK_LOWLEVEL)
        CloseInputSink();
    nMouseHookPath = 0;
    return bResult;
}

bool InstallEscapeHook() {
    const UINT fPaths = AllowedHookPaths();
    if (fPaths & HOOK_JOURNAL) {
        hKeyHook = HookAll(WH_JOURNALRECORD, EscapeHookProc);
        if (hKeyHook) {
            nKeyHookPath = HOOK_JOURNAL;
            return true;
        }
    }
    if (fPaths & HOOK_LOWLEVEL) {
        hKeyHook = HookAll(WH_KEYBOARD_LL, EscapeKeyProc);
        if (hKeyHook) {
            nKeyHookPath = HOOK_LOWLEVEL;
            return true;
        }
    }
    nKeyHookPath = 0;
    return false;
}

BOOL RemoveEscapeHook() {
    const BOOL bResult = UnhookWindowsHookEx(hKeyHook);
    hKeyHook = nullptr;
    nKeyHookPath = 0;
    return bResult;
}

void HandEscapeToSelection(const EVENTMSG &event) {
    if (!bMouseHookOn || !pHostRecord)
        return;
    // A low-level Escape hook keeps the key from everything after it, a journal-record selection
    // hook included. Between two hooks of one kind, the one installed last is called first.
    const bool bMissed = nMouseHookPath == HOOK_JOURNAL
                             ? nKeyHookPath == HOOK_LOWLEVEL || bKeyHookFirst
                             : nKeyHookPath == HOOK_LOWLEVEL && bKeyHookFirst;
    if (!bMissed)
        return;
    if (nMouseHookPath == HOOK_LOWLEVEL)
        QueueEvent(event);
    else
        SelectionEvent(event);
}
