// The demo's floating panel, the host's own window (HostRecord.hwndOwn): the mode, adjustment,
// window highlighting, picking elements, the polygon's rubber edge, snapping to edges, the loupe,
// starting from the last region, the ratio kept, a fixed size, a size to give the box, a Quit
// button, and the size of the selection being made. The buttons and check boxes are the platform's
// button pictures drawn in the one panel window, which keeps the panel a single window to raise,
// repaint and hand to the library as hwndOwn; the two size fields are edit controls inside it,
// which the panel draws too.
#pragma once

#include <windows.h>

#include <string>

struct PanelSettings {
    int nMode;
    bool bAdjustable;
    bool bHighlightWindows;
    bool bRubberEdge;
    bool bSnapEdges;
    bool bLoupe;        // a loupe beside the pointer while a selection is made
    bool bPickElements; // window mode picks the control or element under the pointer
    bool bLastRegion;   // each selection starts from the one committed before
    long ratio[2];      // width to height kept; 0, 0: free
    long fixedSize[2];  // the size of a box placed by a click; 0, 0: none
    bool bTyping;       // a size field has the keyboard
};

class ControlPanel {
public:
    // Makes the panel at the top right of the screen. A change of a control posts nChanged, the
    // Quit button nQuit, and the box size button nBoxSize with MAKEWPARAM(width, height) to
    // hwndNotify.
    bool Create(const PanelSettings &settings, HWND hwndNotify, UINT nChanged, UINT nQuit,
                UINT nBoxSize);
    HWND Window() const { return m_hwnd; }
    PanelSettings Settings() const { return m_settings; }
    // Shows text on the panel's bottom line (the size of the selection being made); repaints that
    // line alone, and only when the text differs.
    void ShowLiveSize(const std::string &text);
    // A size field that has the keyboard gives it back to the window that had it before.
    void LeaveField();

private:
    static LRESULT CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK FieldProc(HWND, UINT, WPARAM, LPARAM);
    void Paint(HDC hdc) const;
    void Click(POINT pt);
    void FieldDone(HWND hwndField);
    void SendBoxSize();
    HWND MakeField(int nItem, const std::string &text);

    HWND m_hwnd = nullptr;
    HWND m_hwndNotify = nullptr;
    UINT m_nChanged = 0;
    UINT m_nQuit = 0;
    UINT m_nBoxSize = 0;
    HWND m_hwndFixed = nullptr;   // the fixed size field
    HWND m_hwndBoxSize = nullptr; // the box size field
    HWND m_hwndBefore = nullptr;  // the foreground window before a field took the keyboard
    WNDPROC m_pfnEditProc = nullptr;
    PanelSettings m_settings = {};
    int m_nPressed = -1; // the control under the press, until the release
    std::string m_liveSize;
};
