// The mouse capture, given back when the guard goes, unless another window has taken it since.
#pragma once

#include <windows.h>

#include <utility>

class MouseCapture {
public:
    explicit MouseCapture(HWND hwnd) noexcept : m_hwnd(hwnd) {}
    MouseCapture(MouseCapture &&other) noexcept : m_hwnd(std::exchange(other.m_hwnd, nullptr)) {}
    MouseCapture &operator=(MouseCapture &&) = delete;
    ~MouseCapture() {
        if (m_hwnd && GetCapture() == m_hwnd)
            ReleaseCapture();
    }

private:
    HWND m_hwnd;
};

inline MouseCapture SetCaptureTo(HWND hwnd) noexcept {
    SetCapture(hwnd);
    return MouseCapture(hwnd);
}

// Where a drag takes its input when the thread's own mouse messages do not carry it: a source
// the hook layer hands the box while it takes input through a queue of its own.
enum { DRAG_INPUT_NONE, DRAG_INPUT_EVENT, DRAG_INPUT_END };
class DragInput {
public:
    // Whether the source carries the input now: the thread's own mouse and key messages are then
    // not acted on again.
    virtual bool TakesInput() const = 0;
    // The next event of the drag as a message for hwnd (mouse points in hwnd's client
    // coordinates): DRAG_INPUT_EVENT, DRAG_INPUT_NONE when none waits, DRAG_INPUT_END when the
    // drag cannot go on as the person made it.
    virtual int Next(HWND hwnd, MSG &msg) = 0;
    // MOD_SHIFT and MOD_CONTROL as held at the event given last, whether the source or the
    // thread's own messages gave it.
    virtual UINT HeldKeys() const = 0;

protected:
    ~DragInput() = default;
};

// The next message for a loop that runs while hwnd holds the mouse capture: from pInput when it
// takes the input, else the thread's next message. False when the loop has to end: WM_QUIT came
// (it is posted again, for the host's own loop), the capture went to another window (a message
// that came is dispatched as usual), or the source ended the drag.
bool GetCapturedMessage(HWND hwnd, MSG &msg, DragInput *pInput) noexcept;

// A message that a drag's loop passes on, dispatched in the awareness of the host whose windows
// get it.
void DispatchPassedOn(const MSG &msg) noexcept;

// Whether msg, which GetCapturedMessage gave with pInput, came from the source: a copy of input
// that the thread's own loop has already delivered, not to be dispatched again.
bool IsFromDragInput(const MSG &msg, const DragInput *pInput) noexcept;

// Mouse messages a drag acts on: moves and the release of either button.
inline bool IsDragMessage(UINT nMessage) noexcept {
    return nMessage == WM_MOUSEMOVE || nMessage == WM_LBUTTONUP || nMessage == WM_RBUTTONUP;
}
