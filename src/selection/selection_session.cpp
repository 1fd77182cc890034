#include "selection/selection_session.h"

#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "selection/commit.h"
#include "selection/gesture.h"
#include "selection/input_event.h"
#include "selection/live_rect.h"
#include "selection/loupe_follow.h"
#include "selection/shape_settings.h"
#include "selection/shown_box.h"
#include "selection/window_targets.h"
#include "tracker/resizing_box.h"

void BeginSelectionSession(HostRecord *pRecord, const RECT *pInitialRect, HWND hwndOverlayArg,
                           DragInput *pDragSource) {
    // A box left from an earlier time is dropped without drawing.
    delete pResizingBox;
    pResizingBox = nullptr;
    SetBoxDragSource(pDragSource);

    if (HCURSOR hCursor = GetCursor())
        pRecord->hSavedCursor = hCursor;
    // The cursor shows while the hook is on, however far the host had hidden it; the first event
    // sets the library's.
    hCursorShown = nullptr;
    nCursorShows = 1;
    for (int nCount = ShowCursor(TRUE); nCount < 0 && nCursorShows < 256; ++nCursorShows)
        nCount = ShowCursor(TRUE);

    const int nMode = pRecord->shape.nMode;
    const bool bPolygonWithoutPoints = nMode == MODE_POLYGON && pRecord->shape.nCount == 0;
    RECT rcStart;
    if (pInitialRect && !IsRectEmpty(pInitialRect) && bAdjustable && !bPolygonWithoutPoints) {
        SetSelectionRect(pInitialRect->top, pInitialRect->bottom, pInitialRect->left,
                         pInitialRect->right);
        bSelectionShown = 1;
    } else if (bAdjustable &&
               StartRegionFor(nMode, VirtualScreenRect(), rcStart, &pRecord->shape)) {
        // A starting region waits for the first event, as an initial rectangle does.
        SetSelectionRect(rcStart.top, rcStart.bottom, rcStart.left, rcStart.right);
        if (nMode == MODE_POLYGON) {
            pRecord->shape.ptCorner = POINT{rcStart.left, rcStart.bottom};
            pRecord->shape.rcBounds = rcStart;
        }
        bSelectionShown = 1;
    } else {
        SetSelectionRect(0, 0, 0, 0);
        bSelectionShown = 0;
    }
    // A new session starts with no gesture: nothing of the last one is swallowed or completed.
    EndGesture();
    fHeldKeys = HeldNow();
    GetCursorPos(&ptStreamPointer);
    hwndOverlay = hwndOverlayArg;
}

void EndSelectionSession() {
    // A box that a running track still uses goes to the track's caller, which erases its outline
    // and drops it when the track returns: it leaves the slot, so that turning on again cannot
    // delete it under the track, and it works on copies of its own from now on. Nothing is
    // posted, and the host's data stays in its record.
    if (bTracking && pResizingBox) {
        pResizingBox->Detach();
        pResizingBox = nullptr;
        bSelectionShown = 0;
        bVertexMarked = 0;
    } else {
        EraseDrawn(pHostRecord->shape.nMode);
    }
    EndGesture();
    CheckLiveRectEnded();
    EndLoupe();
    EndTargets();
    bNewPolygon = 1;
    nCursorState = CS_DEFAULT;
    hwndOverlay = nullptr;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    // The display counter goes back to where the host had it.
    for (; nCursorShows > 0; --nCursorShows)
        ShowCursor(FALSE);
    bAdjustable = 0;
}
