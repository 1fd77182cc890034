// What the loupe shows and where it goes; needs no display.
#pragma once

#include <windows.h>

// Its zoom: whole screen pixels to one, so that the pixel grid stays sharp.
const int LOUPE_ZOOM_MIN = 2;
const int LOUPE_ZOOM_MAX = 16;
const int LOUPE_ZOOM_DEFAULT = 8;
// At 96 DPI: the picture's side at most, and the distance from the hot spot to the loupe's
// nearest corner on each axis.
const int LOUPE_PICTURE_96 = 136;
const int LOUPE_GAP_96 = 24;

// The side of the square of screen pixels shown, centred on the hot spot: odd, so that one pixel
// is the centre; as many as nZoom fits in nPictureMax; and within nGap of the hot spot, so that
// the loupe, placed nGap away, is never in its own picture.
int LoupeSourceSide(int nZoom, int nPictureMax, int nGap);

// The zoom nSteps wheel notches on (away from the person: positive), within its limits.
int LoupeZoomAfter(int nZoom, int nSteps);

// The loupe's rectangle of size sz for the hot spot pt: nGap away from it on both axes, the first
// of below-right, below-left, above-right, above-left that lies wholly on rcMonitor (the monitor
// under the pointer) and meets neither rcAvoid (the selection being made) nor rcShown (the
// pixels it shows). If none does, the one, moved onto rcMonitor where it sticks out, that covers
// least of those two, the pixels it shows counting before the selection.
RECT PlaceLoupe(POINT pt, SIZE sz, int nGap, const RECT &rcMonitor, const RECT &rcAvoid,
                const RECT &rcShown);
