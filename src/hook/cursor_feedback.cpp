#include "hook/cursor_feedback.h"
#include "hook/hook_paths.h"

#include "host/hook_state.h"
#include "tracker/resizing_box.h"

namespace {

void SetLibraryCursor(int nId) {
    SetCursor(LoadCursorA(hResourceModule, MAKEINTRESOURCEA(nId)));
}

} // namespace

int ClassifyCursor() {
    POINT pt;
    if (!ReadEventCursorPos(&pt) || !pResizingBox || !pHostRecord)
        return CS_DEFAULT;
    const int nHit = pResizingBox->HitTestSelection(pt.x, pt.y);
    switch (nHit) {
    case SEL_HIT_OUTSIDE:
        return CS_OUTSIDE;
    case SEL_HIT_INSIDE:
        return CS_INSIDE;
    case SEL_HIT_VERTEX:
        return CS_VERTEX;
    default:
        return nHit >= SEL_HIT_HANDLE ? CS_HANDLE : CS_DEFAULT;
    }
}

int UpdateCursor(int bDrawing, int nPrevious, int nRequested) {
    if (!bDrawing) {
        if (pHostRecord)
            SetCursor(pHostRecord->hSavedCursor);
        ShowCursor(TRUE);
        return nRequested;
    }
    if (!bSelectionShown || !bAdjustable) {
        if (nRequested == CS_CLOSE) {
            if (nPrevious != CS_CLOSE)
                SetLibraryCursor(IDC_CLOSEPOLY);
        } else {
            SetLibraryCursor(IDC_DRAWCROSS);
        }
        ShowCursor(TRUE);
        return nRequested;
    }

    const int nState = nRequested == CS_DEFAULT ? ClassifyCursor() : nRequested;
    if (nState == CS_CLOSE || nState == CS_DEFAULT) {
        ShowCursor(TRUE);
        return nState;
    }
    if (nState == nPrevious)
        return nState;
    switch (nState) {
    case CS_OUTSIDE:
        SetLibraryCursor(IDC_OUTSIDEBOX);
        break;
    case CS_INSIDE:
        SetLibraryCursor(IDC_INSIDEBOX);
        break;
    case CS_HANDLE:
    case CS_VERTEX:
        // Without an overlay window there is nothing to take the handle's cursor from.
        if (hwndOverlay && pResizingBox)
            pResizingBox->SetSelectionCursor(hwndOverlay,
                                             nState == CS_VERTEX ? SEL_HIT_VERTEX : SEL_HIT_HANDLE);
        break;
    }
    ShowCursor(TRUE);
    return nState;
}
