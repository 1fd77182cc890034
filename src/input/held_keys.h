// The keys the hooks follow as held, each side apart: letting go of the right Shift leaves the
// left one held. The selection reads them as MOD_SHIFT, MOD_CONTROL and HELD_SPACE.
#pragma once

#include "selection/input_event.h"

enum : UINT { KEY_LSHIFT = 1, KEY_RSHIFT = 2, KEY_LCONTROL = 4, KEY_RCONTROL = 8, KEY_SPACE = 16 };

// The bit of a key: nVk as the event has it; bRight tells the side of a VK_SHIFT or VK_CONTROL
// that does not say it (0: none of the keys followed).
inline UINT SidedKeyOf(UINT nVk, bool bRight) {
    switch (nVk) {
    case VK_LSHIFT:
        return KEY_LSHIFT;
    case VK_RSHIFT:
        return KEY_RSHIFT;
    case VK_SHIFT:
        return bRight ? KEY_RSHIFT : KEY_LSHIFT;
    case VK_LCONTROL:
        return KEY_LCONTROL;
    case VK_RCONTROL:
        return KEY_RCONTROL;
    case VK_CONTROL:
        return bRight ? KEY_RCONTROL : KEY_LCONTROL;
    case VK_SPACE:
        return KEY_SPACE;
    default:
        return 0;
    }
}

// The keys held after a key event. A key pressed with Alt (WM_SYSKEYDOWN) is not taken: it belongs
// to a menu or a shortcut, not to the selection. Any key going up is let go.
inline UINT SidedAfter(UINT fSided, UINT nMessage, UINT nVk, bool bRight) {
    if (nMessage == WM_KEYDOWN)
        return fSided | SidedKeyOf(nVk, bRight);
    if (nMessage == WM_KEYUP || nMessage == WM_SYSKEYUP)
        return fSided & ~SidedKeyOf(nVk, bRight);
    return fSided;
}

// The held keys of InputEvent::fHeld.
inline UINT HeldOfSided(UINT fSided) {
    return ((fSided & (KEY_LSHIFT | KEY_RSHIFT)) ? MOD_SHIFT : 0) |
           ((fSided & (KEY_LCONTROL | KEY_RCONTROL)) ? MOD_CONTROL : 0) |
           ((fSided & KEY_SPACE) ? HELD_SPACE : 0);
}

// The keys held as the platform reports them now: where a run of events begins, and again at
// every press and whenever the hooks come back, since a key can be let go where no hook sees it.
inline UINT SidedNow() {
    static const UINT aVk[] = {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_SPACE};
    UINT fSided = 0;
    for (UINT nVk : aVk)
        if (GetAsyncKeyState(int(nVk)) < 0)
            fSided |= SidedKeyOf(nVk, false);
    return fSided;
}
