// Move-only guards for the GDI resources the demo acquires, each released the way the platform
// asks for it, also on early returns.
#pragma once

#include <windows.h>

#include <utility>

// A device context from GetDC (a window's, or the screen's for no window), given back with
// ReleaseDC on the same window.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;
    ~WindowDC() {
        if (m_hdc)
            ReleaseDC(m_hwnd, m_hdc);
    }
    HDC get() const noexcept { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// A memory device context from CreateCompatibleDC, deleted by DeleteDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC hdcLike) noexcept : m_hdc(CreateCompatibleDC(hdcLike)) {}
    MemoryDC(const MemoryDC &) = delete;
    MemoryDC &operator=(const MemoryDC &) = delete;
    ~MemoryDC() {
        if (m_hdc)
            DeleteDC(m_hdc);
    }
    HDC get() const noexcept { return m_hdc; }

private:
    HDC m_hdc;
};

// A created GDI object (bitmap, pen, brush, region), deleted by DeleteObject.
template <typename T> class GdiObject {
public:
    explicit GdiObject(T h = nullptr) noexcept : m_h(h) {}
    GdiObject(GdiObject &&other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    GdiObject &operator=(const GdiObject &) = delete;
    ~GdiObject() {
        if (m_h)
            DeleteObject(m_h);
    }
    T get() const noexcept { return m_h; }

private:
    T m_h;
};

// An object selected into a context; the one it replaced is selected back.
class SelectedObject {
public:
    SelectedObject(HDC hdc, HGDIOBJ obj) noexcept : m_hdc(hdc), m_old(SelectObject(hdc, obj)) {}
    SelectedObject(const SelectedObject &) = delete;
    SelectedObject &operator=(const SelectedObject &) = delete;
    ~SelectedObject() {
        if (m_old)
            SelectObject(m_hdc, m_old);
    }

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// The bitmaps GetIconInfo creates for a cursor, deleted with it.
class IconBitmaps {
public:
    explicit IconBitmaps(HICON hicon) noexcept : m_bOk(GetIconInfo(hicon, &m_info) != FALSE) {}
    IconBitmaps(const IconBitmaps &) = delete;
    IconBitmaps &operator=(const IconBitmaps &) = delete;
    ~IconBitmaps() {
        if (!m_bOk)
            return;
        if (m_info.hbmMask)
            DeleteObject(m_info.hbmMask);
        if (m_info.hbmColor)
            DeleteObject(m_info.hbmColor);
    }
    bool ok() const noexcept { return m_bOk; }
    POINT HotSpot() const noexcept { return POINT{LONG(m_info.xHotspot), LONG(m_info.yHotspot)}; }

private:
    ICONINFO m_info = {};
    bool m_bOk;
};
