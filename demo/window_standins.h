// Window mode on a frozen screen: the windows seen in the picture are no longer under the cursor
// (the overlay is), so the overlay gets one child window for each of them, at the place and in
// the stacking order they had when the screen was frozen. The selection hook frames and reports
// these stand-ins; the host maps a stand-in back to the window it stands for.
#pragma once

#include "screen_image.h"

#include <windows.h>

#include <vector>

class WindowStandIns {
public:
    // Notes the visible top-level windows of other programs as they are now, topmost first.
    void Capture();
    // Makes the stand-ins inside hwndOverlay; they paint their part of the frozen screen.
    void Show(HWND hwndOverlay, const PixelImage *pFrozen);
    // Destroys the stand-ins.
    void Hide();
    // The window that hwnd stands in for, its rectangle on the frozen screen (in this thread's
    // coordinates) and in physical pixels; false when hwnd is no stand-in.
    bool Original(HWND hwnd, HWND &hwndOriginal, RECT &rc, RECT &rcPhysical) const;

private:
    static LRESULT CALLBACK StandInProc(HWND, UINT, WPARAM, LPARAM);

    struct Entry {
        HWND hwndOriginal;
        RECT rc;
        RECT rcPhysical;
        HWND hwndStandIn;
    };
    std::vector<Entry> m_entries;
};
