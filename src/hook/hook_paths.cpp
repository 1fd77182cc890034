#include "hook/hook_paths.h"

#include "hook/escape_hook.h"
#include "hook/gesture.h"
#include "hook/hook_install.h"
#include "hook/hook_thread.h"
#include "hook/input_queue.h"
#include "hook/live_rect.h"
#include "host/hook_state.h"
#include "tracker/mouse_capture.h"

namespace {

const UINT WM_SPX_INPUT = WM_APP + 0x5A;
const char kSinkClass[] = "SPXHK110InputSink";

// The message-only window that the queue wakes when input waits.
HWND hwndInputSink = nullptr;

// The threads that hold the low-level hooks: the selection's mouse and keyboard hooks, and the
// Escape hook's.
HookThread selectionHooks;
HookThread escapeHooks;

void DispatchToSelection(const EVENTMSG &event) {
    if (bMouseHookOn && pHostRecord && nMouseHookPath == HOOK_LOWLEVEL)
        SelectionEvent(event);
}

// Acts on every event waiting, in order. A track or vertex drag that an event starts takes the
// events of its drag itself; the rest are acted on here after it returns.
void DrainInput() {
    static bool bDraining = false;
    if (bDraining)
        return;
    bDraining = true;
    EVENTMSG event;
    while (TakeInputEvent(event)) {
        DispatchToSelection(event);
        // What came after this event is lost: its gesture cannot end as the person ended it.
        if (TakeInputLoss() && bMouseHookOn && pHostRecord) {
            DiscardGesture();
            CheckLiveRectEnded();
        }
    }
    bDraining = false;
}

// The input of a drag on the low-level path: the next queued event, as a message for hwnd.
int NextDragEvent(HWND hwnd, MSG &msg) {
    if (InputLossPending())
        return DRAG_INPUT_END;
    EVENTMSG event;
    while (TakeInputEvent(event)) {
        // The selection sees each event of a drag too, as a journal-record hook does: the
        // release that ends the drag ends its gesture.
        DispatchToSelection(event);
        msg = MSG();
        msg.hwnd = hwnd;
        msg.message = event.message;
        msg.time = event.time;
        if (event.message == WM_KEYDOWN) {
            // Escape cancels a track; other keys are no drag's.
            if (BYTE(event.paramL) != VK_ESCAPE)
                continue;
            msg.wParam = VK_ESCAPE;
            return DRAG_INPUT_EVENT;
        }
        POINT pt = {LONG(event.paramL), LONG(event.paramH)};
        msg.pt = pt;
        ScreenToClient(hwnd, &pt);
        msg.lParam = MAKELPARAM(pt.x, pt.y);
        return DRAG_INPUT_EVENT;
    }
    return DRAG_INPUT_NONE;
}

LRESULT CALLBACK InputSinkProc(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_SPX_INPUT) {
        InputQueueWoken();
        DrainInput();
        return 0;
    }
    return DefWindowProcA(hwnd, nMsg, wParam, lParam);
}

bool OpenInputSink() {
    if (!hwndInputSink) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = InputSinkProc;
        wc.hInstance = hResourceModule;
        wc.lpszClassName = kSinkClass;
        RegisterClassA(&wc); // already there after an earlier time: that is fine
        hwndInputSink = CreateWindowExA(0, kSinkClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        hResourceModule, nullptr);
    }
    OpenInputQueue(hwndInputSink, WM_SPX_INPUT);
    return hwndInputSink != nullptr;
}

void CloseInputSink() {
    SetDragInput(nullptr);
    CloseInputQueue();
    if (hwndInputSink)
        DestroyWindow(hwndInputSink);
    hwndInputSink = nullptr;
}

// The window with the keyboard focus, in whichever thread has it.
HWND FocusWindow() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(0, &info) ? info.hwndFocus : nullptr;
}

// Shift and Ctrl as the platform reports them now.
UINT HeldModifiers() {
    return (GetAsyncKeyState(VK_SHIFT) < 0 ? MOD_SHIFT : 0) |
           (GetAsyncKeyState(VK_CONTROL) < 0 ? MOD_CONTROL : 0);
}

// A key-down as a journal record would hold it; an arrow key carries the modifiers held at event
// time in the high word of paramH.
EVENTMSG KeyDownRecord(const KBDLLHOOKSTRUCT &key) {
    const UINT nVk = key.vkCode & 0xFF;
    const UINT fModifiers = nVk >= VK_LEFT && nVk <= VK_DOWN ? HeldModifiers() : 0;
    return EVENTMSG{WM_KEYDOWN, nVk | UINT(key.scanCode << 8), 1 | (fModifiers << 16), key.time,
                    FocusWindow()};
}

// Reports Escape and passes every key on: a low-level hook that kept a key would take it from
// every program. Runs on the Escape hook's thread.
LRESULT CALLBACK EscapeKeyProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam && wParam == WM_KEYDOWN &&
        (reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam)->vkCode & 0xFF) == VK_ESCAPE)
        PostMessageA(hwndEscapeTarget, UM_ESCAPE, 0, 0);
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

HHOOK HookAll(int idHook, HOOKPROC pfn) {
    return SetWindowsHookExA(idHook, pfn, hResourceModule, 0);
}

// Windows cancels journal-record hooks when the person presses Ctrl+Esc or Ctrl+Alt+Del: it
// removes them and posts WM_CANCELJOURNAL, with no window, to the thread that installed them. A
// message hook of that thread sees it as the host's loop takes it.
HHOOK hCancelWatch = nullptr;

LRESULT CALLBACK CancelWatchProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && wParam == PM_REMOVE && lParam) {
        const MSG &msg = *reinterpret_cast<const MSG *>(lParam);
        if (msg.message == WM_CANCELJOURNAL && !msg.hwnd)
            JournalHooksCancelled();
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The watch is on while a journal-record hook is.
void UpdateCancelWatch() {
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

bool IsSelectionKey(UINT nVk) {
    return nVk == VK_RETURN || nVk == VK_ESCAPE || (nVk >= VK_LEFT && nVk <= VK_DOWN);
}

// The callbacks run on the selection hooks' thread. They only note what must be read at event
// time and pass the event on at once: every program's input waits for them, and the platform
// drops a low-level hook whose callback takes too long.
LRESULT CALLBACK SelectionMouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
    NoteHookCall(selectionHooks);
    if (nCode == HC_ACTION && lParam && IsHandledKind(UINT(wParam))) {
        const MSLLHOOKSTRUCT &mouse = *reinterpret_cast<const MSLLHOOKSTRUCT *>(lParam);
        // A click belongs to the window it was made on; a move's window is looked up later, and
        // only on the host's panel.
        const HWND hwnd = wParam == WM_MOUSEMOVE ? nullptr : WindowFromPoint(mouse.pt);
        QueueInputEvent(
            EVENTMSG{UINT(wParam), UINT(mouse.pt.x), UINT(mouse.pt.y), mouse.time, hwnd});
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// Only the keys the selection acts on are noted: other programs' typing is passed on and
// forgotten.
LRESULT CALLBACK SelectionKeyProc(int nCode, WPARAM wParam, LPARAM lParam) {
    NoteHookCall(selectionHooks);
    if (nCode == HC_ACTION && lParam && wParam == WM_KEYDOWN) {
        const KBDLLHOOKSTRUCT &key = *reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        if (IsSelectionKey(key.vkCode & 0xFF))
            QueueInputEvent(KeyDownRecord(key));
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

UINT KeyModifiers(const EVENTMSG &event) {
    return nMouseHookPath == HOOK_LOWLEVEL ? HIWORD(event.paramH) : HeldModifiers();
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
            UpdateCancelWatch();
            return true;
        }
    }
    if ((fPaths & HOOK_LOWLEVEL) && OpenInputSink()) {
        if (StartHookThread(selectionHooks, WH_MOUSE_LL, SelectionMouseProc, WH_KEYBOARD_LL,
                            SelectionKeyProc, true)) {
            hMouseHook = selectionHooks.ahHook[0];
            hMouseKeyHook = selectionHooks.ahHook[1];
            nMouseHookPath = HOOK_LOWLEVEL;
            SetDragInput(NextDragEvent);
            return true;
        }
        CloseInputSink();
    }
    nMouseHookPath = 0;
    return false;
}

BOOL RemoveSelectionHook() {
    BOOL bResult;
    if (nMouseHookPath == HOOK_LOWLEVEL) {
        // No callback notes anything once the thread has ended: the queue can go.
        bResult = StopHookThread(selectionHooks);
        CloseInputSink();
    } else {
        bResult = UnhookWindowsHookEx(hMouseHook);
    }
    hMouseHook = nullptr;
    hMouseKeyHook = nullptr;
    nMouseHookPath = 0;
    UpdateCancelWatch();
    return bResult;
}

bool InstallEscapeHook() {
    const UINT fPaths = AllowedHookPaths();
    if (fPaths & HOOK_JOURNAL) {
        hKeyHook = HookAll(WH_JOURNALRECORD, EscapeHookProc);
        if (hKeyHook) {
            nKeyHookPath = HOOK_JOURNAL;
            UpdateCancelWatch();
            return true;
        }
    }
    if ((fPaths & HOOK_LOWLEVEL) && StartHookThread(escapeHooks, WH_KEYBOARD_LL, EscapeKeyProc)) {
        hKeyHook = escapeHooks.ahHook[0];
        nKeyHookPath = HOOK_LOWLEVEL;
        return true;
    }
    nKeyHookPath = 0;
    return false;
}

BOOL RemoveEscapeHook() {
    const BOOL bResult =
        nKeyHookPath == HOOK_LOWLEVEL ? StopHookThread(escapeHooks) : UnhookWindowsHookEx(hKeyHook);
    hKeyHook = nullptr;
    nKeyHookPath = 0;
    UpdateCancelWatch();
    return bResult;
}

void HandEscapeToSelection(const EVENTMSG &event) {
    // Between two journal-record hooks the one installed last is called first, and the record
    // the Escape hook keeps is not seen by the selection hook after it. Low-level hooks see it
    // whatever the order.
    if (bMouseHookOn && pHostRecord && nMouseHookPath == HOOK_JOURNAL && bKeyHookFirst)
        SelectionEvent(event);
}
