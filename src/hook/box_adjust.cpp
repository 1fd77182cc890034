#include "hook/box_adjust.h"

#include "draw/gdi_guards.h"
#include "draw/xor_draw.h"
#include "hook/event_place.h"
#include "hook/gesture.h"
#include "hook/hook_install.h"
#include "host/hook_state.h"
#include "tracker/resizing_box.h"

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
    } else if (hwnd) {
        TrackHandle(nMode, hwnd, pt);
    }
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
