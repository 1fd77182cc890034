#include "tracker/tracker_geometry.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// Which edges each handle moves.
struct HandleEdges {
    bool bLeft, bTop, bRight, bBottom;
};

const HandleEdges kHandleEdges[] = {
    {true, true, false, false},  // hitTopLeft
    {false, true, true, false},  // hitTopRight
    {false, false, true, true},  // hitBottomRight
    {true, false, false, true},  // hitBottomLeft
    {false, true, false, false}, // hitTop
    {false, false, true, false}, // hitRight
    {false, false, false, true}, // hitBottom
    {true, false, false, false}, // hitLeft
    {true, true, true, true},    // hitMiddle
};

// Same handle with left and right exchanged, or top and bottom.
const int kMirrorX[] = {hitTopRight, hitTopLeft, hitBottomLeft, hitBottomRight,
                        hitTop,      hitLeft,    hitBottom,     hitRight};
const int kMirrorY[] = {hitBottomLeft, hitBottomRight, hitTopRight, hitTopLeft,
                        hitBottom,     hitRight,       hitTop,      hitLeft};

// Keeps nMoving at least nMin from nFixed, on the side it should be on: nSide is +1 when it
// belongs at greater coordinates than nFixed, -1 at smaller ones.
LONG Separated(LONG nMoving, LONG nFixed, LONG nMin, int nSide, bool bAllowInvert) {
    LONG nSize = (nMoving - nFixed) * nSide;
    if (bAllowInvert && nSize < 0)
        return std::abs(nSize) < nMin ? nFixed - nMin * nSide : nMoving;
    return nSize < nMin ? nFixed + nMin * nSide : nMoving;
}

} // namespace

RECT NormalizedRect(const RECT &rc) {
    return RECT{std::min(rc.left, rc.right), std::min(rc.top, rc.bottom),
                std::max(rc.left, rc.right), std::max(rc.top, rc.bottom)};
}

UINT HandleMaskFor(const RECT &rc, int nHandleSize) {
    UINT nMask = 0x0F;
    const LONG nSpace = 3 * nHandleSize + 4;
    if (std::labs(rc.right - rc.left) > nSpace)
        nMask |= (1u << hitTop) | (1u << hitBottom);
    if (std::labs(rc.bottom - rc.top) > nSpace)
        nMask |= (1u << hitLeft) | (1u << hitRight);
    return nMask;
}

RECT HandleRectFor(const RECT &rcFrame, int nHandle, int nHandleSize, bool bOutside) {
    const LONG s = nHandleSize;
    // Low-side handles start s before the edge when outside, at the edge when inside; high-side
    // handles the other way round; centred handles sit on the middle of their edge.
    const LONG xLow = bOutside ? rcFrame.left - s : rcFrame.left;
    const LONG xHigh = bOutside ? rcFrame.right : rcFrame.right - s;
    const LONG xMid = rcFrame.left + (rcFrame.right - rcFrame.left - s) / 2;
    const LONG yLow = bOutside ? rcFrame.top - s : rcFrame.top;
    const LONG yHigh = bOutside ? rcFrame.bottom : rcFrame.bottom - s;
    const LONG yMid = rcFrame.top + (rcFrame.bottom - rcFrame.top - s) / 2;
    LONG x = xLow, y = yLow;
    switch (nHandle) {
    case hitTopLeft:
        x = xLow, y = yLow;
        break;
    case hitTopRight:
        x = xHigh, y = yLow;
        break;
    case hitBottomRight:
        x = xHigh, y = yHigh;
        break;
    case hitBottomLeft:
        x = xLow, y = yHigh;
        break;
    case hitTop:
        x = xMid, y = yLow;
        break;
    case hitRight:
        x = xHigh, y = yMid;
        break;
    case hitBottom:
        x = xMid, y = yHigh;
        break;
    case hitLeft:
        x = xLow, y = yMid;
        break;
    }
    return RECT{x, y, x + s, y + s};
}

int HitForRectMembers(const RECT &rc, int nHandle) {
    if (nHandle < 0 || nHandle > hitLeft)
        return nHandle;
    if (rc.left > rc.right)
        nHandle = kMirrorX[nHandle];
    if (rc.top > rc.bottom)
        nHandle = kMirrorY[nHandle];
    return nHandle;
}

namespace {

// One axis of a handle drag: the edges nLow and nHigh of rcStart, the moving one by d (the other
// the other way with bCentred). With nSize set (not LONG_MIN) the axis takes that signed size
// instead, from its fixed edge or about its centre.
void DragAxis(LONG &nLow, LONG &nHigh, bool bLow, bool bHigh, LONG d, bool bCentred,
              LONG nSize = LONG_MIN) {
    if (bLow == bHigh)
        return;
    if (nSize != LONG_MIN) {
        const LONG nGrowth = nSize - (nHigh - nLow);
        d = bCentred ? nGrowth / 2 : nGrowth;
        if (bLow)
            d = -d;
    }
    (bLow ? nLow : nHigh) += d;
    if (bCentred)
        (bLow ? nHigh : nLow) -= d;
}

} // namespace

namespace {

bool HasRatio(SIZE szRatio) {
    return szRatio.cx > 0 && szRatio.cy > 0;
}

// n * nTo / nFrom for n >= 0, rounded to the nearest.
LONG Scaled(LONG n, LONG nTo, LONG nFrom) {
    return LONG((LONGLONG(n) * nTo + nFrom / 2) / nFrom);
}

} // namespace

SIZE RatioSize(LONG dx, LONG dy, SIZE szRatio, LONG nRoomX, LONG nRoomY) {
    const LONG ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    nRoomX = std::max(nRoomX, LONG(0));
    nRoomY = std::max(nRoomY, LONG(0));
    LONG w, h;
    if (LONGLONG(ax) * szRatio.cy >= LONGLONG(ay) * szRatio.cx) {
        w = std::min({ax, nRoomX, Scaled(nRoomY, szRatio.cx, szRatio.cy)});
        h = std::min(Scaled(w, szRatio.cy, szRatio.cx), nRoomY);
    } else {
        h = std::min({ay, nRoomY, Scaled(nRoomX, szRatio.cy, szRatio.cx)});
        w = std::min(Scaled(h, szRatio.cx, szRatio.cy), nRoomX);
    }
    return SIZE{dx < 0 ? -w : w, dy < 0 ? -h : h};
}

RECT FixedRectAt(POINT pt, SIZE sz, const RECT &rcLimit) {
    const LONG x =
        std::clamp(pt.x - sz.cx / 2, rcLimit.left, std::max(rcLimit.left, rcLimit.right - sz.cx));
    const LONG y =
        std::clamp(pt.y - sz.cy / 2, rcLimit.top, std::max(rcLimit.top, rcLimit.bottom - sz.cy));
    return RECT{x, y, x + sz.cx, y + sz.cy};
}

RECT DragEdges(const RECT &rcStart, int nHandle, POINT ptPress, POINT ptNow, UINT fModifiers,
               SIZE szRatio) {
    RECT rc = rcStart;
    if (nHandle < 0 || nHandle > hitMiddle)
        return rc;
    const HandleEdges &e = kHandleEdges[nHandle];
    const LONG dx = ptNow.x - ptPress.x;
    const LONG dy = ptNow.y - ptPress.y;
    if (nHandle == hitMiddle) {
        OffsetRect(&rc, dx, dy);
        return rc;
    }
    const bool bCentred = (fModifiers & MOD_CONTROL) != 0;
    DragAxis(rc.left, rc.right, e.bLeft, e.bRight, dx, bCentred);
    DragAxis(rc.top, rc.bottom, e.bTop, e.bBottom, dy, bCentred);
    const LONG w0 = rcStart.right - rcStart.left, h0 = rcStart.bottom - rcStart.top;
    if (HasRatio(szRatio)) {
        // The size of the axis that leads, the other's from the ratio, signed as it lay at the
        // start (turned over with the leader). An edge leads; a corner's leader is the axis
        // further out in proportion.
        const LONGLONG w = rc.right - rc.left, h = rc.bottom - rc.top;
        const bool bEdgeX = nHandle == hitLeft || nHandle == hitRight;
        const bool bEdgeY = nHandle == hitTop || nHandle == hitBottom;
        const bool bXLeads =
            bEdgeX || (!bEdgeY && (w < 0 ? -w : w) * szRatio.cy >= (h < 0 ? -h : h) * szRatio.cx);
        const auto follower = [](LONGLONG nLead, LONG nLead0, LONG nFollow0, LONG nTo, LONG nFrom) {
            const LONG n = Scaled(LONG(nLead < 0 ? -nLead : nLead), nTo, nFrom);
            return ((nLead < 0) != (nLead0 < 0)) != (nFollow0 < 0) ? -n : n;
        };
        if (bXLeads) {
            rc.top = rcStart.top;
            rc.bottom = rcStart.bottom;
            DragAxis(rc.top, rc.bottom, e.bTop, e.bBottom || bEdgeX, 0, bCentred,
                     follower(w, w0, h0, szRatio.cy, szRatio.cx));
        } else {
            rc.left = rcStart.left;
            rc.right = rcStart.right;
            DragAxis(rc.left, rc.right, e.bLeft, e.bRight || bEdgeY, 0, bCentred,
                     follower(h, h0, w0, szRatio.cx, szRatio.cy));
        }
        return rc;
    }
    if (!(fModifiers & MOD_SHIFT) || nHandle > hitBottomLeft || !w0 || !h0)
        return rc;
    // The axis that changed more in proportion leads; the other follows its scale.
    const LONGLONG w = rc.right - rc.left, h = rc.bottom - rc.top;
    if ((w < 0 ? -w : w) * (h0 < 0 ? -h0 : h0) >= (h < 0 ? -h : h) * (w0 < 0 ? -w0 : w0)) {
        rc.top = rcStart.top;
        rc.bottom = rcStart.bottom;
        DragAxis(rc.top, rc.bottom, e.bTop, e.bBottom, 0, bCentred, LONG(w * h0 / w0));
    } else {
        rc.left = rcStart.left;
        rc.right = rcStart.right;
        DragAxis(rc.left, rc.right, e.bLeft, e.bRight, 0, bCentred, LONG(h * w0 / h0));
    }
    return rc;
}

BandSpan BandCorners(POINT ptAnchor, POINT ptPointer, UINT fModifiers, const RECT &rcLimit,
                     SIZE szRatio) {
    LONG dx = ptPointer.x - ptAnchor.x;
    LONG dy = ptPointer.y - ptAnchor.y;
    const bool bCentred = (fModifiers & MOD_CONTROL) != 0;
    // What the screen has room for on each axis, on the side the pointer is (on both sides about
    // a centre): a shaped band keeps its shape at the screen's edge.
    const auto room = [bCentred](LONG nAnchor, LONG nLow, LONG nHigh, bool bBack) {
        const LONG nBack = std::max(nAnchor - nLow, LONG(0));
        const LONG nOn = std::max(nHigh - nAnchor, LONG(0));
        return bCentred ? std::min(nBack, nOn) : bBack ? nBack : nOn;
    };
    const LONG nRoomX = room(ptAnchor.x, rcLimit.left, rcLimit.right, dx < 0);
    const LONG nRoomY = room(ptAnchor.y, rcLimit.top, rcLimit.bottom, dy < 0);
    if (HasRatio(szRatio)) {
        // The ratio wins over Shift's one to one; Ctrl's centre still holds.
        const SIZE sz = RatioSize(dx, dy, szRatio, nRoomX, nRoomY);
        dx = sz.cx;
        dy = sz.cy;
    } else if (fModifiers & MOD_SHIFT) {
        const LONG n = std::min({std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy), nRoomX, nRoomY});
        dx = dx < 0 ? -n : n;
        dy = dy < 0 ? -n : n;
    }
    const auto held = [&](LONG x, LONG y) {
        return POINT{std::clamp(x, rcLimit.left, rcLimit.right),
                     std::clamp(y, rcLimit.top, rcLimit.bottom)};
    };
    return BandSpan{bCentred ? held(ptAnchor.x - dx, ptAnchor.y - dy)
                             : held(ptAnchor.x, ptAnchor.y),
                    held(ptAnchor.x + dx, ptAnchor.y + dy)};
}

POINT HandlePoint(const RECT &rc, int nHandle, bool &bMovesX, bool &bMovesY) {
    const HandleEdges e =
        nHandle >= hitTopLeft && nHandle < hitMiddle ? kHandleEdges[nHandle] : HandleEdges{};
    bMovesX = e.bLeft || e.bRight;
    bMovesY = e.bTop || e.bBottom;
    return POINT{e.bLeft    ? rc.left
                 : e.bRight ? rc.right
                            : rc.left + (rc.right - rc.left) / 2,
                 e.bTop      ? rc.top
                 : e.bBottom ? rc.bottom
                             : rc.top + (rc.bottom - rc.top) / 2};
}

void KeepMinimumSize(RECT &rc, int nHandle, SIZE szMin, bool bAllowInvert, const RECT &rcStart) {
    if (nHandle < 0 || nHandle >= hitMiddle)
        return;
    const HandleEdges &edges = kHandleEdges[nHandle];
    // +1 when the axis ran the normal way at the start, -1 when it was stored mirrored.
    const int nOrientX = rcStart.left > rcStart.right ? -1 : +1;
    const int nOrientY = rcStart.top > rcStart.bottom ? -1 : +1;
    if (edges.bRight)
        rc.right = Separated(rc.right, rc.left, szMin.cx, +nOrientX, bAllowInvert);
    else if (edges.bLeft)
        rc.left = Separated(rc.left, rc.right, szMin.cx, -nOrientX, bAllowInvert);
    if (edges.bBottom)
        rc.bottom = Separated(rc.bottom, rc.top, szMin.cy, +nOrientY, bAllowInvert);
    else if (edges.bTop)
        rc.top = Separated(rc.top, rc.bottom, szMin.cy, -nOrientY, bAllowInvert);
}

BoxMove ChooseBoxMove(const RECT &rcNew, const RECT &rcPrev) {
    BoxMove move;
    if (rcNew.left == rcPrev.left) {
        move.ptAnchor.x = rcNew.left;
        move.ptOld.x = rcPrev.right;
        move.ptNew.x = rcNew.right;
    } else {
        move.ptAnchor.x = rcNew.right;
        move.ptOld.x = rcPrev.left;
        move.ptNew.x = rcNew.left;
    }
    if (rcNew.top == rcPrev.top) {
        move.ptAnchor.y = rcNew.top;
        move.ptOld.y = rcPrev.bottom;
        move.ptNew.y = rcNew.bottom;
    } else {
        move.ptAnchor.y = rcNew.bottom;
        move.ptOld.y = rcPrev.top;
        move.ptNew.y = rcNew.top;
    }
    return move;
}

RECT UnionRectPoint(const RECT &rc, POINT pt) {
    return RECT{std::min(rc.left, pt.x), std::min(rc.top, pt.y), std::max(rc.right, pt.x),
                std::max(rc.bottom, pt.y)};
}

namespace {

// A step of d along one axis for a box from nLow to nHigh, stopped at the limit's edge in the
// direction of the step; never a step against it.
LONG StepWithin(int d, LONG nLow, LONG nHigh, LONG nLimitLow, LONG nLimitHigh) {
    if (d > 0)
        return std::min<LONG>(d, std::max<LONG>(0, nLimitHigh - nHigh));
    if (d < 0)
        return std::max<LONG>(d, std::min<LONG>(0, nLimitLow - nLow));
    return 0;
}

} // namespace

RECT NudgedRect(const RECT &rc, UINT nKey, int nStep, bool bResize, const RECT &rcLimit,
                SIZE szRatio) {
    const int dx = nKey == VK_LEFT ? -nStep : nKey == VK_RIGHT ? nStep : 0;
    const int dy = nKey == VK_UP ? -nStep : nKey == VK_DOWN ? nStep : 0;
    RECT rcNew = rc;
    if (bResize) {
        // The far edges move; the box keeps at least one pixel.
        rcNew.right += StepWithin(dx, rc.right, rc.right, LONG(rc.left) + 1, rcLimit.right);
        rcNew.bottom += StepWithin(dy, rc.bottom, rc.bottom, LONG(rc.top) + 1, rcLimit.bottom);
        if (HasRatio(szRatio)) {
            // The edge that moved leads; the other far edge follows, within the screen.
            const SIZE sz =
                RatioSize(dx ? rcNew.right - rcNew.left : 0, dy ? rcNew.bottom - rcNew.top : 0,
                          szRatio, rcLimit.right - rcNew.left, rcLimit.bottom - rcNew.top);
            rcNew.right = rcNew.left + std::max(sz.cx, LONG(1));
            rcNew.bottom = rcNew.top + std::max(sz.cy, LONG(1));
        }
        return rcNew;
    }
    OffsetRect(&rcNew, StepWithin(dx, rc.left, rc.right, rcLimit.left, rcLimit.right),
               StepWithin(dy, rc.top, rc.bottom, rcLimit.top, rcLimit.bottom));
    return rcNew;
}
