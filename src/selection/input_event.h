// One input event as the selection acts on it, whichever way it came: a journal record handed
// over as it happens, or what a low-level callback noted at event time. The selection defines it
// and the input layer fills it in (selection/dispatch.h takes it).
#pragma once

#include <windows.h>

// The keys the selection reads as held, bits of InputEvent::fHeld: MOD_SHIFT, MOD_CONTROL, and
// Space.
const UINT HELD_SPACE = 0x100;

struct InputEvent {
    UINT nMessage; // WM_KEYDOWN, WM_KEYUP, WM_MOUSEMOVE, WM_MOUSEWHEEL, or a press or release of
                   // either button
    POINT pt;      // a mouse event's screen point
    UINT nVk;      // a key event's virtual key
    UINT fHeld;    // the keys held once this event happened, in the order the events came
    DWORD dwTime;
    HWND hwnd; // the window the event was made on; none when nobody looked it up
    // A key happened where the last mouse event of the stream was: low-level callbacks note keys
    // in order with the mouse. A journal record is handed over as it happens, and the cursor
    // says where.
    bool bAtStreamPoint = false;
    // A wheel's turn: WHEEL_DELTA a notch, away from the person positive (0: not known).
    int nWheel = 0;
};

// The kinds the selection acts on: key-down and key-up, move, left and right press and release,
// and the wheel (for the loupe).
inline bool IsHandledKind(UINT nMessage) {
    switch (nMessage) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEWHEEL:
        return true;
    default:
        return false;
    }
}

// The held-key bit of a virtual key (0: none of them).
inline UINT HeldKeyOf(UINT nVk) {
    switch (nVk) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
        return MOD_SHIFT;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        return MOD_CONTROL;
    case VK_SPACE:
        return HELD_SPACE;
    default:
        return 0;
    }
}

// The held keys as the platform reports them now: where a run of events begins.
inline UINT HeldNow() {
    return (GetAsyncKeyState(VK_SHIFT) < 0 ? MOD_SHIFT : 0) |
           (GetAsyncKeyState(VK_CONTROL) < 0 ? MOD_CONTROL : 0) |
           (GetAsyncKeyState(VK_SPACE) < 0 ? HELD_SPACE : 0);
}
