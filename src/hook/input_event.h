// One input event as the selection acts on it, whichever way it came: a journal record handed
// over as it happens, or what a low-level callback noted at event time.
#pragma once

#include <windows.h>

struct InputEvent {
    UINT nMessage;   // WM_KEYDOWN, WM_MOUSEMOVE, or a press or release of either button
    POINT pt;        // a mouse event's screen point
    UINT nVk;        // a key-down's virtual key
    UINT fModifiers; // MOD_SHIFT and MOD_CONTROL held at a key-down
    DWORD dwTime;
    HWND hwnd; // the window the event was made on; none when nobody looked it up
};

// Shift and Ctrl as the platform reports them now.
inline UINT HeldModifiers() {
    return (GetAsyncKeyState(VK_SHIFT) < 0 ? MOD_SHIFT : 0) |
           (GetAsyncKeyState(VK_CONTROL) < 0 ? MOD_CONTROL : 0);
}

// A journal record: the platform hands it over as the event happens, so a key-down's modifiers
// are those held now.
inline InputEvent FromJournalRecord(const EVENTMSG &event) {
    if (event.message == WM_KEYDOWN)
        return InputEvent{event.message, POINT{0, 0}, event.paramL & 0xFF, HeldModifiers(),
                          event.time, event.hwnd};
    return InputEvent{event.message, POINT{LONG(event.paramL), LONG(event.paramH)}, 0, 0,
                      event.time, event.hwnd};
}
