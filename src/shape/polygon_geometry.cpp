#include "shape/polygon_geometry.h"

#include <climits>
#include <cmath>
#include <cstdint>

BOOL IsNearPoint(POINT ptFirst, POINT ptSecond, int nTolerance) {
    // In 64 bits: the difference of two extreme coordinates does not fit in 32.
    const int64_t dx = int64_t(ptFirst.x) - ptSecond.x;
    const int64_t dy = int64_t(ptFirst.y) - ptSecond.y;
    return (dx < 0 ? -dx : dx) <= nTolerance && (dy < 0 ? -dy : dy) <= nTolerance;
}

RECT PolygonBounds(const POINT *apt, UINT nCount) {
    RECT rc = {apt[0].x, apt[0].y, apt[0].x, apt[0].y};
    for (UINT i = 1; i < nCount; ++i) {
        if (apt[i].x < rc.left)
            rc.left = apt[i].x;
        else if (apt[i].x > rc.right)
            rc.right = apt[i].x;
        if (apt[i].y < rc.top)
            rc.top = apt[i].y;
        else if (apt[i].y > rc.bottom)
            rc.bottom = apt[i].y;
    }
    return rc;
}

LONG MapCoordinate(LONG nValue, LONG nSrcLow, LONG nSrcHigh, LONG nDstLow, LONG nDstHigh) {
    // Every quantity here has at most 33 bits, and their product at most 65: the 64-bit
    // mantissa of a long double holds the product and its remainder exactly, so the integer part
    // and the sign of the fraction of the move are exact.
    long double dProduct = (long double)(int64_t(nValue) - nSrcLow);
    long double dSpan = (long double)(int64_t(nSrcHigh) - nSrcLow);
    if (dSpan == 0) {
        dSpan = 1; // no finite scale: a translation
    } else {
        dProduct *= (long double)(int64_t(nDstHigh) - nDstLow);
    }
    if (dSpan < 0) {
        dSpan = -dSpan;
        dProduct = -dProduct;
    }
    const long double dRemainder = fmodl(dProduct, dSpan);
    const long double dWhole = nDstLow + (dProduct - dRemainder) / dSpan;
    // The mapped value lies strictly between dWhole and dWhole + sign(remainder): truncating it
    // toward zero moves dWhole one step toward zero when the fraction points away from it.
    long double dMapped = dWhole;
    if (dRemainder > 0 && dWhole < 0)
        dMapped += 1;
    else if (dRemainder < 0 && dWhole > 0)
        dMapped -= 1;
    // Out of range, the conversion to an integer would be undefined; hold it at the limits.
    if (dMapped <= (long double)(INT_MIN))
        return INT_MIN;
    if (dMapped >= (long double)(INT_MAX))
        return INT_MAX;
    return LONG(dMapped);
}

namespace {

LONG Clamped(int64_t n) {
    return LONG(n < INT_MIN ? INT_MIN : n > INT_MAX ? INT_MAX : n);
}

} // namespace

RECT CloseZoneAround(POINT pt, int nReach) {
    return RECT{Clamped(int64_t(pt.x) - nReach), Clamped(int64_t(pt.y) + nReach),
                Clamped(int64_t(pt.x) + nReach), Clamped(int64_t(pt.y) - nReach)};
}

BOOL InCloseZone(const RECT &rcZone, POINT pt) {
    return pt.x >= rcZone.left && pt.x <= rcZone.right && pt.y >= rcZone.bottom &&
           pt.y <= rcZone.top;
}

POINT SnappedToEighths(POINT ptFrom, POINT pt) {
    const int64_t dx = int64_t(pt.x) - ptFrom.x, dy = int64_t(pt.y) - ptFrom.y;
    const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    // tan 22.5 degrees = 0.41421...: below it an edge is nearer the axis than the diagonal.
    if (ady * 100000 <= adx * 41421)
        return POINT{pt.x, ptFrom.y};
    if (adx * 100000 <= ady * 41421)
        return POINT{ptFrom.x, pt.y};
    const int64_t n = (adx + ady) / 2;
    return POINT{Clamped(ptFrom.x + (dx < 0 ? -n : n)), Clamped(ptFrom.y + (dy < 0 ? -n : n))};
}
