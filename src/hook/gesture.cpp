#include "hook/gesture.h"

#include "draw/xor_draw.h"
#include "hook/selection_reset.h"
#include "host/hook_state.h"

bool IsPanelWindow(HWND hwnd) {
    const HWND hwndOwn = pHostRecord->hwndOwn;
    return hwndOwn && hwnd && (hwnd == hwndOwn || IsChild(hwndOwn, hwnd));
}

void BeginGesture(UINT nPress, POINT pt) {
    nGestureButton = nPress;
    ptGestureStart = pt;
    nGestureDrawn = GD_NOTHING;
    bSwallowUntilUp = 0;
    bButtonDown = 1;
}

bool IsGestureRelease(UINT nRelease) {
    return (nGestureButton == WM_LBUTTONDOWN && nRelease == WM_LBUTTONUP) ||
           (nGestureButton == WM_RBUTTONDOWN && nRelease == WM_RBUTTONUP);
}

void EndGesture() {
    nGestureButton = 0;
    bSwallowUntilUp = 0;
    bButtonDown = 0;
}

void EraseSelection(int nMode) {
    // A selection waiting for its box has nothing on the screen yet; one in its box has the
    // frame and its own figure. A polygon keeps its points.
    if (bSelectionShown && pResizingBox)
        ResetSelection(nMode, &pResizingBox, bSelectionShown, &pHostRecord->shape);
    bSelectionShown = 0;
}

void EraseGestureDrawing() {
    if (nGestureDrawn == GD_BAND)
        XorBox(ptBoxAnchor.x, ptBoxAnchor.y, ptBoxCurrent.x, ptBoxCurrent.y, bEllipse);
    nGestureDrawn = GD_NOTHING;
}

void EraseDrawn(int nMode) {
    EraseGestureDrawing();
    EraseSelection(nMode);
}
