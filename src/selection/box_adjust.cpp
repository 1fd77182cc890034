#include "selection/box_adjust.h"

#include "draw/gdi_guards.h"
#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "selection/commit.h"
#include "selection/event_place.h"
#include "selection/gesture.h"
#include "selection/live_rect.h"
#include "selection/polygon_adjust.h"
#include "selection/shape_settings.h"
#include "selection/shown_box.h"
#include "shape/polygon_list.h"
#include "tracker/resizing_box.h"
#include "tracker/tracker_geometry.h"

namespace {

void XorSelectionFigure() {
    XorBox(rcSelection.left, rcSelection.top, rcSelection.right, rcSelection.bottom, bEllipse);
}

// Resizes the shown selection by the handle under pt, in the box's modal track.
void TrackHandle(int nMode, HWND hwnd, POINT pt) {
    // The track moves the selection's own outline: in an ellipse box the ellipse is on the
    // screen already, a rectangle's outline is put there for the time of the track.
    ToggleBoxFrame();
    if (nMode != MODE_ELLIPSE)
        XorSelectionFigure();
    SnapixResizingBox *const pBox = pResizingBox;
    bTracking = 1;
    pBox->TrackSelection(hwnd, pt.x, pt.y, nGestureButton);
    bTracking = 0;
    if (pResizingBox != pBox) {
        // The hook was turned off while the track ran (and perhaps on again): the box was handed
        // to us, detached from the host's record. Its outline is where the track left it.
        RECT rc = pBox->m_rect;
        OffsetRect(&rc, -pBox->m_nOffsetX, -pBox->m_nOffsetY);
        XorBox(rc.left, rc.top, rc.right, rc.bottom, nMode == MODE_ELLIPSE);
        delete pBox;
        return;
    }
    if (nMode != MODE_ELLIPSE)
        XorSelectionFigure();
    ToggleBoxFrame();
    RaiseOwnWindow();
}

} // namespace

void PressOnShownSelection(int nMode) {
    // Whatever this press does, nothing of it is left for its moves and its release.
    bSwallowUntilUp = 1;
    const HWND hwnd = hwndOverlay;
    POINT pt;
    if (!ReadEventCursorPos(&pt) || !pResizingBox)
        return;
    const int nHit = pResizingBox->HitTestSelection(pt.x, pt.y);
    if (nHit < SEL_HIT_INSIDE) {
        EraseDrawn(nMode);
    } else if (nHit == SEL_HIT_INSIDE) {
        EraseDrawn(nMode);
        CommitSelectionRect();
    } else if (hwnd && !FixedSize().cx) {
        // A box of a fixed size is moved, never resized: its handles do nothing.
        TrackHandle(nMode, hwnd, pt);
    }
}

bool BoxShown() {
    return pResizingBox && bSelectionShown && bAdjustable && !bTracking;
}

namespace {

// The box and its figure go to rcNew at once.
void MoveBoxTo(int nMode, const RECT &rcNew) {
    // The vertex under the pointer moves away from it: its marker goes.
    if (bVertexMarked && UINT(nMarkedVertex) < ValidPointCount(pHostRecord->shape))
        XorVertexMarker(pHostRecord->shape.aPoints[nMarkedVertex]);
    bVertexMarked = 0;
    ToggleBoxFrame();
    pResizingBox->MoveSelection(rcNew);
    ToggleBoxFrame();
    if (nMode == MODE_POLYGON)
        TakeBoundsFromSelection();
    // The box moved under the pointer: the cursor is worked out again at the next event.
    nCursorState = CS_DEFAULT;
}

} // namespace

void MoveShownBox(const RECT &rcScreen) {
    if (!BoxShown() || nGestureButton)
        return;
    MoveBoxTo(pHostRecord->shape.nMode, rcScreen);
    NotifyLiveRect(rcScreen);
}

bool NudgeBoxedSelection(int nMode, BYTE nKey, UINT fModifiers) {
    if (nKey < VK_LEFT || nKey > VK_DOWN || !pResizingBox || !bSelectionShown || !bAdjustable ||
        nGestureButton || bTracking)
        return false;
    RECT rcScreen = VirtualScreenRect();
    // A polygon's bounds hold its last column and row (right and bottom inclusive): its box stops
    // a pixel sooner than a rectangle's, whose right and bottom lie past it.
    if (nMode == MODE_POLYGON) {
        --rcScreen.right;
        --rcScreen.bottom;
    }
    // A box of a fixed size only moves.
    const bool bResize = (fModifiers & MOD_CONTROL) != 0;
    if (bResize && FixedSize().cx)
        return true;
    const RECT rcOld = NormalizedRect(rcSelection);
    const RECT rcNew =
        NudgedRect(rcOld, nKey, (fModifiers & MOD_SHIFT) ? 10 : 1, bResize, rcScreen, ShapeRatio());
    if (!EqualRect(&rcNew, &rcOld))
        MoveBoxTo(nMode, rcNew);
    return true;
}

void BoxSelectionKey(int nMode, BYTE nKey) {
    // A click whose button is still held keeps its release swallowed: keys leave it alone.
    if (nKey == VK_RETURN) {
        if (!bSelectionShown)
            return;
        EraseSelection(nMode);
        CommitSelectionRect();
    } else if (nKey == VK_ESCAPE) {
        // A band being dragged goes on: Escape discards a selection, not a drag.
        EraseSelection(nMode);
        nCursorState = CS_DEFAULT;
    }
}
