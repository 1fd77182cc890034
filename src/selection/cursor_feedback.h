// The cursor tells what the next click does. The states are in host/hook_state.h.
#pragma once

// The state that the cursor position gives relative to the resizing box: CS_OUTSIDE, CS_INSIDE,
// CS_HANDLE or CS_VERTEX; CS_DEFAULT without a box, a host record or a cursor position.
int ClassifyCursor();

// Sets the cursor for the requested state and returns the state now in force. bDrawing is zero
// in the modes that draw nothing (the host's saved cursor shows). A box state's cursor is set only
// when it differs from nPrevious; the drawing crosshair and the host's cursor when the library
// set another cursor last (hCursorShown). The cursor display counter is left alone: the hook shows
// the cursor once, when it is turned on.
int UpdateCursor(int bDrawing, int nPrevious, int nRequested);

// Modes whose cursor is the drawing crosshair: 3, 4, 5 and every value above 7, negative values
// included.
bool IsDrawingMode(int nMode);
