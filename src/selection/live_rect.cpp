#include "selection/live_rect.h"

#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "tracker/tracker_geometry.h"

namespace {

HWND hwndLiveRect = nullptr;
UINT nLiveRectMessage = 0;
bool bLivePosted = false; // a rectangle was posted, and the empty one has not followed yet
RECT rcLivePosted = {0, 0, 0, 0};

// A mouse reports a thousand times a second and a screen shows sixty pictures: a rectangle comes
// at most this often, and one that changed meanwhile follows when the time is up.
const DWORD kLiveIntervalMs = 15;
DWORD dwLastPost = 0;
bool bLivePending = false; // rcLivePending waits for the interval to end
RECT rcLivePending = {0, 0, 0, 0};
UINT_PTR nLiveTimer = 0;

void PostLiveRect(const RECT &rc) {
    // Signed 16-bit coordinates each: the virtual screen fits.
    PostMessageA(hwndLiveRect, nLiveRectMessage,
                 MAKEWPARAM(WORD(SHORT(rc.left)), WORD(SHORT(rc.top))),
                 MAKELPARAM(WORD(SHORT(rc.right)), WORD(SHORT(rc.bottom))));
    dwLastPost = GetTickCount();
}

void StopLiveTimer() {
    if (nLiveTimer)
        KillTimer(nullptr, nLiveTimer);
    nLiveTimer = 0;
}

// Posts the rectangle that waited, if one did.
void FlushLiveRect() {
    StopLiveTimer();
    if (bLivePending && hwndLiveRect)
        PostLiveRect(rcLivePending);
    bLivePending = false;
}

void CALLBACK LiveTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    PhysicalPixels physicalPixels;
    FlushLiveRect();
}

// The box's outline tells of every step of a track or drag.
class BoxOutlineListener final : public OutlineListener {
public:
    void OutlineMoved(const RECT &rcScreen) override { NotifyLiveRect(rcScreen); }
};

BoxOutlineListener boxOutlineListener;

} // namespace

void NotifyLiveRect(const RECT &rc) {
    if (!hwndLiveRect)
        return;
    const RECT rcNew = NormalizedRect(rc);
    if (bLivePosted && EqualRect(&rcNew, &rcLivePosted))
        return;
    rcLivePosted = rcNew;
    bLivePosted = true;
    // Once the interval is up the newest rectangle goes at once, whether or not one waited: the
    // timer is the lowest of messages, and a busy or filtering loop may not get it for long.
    if (GetTickCount() - dwLastPost >= kLiveIntervalMs) {
        StopLiveTimer();
        bLivePending = false;
        PostLiveRect(rcNew);
        return;
    }
    rcLivePending = rcNew;
    bLivePending = true;
    if (!nLiveTimer)
        nLiveTimer = SetTimer(nullptr, 0, kLiveIntervalMs, LiveTimerProc);
    // Without a timer the rectangle cannot wait.
    if (!nLiveTimer)
        FlushLiveRect();
}

void CheckLiveRectEnded() {
    if (!bLivePosted || bTracking)
        return;
    if (bMouseHookOn && ((fDrawn & (DRAWN_BAND | DRAWN_OUTLINE | DRAWN_TARGET)) ||
                         (bSelectionShown && pResizingBox)))
        return;
    // The last rectangle first, then the end.
    FlushLiveRect();
    bLivePosted = false;
    if (hwndLiveRect)
        PostLiveRect(RECT{0, 0, 0, 0});
}

OutlineListener *LiveRectListener() {
    return &boxOutlineListener;
}

HWND SetLiveRectTarget(HWND hwndTarget, UINT uMsg) {
    const HWND hwndPrevious = hwndLiveRect;
    // The target that heard of a selection hears that it ended for it: the last rectangle, then
    // the empty one.
    if (bLivePosted && hwndLiveRect && (hwndTarget != hwndLiveRect || uMsg != nLiveRectMessage)) {
        FlushLiveRect();
        PostLiveRect(RECT{0, 0, 0, 0});
    }
    // A new target starts afresh: it hears of the next change, and of its end.
    StopLiveTimer();
    bLivePending = false;
    hwndLiveRect = hwndTarget;
    nLiveRectMessage = uMsg;
    bLivePosted = false;
    return hwndPrevious;
}
