#include "selection/cursor_feedback.h"

#include "host/hook_state.h"
#include "selection/event_place.h"
#include "tracker/resizing_box.h"

namespace {

// The library's cursors, loaded once (a load that failed is not tried again) from the module
// they were last loaded from.
HCURSOR LibraryCursor(int nId) {
    static const int aIds[] = {IDC_DRAWCROSS, IDC_OUTSIDEBOX, IDC_INSIDEBOX, IDC_MOVEVERTEX,
                               IDC_CLOSEPOLY};
    const size_t nIds = sizeof aIds / sizeof aIds[0];
    static HCURSOR aCursors[nIds];
    static bool abLoaded[nIds];
    static HINSTANCE hLoadedFrom = nullptr;
    if (hLoadedFrom != hResourceModule) {
        for (bool &bLoaded : abLoaded)
            bLoaded = false;
        hLoadedFrom = hResourceModule;
    }
    for (size_t i = 0; i < nIds; ++i) {
        if (aIds[i] != nId)
            continue;
        if (!abLoaded[i]) {
            aCursors[i] = LoadCursorA(hResourceModule, MAKEINTRESOURCEA(nId));
            abLoaded[i] = true;
        }
        return aCursors[i];
    }
    return LoadCursorA(hResourceModule, MAKEINTRESOURCEA(nId));
}

// Sets the cursor only when it is not the one the library set last: asking the platform which
// cursor shows costs as much as setting it.
void ShowCursorImage(HCURSOR hCursor) {
    if (hCursorShown != hCursor) {
        SetCursor(hCursor);
        hCursorShown = hCursor;
    }
}

void SetLibraryCursor(int nId) {
    ShowCursorImage(LibraryCursor(nId));
}

} // namespace

bool IsDrawingMode(int nMode) {
    const unsigned nUnsigned = unsigned(nMode);
    return nUnsigned == MODE_RECTANGLE || nUnsigned == MODE_ELLIPSE || nUnsigned == MODE_POLYGON ||
           nUnsigned > 7;
}

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
            ShowCursorImage(pHostRecord->hSavedCursor);
        return nRequested;
    }
    if (!bSelectionShown || !bAdjustable) {
        if (nRequested == CS_CLOSE) {
            if (nPrevious != CS_CLOSE)
                SetLibraryCursor(IDC_CLOSEPOLY);
        } else {
            SetLibraryCursor(IDC_DRAWCROSS);
        }
        return nRequested;
    }

    const int nState = nRequested == CS_DEFAULT ? ClassifyCursor() : nRequested;
    if (nState == CS_CLOSE || nState == CS_DEFAULT || nState == nPrevious)
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
        hCursorShown = nullptr;
        break;
    }
    return nState;
}
