// Move-only guards for the GDI resources the library acquires: each releases its resource the way
// the platform asks for it, also on early returns.
#pragma once

#include <windows.h>

#include <utility>

// A device context of the whole screen from GetDC(NULL), given back by ReleaseDC. Its points are
// screen points on every monitor, negative ones included (a "DISPLAY" context from CreateDCA is
// not placed so everywhere: Wine puts its origin at the virtual screen's top-left).
class ScreenDC {
public:
    explicit ScreenDC(HDC hdc = nullptr) noexcept : m_hdc(hdc) {}
    ScreenDC(ScreenDC &&other) noexcept : m_hdc(std::exchange(other.m_hdc, nullptr)) {}
    ScreenDC &operator=(ScreenDC &&other) noexcept {
        std::swap(m_hdc, other.m_hdc);
        return *this;
    }
    ~ScreenDC() {
        if (m_hdc)
            ReleaseDC(nullptr, m_hdc);
    }
    HDC get() const noexcept { return m_hdc; }
    explicit operator bool() const noexcept { return m_hdc != nullptr; }
    // Hands the context over to the caller, who gives it back later through another guard.
    HDC Detach() noexcept { return std::exchange(m_hdc, nullptr); }
    // Gives the context back now, with ReleaseDC's result, which the drawing exports return.
    BOOL Release() noexcept {
        return m_hdc ? ReleaseDC(nullptr, std::exchange(m_hdc, nullptr)) : FALSE;
    }

private:
    HDC m_hdc;
};

inline ScreenDC GetScreenDC() noexcept {
    return ScreenDC(GetDC(nullptr));
}

// A device context for a window's client area, given back with ReleaseDC on the window it came
// from. Origin() is where the client area's top-left lies in the context: (0, 0) in the window's
// own context, the client area's screen position in the screen's.
class WindowDC {
public:
    WindowDC(HWND hwnd, HDC hdc, POINT ptOrigin = {0, 0}) noexcept
        : m_hwnd(hwnd), m_hdc(hdc), m_ptOrigin(ptOrigin) {}
    WindowDC(WindowDC &&other) noexcept
        : m_hwnd(other.m_hwnd), m_hdc(std::exchange(other.m_hdc, nullptr)),
          m_ptOrigin(other.m_ptOrigin) {}
    WindowDC &operator=(WindowDC &&) = delete;
    ~WindowDC() {
        if (m_hdc)
            ReleaseDC(m_hwnd, m_hdc);
    }
    HDC get() const noexcept { return m_hdc; }
    POINT Origin() const noexcept { return m_ptOrigin; }
    explicit operator bool() const noexcept { return m_hdc != nullptr; }

private:
    HWND m_hwnd;
    HDC m_hdc;
    POINT m_ptOrigin;
};

// A context for drawing in the window's client area in physical pixels. The window's own where it
// draws at its monitor's DPI; where the platform scales its drawing (a window of a host that is
// not DPI aware, on a scaled monitor), the screen's, clipped to the window. No window gives no
// context, never the whole screen's.
WindowDC GetClientDC(HWND hwnd) noexcept;

// A pen from CreatePen, deleted by DeleteObject.
class CreatedPen {
public:
    explicit CreatedPen(HPEN hpen) noexcept : m_hpen(hpen) {}
    CreatedPen(CreatedPen &&other) noexcept : m_hpen(std::exchange(other.m_hpen, nullptr)) {}
    CreatedPen &operator=(CreatedPen &&) = delete;
    ~CreatedPen() {
        if (m_hpen)
            DeleteObject(m_hpen);
    }
    HPEN get() const noexcept { return m_hpen; }

private:
    HPEN m_hpen;
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

// Another object the library creates (a bitmap, region, font or brush), deleted by DeleteObject.
template <class Handle> class GdiObject {
public:
    explicit GdiObject(Handle h = nullptr) noexcept : m_h(h) {}
    GdiObject(GdiObject &&other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    GdiObject &operator=(GdiObject &&other) noexcept {
        std::swap(m_h, other.m_h);
        return *this;
    }
    ~GdiObject() {
        if (m_h)
            DeleteObject(m_h);
    }
    Handle get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != nullptr; }

private:
    Handle m_h;
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
    explicit operator bool() const noexcept { return m_hdc != nullptr; }

private:
    HDC m_hdc;
};
