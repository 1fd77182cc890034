#include "shape/polygon_geometry.h"

#include <climits>
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

double SpanRatio(LONG nSrcLow, LONG nSrcHigh, LONG nDstLow, LONG nDstHigh) {
    const int64_t nSrcSpan = int64_t(nSrcHigh) - nSrcLow;
    if (nSrcSpan == 0)
        return 1.0;
    return double(int64_t(nDstHigh) - nDstLow) / double(nSrcSpan);
}

LONG MapCoordinate(LONG nValue, LONG nSrcLow, LONG nDstLow, double dRatio) {
    const double dMapped = double(nDstLow) + double(int64_t(nValue) - nSrcLow) * dRatio;
    // Out of range, the conversion to an integer would be undefined; hold it at the limits.
    if (!(dMapped > double(INT_MIN)))
        return dMapped != dMapped ? 0 : INT_MIN;
    if (dMapped >= double(INT_MAX))
        return INT_MAX;
    return LONG(dMapped);
}
