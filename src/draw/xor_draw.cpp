#include "draw/xor_draw.h"

#include "draw/box_geometry.h"
#include "draw/gdi_guards.h"
#include "host/dpi_scope.h"

#include <climits>

namespace {

// At 96 DPI; at the DPI of the monitor under the point.
const int kPointMarkerRadius = 3;
const int kVertexMarkerRadius = 5;

// v + d, held within the 32-bit range: a point at the very edge of it still gets a circle.
int Beside(LONG v, int d) noexcept {
    const long long n = static_cast<long long>(v) + d;
    return n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n);
}

// The vertical pair goes in with the larger value on top; GDI orders it, and a caller erasing
// the circle repeats exactly this call.
void XorCircleOn(HDC hdc, const POINT &pt, int nRadius96) noexcept {
    const int nRadius = ScaledForDpi(nRadius96, DpiAt(pt));
    Ellipse(hdc, Beside(pt.x, -nRadius), Beside(pt.y, nRadius), Beside(pt.x, nRadius),
            Beside(pt.y, -nRadius));
}

int XorCircle(const POINT &pt, int nRadius) noexcept {
    ScreenDC dc = CreateXorDisplayDC();
    if (!dc)
        return 0;
    XorCircleOn(dc.get(), pt, nRadius);
    return dc.Release();
}

} // namespace

namespace {

XorContextClip pfnContextClip = nullptr;
unsigned (*pfnClipChanges)() = nullptr;

void ClipContext(HDC hdc, POINT ptOrigin = {0, 0}) {
    if (pfnContextClip)
        pfnContextClip(hdc, ptOrigin);
}

// Whether what the contexts leave out changed since nSeen, which is brought up to date.
bool ClipChanged(unsigned &nSeen) {
    if (!pfnClipChanges || pfnClipChanges() == nSeen)
        return false;
    nSeen = pfnClipChanges();
    return true;
}

// Whether hwnd's own context draws in physical pixels; where the platform scales the window's
// drawing, its client area is drawn on through the screen's context.
bool DrawsInOwnContext(HWND hwnd) {
    return DpiOfWindow(hwnd) == DpiOfWindowMonitor(hwnd);
}

// Clips a context of hwnd's client area that has no clip region yet: its own (origin at the
// client area's on the screen), or the screen's, to the window. Clip regions are in device
// pixels, whatever the context's mapping.
void ClipClientContext(HDC hdc, HWND hwnd, bool bOwn) {
    POINT ptClient = {0, 0};
    if (bOwn) {
        if (ClientToScreen(hwnd, &ptClient))
            ClipContext(hdc, ptClient);
        return;
    }
    RECT rcWindow;
    if (GetWindowRect(hwnd, &rcWindow)) {
        GdiObject<HRGN> rgn(CreateRectRgnIndirect(&rcWindow));
        if (rgn)
            SelectClipRgn(hdc, rgn.get());
    }
    ClipContext(hdc);
}

} // namespace

void SetXorContextClip(XorContextClip pfnClip, unsigned (*pfnChanges)()) {
    pfnContextClip = pfnClip;
    pfnClipChanges = pfnChanges;
}

void KeepXorDisplayDCClipped(HDC hdc, unsigned &nSeen) {
    if (!hdc || !ClipChanged(nSeen))
        return;
    SelectClipRgn(hdc, nullptr);
    ClipContext(hdc);
}

void KeepClientDCClipped(const WindowDC &dc, HWND hwnd, unsigned &nSeen) {
    if (!dc || !ClipChanged(nSeen))
        return;
    SelectClipRgn(dc.get(), nullptr);
    ClipClientContext(dc.get(), hwnd, DrawsInOwnContext(hwnd));
}

WindowDC GetClientDC(HWND hwnd) noexcept {
    if (!hwnd)
        return WindowDC(nullptr, nullptr);
    if (DrawsInOwnContext(hwnd)) {
        const HDC hdc = GetDC(hwnd);
        if (hdc)
            ClipClientContext(hdc, hwnd, true);
        return WindowDC(hwnd, hdc);
    }
    // Drawn in the window's own context, a pixel would be stretched to the monitor's scale.
    POINT ptOrigin = {0, 0};
    if (!IsWindow(hwnd) || !ClientToScreen(hwnd, &ptOrigin))
        return WindowDC(nullptr, nullptr);
    ScreenDC dc = GetScreenDC();
    if (dc)
        ClipClientContext(dc.get(), hwnd, false);
    return WindowDC(nullptr, dc.Detach(), ptOrigin);
}

RECT VirtualScreenRect() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The stock objects need not be selected back: a common context is reset when it is released.
ScreenDC CreateXorDisplayDC() noexcept {
    ScreenDC dc = GetScreenDC();
    if (dc) {
        SetROP2(dc.get(), R2_XORPEN);
        SelectObject(dc.get(), GetStockObject(WHITE_PEN));
        SelectObject(dc.get(), GetStockObject(NULL_BRUSH));
        ClipContext(dc.get());
    }
    return dc;
}

void XorVertexMarkerOn(HDC hdc, const POINT &pt) {
    XorCircleOn(hdc, pt, kVertexMarkerRadius);
}

void XorPointOn(HDC hdc, const POINT &pt) {
    XorCircleOn(hdc, pt, kPointMarkerRadius);
}

void XorLineOn(HDC hdc, const POINT &ptStart, const POINT &ptEnd) {
    MoveToEx(hdc, ptStart.x, ptStart.y, nullptr);
    LineTo(hdc, ptEnd.x, ptEnd.y);
}

void DrawBoxShape(HDC hdc, int x1, int y1, int x2, int y2, BOOL bEllipseFlag) {
    POINT ptFirst = {x1, y1};
    POINT ptSecond = {x2, y2};
    NormalizeCorners(ptFirst, ptSecond);
    if (bEllipseFlag)
        Ellipse(hdc, ptFirst.x, ptFirst.y, ptSecond.x, ptSecond.y);
    else
        Rectangle(hdc, ptFirst.x, ptFirst.y, ptSecond.x, ptSecond.y);
}

void XorVertexMarker(const POINT &pt) {
    XorCircle(pt, kVertexMarkerRadius);
}

extern "C" int WINAPI XorBox(int x1, int y1, int x2, int y2, int bEllipseFlag) {
    PhysicalPixels physicalPixels;
    ScreenDC dc = CreateXorDisplayDC();
    if (!dc)
        return 0;
    DrawBoxShape(dc.get(), x1, y1, x2, y2, bEllipseFlag);
    return dc.Release();
}

extern "C" int WINAPI MoveXorBox(int xAnchor, int yAnchor, int xOld, int yOld, int xNew, int yNew,
                                 int bEllipseFlag) {
    PhysicalPixels physicalPixels;
    ScreenDC dc = CreateXorDisplayDC();
    if (!dc)
        return 0;
    DrawBoxShape(dc.get(), xAnchor, yAnchor, xOld, yOld, bEllipseFlag);
    DrawBoxShape(dc.get(), xAnchor, yAnchor, xNew, yNew, bEllipseFlag);
    return dc.Release();
}

extern "C" int WINAPI SPXXorLine(const POINT *pptStart, const POINT *pptEnd) {
    PhysicalPixels physicalPixels;
    if (!pptStart || !pptEnd)
        return 0;
    ScreenDC dc = CreateXorDisplayDC();
    if (!dc)
        return 0;
    XorLineOn(dc.get(), *pptStart, *pptEnd);
    return dc.Release();
}

extern "C" int WINAPI SPXXorPoint(const POINT *ppt) {
    PhysicalPixels physicalPixels;
    return ppt ? XorCircle(*ppt, kPointMarkerRadius) : 0;
}

extern "C" int WINAPI SPXXORWindow(HWND hwnd) {
    PhysicalPixels physicalPixels;
    RECT rc;
    // A handle whose rectangle cannot be read (dead or never a window) gets no frame at all,
    // rather than one around whatever rectangle happened to be left in memory.
    if (!GetWindowRect(hwnd, &rc))
        return 0;
    // The dialog frame's width at the DPI of the window's monitor.
    return XorFrameRect(rc, DpiOfWindowMonitor(hwnd));
}

int XorFrameRect(const RECT &rc, UINT nDpi) {
    PhysicalPixels physicalPixels;
    ScreenDC dc = GetScreenDC();
    if (!dc)
        return 0;
    const int nWidth = ScaledForDpi(SystemMetricAt96(SM_CXDLGFRAME), nDpi);
    SetROP2(dc.get(), R2_XORPEN);
    {
        CreatedPen pen(CreatePen(PS_INSIDEFRAME, nWidth, RGB(255, 255, 255)));
        SelectedObject selectedPen(dc.get(), pen.get());
        SelectObject(dc.get(), GetStockObject(NULL_BRUSH));
        Rectangle(dc.get(), rc.left, rc.bottom, rc.right, rc.top);
    }
    return dc.Release();
}
