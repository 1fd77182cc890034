#include "control_panel.h"

#include "demo_options.h"
#include "gdi_handles.h"

#include <cstring>

namespace {

const int kWidth = 164;
const int kItemHeight = 22;

// The controls from top to bottom: four mode buttons, seven check boxes, the ratio button, the
// fixed size field, the box size field with its button, Quit.
enum Item {
    ItemRectangle,
    ItemEllipse,
    ItemPolygon,
    ItemWindow,
    ItemAdjust,
    ItemHighlight,
    ItemElements,
    ItemRubberEdge,
    ItemSnapEdges,
    ItemLoupe,
    ItemLastRegion,
    ItemRatio,
    ItemFixed,
    ItemBoxSize,
    ItemQuit,
    ItemCount
};
const int kModes[] = {3, 4, 5, 0}; // the library's mode of each mode button
const char *const kLabels[] = {"Rectangle",
                               "Ellipse",
                               "Polygon",
                               "Window",
                               "Adjust in a box",
                               "Highlight windows",
                               "Elements",
                               "Rubber edge",
                               "Snap to edges",
                               "Loupe",
                               "Start from last region",
                               "Ratio",
                               "Fixed",
                               "Resize box",
                               "Quit"};
// The ratios the ratio button goes through, one a click; 0, 0 is free.
const long kRatios[][2] = {{0, 0}, {1, 1}, {4, 3}, {16, 9}};
// The fixed size field stands right of its label; the box size field left of its button.
const int kLabelWidth = 40;
const int kFieldWidth = 66;

// The setting a check box shows and flips.
bool PanelSettings::*const kCheckBoxes[] = {
    &PanelSettings::bAdjustable, &PanelSettings::bHighlightWindows, &PanelSettings::bPickElements,
    &PanelSettings::bRubberEdge, &PanelSettings::bSnapEdges,        &PanelSettings::bLoupe,
    &PanelSettings::bLastRegion};
static_assert(sizeof(kCheckBoxes) / sizeof(kCheckBoxes[0]) == ItemRatio - ItemAdjust,
              "one setting for each check box");

RECT ItemRect(int nItem) {
    // Gaps part the modes from the check boxes, those from the shape's settings and those from
    // the button.
    const int y = 8 + nItem * kItemHeight + (nItem >= ItemAdjust ? 6 : 0) +
                  (nItem >= ItemRatio ? 6 : 0) + (nItem == ItemQuit ? 8 : 0);
    return RECT{10, y, kWidth - 10, y + (nItem == ItemQuit ? 26 : kItemHeight)};
}

// Where an item takes clicks: the box size row's button, nowhere on the fixed size row (its
// field is a window of its own), the whole row elsewhere.
RECT ClickRect(int nItem) {
    RECT rc = ItemRect(nItem);
    if (nItem == ItemBoxSize)
        rc.left += kFieldWidth + 6;
    else if (nItem == ItemFixed)
        rc.right = rc.left;
    return rc;
}

RECT FieldRect(int nItem) {
    RECT rc = ItemRect(nItem);
    InflateRect(&rc, 0, -1);
    if (nItem == ItemFixed)
        rc.left += kLabelWidth;
    else
        rc.right = rc.left + kFieldWidth;
    return rc;
}

// The live size sits under the Quit button, as wide as the controls.
RECT LiveSizeRect() {
    const int y = ItemRect(ItemQuit).bottom + 6;
    return RECT{10, y, kWidth - 10, y + kItemHeight};
}

int ItemAt(POINT pt) {
    for (int i = 0; i < ItemCount; ++i) {
        const RECT rc = ClickRect(i);
        if (PtInRect(&rc, pt))
            return i;
    }
    return -1;
}

std::string PairText(const long pair[2], const char *szSeparator) {
    if (!pair[0] || !pair[1])
        return {};
    return std::to_string(pair[0]) + szSeparator + std::to_string(pair[1]);
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
    case WM_CTLCOLOREDIT: {
        // The fields in the platform's colours for text to be typed.
        const HDC hdc = HDC(wParam);
        SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
        return LRESULT(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_COMMAND:
        // A field's text changed: the panel's drawing of it follows.
        if (HIWORD(wParam) == EN_CHANGE && self) {
            for (int nItem : {int(ItemFixed), int(ItemBoxSize)}) {
                const RECT rc = FieldRect(nItem);
                InvalidateRect(hwnd, &rc, TRUE);
            }
        }
        break;
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
    if (nItem == ItemBoxSize) {
        SendBoxSize();
        return;
    }
    if (nItem <= ItemWindow) {
        m_settings.nMode = kModes[nItem];
    } else if (nItem == ItemRatio) {
        // The next ratio of the list; a ratio from the command line that is none of them is
        // followed by free.
        size_t nNext = 0;
        for (size_t i = 0; i < sizeof(kRatios) / sizeof(kRatios[0]); ++i)
            if (m_settings.ratio[0] == kRatios[i][0] && m_settings.ratio[1] == kRatios[i][1])
                nNext = (i + 1) % (sizeof(kRatios) / sizeof(kRatios[0]));
        m_settings.ratio[0] = kRatios[nNext][0];
        m_settings.ratio[1] = kRatios[nNext][1];
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
        RECT rc = ClickRect(i);
        if (i == ItemFixed) {
            rc = ItemRect(i);
            DrawTextA(hdc, kLabels[i], -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
        if (i == ItemFixed || i == ItemBoxSize) {
            const HWND hwndField = i == ItemFixed ? m_hwndFixed : m_hwndBoxSize;
            RECT rcField = FieldRect(i);
            FillRect(hdc, &rcField, GetSysColorBrush(COLOR_WINDOW));
            DrawEdge(hdc, &rcField, EDGE_SUNKEN, BF_RECT);
            char szText[32] = "";
            if (hwndField)
                GetWindowTextA(hwndField, szText, sizeof szText);
            InflateRect(&rcField, -4, 0);
            SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
            DrawTextA(hdc, szText, -1, &rcField,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
            if (i == ItemFixed)
                continue;
        }
        if (i == ItemQuit || i == ItemRatio || i == ItemBoxSize) {
            const std::string ratio = PairText(m_settings.ratio, ":");
            const std::string label =
                i == ItemRatio ? "Ratio: " + (ratio.empty() ? std::string("free") : ratio)
                               : kLabels[i];
            DrawFrameControl(hdc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
            DrawTextA(hdc, label.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
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

bool ControlPanel::Create(const PanelSettings &settings, HWND hwndNotify, UINT nChanged, UINT nQuit,
                          UINT nBoxSize) {
    m_hwndNotify = hwndNotify;
    m_nChanged = nChanged;
    m_nQuit = nQuit;
    m_nBoxSize = nBoxSize;
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
    // Not clipping the fields: the panel draws them too, beneath their own drawing, for a display
    // whose screen does not show what a child control draws (Wine's, with its drawing going
    // straight to the X server).
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
    m_hwndFixed = MakeField(ItemFixed, PairText(m_settings.fixedSize, " x "));
    m_hwndBoxSize = MakeField(ItemBoxSize, "");
    if (!m_hwndFixed || !m_hwndBoxSize)
        return false;
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    return true;
}

// An edit control on the item's row, holding text, that tells the panel when it takes and gives up
// the keyboard.
HWND ControlPanel::MakeField(int nItem, const std::string &text) {
    const RECT rc = FieldRect(nItem);
    const HWND hwnd =
        CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                        rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_hwnd, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
    if (!hwnd)
        return nullptr;
    SendMessageA(hwnd, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageA(hwnd, EM_SETLIMITTEXT, 24, 0);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, LONG_PTR(this));
    m_pfnEditProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, LONG_PTR(FieldProc)));
    return hwnd;
}

LRESULT CALLBACK ControlPanel::FieldProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *self = reinterpret_cast<ControlPanel *>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_MOUSEACTIVATE:
        // Typing needs the keyboard: a field, unlike the rest of the panel, takes it. Enter and
        // Escape in the field hand it back.
        if (GetForegroundWindow() != self->m_hwnd)
            self->m_hwndBefore = GetForegroundWindow();
        return MA_ACTIVATE;
    case WM_SETFOCUS:
        self->m_settings.bTyping = true;
        PostMessageA(self->m_hwndNotify, self->m_nChanged, 0, 0);
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = CallWindowProcA(self->m_pfnEditProc, hwnd, msg, wParam, lParam);
        self->FieldDone(hwnd);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            if (wParam == VK_RETURN && hwnd == self->m_hwndBoxSize)
                self->SendBoxSize();
            self->LeaveField();
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == 27)
            return 0; // a single-line field would only beep
        break;
    }
    return CallWindowProcA(self->m_pfnEditProc, hwnd, msg, wParam, lParam);
}

// A field gave up the keyboard: the fixed size takes its text, when that is a size or empty; any
// other text beeps and gives way to the size as it was.
void ControlPanel::FieldDone(HWND hwndField) {
    m_settings.bTyping = false;
    if (hwndField == m_hwndFixed) {
        char szText[32] = {};
        GetWindowTextA(hwndField, szText, sizeof(szText));
        const std::string text = szText;
        long size[2] = {};
        if (text.find_first_not_of(' ') == std::string::npos) {
            m_settings.fixedSize[0] = m_settings.fixedSize[1] = 0;
        } else if (ReadSizePair(text, 'x', 32767, size)) {
            m_settings.fixedSize[0] = size[0];
            m_settings.fixedSize[1] = size[1];
        } else {
            MessageBeep(MB_ICONWARNING);
        }
        SetWindowTextA(hwndField, PairText(m_settings.fixedSize, " x ").c_str());
    }
    PostMessageA(m_hwndNotify, m_nChanged, 0, 0);
}

void ControlPanel::LeaveField() {
    const HWND hwndFocus = GetFocus();
    if (hwndFocus != m_hwndFixed && hwndFocus != m_hwndBoxSize)
        return;
    if (m_hwndBefore && IsWindow(m_hwndBefore))
        SetForegroundWindow(m_hwndBefore);
    else
        SetFocus(nullptr);
    m_hwndBefore = nullptr;
}

// The box size button: the size typed in its field goes to the host, or a beep says it is none.
void ControlPanel::SendBoxSize() {
    char szText[32] = {};
    GetWindowTextA(m_hwndBoxSize, szText, sizeof(szText));
    long size[2] = {};
    if (ReadSizePair(szText, 'x', 32767, size))
        PostMessageA(m_hwndNotify, m_nBoxSize, MAKEWPARAM(WORD(size[0]), WORD(size[1])), 0);
    else
        MessageBeep(MB_ICONWARNING);
}
