#include "hook/live_rect.h"

#include "host/hook_state.h"
#include "tracker/resizing_box.h"
#include "tracker/tracker_geometry.h"

namespace {

HWND hwndLiveRect = nullptr;
UINT nLiveRectMessage = 0;
bool bLivePosted = false; // a rectangle was posted, and the empty one has not followed yet
RECT rcLivePosted = {0, 0, 0, 0};

void PostLiveRect(const RECT &rc) {
    // Signed 16-bit coordinates each: the virtual screen fits.
    PostMessageA(hwndLiveRect, nLiveRectMessage,
                 MAKEWPARAM(WORD(SHORT(rc.left)), WORD(SHORT(rc.top))),
                 MAKELPARAM(WORD(SHORT(rc.right)), WORD(SHORT(rc.bottom))));
}

} // namespace

void NotifyLiveRect(const RECT &rc) {
    if (!hwndLiveRect)
        return;
    const RECT rcNew = NormalizedRect(rc);
    if (bLivePosted && EqualRect(&rcNew, &rcLivePosted))
        return;
    PostLiveRect(rcNew);
    rcLivePosted = rcNew;
    bLivePosted = true;
}

void CheckLiveRectEnded() {
    if (!bLivePosted || bTracking)
        return;
    if (bMouseHookOn &&
        ((fDrawn & (DRAWN_BAND | DRAWN_OUTLINE)) || (bSelectionShown && pResizingBox)))
        return;
    bLivePosted = false;
    if (hwndLiveRect)
        PostLiveRect(RECT{0, 0, 0, 0});
}

extern "C" HWND WINAPI SetTrackingNotify(HWND hwndTarget, UINT uMsg) {
    const HWND hwndPrevious = hwndLiveRect;
    // A new target starts afresh: it hears of the next change, and of its end.
    hwndLiveRect = hwndTarget;
    nLiveRectMessage = uMsg;
    bLivePosted = false;
    // The box's outline tells of every step of a track or drag.
    pfnBoxOutlineMoved = hwndTarget ? NotifyLiveRect : nullptr;
    return hwndPrevious;
}
