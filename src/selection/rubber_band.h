// The rubber band of the rectangle and ellipse modes, and the completion that every mode but the
// polygon runs at a button release.
#pragma once

#include <windows.h>

// Button press: the band starts at zero size at the cursor.
void StartBand();

// Mouse move, or a change of the keys held: the band follows the cursor while the button is down,
// one to one with Shift, about where it started with Ctrl, moved at its size while Space is held.
void StretchBand();

// Button release with no resizing box: the band's rectangle becomes rcSelection, normalized and
// at least 1 by 1, and is committed or shown in a resizing box.
void CompleteBand(int nMode);

// With a fixed size (modes 3, 4) and no box shown, the band is a box of that size that follows
// the pointer; a click or Space places it where the pointer is.
bool FixedBandFollows();
void PlaceFixedBand(int nMode);
