// A finished selection waiting in its resizing box in the host's overlay window: showing the box,
// its frame, and the host's own window above it.
#pragma once

#include "tracker/mouse_capture.h"

// Where the box's drags take their input while a selection session lasts: the source the input
// layer hands over when the hook goes on (none: the thread's own messages).
void SetBoxDragSource(DragInput *pSource);

// Creates the resizing box around rcSelection in hwndOverlay, draws its frame and raises the
// host's own window. False when there is no overlay window or no box could be had.
bool ShowResizingBox();

// An initial selection given when the hook was turned on gets its box at the first event.
void ShowInitialSelection(int nMode);

// The box shown now keeps the ratio and the minimum size in force.
void ApplyBoxRules();

// Shows or hides the frame and handles of the resizing box in hwndOverlay.
void ToggleBoxFrame();

// Brings the host's own window to the top of the z-order, without activating it.
void RaiseOwnWindow();
