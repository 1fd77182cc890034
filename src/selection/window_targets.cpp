#include "selection/window_targets.h"

#include "draw/loupe.h"
#include "draw/xor_draw.h"
#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "selection/commit.h"
#include "selection/element_lookup.h"
#include "selection/live_rect.h"
#include "shape/pick_geometry.h"

namespace {

const int kMaxDepth = 24;     // windows inside windows followed
const int kMaxChildren = 128; // children of one window looked at
const int kMaxLevels = kMaxElementLevels + 2 * kMaxDepth + 2;

struct TargetLevel {
    RECT rc;      // what of it can show, physical screen pixels
    HWND hwnd;    // its window: the control, the window that holds the element, the desktop's
    DWORD dwKind; // SPX_TARGET_
    int nElement; // the element's place in the last answer, or -1
};

// The path under the pointer, from the deepest thing out, and where along it the target is.
TargetLevel aPath[kMaxLevels];
int nPath = 0;
int nTarget = 0;
HWND hwndDeepest = nullptr; // the deepest control of the path, which the elements are asked of
ElementAnswer elements;     // the last answer taken into the path
unsigned nQuestion = 0;
int nWheelRest = 0;

bool bFramed = false;
RECT rcFramed = {0, 0, 0, 0};
UINT nFramedDpi = 96;
HWND hwndFramedTarget = nullptr;
HWND hwndReported = nullptr; // the window last sent with UM_SELECTION

PickedTarget picked = {sizeof(PickedTarget), SPX_TARGET_NONE, {0, 0, 0, 0}, nullptr, 0, {0}};

// DwmGetWindowAttribute, looked up once: a window cloaked by the platform (another virtual
// desktop's, a suspended app's) shows nothing.
using DwmAttributeFn = HRESULT(WINAPI *)(HWND, DWORD, PVOID, DWORD);
DwmAttributeFn DwmAttribute() {
    static bool bLooked = false;
    static DwmAttributeFn pfn = nullptr;
    if (!bLooked) {
        bLooked = true;
        if (const HMODULE hDwm =
                LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
            pfn = reinterpret_cast<DwmAttributeFn>(
                reinterpret_cast<void *>(GetProcAddress(hDwm, "DwmGetWindowAttribute")));
    }
    return pfn;
}

bool IsCloaked(HWND hwnd) {
    const DWORD kCloaked = 14; // DWMWA_CLOAKED
    DWORD dwCloaked = 0;
    const DwmAttributeFn pfn = DwmAttribute();
    return pfn && SUCCEEDED(pfn(hwnd, kCloaked, &dwCloaked, sizeof dwCloaked)) && dwCloaked;
}

// A window the pointer passes through, or that shows nothing: no target, and what lies under it
// is.
bool LookedThrough(HWND hwnd) {
    if (!IsWindowVisible(hwnd) || IsIconic(hwnd))
        return true;
    const LONG_PTR nExStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    if (nExStyle & WS_EX_TRANSPARENT)
        return true;
    if (nExStyle & WS_EX_LAYERED) {
        BYTE nAlpha = 255;
        DWORD dwFlags = 0;
        if (GetLayeredWindowAttributes(hwnd, nullptr, &nAlpha, &dwFlags) && (dwFlags & LWA_ALPHA) &&
            nAlpha == 0)
            return true;
    }
    return false;
}

bool HoldsPoint(HWND hwnd, POINT pt, RECT &rc) {
    if (!GetWindowRect(hwnd, &rc) || !PtInRect(&rc, pt))
        return false;
    // A window of another shape than its rectangle holds only what its region does.
    HRGN hrgn = CreateRectRgn(0, 0, 0, 0);
    bool bHolds = true;
    if (hrgn && GetWindowRgn(hwnd, hrgn) != ERROR)
        bHolds = PtInRegion(hrgn, pt.x - rc.left, pt.y - rc.top) != 0;
    if (hrgn)
        DeleteObject(hrgn);
    return bHolds;
}

HWND TopLevelAt(POINT pt, RECT &rc) {
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd == hwndOverlay || IsLoupeWindow(hwnd) || LookedThrough(hwnd) ||
            !HoldsPoint(hwnd, pt, rc) || IsCloaked(hwnd))
            continue;
        return hwnd;
    }
    return nullptr;
}

RECT ClientOnScreen(HWND hwnd) {
    RECT rc = {0, 0, 0, 0};
    GetClientRect(hwnd, &rc);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT *>(&rc), 2);
    return rc;
}

// The windows under pt, from the outermost in, then the monitor: written to aPath deepest first.
void BuildWindowPath(POINT pt) {
    TargetLevel aOut[kMaxLevels];
    int nOut = 0;
    RECT aClip[kMaxDepth + 2];
    int nClip = 0;
    aClip[nClip++] = VirtualScreenRect();
    RECT rcTop;
    HWND hwndParent = TopLevelAt(pt, rcTop);
    hwndDeepest = hwndParent;
    if (hwndParent) {
        aOut[nOut++] = {ClippedToAll(rcTop, aClip, nClip), hwndParent, SPX_TARGET_WINDOW, -1};
        aClip[nClip++] = rcTop;
    }
    for (int nDepth = 0; hwndParent && nDepth < kMaxDepth; ++nDepth) {
        // Children show only in their parent's client area.
        const RECT rcClient = ClientOnScreen(hwndParent);
        if (!PtInRect(&rcClient, pt))
            break;
        aClip[nClip++] = rcClient;
        HWND ahwnd[kMaxChildren];
        RECT arc[kMaxChildren];
        int n = 0;
        for (HWND hwnd = GetWindow(hwndParent, GW_CHILD); hwnd && n < kMaxChildren;
             hwnd = GetWindow(hwnd, GW_HWNDNEXT))
            if (!LookedThrough(hwnd) && HoldsPoint(hwnd, pt, arc[n]))
                ahwnd[n++] = hwnd;
        int aiOrder[kMaxChildren];
        const int nHolding = ContainingLargestFirst(arc, n, pt, aiOrder);
        if (!nHolding)
            break;
        for (int i = 0; i < nHolding && nOut < kMaxLevels - 1; ++i)
            aOut[nOut++] = {ClippedToAll(arc[aiOrder[i]], aClip, nClip), ahwnd[aiOrder[i]],
                            SPX_TARGET_WINDOW, -1};
        hwndParent = ahwnd[aiOrder[nHolding - 1]];
        hwndDeepest = hwndParent;
    }
    nPath = 0;
    for (int i = nOut - 1; i >= 0; --i)
        aPath[nPath++] = aOut[i];
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoA(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi))
        aPath[nPath++] = {mi.rcMonitor, GetDesktopWindow(), SPX_TARGET_MONITOR, -1};
}

// Levels whose frame would be the one before: a step out to them would show nothing new.
void DropRepeatedLevels() {
    RECT arc[kMaxLevels];
    bool abKeep[kMaxLevels];
    for (int i = 0; i < nPath; ++i)
        arc[i] = aPath[i].rc;
    DropRepeatedRects(arc, nPath, abKeep);
    // A target dropped was the frame of the level kept before it.
    int nKept = 0, nNewTarget = 0;
    for (int i = 0; i < nPath; ++i) {
        if (!abKeep[i])
            continue;
        if (i <= nTarget)
            nNewTarget = nKept;
        aPath[nKept++] = aPath[i];
    }
    nPath = nKept;
    nTarget = SteppedLevel(nNewTarget, 0, nPath);
}

// What was under a frame repaints, in case it painted over the frame meanwhile: at once where
// the window is this thread's. Another thread's (which may not answer) repaints in its own time,
// and so only where the next frame lies off it: a repaint that came after that frame would wipe
// it, and its erasing would leave it inverted. There the frame's own erasing has restored it.
void RepaintUnderFrame(HWND hwnd, const RECT &rcNext) {
    const bool bOurs = GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
    RECT rcWindow, rcBoth;
    if (!bOurs && GetWindowRect(hwnd, &rcWindow) && IntersectRect(&rcBoth, &rcWindow, &rcNext))
        return;
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME | (bOurs ? RDW_UPDATENOW : 0));
}

void ShowTarget() {
    if (!nPath)
        return;
    HostRecord &record = *pHostRecord;
    // A frame the plain highlight left stays no longer.
    const TargetLevel &target = aPath[nTarget];
    if (IsWindow(record.hwndFramed)) {
        SPXXORWindow(record.hwndFramed);
        RepaintUnderFrame(record.hwndFramed, target.rc);
    }
    record.hwndFramed = nullptr;
    if (!bFramed || !EqualRect(&rcFramed, &target.rc)) {
        const HWND hwndBefore = bFramed ? hwndFramedTarget : nullptr;
        EraseTargetFrame();
        if (hwndBefore && hwndBefore != GetDesktopWindow() && IsWindow(hwndBefore))
            RepaintUnderFrame(hwndBefore, target.rc);
        rcFramed = target.rc;
        nFramedDpi = DpiAt(target.rc);
        hwndFramedTarget = target.hwnd;
        bFramed = XorFrameRect(rcFramed, nFramedDpi) != 0;
        if (bFramed)
            fDrawn |= DRAWN_TARGET;
        NotifyLiveRect(target.rc);
    }
    record.hwndUnderCursor = target.hwnd;
    if (target.hwnd != hwndReported) {
        hwndReported = target.hwnd;
        // Sent last: the host's answer may turn the hook off.
        HostPixels hostPixels;
        SendMessageA(hwndNotify, UM_SELECTION, reinterpret_cast<WPARAM>(target.hwnd), 0);
    }
}

// The elements the look-up found, put in front of the control they lie in, if the pointer is
// still there.
void TakeElements(const ElementAnswer &answer) {
    if (!bMouseHookOn || !pHostRecord || !PickingTargets() || answer.nRequest != nQuestion ||
        answer.hwndControl != hwndDeepest || !nPath || aPath[0].dwKind != SPX_TARGET_WINDOW ||
        answer.nLevels == 0 || !PtInRect(&answer.aLevels[0].rc, ptCursor))
        return;
    elements = answer;
    const int nElements = answer.nLevels;
    if (nPath + nElements > kMaxLevels)
        return;
    for (int i = nPath - 1; i >= 0; --i)
        aPath[i + nElements] = aPath[i];
    // An element shows no more of itself than its control does.
    const RECT rcControl = aPath[nElements].rc;
    for (int i = 0; i < nElements; ++i)
        aPath[i] = {ClippedToAll(answer.aLevels[i].rc, &rcControl, 1), answer.hwndControl,
                    SPX_TARGET_ELEMENT, i};
    nPath += nElements;
    // Stepped out already: the same target stays; at the control: the deepest element.
    if (nTarget > 0)
        nTarget += nElements;
    DropRepeatedLevels();
    ShowTarget();
}

} // namespace

bool PickingTargets() {
    const int nMode = pHostRecord ? pHostRecord->shape.nMode : -1;
    return (nMode == 0 || nMode == 1 || nMode == 6) && pHostRecord->bHighlightWindows &&
           (dwSelectionOptions & SPX_OPT_PICK_ELEMENTS);
}

void FollowTarget() {
    if (!PickingTargets())
        return;
    const POINT pt = ptCursor;
    // Within the deepest element found the target stays.
    if (nPath && aPath[0].dwKind == SPX_TARGET_ELEMENT && PtInRect(&aPath[0].rc, pt) &&
        IsWindow(hwndDeepest))
        return;
    const HWND hwndBefore = nPath ? hwndDeepest : nullptr;
    const int nTargetBefore = nTarget;
    const bool bElementsBefore = nPath && aPath[0].dwKind == SPX_TARGET_ELEMENT;
    BuildWindowPath(pt);
    // In the same control the person keeps where they stepped to; elsewhere they start from the
    // deepest again.
    nTarget = hwndDeepest == hwndBefore && !bElementsBefore ? nTargetBefore : 0;
    DropRepeatedLevels();
    if (hwndDeepest && StartElementLookup(TakeElements))
        nQuestion = AskForElements(pt, hwndDeepest);
    ShowTarget();
}

void StepTarget(int nSteps) {
    if (!PickingTargets())
        return;
    if (!nPath)
        FollowTarget();
    nTarget = SteppedLevel(nTarget, nSteps, nPath);
    ShowTarget();
}

void TargetWheelTurned(int nDelta) {
    nWheelRest += nDelta;
    const int nSteps = nWheelRest / WHEEL_DELTA;
    nWheelRest -= nSteps * WHEEL_DELTA;
    if (nSteps)
        StepTarget(nSteps);
}

void PickTarget() {
    if (!nPath)
        FollowTarget();
    PickedTarget pick = {sizeof(PickedTarget), SPX_TARGET_NONE, {0, 0, 0, 0}, nullptr, 0, {0}};
    if (nPath) {
        const TargetLevel &target = aPath[nTarget];
        pick.dwKind = target.dwKind;
        pick.rcTarget = target.rc;
        pick.hwnd = target.hwnd;
        if (target.dwKind == SPX_TARGET_ELEMENT && target.nElement >= 0) {
            const ElementLevel &level = elements.aLevels[target.nElement];
            pick.nControlType = level.nControlType;
            for (int i = 0; i < 256; ++i)
                pick.szName[i] = level.szName[i];
        } else if (target.dwKind == SPX_TARGET_WINDOW) {
            // The text as the system keeps it: asking the window could wait on a hung thread.
            InternalGetWindowText(target.hwnd, pick.szName, 256);
        }
        rcSelection = target.rc;
        pHostRecord->hwndUnderCursor = target.hwnd;
    }
    picked = pick;
    // Off the screen before the host hears of it: it may grab the screen at once.
    EraseTargetFrame();
    nPath = 0;
    CommitSelectionRect();
}

void EraseTargetFrame() {
    if (bFramed)
        XorFrameRect(rcFramed, nFramedDpi);
    bFramed = false;
    fDrawn &= ~DRAWN_TARGET;
}

void EndTargets() {
    EraseTargetFrame();
    StopElementLookup();
    nPath = 0;
    nTarget = 0;
    hwndDeepest = nullptr;
    hwndReported = nullptr;
    nWheelRest = 0;
}

const PickedTarget &LastPick() {
    return picked;
}
