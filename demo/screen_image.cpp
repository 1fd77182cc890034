#include "screen_image.h"

#include "gdi_handles.h"

#include <algorithm>

namespace {

BITMAPINFO TopDownInfo(int nWidth, int nHeight) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight; // negative: rows run top to bottom
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// The cursor shown now, drawn at its place on a context that holds the picture of the screen from
// ptOrigin on.
void DrawCurrentCursor(HDC hdc, POINT ptOrigin) {
    CURSORINFO ci = {};
    ci.cbSize = sizeof(ci);
    if (!GetCursorInfo(&ci) || !(ci.flags & CURSOR_SHOWING) || !ci.hCursor)
        return;
    const IconBitmaps bitmaps(ci.hCursor);
    if (!bitmaps.ok())
        return;
    const POINT hot = bitmaps.HotSpot();
    DrawIconEx(hdc, ci.ptScreenPos.x - hot.x - ptOrigin.x, ci.ptScreenPos.y - hot.y - ptOrigin.y,
               ci.hCursor, 0, 0, 0, nullptr, DI_NORMAL);
}

// A mask of the shape: the pixels GDI fills and outlines for it are nonzero, all others zero.
std::vector<uint32_t> ShapeMask(int nWidth, int nHeight, CutShape shape,
                                std::vector<POINT> vertices) {
    std::vector<uint32_t> mask(size_t(nWidth) * nHeight, 0);
    const BITMAPINFO bmi = TopDownInfo(nWidth, nHeight);
    void *pBits = nullptr;
    const GdiObject<HBITMAP> bitmap(
        CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    const MemoryDC memory(nullptr);
    if (!bitmap.get() || !memory.get())
        return std::vector<uint32_t>(mask.size(), 1); // unmasked rather than nothing at all
    {
        const SelectedObject selectedBitmap(memory.get(), bitmap.get());
        const SelectedObject pen(memory.get(), GetStockObject(WHITE_PEN));
        const SelectedObject brush(memory.get(), GetStockObject(WHITE_BRUSH));
        PatBlt(memory.get(), 0, 0, nWidth, nHeight, BLACKNESS);
        if (shape == CutShape::Ellipse)
            Ellipse(memory.get(), 0, 0, nWidth, nHeight);
        else
            Polygon(memory.get(), vertices.data(), int(vertices.size()));
        GdiFlush();
        std::copy_n(static_cast<const uint32_t *>(pBits), mask.size(), mask.begin());
    }
    return mask;
}

} // namespace

RECT ImageRect(const PixelImage &image) {
    return RECT{image.nLeft, image.nTop, image.nLeft + image.nWidth, image.nTop + image.nHeight};
}

RECT VirtualScreenRect() {
    const int nLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int nTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{nLeft, nTop, nLeft + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                nTop + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

PixelImage GrabScreen(bool bWithCursor) {
    PixelImage image;
    const RECT rcScreen = VirtualScreenRect();
    const int nLeft = rcScreen.left, nTop = rcScreen.top;
    const int nWidth = rcScreen.right - nLeft, nHeight = rcScreen.bottom - nTop;
    const WindowDC screen(nullptr);
    const MemoryDC memory(screen.get());
    const GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), nWidth, nHeight));
    if (!screen.get() || !memory.get() || !bitmap.get())
        return image;
    {
        const SelectedObject selected(memory.get(), bitmap.get());
        // The screen's context takes screen points on every monitor, negative ones included.
        BitBlt(memory.get(), 0, 0, nWidth, nHeight, screen.get(), nLeft, nTop, SRCCOPY);
        if (bWithCursor)
            DrawCurrentCursor(memory.get(), POINT{nLeft, nTop});
    }
    BITMAPINFO bmi = TopDownInfo(nWidth, nHeight);
    image.aPixels.resize(size_t(nWidth) * nHeight);
    if (GetDIBits(memory.get(), bitmap.get(), 0, nHeight, image.aPixels.data(), &bmi,
                  DIB_RGB_COLORS) != nHeight) {
        image.aPixels.clear();
        return image;
    }
    for (uint32_t &px : image.aPixels)
        px |= 0xFF000000u;
    image.nWidth = nWidth;
    image.nHeight = nHeight;
    image.nLeft = nLeft;
    image.nTop = nTop;
    return image;
}

PixelImage SeenFromPhysical(const PixelImage &physical, const std::vector<MonitorPlace> &monitors,
                            RECT rcSeen) {
    const RECT rcPhysical = ImageRect(physical);
    bool bScaled = !EqualRect(&rcPhysical, &rcSeen);
    for (const MonitorPlace &m : monitors)
        bScaled = bScaled || !EqualRect(&m.rcPhysical, &m.rcSeen);
    if (!bScaled || physical.aPixels.empty())
        return physical;
    PixelImage seen;
    const int nWidth = rcSeen.right - rcSeen.left, nHeight = rcSeen.bottom - rcSeen.top;
    const BITMAPINFO bmiFrom = TopDownInfo(physical.nWidth, physical.nHeight);
    const BITMAPINFO bmiTo = TopDownInfo(nWidth, nHeight);
    void *pFrom = nullptr, *pTo = nullptr;
    const GdiObject<HBITMAP> from(
        CreateDIBSection(nullptr, &bmiFrom, DIB_RGB_COLORS, &pFrom, nullptr, 0));
    const GdiObject<HBITMAP> to(
        CreateDIBSection(nullptr, &bmiTo, DIB_RGB_COLORS, &pTo, nullptr, 0));
    const MemoryDC fromDC(nullptr), toDC(nullptr);
    if (nWidth <= 0 || nHeight <= 0 || !from.get() || !to.get() || !fromDC.get() || !toDC.get())
        return seen;
    std::copy(physical.aPixels.begin(), physical.aPixels.end(), static_cast<uint32_t *>(pFrom));
    {
        const SelectedObject selectedFrom(fromDC.get(), from.get());
        const SelectedObject selectedTo(toDC.get(), to.get());
        // Black where no monitor lands, as between monitors of a physical grab.
        PatBlt(toDC.get(), 0, 0, nWidth, nHeight, BLACKNESS);
        SetStretchBltMode(toDC.get(), HALFTONE);
        SetBrushOrgEx(toDC.get(), 0, 0, nullptr);
        for (const MonitorPlace &m : monitors)
            StretchBlt(toDC.get(), m.rcSeen.left - rcSeen.left, m.rcSeen.top - rcSeen.top,
                       m.rcSeen.right - m.rcSeen.left, m.rcSeen.bottom - m.rcSeen.top, fromDC.get(),
                       m.rcPhysical.left - physical.nLeft, m.rcPhysical.top - physical.nTop,
                       m.rcPhysical.right - m.rcPhysical.left,
                       m.rcPhysical.bottom - m.rcPhysical.top, SRCCOPY);
        GdiFlush();
        seen.aPixels.assign(static_cast<const uint32_t *>(pTo),
                            static_cast<const uint32_t *>(pTo) + size_t(nWidth) * nHeight);
    }
    for (uint32_t &px : seen.aPixels)
        px |= 0xFF000000u;
    seen.nWidth = nWidth;
    seen.nHeight = nHeight;
    seen.nLeft = rcSeen.left;
    seen.nTop = rcSeen.top;
    return seen;
}

PixelImage CutOut(const PixelImage &frozen, RECT rc, CutShape shape,
                  const std::vector<POINT> &vertices) {
    PixelImage image;
    RECT rcClip;
    const RECT rcScreen = ImageRect(frozen);
    if (!IntersectRect(&rcClip, &rc, &rcScreen))
        return image;
    image.nWidth = rcClip.right - rcClip.left;
    image.nHeight = rcClip.bottom - rcClip.top;
    image.nLeft = rcClip.left;
    image.nTop = rcClip.top;
    image.aPixels.resize(size_t(image.nWidth) * image.nHeight);

    std::vector<uint32_t> mask;
    if (shape != CutShape::Rectangle) {
        // The mask covers the whole of rc, so that a shape partly off the screen keeps its form.
        std::vector<POINT> local = vertices;
        for (POINT &pt : local) {
            pt.x -= rc.left;
            pt.y -= rc.top;
        }
        mask = ShapeMask(rc.right - rc.left, rc.bottom - rc.top, shape, local);
    }
    for (int y = 0; y < image.nHeight; ++y)
        for (int x = 0; x < image.nWidth; ++x) {
            const int sx = rcClip.left + x, sy = rcClip.top + y;
            uint32_t px =
                frozen.aPixels[size_t(sy - frozen.nTop) * frozen.nWidth + (sx - frozen.nLeft)];
            if (!mask.empty() && !mask[size_t(sy - rc.top) * (rc.right - rc.left) + (sx - rc.left)])
                px = 0; // transparent
            image.aPixels[size_t(y) * image.nWidth + x] = px;
        }
    return image;
}

void PaintImage(HDC hdc, const PixelImage &image) {
    if (image.aPixels.empty())
        return;
    // The whole picture: the context's clipping keeps the drawing to what needs painting.
    const BITMAPINFO bmi = TopDownInfo(image.nWidth, image.nHeight);
    SetDIBitsToDevice(hdc, 0, 0, image.nWidth, image.nHeight, 0, 0, 0, image.nHeight,
                      image.aPixels.data(), &bmi, DIB_RGB_COLORS);
}
