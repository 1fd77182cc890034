#include "selection/gesture.h"

#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "selection/selection_reset.h"
#include "selection/snap_targets.h"
#include "selection/window_targets.h"
#include "shape/polygon_list.h"

#include <utility>

bool IsPanelWindow(HWND hwnd) {
    const HWND hwndOwn = pHostRecord->hwndOwn;
    return hwndOwn && hwnd && (hwnd == hwndOwn || IsChild(hwndOwn, hwnd));
}

void BeginGesture(UINT nPress, POINT pt) {
    // Targets gathered at the last release (a drag snaps its release too) are not this one's.
    ForgetSnapTargets();
    nGestureButton = nPress;
    ptGestureStart = pt;
    bSwallowUntilUp = 0;
    bButtonDown = 1;
}

bool IsGestureRelease(UINT nRelease) {
    return (nGestureButton == WM_LBUTTONDOWN && nRelease == WM_LBUTTONUP) ||
           (nGestureButton == WM_RBUTTONDOWN && nRelease == WM_RBUTTONUP);
}

void EndGesture() {
    ForgetSnapTargets();
    nGestureButton = 0;
    bSwallowUntilUp = 0;
    bButtonDown = 0;
    ReleaseGestureDC();
}

void DiscardGesture() {
    if (!nGestureButton)
        return;
    EraseGestureDrawing();
    EndGesture();
    nCursorState = CS_DEFAULT;
}

namespace {

// One per process: the moves of a gesture draw on it instead of making a context each. A plain
// handle, released by every ending of a gesture: a module global with a destructor would need the
// C runtime to run it at unload.
HDC hdcGesture = nullptr;
// What the loupe left out of it when it was clipped last.
unsigned nGestureClip = 0;

} // namespace

HDC GestureDC() {
    if (!hdcGesture) {
        hdcGesture = CreateXorDisplayDC().Detach();
        nGestureClip = 0;
    }
    // The loupe may have moved since: it is left out where it is now.
    KeepXorDisplayDCClipped(hdcGesture, nGestureClip);
    return hdcGesture;
}

HDC HeldGestureDC() {
    return hdcGesture;
}

void ReleaseGestureDC() {
    ScreenDC(std::exchange(hdcGesture, nullptr)).Release();
}

void EraseGestureDrawing() {
    if (fDrawn & DRAWN_BAND) {
        if (HDC hdc = GestureDC())
            DrawBoxShape(hdc, ptBoxAnchor.x, ptBoxAnchor.y, ptBoxCurrent.x, ptBoxCurrent.y,
                         bEllipse);
    }
    fDrawn &= ~DRAWN_BAND;
    // The band was all the gesture drew: its context goes with it.
    ReleaseGestureDC();
}

void EraseSelection(int nMode) {
    SelectionShape &shape = pHostRecord->shape;
    if (bVertexMarked && UINT(nMarkedVertex) < ValidPointCount(shape))
        XorVertexMarker(shape.aPoints[nMarkedVertex]);
    bVertexMarked = 0;
    // A selection waiting for its box has nothing on the screen yet; one in its box has the
    // frame and its own figure. A polygon keeps its points.
    if (bSelectionShown && pResizingBox)
        ResetSelection(nMode, &pResizingBox, bSelectionShown, &shape);
    bSelectionShown = 0;
}

void EraseRubberEdge() {
    if (fDrawn & DRAWN_RUBBER_EDGE)
        SPXXorLine(&ptLastVertex, &ptRubberEnd);
    fDrawn &= ~DRAWN_RUBBER_EDGE;
}

void EraseDrawn(int nMode) {
    EraseGestureDrawing();
    EraseRubberEdge();
    if (fDrawn & DRAWN_OUTLINE)
        XorPolyline(&pHostRecord->shape);
    fDrawn &= ~DRAWN_OUTLINE;
    EraseTargetFrame();
    EraseSelection(nMode);
}
