#include "selection/snap_targets.h"

#include "draw/loupe.h"
#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "shape/edge_snap.h"

namespace {

// The top-level windows seen at the last gathering, from the top of the z-order down: they say
// which window the pointer is over, and hide the edges of those below them.
const UINT kMaxWindows = 256;
struct TopWindow {
    HWND hwnd;
    RECT rc;
};

struct Targets {
    bool bGathered;
    HWND hwndUnder; // the top-level window whose controls were taken; none: the pointer was over
                    // none
    UINT nWindows;
    TopWindow aWindows[kMaxWindows];
    LONG nReach;
    SnapEdges edges;
};
Targets targets;

// Room kept for the monitors' edges, which come after the windows': however many windows there
// are, the screens' own edges stay targets.
const UINT kMonitorEdgeRoom = 256;

// The desktop's own windows (the wallpaper's) cover every monitor at the bottom of the z-order.
bool IsDesktopWindow(HWND hwnd) {
    char szClass[16];
    return GetClassNameA(hwnd, szClass, sizeof szClass) &&
           (lstrcmpA(szClass, "Progman") == 0 || lstrcmpA(szClass, "WorkerW") == 0);
}

// A window that hides nothing and is no target: the host's overlay, its panel, the loupe, its
// thread's other
// top-level windows (a read-out, a toolbar) unless it asked for them, the desktop's own windows,
// and what is not shown.
bool LookedThrough(HWND hwnd) {
    return hwnd == hwndOverlay || (pHostRecord && hwnd == pHostRecord->hwndOwn) ||
           IsLoupeWindow(hwnd) ||
           !IsWindowVisible(hwnd) || IsIconic(hwnd) || IsDesktopWindow(hwnd) ||
           (!(dwSelectionOptions & SPX_OPT_SNAP_HOST_WINDOWS) &&
            GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId());
}

// The top-level window of the last gathering under pt; none when it lies over none of them.
HWND WindowUnder(POINT pt) {
    for (UINT i = 0; i < targets.nWindows; ++i)
        if (PtInRect(&targets.aWindows[i].rc, pt))
            return targets.aWindows[i].hwnd;
    return nullptr;
}

// Hides what the windows above the one at nAbove (exclusive) cover of the edges from nFirst on.
void HideUnderWindowsAbove(UINT nAbove, UINT nFirstVertical, UINT nFirstHorizontal) {
    for (UINT i = 0; i < nAbove; ++i)
        HideEdgesUnder(targets.edges, nFirstVertical, nFirstHorizontal, targets.aWindows[i].rc);
}

BOOL CALLBACK AddControl(HWND hwnd, LPARAM) {
    RECT rc;
    if (IsWindowVisible(hwnd) && GetWindowRect(hwnd, &rc))
        AddRectEdges(targets.edges, rc);
    return TRUE;
}

BOOL CALLBACK AddTopWindow(HWND hwnd, LPARAM lParam) {
    RECT rc;
    if (LookedThrough(hwnd) || !GetWindowRect(hwnd, &rc) || IsRectEmpty(&rc) ||
        targets.nWindows == kMaxWindows)
        return TRUE;
    const POINT &pt = *reinterpret_cast<const POINT *>(lParam);
    const UINT nFirstVertical = targets.edges.nVertical;
    const UINT nFirstHorizontal = targets.edges.nHorizontal;
    AddRectEdges(targets.edges, rc);
    if (!targets.hwndUnder && PtInRect(&rc, pt)) {
        targets.hwndUnder = hwnd;
        EnumChildWindows(hwnd, AddControl, 0);
    }
    HideUnderWindowsAbove(targets.nWindows, nFirstVertical, nFirstHorizontal);
    targets.aWindows[targets.nWindows++] = TopWindow{hwnd, rc};
    return TRUE;
}

BOOL CALLBACK AddMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(hMonitor, &info)) {
        const UINT nFirstVertical = targets.edges.nVertical;
        const UINT nFirstHorizontal = targets.edges.nHorizontal;
        AddRectEdges(targets.edges, info.rcMonitor);
        AddRectEdges(targets.edges, info.rcWork);
        HideUnderWindowsAbove(targets.nWindows, nFirstVertical, nFirstHorizontal);
    }
    return TRUE;
}

// 8 pixels at 96 DPI, at the DPI of the monitor under pt.
LONG ReachAt(POINT pt) {
    return ScaledForDpi(8, DpiAt(pt));
}

void Gather(POINT pt) {
    targets.bGathered = true;
    targets.hwndUnder = nullptr;
    targets.nWindows = 0;
    targets.edges.nVertical = targets.edges.nHorizontal = 0;
    targets.edges.nLimit = SnapEdges::kMax - kMonitorEdgeRoom;
    EnumWindows(AddTopWindow, reinterpret_cast<LPARAM>(&pt));
    targets.edges.nLimit = 0;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, 0);
    targets.nReach = ReachAt(pt);
}

class TargetSnapper final : public EdgeSnapper {
public:
    POINT Snapped(POINT ptScreen) override { return SnapToTargets(ptScreen); }
};
TargetSnapper snapper;

} // namespace

bool SnapWanted() {
    return (dwSelectionOptions & SPX_OPT_SNAP_EDGES) != 0;
}

POINT SnapToTargets(POINT pt) {
    if (!SnapWanted())
        return pt;
    if (!targets.bGathered || WindowUnder(pt) != targets.hwndUnder)
        Gather(pt);
    return SnappedPoint(targets.edges, pt, targets.nReach);
}

void ForgetSnapTargets() {
    targets.bGathered = false;
}

EdgeSnapper *BoxEdgeSnapper() {
    return &snapper;
}
