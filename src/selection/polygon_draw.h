// Polygon mode while no finished polygon waits in its box: vertices placed at each release, the
// open outline growing click by click, closing, and the keys of the whole mode.
#pragma once

#include <windows.h>

// Mouse move while the polygon is drawn: the line that follows the pointer and the
// close-polygon cursor near the first vertex.
void PolygonDrawingMove();

// Release of a gesture: a new polygon, a vertex with its edge, or the closing of the polygon.
void PolygonRelease();

// Escape throws the polygon away in any phase; Enter confirms a polygon in its box or closes one
// of three vertices or more; Backspace takes the last vertex back.
void PolygonKey(BYTE nKey);

// Shift pressed or let go: the line that follows the pointer (SPX_OPT_POLYGON_RUBBER_EDGE) keeps
// to 45 degrees, or no longer.
void PolygonHeldKeysChanged();
