// The rubber band of the rectangle and ellipse modes, and the completion that every mode but the
// polygon runs at a button release.
#pragma once

#include <windows.h>

// Button press: the band starts at zero size at the cursor.
void StartBand();

// Mouse move: the band follows the cursor while the button is down.
void StretchBand();

// Button release with no resizing box: the band's rectangle becomes rcSelection, normalized and
// at least 1 by 1, and is committed or shown in a resizing box.
void CompleteBand(int nMode);
