// Polygon arithmetic on plain points; needs no display.
#pragma once

#include <windows.h>

// Near when both axes differ by at most nTolerance (inclusive): a square of 2t + 1 pixels.
BOOL IsNearPoint(POINT ptFirst, POINT ptSecond, int nTolerance);

// Smallest rectangle whose edges pass through the extreme points: right is the largest x itself,
// bottom the largest y. With no points, the rectangle of apt[0].
RECT PolygonBounds(const POINT *apt, UINT nCount);

// Maps nValue from the source span onto the destination span: nDstLow + (nValue - nSrcLow) *
// (nDstHigh - nDstLow) / (nSrcHigh - nSrcLow), computed exactly, truncated toward zero and held
// within the 32-bit range; the edges of the source land on the edges of the destination. A source
// span of zero length maps by translation.
LONG MapCoordinate(LONG nValue, LONG nSrcLow, LONG nSrcHigh, LONG nDstLow, LONG nDstHigh);

// The square reaching nReach pixels to every side of pt, edges included, stored as the polygon's
// close zone is: y + nReach as top, y - nReach as bottom. Held within the 32-bit range.
RECT CloseZoneAround(POINT pt, int nReach);

// True when pt lies in a zone made by CloseZoneAround, edges included.
BOOL InCloseZone(const RECT &rcZone, POINT pt);

// Where pt goes when the edge from ptFrom to it keeps to a multiple of 45 degrees: the nearest of
// the horizontal, the vertical and the two diagonals through ptFrom, the point on it closest to pt
// (a diagonal point rounded toward ptFrom).
POINT SnappedToEighths(POINT ptFrom, POINT pt);
