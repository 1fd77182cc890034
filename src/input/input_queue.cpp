#include "input/input_queue.h"

#include "draw/xor_draw.h"
#include "host/hook_state.h"

namespace {

struct QueuedEvent {
    InputEvent event;
    UINT fReportedUp;   // buttons held by the events before this one that the platform reported up
    bool bLossAfter;    // events after this one were lost: the queue was full
    bool bReleaseGiven; // the lost release it reveals was taken before it
};

// The callbacks add on the hook thread; the host's thread takes. Everything down to
// fButtonsHeld and dwLastNoted is shared between the two and read and written under this lock
// only.
SRWLOCK lockQueue = SRWLOCK_INIT;

// Moves merge, so only presses, releases and keys fill it: far more than a person makes in the
// longest stall a host survives.
const UINT kQueueSize = 4096;
QueuedEvent aQueued[kQueueSize];
UINT nHead = 0; // where the next event goes; nHead - nTail events wait
UINT nTail = 0;
HWND hwndWake = nullptr;
UINT nWakeMessage = 0;
bool bWakePosted = false;
DWORD dwWakePosted = 0;
// A wake message that a host's loop took without dispatching it (a filter that removes all it
// peeks at) would leave the queue waiting for good: one undelivered this long is posted again.
const DWORD kRewakeMs = 100;
bool bLossTaken = false;

// What the callbacks have seen of the buttons, and when they last ran.
UINT fButtonsHeld = 0;
DWORD dwLastNoted = 0;
// A callback of a thread that takes its messages late can be skipped by the platform, its event
// unseen; before that happens an event waits at least this long for its callback, or none comes
// for this long.
const DWORD kQuietMs = 100;

// The host's thread alone reads and writes what follows.
RECT rcVirtualScreen = {0, 0, 0, 0};
// Where the mouse event taken last happened: a gesture's last point, also while a drag takes the
// events of its gesture itself.
POINT ptLastTaken = {0, 0};

// Holds the queue's lock for as long as it lives.
class QueueLock {
public:
    QueueLock() noexcept { AcquireSRWLockExclusive(&lockQueue); }
    ~QueueLock() { ReleaseSRWLockExclusive(&lockQueue); }
    QueueLock(const QueueLock &) = delete;
    QueueLock &operator=(const QueueLock &) = delete;
};

UINT ButtonOf(UINT nMessage) {
    switch (nMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return MK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return MK_RBUTTON;
    default:
        return 0;
    }
}

bool IsButtonPress(UINT nMessage) {
    return nMessage == WM_LBUTTONDOWN || nMessage == WM_RBUTTONDOWN;
}

// Of the buttons fHeld, those the platform reports up now. GetAsyncKeyState reads the physical
// buttons; with swapped buttons a held one counts as up only when both are.
UINT ButtonsReportedUp(UINT fHeld) {
    const bool bLeftUp = GetAsyncKeyState(VK_LBUTTON) >= 0;
    const bool bRightUp = GetAsyncKeyState(VK_RBUTTON) >= 0;
    if (GetSystemMetrics(SM_SWAPBUTTON))
        return bLeftUp && bRightUp ? fHeld : 0;
    return fHeld & ((bLeftUp ? MK_LBUTTON : 0) | (bRightUp ? MK_RBUTTON : 0));
}

void ReadVirtualScreen() {
    rcVirtualScreen = VirtualScreenRect();
}

LONG Within(LONG n, LONG nLow, LONG nEnd) {
    return n < nLow ? nLow : n >= nEnd ? nEnd - 1 : n;
}

// The press taken last whose release has not been taken: the gesture that a lost release would
// end (a press of the other button meanwhile begins none).
UINT nPressHeld = 0;

// The release of the button that began the gesture under way.
UINT GestureRelease() {
    return nPressHeld == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP;
}

// The gesture as the events handed out say it.
void FollowGesture(UINT nMessage) {
    if (!nPressHeld && IsButtonPress(nMessage))
        nPressHeld = nMessage;
    else if (nPressHeld && nMessage == GestureRelease())
        nPressHeld = 0;
}

// The platform reported the gesture's button up at the event taken last. Its release may still
// be on its way behind that event (the button was read when the callback ran, after the event):
// only an event after it that is not the release shows the release lost.
bool bReleaseDue = false;

// True when the gesture under way cannot have its release any more before e: e presses that
// button again, or an event before e found the button up and e is not its release.
bool ReleaseLostBefore(const QueuedEvent &e) {
    if (!nPressHeld || e.bReleaseGiven || e.event.nMessage == GestureRelease())
        return false;
    return e.event.nMessage == nPressHeld || bReleaseDue;
}

} // namespace

void OpenInputQueue(HWND hwndSink, UINT nWake) {
    ReadVirtualScreen();
    bReleaseDue = false;
    nPressHeld = 0;
    GetCursorPos(&ptLastTaken);
    QueueLock lock;
    nHead = nTail = 0;
    hwndWake = hwndSink;
    nWakeMessage = nWake;
    bWakePosted = false;
    bLossTaken = false;
    fButtonsHeld = 0;
    dwLastNoted = GetTickCount();
}

void CloseInputQueue() {
    OpenInputQueue(nullptr, 0);
}

void InputQueueWoken() {
    QueueLock lock;
    bWakePosted = false;
}

void QueueInputEvent(const InputEvent &event) {
    QueueLock lock;
    const DWORD dwNow = GetTickCount();
    const UINT fOwn = ButtonOf(event.nMessage);
    const UINT fOthers = fButtonsHeld & ~fOwn;
    UINT fUp = 0;
    // Asking the platform costs a call: only when a held button's release may have gone unseen.
    if (fOthers && (dwNow - dwLastNoted > kQuietMs || dwNow - event.dwTime > kQuietMs))
        fUp = ButtonsReportedUp(fOthers);
    dwLastNoted = dwNow;
    fButtonsHeld &= ~fUp;
    if (IsButtonPress(event.nMessage))
        fButtonsHeld |= fOwn;
    else
        fButtonsHeld &= ~fOwn;

    QueuedEvent *pLast = nHead != nTail ? &aQueued[(nHead - 1) % kQueueSize] : nullptr;
    // A move that reports a button up keeps the one before it, and the one after it: the
    // gesture's release is found lost only at an event after the one that found the button up.
    if (pLast && pLast->event.nMessage == WM_MOUSEMOVE && event.nMessage == WM_MOUSEMOVE && !fUp &&
        !pLast->fReportedUp && !pLast->bLossAfter)
        pLast->event = event;
    else if (nHead - nTail >= kQueueSize)
        pLast->bLossAfter = true;
    else
        aQueued[nHead++ % kQueueSize] = QueuedEvent{event, fUp, false, false};
    if (hwndWake && (!bWakePosted || dwNow - dwWakePosted > kRewakeMs)) {
        bWakePosted = PostMessageA(hwndWake, nWakeMessage, 0, 0) != 0;
        dwWakePosted = dwNow;
    }
}

bool TakeInputEvent(InputEvent &event) {
    {
        QueueLock lock;
        if (nHead == nTail)
            return false;
        QueuedEvent &next = aQueued[nTail % kQueueSize];
        if (ReleaseLostBefore(next)) {
            event = InputEvent{GestureRelease(), ptLastTaken, 0, 0, next.event.dwTime, nullptr};
            next.bReleaseGiven = true;
            bReleaseDue = false;
            nPressHeld = 0;
            return true;
        }
        bReleaseDue = nPressHeld && next.event.nMessage != GestureRelease() &&
                      (next.fReportedUp & ButtonOf(nPressHeld));
        ++nTail;
        event = next.event;
        FollowGesture(event.nMessage);
        bLossTaken = bLossTaken || next.bLossAfter;
    }
    // A key has no point of its own: it happened where the mouse event before it did.
    if (event.nMessage == WM_KEYDOWN || event.nMessage == WM_KEYUP)
        return true;
    if (IsButtonPress(event.nMessage) || IsRectEmpty(&rcVirtualScreen))
        ReadVirtualScreen();
    // Windows can report points beyond the screens' edges.
    event.pt.x = Within(event.pt.x, rcVirtualScreen.left, rcVirtualScreen.right);
    event.pt.y = Within(event.pt.y, rcVirtualScreen.top, rcVirtualScreen.bottom);
    ptLastTaken = event.pt;
    return true;
}

bool TakeInputLoss() {
    QueueLock lock;
    const bool bLoss = bLossTaken;
    bLossTaken = false;
    return bLoss;
}

bool InputLossPending() {
    QueueLock lock;
    return bLossTaken;
}
