#include "control_panel.h"

#include "gdi_handles.h"

#include <cstring>

namespace {

const int kWidth = 164;
const int kItemHeight = 22;

// The controls from top to bottom: four mode buttons, four check boxes, Quit.
enum Item {
    ItemRectangle,
    ItemEllipse,
    ItemPolygon,
    ItemWindow,
    ItemAdjust,
    ItemHighlight,
    ItemRubberEdge,
    ItemSnapEdges,
    ItemQuit,
    ItemCount
};
const int kModes[] = {3, 4, 5, 0}; // the library's mode of each mode button
const char *const kLabels[] = {"Rectangle",   "Ellipse",         "Polygon",
                               "Window",      "Adjust in a box", "Highlight windows",
                               "Rubber edge", "Snap to edges",   "Quit"};

// The setting a check box shows and flips.
bool PanelSettings::*const kCheckBoxes[] = {
    &PanelSettings::bAdjustable, &PanelSettings::bHighlightWindows, &PanelSettings::bRubberEdge,
    &PanelSettings::bSnapEdges};
static_assert(sizeof(kCheckBoxes) / sizeof(kCheckBoxes[0]) == ItemQuit - ItemAdjust,
              "one setting for each check box");

RECT ItemRect(int nItem) {
    // A gap parts the modes from the check boxes and those from the button.
    const int y =
        8 + nItem * kItemHeight + (nItem >= ItemAdjust ? 6 : 0) + (nItem == ItemQuit ? 8 : 0);
    return RECT{10, y, kWidth - 10, y + (nItem == ItemQuit ? 26 : kItemHeight)};
}

// The live size sits under the Quit button, as wide as the controls.
RECT LiveSizeRect() {
    const int y = ItemRect(ItemQuit).bottom + 6;
    return RECT{10, y, kWidth - 10, y + kItemHeight};
}

int ItemAt(POINT pt) {
    for (int i = 0; i < ItemCount; ++i) {
        const RECT rc = ItemRect(i);
        if (PtInRect(&rc, pt))
            return i;
    }
    return -1;
}

} // namespace

LRESULT CALLBACK ControlPanel::PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *self = reinterpret_cast<ControlPanel *>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          LONG_PTR(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams));
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC hdc = BeginPaint(hwnd, &ps);
        if (self)
            self->Paint(hdc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        // Clicking the panel leaves the keyboard where it is, so Enter and Escape still reach
        // the selection.
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        if (self) {
            self->m_nPressed = ItemAt(POINT{short(LOWORD(lParam)), short(HIWORD(lParam))});
            SetCapture(hwnd);
        }
        return 0;
    case WM_LBUTTONUP:
        if (self && GetCapture() == hwnd) {
            ReleaseCapture();
            self->Click(POINT{short(LOWORD(lParam)), short(HIWORD(lParam))});
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A control acts when the press and the release are both on it, as a button does.
void ControlPanel::Click(POINT pt) {
    const int nItem = ItemAt(pt);
    const int nPressed = m_nPressed;
    m_nPressed = -1;
    if (nItem < 0 || nItem != nPressed)
        return;
    if (nItem == ItemQuit) {
        PostMessageA(m_hwndNotify, m_nQuit, 0, 0);
        return;
    }
    if (nItem <= ItemWindow) {
        m_settings.nMode = kModes[nItem];
    } else {
        bool &bChecked = m_settings.*kCheckBoxes[nItem - ItemAdjust];
        bChecked = !bChecked;
    }
    InvalidateRect(m_hwnd, nullptr, TRUE);
    PostMessageA(m_hwndNotify, m_nChanged, 0, 0);
}

void ControlPanel::Paint(HDC hdc) const {
    const SelectedObject font(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    for (int i = 0; i < ItemCount; ++i) {
        RECT rc = ItemRect(i);
        if (i == ItemQuit) {
            DrawFrameControl(hdc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
            DrawTextA(hdc, kLabels[i], -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            continue;
        }
        const bool bChecked = i <= ItemWindow ? m_settings.nMode == kModes[i]
                                              : m_settings.*kCheckBoxes[i - ItemAdjust];
        const int nMark = 13;
        RECT rcMark = {rc.left, rc.top + (kItemHeight - nMark) / 2, rc.left + nMark,
                       rc.top + (kItemHeight - nMark) / 2 + nMark};
        DrawFrameControl(hdc, &rcMark, DFC_BUTTON,
                         (i <= ItemWindow ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) |
                             (bChecked ? DFCS_CHECKED : 0));
        rc.left += nMark + 6;
        DrawTextA(hdc, kLabels[i], -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    RECT rcSize = LiveSizeRect();
    DrawTextA(hdc, m_liveSize.c_str(), -1, &rcSize,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void ControlPanel::ShowLiveSize(const std::string &text) {
    if (text == m_liveSize)
        return;
    m_liveSize = text;
    // Only the line is repainted, inside the panel: the overlay beneath, and the figures the
    // library draws on it, are not exposed.
    const RECT rc = LiveSizeRect();
    if (m_hwnd)
        InvalidateRect(m_hwnd, &rc, TRUE);
}

bool ControlPanel::Create(const PanelSettings &settings, HWND hwndNotify, UINT nChanged,
                          UINT nQuit) {
    m_hwndNotify = hwndNotify;
    m_nChanged = nChanged;
    m_nQuit = nQuit;
    m_settings = settings;
    const HINSTANCE hInst = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = hInst;
    wc.lpszClassName = "SpxDemoPanel";
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassA(&wc);

    RECT rc = {0, 0, kWidth, LiveSizeRect().bottom + 4};
    const DWORD dwStyle = WS_POPUP | WS_CAPTION;
    AdjustWindowRectEx(&rc, dwStyle, FALSE, WS_EX_TOOLWINDOW);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    // At the top right of the primary monitor, whatever lies left of or above it.
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
    m_hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "SpxDemoPanel", "SPXHK110 demo",
                             dwStyle, mi.rcWork.right - cx - 12, mi.rcWork.top + 12, cx, cy,
                             nullptr, nullptr, hInst, this);
    if (!m_hwnd)
        return false;
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    return true;
}
