// spxdesk: a small sample desktop for the demo to freeze and select on. A wallpaper with a task
// bar and four windows with colour and text: a chart, a note, a picture with two buttons and a
// palette, whose swatches are UI Automation elements in three rows; on every other monitor a
// wallpaper of its own and a second picture.
//   spxdesk [READY_FILE]   writes READY_FILE once everything is on the screen; ends after ten
//                          minutes at the latest.
#include "element_provider.h"
#include "gdi_handles.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

enum class Content { Wallpaper, OtherWallpaper, Chart, Note, Picture, Palette };

HFONT TextFont(int nHeight, bool bBold) {
    return CreateFontA(-nHeight, 0, 0, 0, bBold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

void Fill(HDC hdc, RECT rc, COLORREF colour) {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(hdc, &rc, brush.get());
}

void Text(HDC hdc, int x, int y, const char *szText, COLORREF colour, int nHeight = 16,
          bool bBold = false) {
    const GdiObject<HFONT> font(TextFont(nHeight, bBold));
    const SelectedObject selected(hdc, font.get());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, colour);
    TextOutA(hdc, x, y, szText, int(std::strlen(szText)));
}

// Vertical blend from top to bottom colour in bands of 4 pixels.
void Gradient(HDC hdc, RECT rc, COLORREF top, COLORREF bottom) {
    const int nHeight = rc.bottom - rc.top;
    for (int y = 0; y < nHeight; y += 4) {
        auto mix = [&](int a, int b) { return a + (b - a) * y / (nHeight ? nHeight : 1); };
        const RECT band = {rc.left, rc.top + y, rc.right, rc.top + y + 4};
        Fill(hdc, band,
             RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                 mix(GetBValue(top), GetBValue(bottom))));
    }
}

// With bTaskBar, the task bar along the bottom; the primary monitor has it.
void PaintWallpaper(HDC hdc, RECT rc, bool bTaskBar) {
    Gradient(hdc, {0, 0, rc.right, rc.bottom - (bTaskBar ? 32 : 0)}, RGB(24, 96, 128),
             RGB(10, 40, 70));
    if (!bTaskBar)
        return;
    Text(hdc, rc.right - 360, rc.bottom - 90, "SPXHK110 sample desktop", RGB(160, 210, 230), 22,
         true);
    Fill(hdc, {0, rc.bottom - 32, rc.right, rc.bottom}, RGB(40, 40, 48));
    Fill(hdc, {6, rc.bottom - 27, 86, rc.bottom - 5}, RGB(60, 150, 70));
    Text(hdc, 22, rc.bottom - 25, "Start", RGB(255, 255, 255), 15, true);
    Text(hdc, rc.right - 60, rc.bottom - 25, "12:00", RGB(230, 230, 230), 15);
}

void PaintChart(HDC hdc, RECT rc) {
    Fill(hdc, rc, RGB(255, 255, 255));
    Text(hdc, 16, 10, "Sales by quarter", RGB(30, 30, 30), 18, true);
    static const int heights[] = {90, 140, 110, 180};
    static const COLORREF colours[] = {RGB(220, 60, 60), RGB(240, 170, 30), RGB(60, 170, 80),
                                       RGB(50, 110, 220)};
    const int nBase = rc.bottom - 36;
    Fill(hdc, {24, nBase, rc.right - 20, nBase + 2}, RGB(80, 80, 80));
    for (int i = 0; i < 4; ++i) {
        const int x = 40 + i * 85;
        Fill(hdc, {x, nBase - heights[i], x + 55, nBase}, colours[i]);
        char szLabel[8];
        std::snprintf(szLabel, sizeof(szLabel), "Q%d", i + 1);
        Text(hdc, x + 18, nBase + 6, szLabel, RGB(60, 60, 60), 15);
    }
}

void PaintNote(HDC hdc, RECT rc) {
    Fill(hdc, rc, RGB(255, 244, 160));
    static const char *const lines[] = {"To do",
                                        "- mark a region",
                                        "- resize it by a handle",
                                        "- confirm with a click",
                                        "- pick a window",
                                        "Done!"};
    for (int i = 0; i < 6; ++i) {
        Fill(hdc, {10, 36 + i * 28, rc.right - 10, 37 + i * 28}, RGB(220, 200, 120));
        Text(hdc, 14, 14 + i * 28, lines[i], i == 0 ? RGB(150, 40, 40) : RGB(40, 40, 90),
             i == 0 ? 18 : 16, i == 0);
    }
}

void PaintPicture(HDC hdc, RECT rc) {
    Gradient(hdc, rc, RGB(120, 190, 250), RGB(230, 240, 255));
    {
        const GdiObject<HBRUSH> sun(CreateSolidBrush(RGB(255, 210, 40)));
        const SelectedObject brush(hdc, sun.get());
        const SelectedObject pen(hdc, GetStockObject(NULL_PEN));
        Ellipse(hdc, rc.right - 110, 24, rc.right - 40, 94);
    }
    const GdiObject<HBRUSH> grass(CreateSolidBrush(RGB(70, 160, 60)));
    const GdiObject<HBRUSH> hill(CreateSolidBrush(RGB(40, 120, 50)));
    const SelectedObject pen(hdc, GetStockObject(NULL_PEN));
    {
        const SelectedObject brush(hdc, hill.get());
        const POINT back[] = {{0, rc.bottom - 70},   {120, rc.bottom - 150},
                              {240, rc.bottom - 80}, {rc.right, rc.bottom - 130},
                              {rc.right, rc.bottom}, {0, rc.bottom}};
        Polygon(hdc, back, 6);
    }
    const SelectedObject brush(hdc, grass.get());
    Rectangle(hdc, 0, rc.bottom - 50, rc.right + 1, rc.bottom + 1);
    Text(hdc, 12, 10, "Holiday.png", RGB(20, 40, 80), 16, true);
}

// The palette's swatches, four to a row, and the names they have as elements.
const struct {
    COLORREF colour;
    const wchar_t *pszName;
} kSwatches[] = {{RGB(230, 40, 40), L"Red"},      {RGB(240, 130, 30), L"Orange"},
                 {RGB(250, 220, 40), L"Yellow"},  {RGB(60, 180, 60), L"Green"},
                 {RGB(40, 170, 200), L"Teal"},    {RGB(50, 80, 210), L"Blue"},
                 {RGB(140, 60, 200), L"Violet"},  {RGB(220, 80, 160), L"Pink"},
                 {RGB(30, 30, 30), L"Black"},     {RGB(120, 120, 120), L"Grey"},
                 {RGB(200, 200, 200), L"Silver"}, {RGB(255, 255, 255), L"White"}};
const int kSwatchCount = sizeof(kSwatches) / sizeof(kSwatches[0]);
const int kRowCount = kSwatchCount / 4;
const LONG kListItemType = 50007, kGroupType = 50026; // UI Automation control types

// Swatch i in the palette's client area, without its one-pixel border.
RECT SwatchRect(int i) {
    const LONG x = 14 + (i % 4) * 68, y = 14 + (i / 4) * 58;
    return RECT{x, y, x + 56, y + 46};
}

// The elements: each row a group holding its four swatches (borders included), the groups held by
// the window. A row's group comes right before its swatches.
struct PaletteElements {
    ElementPart aParts[kRowCount + kSwatchCount];
    PaletteElements() {
        static const wchar_t *const apszRows[kRowCount] = {L"Row 1", L"Row 2", L"Row 3"};
        int n = 0;
        for (int nRow = 0; nRow < kRowCount; ++nRow) {
            const int nGroup = n;
            const RECT rcFirst = SwatchRect(nRow * 4), rcLast = SwatchRect(nRow * 4 + 3);
            aParts[n++] = {{rcFirst.left - 4, rcFirst.top - 4, rcLast.right + 4, rcLast.bottom + 4},
                           apszRows[nRow],
                           kGroupType,
                           -1};
            for (int i = nRow * 4; i < nRow * 4 + 4; ++i)
                aParts[n++] = {SwatchRect(i), kSwatches[i].pszName, kListItemType, nGroup};
        }
    }
};
const PaletteElements kPaletteElements;

void PaintPalette(HDC hdc, RECT rc) {
    Fill(hdc, rc, RGB(245, 245, 245));
    for (int i = 0; i < kSwatchCount; ++i) {
        const RECT rcSwatch = SwatchRect(i);
        RECT rcBorder = rcSwatch;
        InflateRect(&rcBorder, 1, 1);
        Fill(hdc, rcBorder, RGB(90, 90, 90));
        Fill(hdc, rcSwatch, kSwatches[i].colour);
    }
}

// The faces of a window's buttons, drawn by the window itself where they lie: under Wine drawing
// straight to the X server, as the demo's display has it, what a child window paints never shows.
// Where it does, the buttons paint the same faces over these.
void PaintButtonFaces(HWND hwnd, HDC hdc) {
    const SelectedObject font(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    for (HWND hwndButton = GetWindow(hwnd, GW_CHILD); hwndButton;
         hwndButton = GetWindow(hwndButton, GW_HWNDNEXT)) {
        RECT rc;
        if (!GetWindowRect(hwndButton, &rc))
            continue;
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT *>(&rc), 2);
        DrawFrameControl(hdc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
        char szText[32] = "";
        GetWindowTextA(hwndButton, szText, sizeof(szText));
        DrawTextA(hdc, szText, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

LRESULT CALLBACK DesktopProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETOBJECT: {
        LRESULT lResult = 0;
        if (static_cast<Content>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)) == Content::Palette &&
            ServeElements(hwnd, wParam, lParam, kPaletteElements.aParts,
                          int(sizeof(kPaletteElements.aParts) / sizeof(ElementPart)), lResult))
            return lResult;
        break;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC hdc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        const auto content = static_cast<Content>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        switch (content) {
        case Content::Wallpaper:
        case Content::OtherWallpaper:
            PaintWallpaper(hdc, rc, content == Content::Wallpaper);
            break;
        case Content::Chart:
            PaintChart(hdc, rc);
            break;
        case Content::Note:
            PaintNote(hdc, rc);
            break;
        case Content::Picture:
            PaintPicture(hdc, rc);
            PaintButtonFaces(hwnd, hdc);
            break;
        case Content::Palette:
            PaintPalette(hdc, rc);
            break;
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        // A click picks a window in the demo: the windows stay as they are, active or not.
        return MA_NOACTIVATE;
    case WM_NCACTIVATE:
        // The title always looks inactive: the platform activates one of these windows when the
        // demo's window closes, and an active title would show in every frozen screen after it.
        return DefWindowProcA(hwnd, msg, FALSE, lParam);
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A picture's Previous and Next buttons, 90 by 24, 20 pixels in from the sides of its frame and 16
// above its bottom. They are placed by the frame, not the client area, so that their rectangles on
// the screen do not depend on the frame's width: the demo's snap section names them.
void AddPictureButtons(HWND hwndPicture) {
    RECT rc;
    if (!GetWindowRect(hwndPicture, &rc))
        return;
    const int cx = 90, cy = 24;
    const struct {
        const char *szText;
        LONG x;
    } buttons[] = {{"< Previous", rc.left + 20}, {"Next >", rc.right - 20 - cx}};
    for (const auto &b : buttons) {
        POINT pt = {b.x, rc.bottom - 16 - cy};
        ScreenToClient(hwndPicture, &pt);
        const HWND hwndButton =
            CreateWindowExA(0, "BUTTON", b.szText, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, pt.x,
                            pt.y, cx, cy, hwndPicture, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (hwndButton)
            SendMessageA(hwndButton, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
}

HWND MakeWindow(Content content, const char *szTitle, DWORD dwStyle, int x, int y, int cx, int cy) {
    const HWND hwnd = CreateWindowExA(0, "SpxSampleDesktop", szTitle, dwStyle, x, y, cx, cy,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, LONG_PTR(content));
    if (content == Content::Picture)
        AddPictureButtons(hwnd);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    return hwnd;
}

// A wallpaper on each monitor other than the primary, and a picture in its middle.
BOOL CALLBACK FurnishOtherMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam) {
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoA(hMonitor, &mi) || (mi.dwFlags & MONITORINFOF_PRIMARY))
        return TRUE;
    const RECT &rc = mi.rcMonitor;
    auto *pWallpapers = reinterpret_cast<std::vector<HWND> *>(lParam);
    pWallpapers->push_back(MakeWindow(Content::OtherWallpaper, "Desktop", WS_POPUP, rc.left, rc.top,
                                      rc.right - rc.left, rc.bottom - rc.top));
    const int cx = 360, cy = 280;
    MakeWindow(Content::Picture, "Photo viewer", WS_OVERLAPPED | WS_CAPTION,
               (rc.left + rc.right - cx) / 2, (rc.top + rc.bottom - cy) / 2, cx, cy);
    return TRUE;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInst, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DesktopProc;
    wc.hInstance = hInst;
    wc.lpszClassName = "SpxSampleDesktop";
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);

    // The primary monitor has its top-left corner at (0, 0); the others lie around it.
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    const DWORD dwFramed = WS_OVERLAPPED | WS_CAPTION;
    std::vector<HWND> wallpapers = {MakeWindow(Content::Wallpaper, "Desktop", WS_POPUP, 0, 0,
                                               mi.rcMonitor.right, mi.rcMonitor.bottom)};
    EnumDisplayMonitors(nullptr, nullptr, FurnishOtherMonitor, LPARAM(&wallpapers));
    MakeWindow(Content::Chart, "Quarterly report", dwFramed, 40, 40, 400, 280);
    MakeWindow(Content::Note, "Notes", dwFramed, 480, 70, 300, 240);
    MakeWindow(Content::Picture, "Photo viewer", dwFramed, 90, 370, 360, 280);
    MakeWindow(Content::Palette, "Palette", dwFramed, 520, 380, 300, 222);
    for (HWND hwnd : wallpapers)
        SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    GdiFlush();

    // The path as one argument of the Unicode command line: quoted, with spaces, in any script.
    int nArgs = 0;
    if (LPWSTR *ppArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs)) {
        if (nArgs > 1 && *ppArgs[1]) {
            const HANDLE hReady = CreateFileW(ppArgs[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr);
            if (hReady != INVALID_HANDLE_VALUE)
                CloseHandle(hReady);
        }
        LocalFree(ppArgs);
    }
    SetTimer(nullptr, 0, 10 * 60 * 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd)
            break;
        DispatchMessageA(&msg);
    }
    return 0;
}
