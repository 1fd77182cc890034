// Takes whatever shows the current selection off the screen and drops the resizing box.
#pragma once

#include "spxhk110.h"

class SnapixResizingBox;

// Erases the box frame in the overlay window and deletes the box (when the selection is shown and
// adjustable), then erases the mode's own figure: a shown ellipse; a shown closed polygon, or the
// open outline of one being drawn, which is then emptied. Clears bShown. With a shown adjustable
// selection but no box in the slot, changes nothing at all. Never while a track runs.
void ResetSelection(int nMode, SnapixResizingBox **ppBox, BOOL &bShown, SelectionShape *pShape);
