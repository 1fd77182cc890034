// The polygon point list inside a SelectionShape: the operations the hook and the resizing box
// use besides the exported ones of spxhk110.h.
#pragma once

#include "spxhk110.h"

// Entries of the list that may be read: nCount, or the capacity when the count is corrupt.
UINT ValidPointCount(const SelectionShape &shape);

// Index of the first vertex within 2 pixels of the point on both axes, or -1.
int FindPolyVertex(const SelectionShape *pShape, POINT pt);

// Moves vertex nIndex to (x, y): erases its hover marker, point marker and both edges at the old
// place, then draws them at the new one, on hdc (an XOR display context). An index outside the
// list does nothing.
void MovePolyVertex(HDC hdc, SelectionShape *pShape, int x, int y, int nIndex);

// Draws the open polygon: vertex markers and edges, no closing edge.
void XorPolyline(SelectionShape *pShape);
// The open polygon, or with bClosed the closed one, on hdc (an XOR display context).
void XorPolygonOn(HDC hdc, const SelectionShape &shape, bool bClosed);

// SPXStrechtPolyPoints on hdc (none: the mapping alone): erases pDest, maps the source's vertices
// from the source rectangle onto the destination into pDest, and draws pDest.
void StretchPolygonOn(HDC hdc, const SelectionShape &source, SelectionShape &dest,
                      const RECT &rcSource, const RECT &rcDest);
