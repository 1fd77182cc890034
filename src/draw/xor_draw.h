// XOR figures on the whole display. Each call draws on a display context of its own; drawing the
// same figure again with the same values erases it. The exported ones are in spxhk110.h.
#pragma once

#include "spxhk110.h"

// Circle of radius 5 around the point: the hover marker of a polygon vertex.
void XorVertexMarker(const POINT &pt);

// The rectangle or ellipse spanned by two corners in any order, on a context already set up for
// XOR drawing.
void DrawBoxShape(HDC hdc, int x1, int y1, int x2, int y2, BOOL bEllipseFlag);
