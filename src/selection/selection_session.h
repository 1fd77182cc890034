// A selection session: from the selection hook going on to its going off.
#pragma once

#include "tracker/mouse_capture.h"

#include "spxhk110.h"

// The session begins for the host's record with nothing of an earlier one left: no box, no
// gesture, the cursor shown, the initial rectangle (when there is one to adjust) waiting for the
// first event to be shown in its box in hwndOverlayArg. The box's drags take their input from
// pDragSource while it takes input.
void BeginSelectionSession(HostRecord *pRecord, const RECT *pInitialRect, HWND hwndOverlayArg,
                           DragInput *pDragSource);

// The session ends: nothing the library drew stays behind, no box outlives it, nothing is
// posted, the cursor and its display counter go back to where the host had them.
void EndSelectionSession();
