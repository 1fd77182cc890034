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

// The next message of the thread, for a loop that runs while hwnd holds the mouse capture. False
// when the loop has to end: WM_QUIT came (it is posted again, for the host's own loop), or the
// capture went to another window (the message is dispatched as usual).
inline bool GetCapturedMessage(HWND hwnd, MSG &msg) noexcept {
    const BOOL bGot = GetMessageA(&msg, nullptr, 0, 0);
    if (bGot <= 0) {
        if (bGot == 0)
            PostQuitMessage(int(msg.wParam));
        return false;
    }
    if (GetCapture() != hwnd) {
        DispatchMessageA(&msg);
        return false;
    }
    return true;
}

// Mouse messages a drag acts on: moves and the release of either button.
inline bool IsDragMessage(UINT nMessage) noexcept {
    return nMessage == WM_MOUSEMOVE || nMessage == WM_LBUTTONUP || nMessage == WM_RBUTTONUP;
}
