// The keys that stand in for the mouse while no button is held and no box is shown: the arrows
// move the pointer, Space clicks.
#pragma once

#include <windows.h>

enum PointerKeyResult {
    POINTER_KEY_NONE,  // not a stand-in now: the key goes on to the mode's own keys
    POINTER_KEY_TAKEN, // nothing more to do: a repeat of a held Space, or no pointer to move
    POINTER_KEY_MOVED, // the pointer moved to ptCursor: a move there is acted on at once
    POINTER_KEY_CLICK  // Space's first down: a click at the pointer
};

// What the key nKey does as a stand-in for the mouse, fHeldBefore being the keys held before its
// event. An arrow moves the pointer a pixel, ten with Shift, within the virtual screen.
PointerKeyResult PointerKey(BYTE nKey, UINT fHeldBefore);
