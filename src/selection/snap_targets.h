// The edges a selection snaps to while the host asks for it (SPX_OPT_SNAP_EDGES): the frames of
// the visible top-level windows, the controls of the top-level window under the pointer, the
// monitors and their work areas. The host's overlay and panel, its thread's other top-level
// windows (unless SPX_OPT_SNAP_HOST_WINDOWS) and the desktop's own windows are looked through;
// any other window hides the edges under it. Gathered when first needed in a gesture, and again
// only when the pointer enters another top-level window; never per move.
#pragma once

#include "tracker/resizing_box.h"

#include <windows.h>

// The host asked for snapping.
bool SnapWanted();
// pt with each coordinate on the nearest target edge in reach (8 pixels at 96 DPI), or pt itself
// when the host did not ask for snapping.
POINT SnapToTargets(POINT pt);
// The gesture is over: the next one gathers afresh.
void ForgetSnapTargets();

// Snaps the edges of the resizing box's handle drags.
EdgeSnapper *BoxEdgeSnapper();
