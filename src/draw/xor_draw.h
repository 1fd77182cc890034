// XOR figures on the whole display. Each call without a context draws on a display context of its
// own; the ...On variants draw on one the caller holds, made by CreateXorDisplayDC, so that a
// gesture draws many figures on one context. Drawing the same figure again with the same values
// erases it. The exported ones are in spxhk110.h.
#pragma once

#include "draw/gdi_guards.h"

#include "spxhk110.h"

// The virtual screen, every monitor: the whole display, where an event can happen (right and
// bottom exclusive).
RECT VirtualScreenRect();

// What every context made here leaves out of its drawing (a window of the library's own over the
// screen): called with the context and where its origin lies on the screen. None at first.
// pfnChanges counts the changes of what is left out, so that a context held across them can be
// clipped again.
using XorContextClip = void (*)(HDC hdc, POINT ptOrigin);
void SetXorContextClip(XorContextClip pfnClip, unsigned (*pfnChanges)());

// For a context held from one event to the next: when what is left out changed since nSeen (kept
// by the holder, 0 at first), clips it again as it was made. One from CreateXorDisplayDC, or from
// GetClientDC(hwnd).
void KeepXorDisplayDCClipped(HDC hdc, unsigned &nSeen);
void KeepClientDCClipped(const WindowDC &dc, HWND hwnd, unsigned &nSeen);

// A display context ready for outlines that invert what they cover: XOR raster operation, white
// pen, hollow brush. None when the display cannot be had.
ScreenDC CreateXorDisplayDC() noexcept;

// Circle of radius 5 around the point: the hover marker of a polygon vertex.
void XorVertexMarker(const POINT &pt);
void XorVertexMarkerOn(HDC hdc, const POINT &pt);
// Circle of radius 3: a vertex's point marker, as SPXXorPoint draws it.
void XorPointOn(HDC hdc, const POINT &pt);
// The line from one point to the other, the end pixel left out, as SPXXorLine draws it.
void XorLineOn(HDC hdc, const POINT &ptStart, const POINT &ptEnd);

// A frame inside rc, as wide as the dialog frame at nDpi, as SPXXORWindow draws around a window.
// Nonzero when drawn.
int XorFrameRect(const RECT &rc, UINT nDpi);

// The rectangle or ellipse spanned by two corners in any order, on a context already set up for
// XOR drawing.
void DrawBoxShape(HDC hdc, int x1, int y1, int x2, int y2, BOOL bEllipseFlag);
