// Whole-screen snapshots for drawing tests: take one before, act, take one after, and compare
// the exact set of pixels that changed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

using Pixel = std::pair<int, int>; // (x, y), screen coordinates
using PixelSet = std::set<Pixel>;

// The calling thread per-monitor DPI aware (where the platform has it) while the object lives:
// physical pixels whatever the program declares.
class PhysicalView {
public:
    PhysicalView();
    ~PhysicalView();
    PhysicalView(const PhysicalView &) = delete;
    PhysicalView &operator=(const PhysicalView &) = delete;

private:
    using SetFn = HANDLE(WINAPI *)(HANDLE);
    SetFn m_pfnSet;
    HANDLE m_hOld;
};

class ScreenSnapshot {
public:
    // The whole virtual screen, every monitor, copied into a 32-bit DIB, in physical pixels.
    static ScreenSnapshot Take();

    ScreenSnapshot() = default;
    ScreenSnapshot(const ScreenSnapshot &) = default;
    ScreenSnapshot(ScreenSnapshot &&) = default;
    ScreenSnapshot &operator=(const ScreenSnapshot &) = default;
    ScreenSnapshot &operator=(ScreenSnapshot &&) = default;
    // Its pixels' memory is kept for the next snapshot of this thread: fresh megabytes from the
    // platform for every snapshot cost more, in page faults, than the copy into them.
    ~ScreenSnapshot();

    // Its place in screen coordinates: negative where a monitor lies left of or above the
    // primary.
    int Left() const { return m_nLeft; }
    int Top() const { return m_nTop; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // 0x00RRGGBB of the screen point (x, y)
    uint32_t At(int x, int y) const {
        return m_aPixels[size_t(y - m_nTop) * m_nWidth + (x - m_nLeft)];
    }
    // The row of screen line y, from the left edge.
    const uint32_t *Row(int y) const { return m_aPixels.data() + size_t(y - m_nTop) * m_nWidth; }

    bool operator==(const ScreenSnapshot &other) const {
        return m_nWidth == other.m_nWidth && m_aPixels == other.m_aPixels;
    }

private:
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<uint32_t> m_aPixels;
};

// The pixels that differ between two snapshots of the same screen.
PixelSet ChangedPixels(const ScreenSnapshot &before, const ScreenSnapshot &after);

// The changed pixels that are not the exact inverse of what they were.
PixelSet NotInverted(const ScreenSnapshot &before, const ScreenSnapshot &after);

// The outline that GDI's Rectangle draws with a one-pixel pen for a normalized rectangle: the
// columns left and right - 1, the rows top and bottom - 1.
PixelSet RectOutline(int left, int top, int right, int bottom);

// The pixels of a one-pixel line from (x0, y0) towards (x1, y1), the end pixel left out, for
// horizontal, vertical and 45-degree lines.
PixelSet StraightLine(int x0, int y0, int x1, int y1);

// The first few pixels of a set, as text for a failure message.
std::string ListedPixels(const PixelSet &pixels);

// Bounding rectangle of a set of pixels (right and bottom exclusive); empty for no pixels.
RECT BoundsOf(const PixelSet &pixels);

// Fills rc of hdc with squares of nCell pixels in five colours, a square's colour changing along
// both directions, the squares counted from the context's origin: one pattern brush, not a fill
// per square.
void FillStripes(HDC hdc, const RECT &rc, int nCell);

// Paints a fixed pattern of colours on a rectangle of the screen through a borderless topmost
// window, so that inversions can be told apart from a plain background. The window stays while
// the object lives.
class PatternWindow {
public:
    explicit PatternWindow(const RECT &rc);
    ~PatternWindow();
    PatternWindow(const PatternWindow &) = delete;
    PatternWindow &operator=(const PatternWindow &) = delete;
    HWND hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

// Lets the windows of this thread paint and settles the display: dispatches pending messages and
// waits until two snapshots in a row agree.
void SettleScreen();
