// A finished rectangle or ellipse waiting in its resizing box: presses and the Enter and Escape
// keys.
#pragma once

#include <windows.h>

// Button press while the selection is shown: outside discards it, inside confirms it, on a handle
// resizes it.
void PressOnShownSelection(int nMode);

// Enter confirms a shown selection; Escape discards whatever is shown. Other keys do nothing.
void BoxSelectionKey(int nMode, BYTE nKey);
