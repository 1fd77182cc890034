// Turning the selection hook on and off, and the pieces of state handling that every mode shares.
#pragma once

#include "input/input_event.h"

#include "spxhk110.h"

// The journal-record hook procedure of the selection hook.
LRESULT CALLBACK SelectionHookProc(int nCode, WPARAM wParam, LPARAM lParam);

// The six event kinds the selection acts on: key-down, move, left and right press and release.
bool IsHandledKind(UINT nMessage);

// Acts on one input record as the selection hook does, without passing it on.
void SelectionEvent(const InputEvent &event);

// The platform cancelled the journal-record hooks (the person pressed Ctrl+Esc or
// Ctrl+Alt+Del) and removed them: those of the selection and Escape hooks that were journal hooks
// are turned off as the host turns them off, everything the selection drew erased, so that the
// host can turn them on again.
void JournalHooksCancelled();

// Stores rcSelection; note the order of the arguments.
void SetSelectionRect(int nTop, int nBottom, int nLeft, int nRight);

// Creates the resizing box around rcSelection in hwndOverlay, draws its frame and raises the
// host's own window. False when there is no overlay window or no box could be had.
bool ShowResizingBox();

// Shows or hides the frame and handles of the resizing box in hwndOverlay.
void ToggleBoxFrame();

// Brings the host's own window to the top of the z-order, without activating it.
void RaiseOwnWindow();

// Posts UM_SELECTION with the address of rcSelection: a rectangle, an ellipse or a click is
// committed. The cursor state goes back to CS_DEFAULT and nothing counts as shown.
void CommitSelectionRect();

// Modes whose cursor is the drawing crosshair: 3, 4, 5 and every value above 7, negative values
// included.
bool IsDrawingMode(int nMode);
