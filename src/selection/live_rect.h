// The live rectangle: while a host asks for it (SetTrackingNotify), every change of the selection
// being made or adjusted is posted to it with the rectangle in the message, and an empty one when
// the selection ends.
#pragma once

#include "tracker/resizing_box.h"

#include <windows.h>

// The selection now covers rc (screen coordinates, either order): posted unless it is what was
// posted last.
void NotifyLiveRect(const RECT &rc);
// Posts the empty rectangle once the selection has ended in any way: nothing is being drawn,
// shown in a box or tracked any more. Run after every event and when the hook goes off.
void CheckLiveRectEnded();
// Hears each step of the resizing box's outline and passes it on as above.
OutlineListener *LiveRectListener();

// From now on the live rectangle goes to hwndTarget as message uMsg (none: to nobody); the target
// that heard of a selection hears that it ended for it. The target before.
HWND SetLiveRectTarget(HWND hwndTarget, UINT uMsg);
