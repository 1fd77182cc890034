#include "screen_snapshot.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

// A 32-bit top-down DIB section selected into a memory DC, kept from one snapshot to the next
// (one per thread): making and touching a fresh one for every snapshot costs more than the copy.
class CaptureBitmap {
public:
    ~CaptureBitmap() { Release(); }

    // The bits of a bitmap of that size, screen contents copied from (left, top).
    const uint32_t *Capture(int left, int top, int width, int height) {
        if (width != m_nWidth || height != m_nHeight)
            Create(width, height);
        if (!m_pBits)
            return nullptr;
        HDC hdcScreen = GetDC(nullptr);
        BitBlt(m_hdcMem, 0, 0, width, height, hdcScreen, left, top, SRCCOPY);
        ReleaseDC(nullptr, hdcScreen);
        GdiFlush();
        return m_pBits;
    }

private:
    void Create(int width, int height) {
        Release();
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = -height; // top-down rows
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        HDC hdcScreen = GetDC(nullptr);
        m_hdcMem = CreateCompatibleDC(hdcScreen);
        void *pBits = nullptr;
        m_hbm = CreateDIBSection(hdcScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        ReleaseDC(nullptr, hdcScreen);
        m_hOld = SelectObject(m_hdcMem, m_hbm);
        m_pBits = static_cast<const uint32_t *>(pBits);
        m_nWidth = width;
        m_nHeight = height;
    }

    void Release() {
        if (m_hdcMem) {
            SelectObject(m_hdcMem, m_hOld);
            DeleteDC(m_hdcMem);
        }
        if (m_hbm)
            DeleteObject(m_hbm);
        m_hdcMem = nullptr;
        m_hbm = nullptr;
        m_pBits = nullptr;
        m_nWidth = m_nHeight = 0;
    }

    int m_nWidth = 0;
    int m_nHeight = 0;
    HDC m_hdcMem = nullptr;
    HBITMAP m_hbm = nullptr;
    HGDIOBJ m_hOld = nullptr;
    const uint32_t *m_pBits = nullptr;
};

thread_local CaptureBitmap g_capture;
// Pixel memory of snapshots gone, for the next ones of the thread.
thread_local std::vector<std::vector<uint32_t>> g_spareRows;

} // namespace

PhysicalView::PhysicalView()
    : m_pfnSet(reinterpret_cast<SetFn>(reinterpret_cast<void *>(
          GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")))),
      m_hOld(m_pfnSet ? m_pfnSet(reinterpret_cast<HANDLE>(LONG_PTR(-4))) : nullptr) {}

PhysicalView::~PhysicalView() {
    if (m_hOld)
        m_pfnSet(m_hOld);
}

ScreenSnapshot::~ScreenSnapshot() {
    if (m_aPixels.capacity() >= 65536 && g_spareRows.size() < 8)
        g_spareRows.push_back(std::move(m_aPixels));
}

ScreenSnapshot ScreenSnapshot::Take() {
    PhysicalView physical;
    ScreenSnapshot shot;
    shot.m_nLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    shot.m_nTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    shot.m_nWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    shot.m_nHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const size_t nPixels = size_t(shot.m_nWidth) * shot.m_nHeight;
    const uint32_t *src =
        g_capture.Capture(shot.m_nLeft, shot.m_nTop, shot.m_nWidth, shot.m_nHeight);
    if (!src) {
        shot.m_aPixels.resize(nPixels);
        return shot;
    }
    // Copied whole, then the byte above the colour cleared.
    if (!g_spareRows.empty()) {
        shot.m_aPixels = std::move(g_spareRows.back());
        g_spareRows.pop_back();
    }
    shot.m_aPixels.assign(src, src + nPixels);
    for (uint32_t &pixel : shot.m_aPixels)
        pixel &= 0x00FFFFFF;
    return shot;
}

PixelSet ChangedPixels(const ScreenSnapshot &before, const ScreenSnapshot &after) {
    PixelSet changed;
    for (int y = before.Top(); y < before.Top() + before.Height(); ++y) {
        // Most rows are alike whole: compared at once.
        if (std::equal(before.Row(y), before.Row(y) + before.Width(), after.Row(y)))
            continue;
        for (int x = before.Left(); x < before.Left() + before.Width(); ++x)
            if (before.At(x, y) != after.At(x, y))
                changed.insert({x, y});
    }
    return changed;
}

PixelSet NotInverted(const ScreenSnapshot &before, const ScreenSnapshot &after) {
    PixelSet wrong;
    for (const Pixel &p : ChangedPixels(before, after))
        if (after.At(p.first, p.second) != (before.At(p.first, p.second) ^ 0x00FFFFFF))
            wrong.insert(p);
    return wrong;
}

PixelSet RectOutline(int left, int top, int right, int bottom) {
    PixelSet pixels;
    for (int x = left; x < right; ++x) {
        pixels.insert({x, top});
        pixels.insert({x, bottom - 1});
    }
    for (int y = top; y < bottom; ++y) {
        pixels.insert({left, y});
        pixels.insert({right - 1, y});
    }
    return pixels;
}

PixelSet StraightLine(int x0, int y0, int x1, int y1) {
    PixelSet pixels;
    const int dx = (x1 > x0) - (x1 < x0);
    const int dy = (y1 > y0) - (y1 < y0);
    for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy)
        pixels.insert({x, y});
    return pixels;
}

std::string ListedPixels(const PixelSet &pixels) {
    std::string text;
    int n = 0;
    for (const Pixel &p : pixels) {
        if (n++ == 8)
            return text + " ...";
        text += " (" + std::to_string(p.first) + ", " + std::to_string(p.second) + ")";
    }
    return text;
}

RECT BoundsOf(const PixelSet &pixels) {
    RECT rc = {0, 0, 0, 0};
    if (pixels.empty())
        return rc;
    rc = {pixels.begin()->first, pixels.begin()->second, pixels.begin()->first,
          pixels.begin()->second};
    for (const Pixel &p : pixels) {
        rc.left = std::min<LONG>(rc.left, p.first);
        rc.right = std::max<LONG>(rc.right, p.first);
        rc.top = std::min<LONG>(rc.top, p.second);
        rc.bottom = std::max<LONG>(rc.bottom, p.second);
    }
    ++rc.right;
    ++rc.bottom;
    return rc;
}

void FillStripes(HDC hdc, const RECT &rc, int nCell) {
    // The pattern repeats every five squares either way; one brush per square size, kept.
    static const COLORREF colours[] = {RGB(200, 30, 30), RGB(20, 160, 40), RGB(30, 60, 220),
                                       RGB(240, 240, 240), RGB(90, 90, 90)};
    static std::map<int, HBRUSH> brushes;
    HBRUSH &brush = brushes[nCell];
    if (!brush) {
        const int nSide = 5 * nCell;
        std::vector<uint32_t> dib(sizeof(BITMAPINFOHEADER) / 4 + size_t(nSide) * nSide);
        auto &header = *reinterpret_cast<BITMAPINFOHEADER *>(dib.data());
        header = {sizeof(BITMAPINFOHEADER), nSide, -nSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        uint32_t *pBits = dib.data() + sizeof(BITMAPINFOHEADER) / 4;
        for (int y = 0; y < nSide; ++y)
            for (int x = 0; x < nSide; ++x) {
                const COLORREF cr = colours[(x / nCell + y / nCell * 3) % 5];
                pBits[y * nSide + x] = GetRValue(cr) << 16 | GetGValue(cr) << 8 | GetBValue(cr);
            }
        brush = CreateDIBPatternBrushPt(dib.data(), DIB_RGB_COLORS);
    }
    FillRect(hdc, &rc, brush);
}

namespace {

LRESULT CALLBACK PatternWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillStripes(hdc, rc, 4);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND)
        return 1;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

PatternWindow::PatternWindow(const RECT &rc) {
    static ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PatternWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SpxTestPattern";
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        return RegisterClassA(&wc);
    }();
    (void)atom;
    m_hwnd =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "SpxTestPattern", "",
                        WS_POPUP | WS_VISIBLE, rc.left, rc.top, rc.right - rc.left,
                        rc.bottom - rc.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(m_hwnd);
    SettleScreen();
}

PatternWindow::~PatternWindow() {
    DestroyWindow(m_hwnd);
    SettleScreen();
}

void SettleScreen() {
    ScreenSnapshot last = ScreenSnapshot::Take();
    for (int i = 0; i < 50; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
        ScreenSnapshot now = ScreenSnapshot::Take();
        if (now == last)
            return;
        last = std::move(now);
    }
}
