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
