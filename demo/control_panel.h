// The demo's floating panel, the host's own window (HostRecord.hwndOwn): the mode, adjustment and
// window highlighting, and a Quit button. The controls are the platform's button pictures drawn
// in the one panel window, not child windows: the selection hook knows the host's own window by
// its handle alone, so a click on a child control would count as a click on the screen.
#pragma once

#include <windows.h>

struct PanelSettings {
    int nMode;
    bool bAdjustable;
    bool bHighlightWindows;
};

class ControlPanel {
public:
    // Makes the panel at the top right of the screen. A change of a control posts nChanged, the
    // Quit button nQuit, to hwndNotify.
    bool Create(const PanelSettings &settings, HWND hwndNotify, UINT nChanged, UINT nQuit);
    HWND Window() const { return m_hwnd; }
    PanelSettings Settings() const { return m_settings; }

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
};
