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
// the hook layer sets while it takes input through a queue of its own. It gives the next event of
// the drag as a message for hwnd (mouse points in hwnd's client coordinates).
enum { DRAG_INPUT_NONE, DRAG_INPUT_EVENT, DRAG_INPUT_END };
using DragInputFn = int (*)(HWND hwnd, MSG &msg);
void SetDragInput(DragInputFn pfnInput) noexcept;

// The next message for a loop that runs while hwnd holds the mouse capture: from the drag input
// source when one is set (the thread's own mouse and key messages are then not acted on again),
// else the thread's next message. False when the loop has to end: WM_QUIT came (it is posted
// again, for the host's own loop), the capture went to another window (a message that came is
// dispatched as usual), or the source ended the drag.
bool GetCapturedMessage(HWND hwnd, MSG &msg) noexcept;

// Whether msg, which GetCapturedMessage gave, came from the drag input source: a copy of input
// that the thread's own loop has already delivered, not to be dispatched again.
bool IsFromDragInput(const MSG &msg) noexcept;

// Mouse messages a drag acts on: moves and the release of either button.
inline bool IsDragMessage(UINT nMessage) noexcept {
    return nMessage == WM_MOUSEMOVE || nMessage == WM_LBUTTONUP || nMessage == WM_RBUTTONUP;
}
