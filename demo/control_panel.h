// The demo's floating panel, the host's own window (HostRecord.hwndOwn): the mode, adjustment,
// window highlighting, the polygon's rubber edge and snapping to edges, a Quit button, and the size
// of the selection being made. The controls are
// the platform's button pictures drawn in the one panel window, which keeps the panel a single
// window to raise, repaint and hand to the library as hwndOwn.
#pragma once

#include <windows.h>

#include <string>

struct PanelSettings {
    int nMode;
    bool bAdjustable;
    bool bHighlightWindows;
    bool bRubberEdge;
    bool bSnapEdges;
};

class ControlPanel {
public:
    // Makes the panel at the top right of the screen. A change of a control posts nChanged, the
    // Quit button nQuit, to hwndNotify.
    bool Create(const PanelSettings &settings, HWND hwndNotify, UINT nChanged, UINT nQuit);
    HWND Window() const { return m_hwnd; }
    PanelSettings Settings() const { return m_settings; }
    // Shows text on the panel's bottom line (the size of the selection being made); repaints that
    // line alone, and only when the text differs.
    void ShowLiveSize(const std::string &text);

private:
    static LRESULT CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM);
    void Paint(HDC hdc) const;
    void Click(POINT pt);

    HWND m_hwnd = nullptr;
    HWND m_hwndNotify = nullptr;
    UINT m_nChanged = 0;
    UINT m_nQuit = 0;
    PanelSettings m_settings = {};
    int m_nPressed = -1; // the control under the press, until the release
    std::string m_liveSize;
};
