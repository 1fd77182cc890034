// The things under the pointer that a window pick can take, as rectangles; needs no display.
#pragma once

#include <windows.h>

// Of the n rectangles (screen coordinates) of one window's children, those that hold pt, written
// to aiOut from the largest to the smallest (of equal areas, the first given first); their
// number. The smallest is the deepest thing there: the one looked into next.
int ContainingLargestFirst(const RECT *arc, int n, POINT pt, int *aiOut);

// Drops from the n rectangles, listed from the deepest thing outwards, each that equals the one
// listed before it: a step out to it would show the same frame. The number kept, in place;
// aKeep (n flags, may be null) tells which of the original ones stayed.
int DropRepeatedRects(RECT *arc, int n, bool *aKeep);

// rc cut to each of the n rectangles (the clients of the windows that hold it, its top-level
// window, the screen): what of it can show. Empty when nothing can.
RECT ClippedToAll(const RECT &rc, const RECT *arcClip, int n);

// The level reached from nLevel by nSteps (out positive, in negative) on a path of nLevels,
// from 0 (the deepest) to nLevels - 1 (the outermost): held at both ends.
int SteppedLevel(int nLevel, int nSteps, int nLevels);
