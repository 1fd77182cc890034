// Rectangle arithmetic of the tracker and the resizing box; needs no display.
#pragma once

#include <windows.h>

// Handle codes, as the tracker's HitTest reports them.
enum TrackerHit {
    hitNothing = -1,
    hitTopLeft = 0,
    hitTopRight = 1,
    hitBottomRight = 2,
    hitBottomLeft = 3,
    hitTop = 4,
    hitRight = 5,
    hitBottom = 6,
    hitLeft = 7,
    hitMiddle = 8
};

// The rectangle with left <= right and top <= bottom.
RECT NormalizedRect(const RECT &rc);

// Handles shown for a rectangle: the four corners always, the middle of the top and bottom edges
// only when the rectangle is wide enough for three handles and some space, likewise the left and
// right edges by height. Bit i stands for handle i.
UINT HandleMaskFor(const RECT &rc, int nHandleSize);

// Rectangle of handle nHandle (0 to 7) around the normalized frame rectangle: outside it, touching
// its edges, when bOutside; inside it otherwise.
RECT HandleRectFor(const RECT &rcFrame, int nHandle, int nHandleSize, bool bOutside);

// The handle code that moves the same members of rc as nHandle does of the normalized rectangle.
int HitForRectMembers(const RECT &rc, int nHandle);

// The rectangle while handle nHandle, pressed at ptPress, is dragged to ptNow: each edge that the
// handle moves keeps its distance from the pointer; the middle moves the whole rectangle. With
// MOD_CONTROL in fModifiers the edge opposite each moving edge moves the other way (the centre
// stays); with MOD_SHIFT a corner keeps rcStart's proportions, the axis that changed more leading.
// With szRatio (width to height, both nonzero) every handle keeps that ratio instead, Shift or
// not: a corner as Shift keeps proportions, an edge moving the far edge of the other axis.
RECT DragEdges(const RECT &rcStart, int nHandle, POINT ptPress, POINT ptNow, UINT fModifiers = 0,
               SIZE szRatio = SIZE{0, 0});

// A signed size (dx, dy) held to the ratio rx:ry: the axis further out in proportion leads, the
// other follows it, rounded to the nearest pixel, with its own sign (positive for 0); the two
// stay within nRoomX and nRoomY, the leader shortened so that the follower fits.
SIZE RatioSize(LONG dx, LONG dy, SIZE szRatio, LONG nRoomX, LONG nRoomY);

// The box of size sz centred on pt, moved as little as needed to lie within rcLimit.
RECT FixedRectAt(POINT pt, SIZE sz, const RECT &rcLimit);

// Where handle nHandle (0 to 7) holds rc: the x of the vertical edge it moves and the y of the
// horizontal one (the middle of an edge the handle does not move); bMovesX and bMovesY say which
// it moves.
POINT HandlePoint(const RECT &rc, int nHandle, bool &bMovesX, bool &bMovesY);

// Holds the edges that nHandle moves at least szMin away from the fixed edges. Without inversion
// a moving edge cannot pass over the fixed one: it stays on the side where it lay in rcStart, the
// rectangle the drag began with (a rectangle stored right to left stays so). With inversion the
// size keeps its sign, and a size of 0 takes the orientation of rcStart.
void KeepMinimumSize(RECT &rc, int nHandle, SIZE szMin, bool bAllowInvert, const RECT &rcStart);

// How an outline goes from rcPrev to rcNew when one edge per axis moved: the corner that stays
// (anchor), the moving corner before and after.
struct BoxMove {
    POINT ptAnchor;
    POINT ptOld;
    POINT ptNew;
};
BoxMove ChooseBoxMove(const RECT &rcNew, const RECT &rcPrev);

// Smallest rectangle that holds rc and pt on or inside its edges; a point beyond the right or
// bottom edge becomes that edge exactly.
RECT UnionRectPoint(const RECT &rc, POINT pt);

// The box rc (normalized) after an arrow key (VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN): moved by nStep
// pixels, or with bResize its right edge (Left, Right) or bottom edge (Up, Down) moved by nStep,
// never smaller than 1 by 1. It stays within rcLimit (the virtual screen).
// With szRatio, a resize moves the other far edge to keep the ratio.
RECT NudgedRect(const RECT &rc, UINT nKey, int nStep, bool bResize, const RECT &rcLimit,
                SIZE szRatio = SIZE{0, 0});

// The corners a rubber band spans from its anchor to the pointer: the anchor and the pointer;
// with MOD_SHIFT in fModifiers one to one (the side the larger of the two distances, toward the
// pointer); with MOD_CONTROL about the anchor (the first corner mirrors the second through it).
// Both corners are held within rcLimit, edges included. With szRatio the band keeps that ratio
// (RatioSize) instead of Shift's one to one.
struct BandSpan {
    POINT ptFrom;
    POINT ptTo;
};
BandSpan BandCorners(POINT ptAnchor, POINT ptPointer, UINT fModifiers, const RECT &rcLimit,
                     SIZE szRatio = SIZE{0, 0});
