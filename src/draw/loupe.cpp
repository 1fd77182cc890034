#include "draw/loupe.h"

#include "draw/gdi_guards.h"
#include "draw/loupe_geometry.h"
#include "draw/xor_draw.h"
#include "host/dpi_scope.h"
#include "host/hook_state.h"

namespace {

const char kLoupeClass[] = "SPXHK110Loupe";
// A display frame: the loupe is painted at most this often.
const DWORD kFrameMs = 16;
// How long the windows the loupe uncovered are given to repaint before the figure is drawn there
// again: Wine shows what a window painted up to 50 ms later while its thread is busy.
const DWORD kRepaintMs = 64;
const UINT_PTR kFrameTimer = 1;
// At 96 DPI: the text under the picture (two lines) and the frame around the window.
const int kTextHeight96 = 34;
const int kBorder = 1;
const DWORD kExcludeFromCapture = 0x11; // WDA_EXCLUDEFROMCAPTURE, Windows 10 2004 and later

// Plain module globals: a destructor would need the C runtime to run it at unload. All of it is
// used on the host's thread alone.
HWND hwndLoupe = nullptr;
bool bShown = false;
RECT rcLoupe = {0, 0, 0, 0};
// Where the loupe was and the figure is not drawn again yet: its owners repaint it first.
HRGN hrgnOwed = nullptr;
DWORD dwOwedAt = 0;
POINT ptHot = {0, 0};
RECT rcAvoid = {0, 0, 0, 0};
bool bPending = false; // ptHot waits for the next frame
bool bTimer = false;
DWORD dwLastPaint = 0;
int nZoom = LOUPE_ZOOM_DEFAULT;
int nWheelRest = 0;
unsigned nClipCount = 0;
LoupeFigureProc pfnLoupeFigure = nullptr;

struct LoupeLayout {
    int nPicture; // the square the picture is centred in
    int nText;    // the text's band under it
    int nSide;    // the screen pixels shown across
    SIZE Window() const {
        return SIZE{nPicture + 2 * kBorder, nPicture + nText + 2 * kBorder};
    }
};

LoupeLayout LayoutAt(UINT nDpi) {
    LoupeLayout layout;
    layout.nPicture = ScaledForDpi(LOUPE_PICTURE_96, nDpi);
    layout.nText = ScaledForDpi(kTextHeight96, nDpi);
    layout.nSide = LoupeSourceSide(nZoom, layout.nPicture, ScaledForDpi(LOUPE_GAP_96, nDpi));
    return layout;
}

// What the figure keeps off while the loupe shows: its rectangle and a pixel around it. A
// platform may repaint a little more than a window uncovers (Wine 10 a pixel above and left of
// it); with no figure there to lose, the pixel is drawn again with the rest that is owed.
RECT KeptClear(const RECT &rc) {
    RECT rcClear = rc;
    InflateRect(&rcClear, 1, 1);
    return rcClear;
}

bool Figure(HRGN hrgn) {
    return !pfnLoupeFigure || pfnLoupeFigure(hrgn);
}

void Owe(const RECT &rc) {
    GdiObject<HRGN> rgn(CreateRectRgnIndirect(&rc));
    if (!hrgnOwed)
        hrgnOwed = CreateRectRgn(0, 0, 0, 0);
    if (hrgnOwed && rgn)
        CombineRgn(hrgnOwed, hrgnOwed, rgn.get(), RGN_OR);
    dwOwedAt = GetTickCount();
}

// The figure is drawn again where the loupe was, now that its owners have had a frame to
// repaint it.
bool DrawOwed() {
    if (!Figure(hrgnOwed))
        return false;
    DeleteObject(hrgnOwed);
    hrgnOwed = nullptr;
    ++nClipCount;
    return true;
}

bool OnLoupeThread() {
    return GetWindowThreadProcessId(hwndLoupe, nullptr) == GetCurrentThreadId();
}

// A window under what is owed; and one there not repainted yet: the figure would be drawn there
// first, and wiped by the paint (a thread taking a stream of input paints last).
bool OverOwed(HWND hwnd) {
    RECT rc;
    return hwnd != hwndLoupe && IsWindowVisible(hwnd) && GetWindowRect(hwnd, &rc) &&
           RectInRegion(hrgnOwed, &rc);
}

bool Unpainted(HWND hwnd) {
    return OverOwed(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE);
}

// Enumerating a window's children reaches all its descendants.
BOOL CALLBACK FindUnpaintedChild(HWND hwnd, LPARAM lParam) {
    *reinterpret_cast<bool *>(lParam) = Unpainted(hwnd);
    return !*reinterpret_cast<bool *>(lParam);
}

BOOL CALLBACK FindUnpainted(HWND hwnd, LPARAM lParam) {
    bool &bFound = *reinterpret_cast<bool *>(lParam);
    bFound = Unpainted(hwnd);
    if (!bFound)
        EnumChildWindows(hwnd, FindUnpaintedChild, lParam);
    return !bFound;
}

BOOL CALLBACK PaintOwedNow(HWND hwnd, LPARAM) {
    if (OverOwed(hwnd))
        RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

// This thread's windows under what is owed paint now if they have not; true when one had to,
// and the platform is given its time again to show what they painted.
bool OwnersPaintedNow() {
    if (!hrgnOwed || !OnLoupeThread())
        return false;
    bool bUnpainted = false;
    EnumThreadWindows(GetCurrentThreadId(), FindUnpainted, reinterpret_cast<LPARAM>(&bUnpainted));
    if (!bUnpainted)
        return false;
    EnumThreadWindows(GetCurrentThreadId(), PaintOwedNow, 0);
    dwOwedAt = GetTickCount();
    return true;
}

void StartTimer() {
    if (!bTimer && hwndLoupe)
        bTimer = SetTimer(hwndLoupe, kFrameTimer, kFrameMs, nullptr) != 0;
}

void StopTimer() {
    if (bTimer)
        KillTimer(hwndLoupe, kFrameTimer);
    bTimer = false;
}

void PaintLoupe(HDC hdc) {
    RECT rcClient;
    GetClientRect(hwndLoupe, &rcClient);
    const LoupeLayout layout = LayoutAt(DpiAt(ptHot));
    MemoryDC mem(hdc);
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(hdc, rcClient.right, rcClient.bottom));
    ScreenDC screen = GetScreenDC();
    if (!mem || !bitmap || !screen)
        return;
    SelectedObject selected(mem.get(), bitmap.get());
    FillRect(mem.get(), &rcClient, HBRUSH(GetStockObject(BLACK_BRUSH)));
    const int nSide = layout.nSide, nCell = nZoom, nShown = nSide * nCell;
    const int x0 = (rcClient.right - nShown) / 2, y0 = (layout.nPicture - nShown) / 2;
    // Only what lies on the screen is copied (the platform may copy nothing of a part beyond
    // it); the rest stays black.
    const RECT rcSource = {ptHot.x - nSide / 2, ptHot.y - nSide / 2, ptHot.x + nSide / 2 + 1,
                           ptHot.y + nSide / 2 + 1};
    const RECT rcScreen = VirtualScreenRect();
    RECT rc;
    if (IntersectRect(&rc, &rcSource, &rcScreen)) {
        SetStretchBltMode(mem.get(), COLORONCOLOR);
        StretchBlt(mem.get(), x0 + (rc.left - rcSource.left) * nCell,
                   y0 + (rc.top - rcSource.top) * nCell, (rc.right - rc.left) * nCell,
                   (rc.bottom - rc.top) * nCell, screen.get(), rc.left, rc.top,
                   rc.right - rc.left, rc.bottom - rc.top, SRCCOPY);
    }
    const COLORREF crCentre = GetPixel(screen.get(), ptHot.x, ptHot.y);
    // A grid line between magnified pixels, then the centre pixel framed.
    CreatedPen grid(CreatePen(PS_SOLID, 1, RGB(96, 96, 96)));
    CreatedPen centre(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    {
        SelectedObject pen(mem.get(), grid.get());
        for (int k = 1; k < nSide; ++k) {
            MoveToEx(mem.get(), x0 + k * nCell, y0, nullptr);
            LineTo(mem.get(), x0 + k * nCell, y0 + nShown);
            MoveToEx(mem.get(), x0, y0 + k * nCell, nullptr);
            LineTo(mem.get(), x0 + nShown, y0 + k * nCell);
        }
    }
    {
        SelectedObject pen(mem.get(), centre.get());
        SelectedObject brush(mem.get(), GetStockObject(NULL_BRUSH));
        const int c = nSide / 2;
        Rectangle(mem.get(), x0 + c * nCell, y0 + c * nCell, x0 + (c + 1) * nCell + 1,
                  y0 + (c + 1) * nCell + 1);
    }
    char szPlace[40], szColour[48];
    wsprintfA(szPlace, "%ld, %ld", ptHot.x, ptHot.y);
    if (crCentre == CLR_INVALID)
        lstrcpyA(szColour, "-");
    else
        wsprintfA(szColour, "%u %u %u  #%02X%02X%02X", GetRValue(crCentre), GetGValue(crCentre),
                  GetBValue(crCentre), GetRValue(crCentre), GetGValue(crCentre),
                  GetBValue(crCentre));
    SetBkMode(mem.get(), TRANSPARENT);
    SetTextColor(mem.get(), RGB(255, 255, 255));
    SelectedObject font(mem.get(), GetStockObject(DEFAULT_GUI_FONT));
    RECT rcText = {0, layout.nPicture, rcClient.right, layout.nPicture + layout.nText / 2};
    DrawTextA(mem.get(), szPlace, -1, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    OffsetRect(&rcText, 0, layout.nText / 2);
    DrawTextA(mem.get(), szColour, -1, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    BitBlt(hdc, 0, 0, rcClient.right, rcClient.bottom, mem.get(), 0, 0, SRCCOPY);
}

void Tick();

BOOL CALLBACK RepaintUnderLoupe(HWND hwnd, LPARAM) {
    RECT rc, rcUnder;
    if (hwnd != hwndLoupe && IsWindowVisible(hwnd) && GetWindowRect(hwnd, &rc) &&
        IntersectRect(&rcUnder, &rc, &rcLoupe))
        RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

LRESULT CALLBACK LoupeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    PhysicalPixels physicalPixels;
    switch (msg) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC hdc = BeginPaint(hwnd, &ps)) {
            PaintLoupe(hdc);
            EndPaint(hwnd, &ps);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kFrameTimer) {
            Tick();
            return 0;
        }
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool MakeWindow() {
    if (hwndLoupe)
        return true;
    SetXorContextClip(LeaveOutLoupe, LoupeClipCount);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = LoupeProc;
    wc.hInstance = hResourceModule;
    wc.lpszClassName = kLoupeClass;
    RegisterClassExA(&wc); // fails harmlessly once registered
    hwndLoupe = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE |
                                    WS_EX_TRANSPARENT | WS_EX_LAYERED,
                                kLoupeClass, "", WS_POPUP | WS_BORDER, 0, 0, 1, 1, nullptr,
                                nullptr, hResourceModule, nullptr);
    if (!hwndLoupe)
        return false;
    SetLayeredWindowAttributes(hwndLoupe, 0, 255, LWA_ALPHA);
    // Kept out of screen grabs where the platform can (found at run time).
    using AffinityProc = BOOL(WINAPI *)(HWND, DWORD);
    if (const HMODULE hUser = GetModuleHandleA("user32.dll"))
        if (const auto pfn = reinterpret_cast<AffinityProc>(
                reinterpret_cast<void *>(GetProcAddress(hUser, "SetWindowDisplayAffinity"))))
            pfn(hwndLoupe, kExcludeFromCapture);
    return true;
}

// The loupe comes to rcNew. The figure, never drawn where the loupe is or where it is owed, is
// erased where the loupe comes; where it leaves, the figure is owed.
void MoveTo(const RECT &rcNew) {
    if (bShown && EqualRect(&rcNew, &rcLoupe))
        return;
    const RECT rcNewClear = KeptClear(rcNew), rcOldClear = KeptClear(rcLoupe);
    GdiObject<HRGN> cover(CreateRectRgnIndirect(&rcNewClear));
    GdiObject<HRGN> there(CreateRectRgnIndirect(&rcNewClear));
    GdiObject<HRGN> old(CreateRectRgnIndirect(&rcOldClear));
    if (!cover || !there || !old)
        return;
    if (bShown)
        CombineRgn(cover.get(), cover.get(), old.get(), RGN_DIFF);
    if (hrgnOwed)
        CombineRgn(cover.get(), cover.get(), hrgnOwed, RGN_DIFF);
    Figure(cover.get());
    if (bShown)
        Owe(rcOldClear);
    // What it covers again is owed no more: the figure was never drawn again there.
    if (hrgnOwed)
        CombineRgn(hrgnOwed, hrgnOwed, there.get(), RGN_DIFF);
    rcLoupe = rcNew;
    bShown = true;
    ++nClipCount;
    SetWindowPos(hwndLoupe, HWND_TOPMOST, rcNew.left, rcNew.top, rcNew.right - rcNew.left,
                 rcNew.bottom - rcNew.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void PlaceAndPaint() {
    if (!MakeWindow())
        return;
    const UINT nDpi = DpiAt(ptHot);
    const LoupeLayout layout = LayoutAt(nDpi);
    const int nGap = ScaledForDpi(LOUPE_GAP_96, nDpi);
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(MonitorFromPoint(ptHot, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    const int nHalf = layout.nSide / 2;
    const RECT rcShown = {ptHot.x - nHalf, ptHot.y - nHalf, ptHot.x + nHalf + 1,
                          ptHot.y + nHalf + 1};
    MoveTo(PlaceLoupe(ptHot, layout.Window(), nGap, mi.rcMonitor, rcAvoid, rcShown));
    InvalidateRect(hwndLoupe, nullptr, FALSE);
    UpdateWindow(hwndLoupe);
}

void Tick() {
    const DWORD dwNow = GetTickCount();
    // Until its owners repaint what the loupe uncovered, the screen there still shows the loupe:
    // a picture taken from there is taken again.
    const bool bRepaint = hrgnOwed && dwNow - dwOwedAt >= kRepaintMs && !OwnersPaintedNow() &&
                          DrawOwed() && bShown;
    if (bPending && dwNow - dwLastPaint >= kFrameMs && Figure(nullptr)) {
        bPending = false;
        dwLastPaint = dwNow;
        PlaceAndPaint();
    } else if (bRepaint) {
        InvalidateRect(hwndLoupe, nullptr, FALSE);
        UpdateWindow(hwndLoupe);
    }
    if (bPending || hrgnOwed)
        StartTimer();
    else
        StopTimer();
}

} // namespace

void SetLoupeFigure(LoupeFigureProc pfnFigure) {
    pfnLoupeFigure = pfnFigure;
}

void LoupeFollow(POINT pt, const RECT &rcSelection) {
    ptHot = pt;
    rcAvoid = rcSelection;
    bPending = true;
    // The first picture comes at once; the rest at most once a frame.
    if (!bShown)
        dwLastPaint = GetTickCount() - kFrameMs;
    Tick();
}

void HideLoupe() {
    bPending = false;
    if (!bShown)
        return;
    bShown = false;
    // A host may turn the hook off from another thread: the loupe's own is never waited for.
    SetWindowPos(hwndLoupe, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     (OnLoupeThread() ? 0 : SWP_ASYNCWINDOWPOS));
    Owe(KeptClear(rcLoupe));
    ++nClipCount;
    StartTimer();
    // This thread's windows under it repaint now: a host that grabs the screen as it hears of the
    // selection finds them whole (other programs' windows repaint in their own time).
    if (OnLoupeThread())
        EnumThreadWindows(GetCurrentThreadId(), RepaintUnderLoupe, 0);
}

bool LoupeShown() {
    return bShown;
}

void DestroyLoupe() {
    HideLoupe();
    StopTimer();
    // The figure is off the screen by now: nothing is owed any more.
    if (hrgnOwed)
        DeleteObject(hrgnOwed);
    hrgnOwed = nullptr;
    if (hwndLoupe && !(OnLoupeThread() && DestroyWindow(hwndLoupe)))
        PostMessageA(hwndLoupe, WM_CLOSE, 0, 0);
    hwndLoupe = nullptr;
    bTimer = false;
    ++nClipCount;
}

void LoupeWheel(int nDelta) {
    if (!bShown)
        return;
    nWheelRest += nDelta;
    const int nSteps = nWheelRest / WHEEL_DELTA;
    nWheelRest -= nSteps * WHEEL_DELTA;
    if (!nSteps)
        return;
    nZoom = LoupeZoomAfter(nZoom, nSteps);
    bPending = true;
    Tick();
}

int LoupeZoom() {
    return nZoom;
}

bool IsLoupeWindow(HWND hwnd) {
    return hwnd && hwnd == hwndLoupe;
}

void LeaveOutLoupe(HDC hdc, POINT ptOrigin) {
    if ((!bShown && !hrgnOwed) || !hdc)
        return;
    const RECT rcClear = KeptClear(rcLoupe);
    GdiObject<HRGN> out(bShown ? CreateRectRgnIndirect(&rcClear) : CreateRectRgn(0, 0, 0, 0));
    if (!out)
        return;
    if (hrgnOwed)
        CombineRgn(out.get(), out.get(), hrgnOwed, RGN_OR);
    // A context without a clip region of its own is not taken to cover the whole virtual screen
    // (Wine's reaches no negative point): the region it draws in is made whole here.
    GdiObject<HRGN> clip(CreateRectRgn(0, 0, 0, 0));
    if (!clip)
        return;
    if (GetClipRgn(hdc, clip.get()) != 1) {
        const RECT rcScreen = VirtualScreenRect();
        SetRectRgn(clip.get(), rcScreen.left, rcScreen.top, rcScreen.right, rcScreen.bottom);
        OffsetRgn(clip.get(), -ptOrigin.x, -ptOrigin.y);
    }
    OffsetRgn(out.get(), -ptOrigin.x, -ptOrigin.y);
    CombineRgn(clip.get(), clip.get(), out.get(), RGN_DIFF);
    SelectClipRgn(hdc, clip.get());
}

unsigned LoupeClipCount() {
    return nClipCount;
}
