// The loupe: while a selection is made, a window of the library's own on the host's thread shows
// the pixels around the pointer magnified, with the pointer's place and the centre pixel's colour.
// It is topmost, never active, transparent to the pointer and to every look-up of windows, and
// kept out of screen capture where the platform can. Everything here runs on the host's thread.
#pragma once

#include <windows.h>

// What the library has drawn by exclusive-or on the screen, drawn once more and clipped to
// rgnScreen (screen pixels): that erases it where the loupe is about to cover it, and draws it
// again where the loupe uncovered it, once that part is repainted. False when it cannot be drawn
// now (a drag draws its own): what is owed waits, and the loupe neither moves nor paints. With no
// region, only that answer.
using LoupeFigureProc = bool (*)(HRGN rgnScreen);
void SetLoupeFigure(LoupeFigureProc pfnFigure);

// The loupe shows the pixels around pt (the hot spot, in screen pixels) and keeps off rcAvoid
// (the selection being made). It appears, moves and is painted at most once a display frame,
// with the newest point: a call sooner than that leaves its point to a timer.
void LoupeFollow(POINT pt, const RECT &rcAvoid);
// Hides it; where it was, the figure is drawn again once that part is repainted.
void HideLoupe();
bool LoupeShown();
// Destroys its window: the session that used it is over.
void DestroyLoupe();

// The wheel turned by nDelta (WHEEL_DELTA a notch; away from the person, positive) while the
// loupe shows: the zoom changes a step a notch and is kept for the next selections.
void LoupeWheel(int nDelta);
int LoupeZoom();

// The loupe's window: no target of a pick, a highlight or a snap.
bool IsLoupeWindow(HWND hwnd);

// Leaves out of what hdc draws the loupe with a pixel around it, and what it uncovered that is
// not drawn again yet; ptOrigin is where hdc's origin lies on the screen.
void LeaveOutLoupe(HDC hdc, POINT ptOrigin = {0, 0});
// Changes whenever what LeaveOutLoupe leaves out does: a context held across a change is clipped
// again.
unsigned LoupeClipCount();
