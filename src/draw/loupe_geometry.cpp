#include "draw/loupe_geometry.h"

#include <algorithm>

namespace {

LONGLONG OverlapArea(const RECT &a, const RECT &b) {
    const LONG w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const LONG h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? LONGLONG(w) * h : 0;
}

// rc moved as little as needed to lie within rcLimit (its top left corner kept where it cannot).
RECT MovedOnto(RECT rc, const RECT &rcLimit) {
    const LONG dx = rc.right > rcLimit.right ? rcLimit.right - rc.right : 0;
    const LONG dy = rc.bottom > rcLimit.bottom ? rcLimit.bottom - rc.bottom : 0;
    OffsetRect(&rc, dx, dy);
    OffsetRect(&rc, rc.left < rcLimit.left ? rcLimit.left - rc.left : 0,
               rc.top < rcLimit.top ? rcLimit.top - rc.top : 0);
    return rc;
}

} // namespace

int LoupeSourceSide(int nZoom, int nPictureMax, int nGap) {
    nZoom = LoupeZoomAfter(nZoom, 0);
    int nSide = std::min(nPictureMax / nZoom, 2 * nGap - 1);
    if (nSide % 2 == 0)
        --nSide;
    return std::max(nSide, 1);
}

int LoupeZoomAfter(int nZoom, int nSteps) {
    return std::min(std::max(nZoom + nSteps, LOUPE_ZOOM_MIN), LOUPE_ZOOM_MAX);
}

RECT PlaceLoupe(POINT pt, SIZE sz, int nGap, const RECT &rcMonitor, const RECT &rcAvoid,
                const RECT &rcShown) {
    const LONG xRight = pt.x + nGap, xLeft = pt.x - nGap - sz.cx;
    const LONG yBelow = pt.y + nGap, yAbove = pt.y - nGap - sz.cy;
    const POINT aCorner[4] = {{xRight, yBelow}, {xLeft, yBelow}, {xRight, yAbove}, {xLeft, yAbove}};
    RECT rcBest = {};
    LONGLONG nBestCost = -1;
    for (const POINT &corner : aCorner) {
        const RECT rc = {corner.x, corner.y, corner.x + sz.cx, corner.y + sz.cy};
        const RECT rcOn = MovedOnto(rc, rcMonitor);
        // What it would hide: the pixels it shows weigh more than the whole of any selection.
        const LONGLONG nCost = OverlapArea(rcOn, rcShown) * (LONGLONG(1) << 40) +
                               OverlapArea(rcOn, rcAvoid);
        if (nCost == 0 && EqualRect(&rc, &rcOn))
            return rc;
        if (nBestCost < 0 || nCost < nBestCost) {
            rcBest = rcOn;
            nBestCost = nCost;
        }
    }
    return rcBest;
}
