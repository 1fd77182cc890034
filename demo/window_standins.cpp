#include "window_standins.h"

#include "thread_dpi.h"

namespace {

const PixelImage *g_pFrozen = nullptr;

BOOL CALLBACK NoteWindow(HWND hwnd, LPARAM lParam) {
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hwnd, &dwProcess);
    RECT rc;
    if (dwProcess != GetCurrentProcessId() && IsWindowVisible(hwnd) && !IsIconic(hwnd) &&
        GetWindowRect(hwnd, &rc) && !IsRectEmpty(&rc))
        reinterpret_cast<std::vector<std::pair<HWND, RECT>> *>(lParam)->push_back({hwnd, rc});
    return TRUE;
}

// The window's rectangle in physical pixels; rc, as this thread sees it, where it cannot be read.
RECT PhysicalWindowRect(HWND hwnd, const RECT &rc) {
    const ThreadDpi perMonitor;
    RECT rcPhysical;
    return GetWindowRect(hwnd, &rcPhysical) ? rcPhysical : rc;
}

} // namespace

LRESULT CALLBACK WindowStandIns::StandInProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC hdc = BeginPaint(hwnd, &ps);
        if (g_pFrozen) {
            // The frozen screen, shifted so that this window's part lands in it.
            POINT ptOrigin = {0, 0};
            MapWindowPoints(hwnd, nullptr, &ptOrigin, 1);
            SetViewportOrgEx(hdc, g_pFrozen->nLeft - ptOrigin.x, g_pFrozen->nTop - ptOrigin.y,
                             nullptr);
            PaintImage(hdc, *g_pFrozen);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        return TRUE; // the library sets the cursor
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void WindowStandIns::Capture() {
    std::vector<std::pair<HWND, RECT>> windows;
    EnumWindows(NoteWindow, LPARAM(&windows));
    m_entries.clear();
    for (const auto &w : windows)
        m_entries.push_back(
            Entry{w.first, w.second, PhysicalWindowRect(w.first, w.second), nullptr});
}

void WindowStandIns::Show(HWND hwndOverlay, const PixelImage *pFrozen) {
    Hide();
    g_pFrozen = pFrozen;
    const HINSTANCE hInst = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = hInst;
    wc.lpszClassName = "SpxDemoStandIn";
    RegisterClassA(&wc);
    // Topmost first, each one goes below those before it: the stacking order of the originals.
    for (Entry &entry : m_entries) {
        POINT pt = {entry.rc.left, entry.rc.top};
        ScreenToClient(hwndOverlay, &pt);
        entry.hwndStandIn =
            CreateWindowExA(0, "SpxDemoStandIn", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, pt.x,
                            pt.y, entry.rc.right - entry.rc.left, entry.rc.bottom - entry.rc.top,
                            hwndOverlay, nullptr, hInst, nullptr);
        SetWindowPos(entry.hwndStandIn, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void WindowStandIns::Hide() {
    for (Entry &entry : m_entries)
        if (entry.hwndStandIn) {
            DestroyWindow(entry.hwndStandIn);
            entry.hwndStandIn = nullptr;
        }
}

bool WindowStandIns::Original(HWND hwnd, HWND &hwndOriginal, RECT &rc, RECT &rcPhysical) const {
    for (const Entry &entry : m_entries)
        if (hwnd && entry.hwndStandIn == hwnd) {
            hwndOriginal = entry.hwndOriginal;
            rc = entry.rc;
            rcPhysical = entry.rcPhysical;
            return true;
        }
    return false;
}
