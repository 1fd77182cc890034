#include "input/lowlevel_input.h"

#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "host/library_windows.h"
#include "input/escape_input.h"
#include "input/held_keys.h"
#include "input/hook_thread.h"
#include "input/input_queue.h"
#include "selection/dispatch.h"

namespace {

const UINT WM_SPX_INPUT = WM_APP + 0x5A;
const char kSinkClass[] = "SPXHK110InputSink";

// The message-only window that the queue wakes when input waits.
HWND hwndInputSink = nullptr;

// The thread that holds the selection's low-level mouse and keyboard hooks.
HookThread selectionHooks;
// The keys held, each side apart, as the selection hooks' callbacks have seen them, and whether
// they noted any event yet: read and written on the hooks' thread alone, once it runs.
UINT fLowLevelSided = 0;
bool bNotedAny = false;

// The hooks came back after the platform had removed them: keys may have been let go meanwhile.
void HooksBack() {
    fLowLevelSided = SidedNow();
}

// Takes the next event waiting. An Escape that the Escape hook leaves to this queue is reported
// to the host as it is taken, in its place among the selection's own events.
bool TakeEvent(InputEvent &event) {
    if (!TakeInputEvent(event))
        return false;
    if (event.nMessage == WM_KEYDOWN && event.nVk == VK_ESCAPE)
        ReportQueuedEscape();
    return true;
}

bool SelectionTakesQueue() {
    return bMouseHookOn && pHostRecord && nMouseHookPath == HOOK_LOWLEVEL;
}

// Acts on every event waiting, in order. A track or vertex drag that an event starts takes the
// events of its drag itself; the rest are acted on here after it returns.
void DrainInput() {
    static bool bDraining = false;
    if (bDraining)
        return;
    bDraining = true;
    InputEvent event;
    while (TakeEvent(event)) {
        if (SelectionTakesQueue())
            SelectionEvent(event);
        // An arrow may have moved the cursor, which the platform takes for input.
        if (event.nMessage == WM_KEYDOWN && event.nVk >= VK_LEFT && event.nVk <= VK_DOWN)
            NoteCursorSet(selectionHooks);
        // What came after this event is lost: its gesture cannot end as the person ended it.
        if (TakeInputLoss())
            SelectionInputLost();
    }
    bDraining = false;
}

// The input of a drag: the next queued event, as a message for the drag's window.
class QueueDragInput final : public DragInput {
public:
    bool TakesInput() const override { return hwndInputSink != nullptr; }

    int Next(HWND hwnd, MSG &msg) override {
        if (InputLossPending())
            return DRAG_INPUT_END;
        InputEvent event;
        while (TakeEvent(event)) {
            // The selection sees each event of a drag too, as a journal-record hook does: the
            // release that ends the drag ends its gesture.
            if (SelectionTakesQueue())
                SelectionEvent(event);
            msg = MSG();
            msg.hwnd = hwnd;
            msg.message = event.nMessage;
            msg.time = event.dwTime;
            if (event.nMessage == WM_KEYDOWN || event.nMessage == WM_KEYUP) {
                // Escape cancels a track; other keys, and every key-up, are no drag's.
                if (event.nMessage == WM_KEYUP || event.nVk != VK_ESCAPE)
                    continue;
                msg.wParam = VK_ESCAPE;
                return DRAG_INPUT_EVENT;
            }
            msg.pt = event.pt;
            POINT pt = event.pt;
            ScreenToClient(hwnd, &pt);
            msg.lParam = MAKELPARAM(pt.x, pt.y);
            return DRAG_INPUT_EVENT;
        }
        return DRAG_INPUT_NONE;
    }

    // The box's own drag input answers the held keys from the selection, which sees every event
    // of a drag first: this source is never asked.
    UINT HeldKeys() const override { return 0; }
};

QueueDragInput queueDragInput;

LRESULT CALLBACK InputSinkProc(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_SPX_INPUT) {
        PhysicalPixels physicalPixels;
        InputQueueWoken();
        DrainInput();
        return 0;
    }
    return DefWindowProcA(hwnd, nMsg, wParam, lParam);
}

bool OpenInputSink() {
    if (!hwndInputSink)
        hwndInputSink = CreateLibraryMessageWindow(kSinkClass, InputSinkProc);
    OpenInputQueue(hwndInputSink, WM_SPX_INPUT);
    return hwndInputSink != nullptr;
}

void CloseInputSink() {
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

} // namespace

// Written on the host's thread, read by the hooks' callbacks.
volatile LONG bPageKeysTaken = 0;

void TakePageKeys(bool bTake) {
    InterlockedExchange(&bPageKeysTaken, bTake ? 1 : 0);
}

bool IsSelectionKey(UINT nVk) {
    return nVk == VK_RETURN || nVk == VK_ESCAPE || nVk == VK_BACK || nVk == VK_SPACE ||
           (nVk >= VK_LEFT && nVk <= VK_DOWN) ||
           ((nVk == VK_PRIOR || nVk == VK_NEXT) && bPageKeysTaken);
}

// The callbacks run on the selection hooks' thread. They only note what must be read at event
// time and pass the event on at once: every program's input waits for them, and the platform
// drops a low-level hook whose callback takes too long.
LRESULT CALLBACK SelectionMouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam) {
        const MSLLHOOKSTRUCT &mouse = *reinterpret_cast<const MSLLHOOKSTRUCT *>(lParam);
        NoteMouseSeen(selectionHooks, mouse.pt, mouse.time);
        if (IsHandledKind(UINT(wParam))) {
            // A key can be let go where no hook sees it (another desktop): a gesture begins
            // with the keys the platform reports held.
            if (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN)
                fLowLevelSided = SidedNow();
            // A click belongs to the window it was made on; a move's window is looked up later,
            // and only on the host's panel; a wheel's never.
            const bool bPress = wParam != WM_MOUSEMOVE && wParam != WM_MOUSEWHEEL;
            InputEvent event{UINT(wParam),
                             mouse.pt,
                             0,
                             HeldOfSided(fLowLevelSided),
                             mouse.time,
                             bPress ? WindowFromPoint(mouse.pt) : nullptr};
            if (wParam == WM_MOUSEWHEEL)
                event.nWheel = SHORT(HIWORD(mouse.mouseData));
            QueueInputEvent(event);
            bNotedAny = true;
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// Only the keys the selection acts on are noted, and of Shift, Ctrl and Space only when they go
// down or up: other programs' typing is passed on and forgotten. A key pressed with Alt is a
// menu's or a shortcut's, never the selection's.
LRESULT CALLBACK SelectionKeyProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && lParam) {
        const KBDLLHOOKSTRUCT &key = *reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        const UINT nVk = key.vkCode & 0xFF;
        const UINT nMessage = UINT(wParam);
        const bool bDown = nMessage == WM_KEYDOWN || nMessage == WM_SYSKEYDOWN;
        NoteKeySeen(selectionHooks, nVk, bDown, key.time);
        // The right Shift by its scan code, the right Ctrl as an extended key, where the key
        // does not say its side.
        const bool bRight =
            nVk == VK_SHIFT ? key.scanCode == 0x36 : (key.flags & LLKHF_EXTENDED) != 0;
        const UINT fBefore = HeldOfSided(fLowLevelSided);
        fLowLevelSided = SidedAfter(fLowLevelSided, nMessage, nVk, bRight);
        const UINT fHeld = HeldOfSided(fLowLevelSided);
        if ((nMessage == WM_KEYDOWN && IsSelectionKey(nVk)) || fHeld != fBefore) {
            QueueInputEvent(InputEvent{UINT(bDown ? WM_KEYDOWN : WM_KEYUP), POINT{0, 0}, nVk, fHeld,
                                       key.time, FocusWindow(), true});
            bNotedAny = true;
        } else if (nMessage == WM_KEYDOWN && !bNotedAny) {
            // The first event of any kind shows an initial selection's box: this key counts,
            // without its name.
            QueueInputEvent(InputEvent{WM_KEYDOWN, POINT{0, 0}, 0, fHeld, key.time, nullptr, true});
            bNotedAny = true;
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

bool StartLowLevelSelection(HHOOK &hMouse, HHOOK &hKey) {
    // Written before the thread starts, which then has them alone.
    fLowLevelSided = SidedNow();
    bNotedAny = false;
    if (!OpenInputSink()) {
        CloseInputSink();
        return false;
    }
    if (!StartHookThread(selectionHooks, WH_MOUSE_LL, SelectionMouseProc, WH_KEYBOARD_LL,
                         SelectionKeyProc, true, HooksBack)) {
        CloseInputSink();
        return false;
    }
    hMouse = selectionHooks.ahHook[0];
    hKey = selectionHooks.ahHook[1];
    return true;
}

BOOL StopLowLevelSelection() {
    // No callback notes anything once the hooks are off: the queue can go, but for the Escapes
    // waiting in it, which the host still hears of.
    const BOOL bResult = StopHookThread(selectionHooks);
    InputEvent event;
    while (TakeEvent(event)) {
    }
    CloseInputSink();
    return bResult;
}

DragInput *QueuedDragInput() {
    return &queueDragInput;
}

LONG SelectionHookInstalls() {
    return selectionHooks.nInstalls;
}
