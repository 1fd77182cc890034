// SetTrackingNotify: where the live rectangle goes.
#include "selection/live_rect.h"

#include "spxhk110.h"

extern "C" HWND WINAPI SetTrackingNotify(HWND hwndTarget, UINT uMsg) {
    return SetLiveRectTarget(hwndTarget, uMsg);
}
