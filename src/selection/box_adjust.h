// A finished rectangle or ellipse waiting in its resizing box: presses and the Enter and Escape
// keys.
#pragma once

#include <windows.h>

// Button press while the selection is shown: outside discards it, inside confirms it, on a handle
// resizes it.
void PressOnShownSelection(int nMode);

// An arrow key on a selection waiting in its box (any mode with a shape): moves it by a pixel, by
// ten with Shift; with Ctrl moves its right or bottom edge instead. The figure and the box are
// drawn anew, nothing is posted. False for any other key, or when no selection waits.
bool NudgeBoxedSelection(int nMode, BYTE nKey, UINT fModifiers);

// A selection waits in its box.
bool BoxShown();
// The host moves or resizes the box shown to rcScreen (within the virtual screen): the figure and
// the box are drawn anew, the live rectangle follows, nothing is posted.
void MoveShownBox(const RECT &rcScreen);

// Enter confirms a shown selection; Escape discards whatever is shown. Other keys do nothing.
void BoxSelectionKey(int nMode, BYTE nKey);
