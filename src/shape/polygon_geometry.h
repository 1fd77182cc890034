// Polygon arithmetic on plain points; needs no display.
#pragma once

#include <windows.h>

// Near when both axes differ by at most nTolerance (inclusive): a square of 2t + 1 pixels.
BOOL IsNearPoint(POINT ptFirst, POINT ptSecond, int nTolerance);

// Smallest rectangle whose edges pass through the extreme points: right is the largest x itself,
// bottom the largest y. With no points, the rectangle of apt[0].
RECT PolygonBounds(const POINT *apt, UINT nCount);

// Scale from a source span onto a destination span. A source span of zero length has no finite
// ratio; it maps by translation (ratio 1).
double SpanRatio(LONG nSrcLow, LONG nSrcHigh, LONG nDstLow, LONG nDstHigh);

// nDstLow + (nValue - nSrcLow) * dRatio, truncated toward zero and held within the 32-bit range.
LONG MapCoordinate(LONG nValue, LONG nSrcLow, LONG nDstLow, double dRatio);
