#include "hook/box_adjust.h"

#include "draw/gdi_guards.h"
#include "draw/xor_draw.h"
#include "hook/hook_install.h"
#include "hook/selection_reset.h"
#include "host/hook_state.h"
#include "tracker/resizing_box.h"

namespace {

void XorSelectionFigure() {
    XorBox(rcSelection.left, rcSelection.top, rcSelection.right, rcSelection.bottom, bEllipse);
}

void ToggleBoxFrame() {
    if (WindowDC dc = GetClientDC(hwndOverlay))
        pResizingBox->DrawXor(dc.get());
}

} // namespace

void PressOnShownSelection(int nMode) {
    const HWND hwnd = hwndOverlay;
    POINT pt;
    if (!GetCursorPos(&pt) || !pResizingBox)
        return;
    ToggleBoxFrame();
    const int nHit = pResizingBox->HitTestSelection(pt.x, pt.y);

    if (nHit < SEL_HIT_INSIDE) {
        if (nMode == MODE_ELLIPSE)
            XorSelectionFigure();
        DropResizingBox(false);
        bSelectionShown = 0;
        bSwallowUntilUp = 1;
        return;
    }
    if (nHit == SEL_HIT_INSIDE) {
        if (nMode == MODE_ELLIPSE)
            XorSelectionFigure();
        DropResizingBox(false);
        CommitSelectionRect();
        // The release of this click would run the completion again and overwrite rcSelection
        // before the host has read it.
        bSwallowUntilUp = 1;
        return;
    }

    if (!hwnd)
        return;
    // The track moves the selection's own outline: in an ellipse box the ellipse is on the
    // screen already, a rectangle's outline is put there for the time of the track.
    if (nMode != MODE_ELLIPSE)
        XorSelectionFigure();
    SnapixResizingBox *const pBox = pResizingBox;
    bTracking = 1;
    pBox->TrackSelection(hwnd, pt.x, pt.y);
    bButtonDown = 0;
    bTracking = 0;
    if (pResizingBox != pBox) {
        // The hook was turned off while the track ran (and perhaps on again): the box could not
        // go then and is ours to drop. A rectangle's outline is where the track left the box.
        if (nMode != MODE_ELLIPSE) {
            RECT rc = pBox->m_rect;
            OffsetRect(&rc, -pBox->m_nOffsetX, -pBox->m_nOffsetY);
            XorBox(rc.left, rc.top, rc.right, rc.bottom, 0);
        }
        delete pBox;
        return;
    }
    if (nMode != MODE_ELLIPSE)
        XorSelectionFigure();
    ToggleBoxFrame();
    RaiseOwnWindow();
}

void BoxSelectionKey(int nMode, BYTE nKey) {
    if (nKey == VK_RETURN) {
        if (!bSelectionShown)
            return;
        ResetSelection(nMode, &pResizingBox, bSelectionShown, nullptr);
        PostMessageA(hwndNotify, UM_SELECTION, 0, reinterpret_cast<LPARAM>(&rcSelection));
    } else if (nKey == VK_ESCAPE) {
        ResetSelection(nMode, &pResizingBox, bSelectionShown, nullptr);
    } else {
        return;
    }
    bSwallowUntilUp = 0;
    nCursorState = CS_DEFAULT;
}
