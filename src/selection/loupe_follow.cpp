#include "selection/loupe_follow.h"

#include "draw/gdi_guards.h"
#include "draw/loupe.h"
#include "draw/xor_draw.h"
#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "shape/polygon_geometry.h"
#include "shape/polygon_list.h"
#include "tracker/resizing_box.h"
#include "tracker/tracker_geometry.h"

namespace {

// At 96 DPI: how far the box's handles and a vertex's marker reach beyond the selection.
const int kReach96 = 8;

bool PolygonBeingPlaced() {
    return pHostRecord->shape.nMode == MODE_POLYGON && (fDrawn & (DRAWN_OUTLINE | DRAWN_RUBBER_EDGE));
}

// What the loupe must not cover, and whether a selection is being made or adjusted at all.
bool SelectionToAvoid(RECT &rc) {
    if (bTracking) {
        // A handle or vertex dragged: the outline as it is now.
        if (!pResizingBox)
            return false;
        rc = NormalizedRect(pResizingBox->DragOutlineRect());
    } else if (fDrawn & DRAWN_BAND) {
        // A band has no handles.
        rc = NormalizedRect(RECT{ptBoxAnchor.x, ptBoxAnchor.y, ptBoxCurrent.x, ptBoxCurrent.y});
        InflateRect(&rc, 1, 1);
        return true;
    } else if (PolygonBeingPlaced()) {
        const SelectionShape &shape = pHostRecord->shape;
        rc = PolygonBounds(shape.aPoints, ValidPointCount(shape));
        if (fDrawn & DRAWN_RUBBER_EDGE) {
            const RECT rcEdge = NormalizedRect(
                RECT{ptLastVertex.x, ptLastVertex.y, ptRubberEnd.x, ptRubberEnd.y});
            UnionRect(&rc, &rc, &rcEdge);
        }
    } else if (bSelectionShown && pResizingBox) {
        rc = NormalizedRect(rcSelection);
    } else {
        return false;
    }
    const int nReach = ScaledForDpi(kReach96, DpiAt(rc)) + 1;
    InflateRect(&rc, nReach, nReach);
    return true;
}

// Everything the selection has on the screen by exclusive-or, once more, within rgnScreen.
bool DrawFigureIn(HRGN rgnScreen) {
    if (!pHostRecord)
        return true;
    // A drag of a box that is not the session's (handed over when the hook went off) draws
    // outside it.
    if (bTracking && !pResizingBox)
        return false;
    if (!rgnScreen)
        return true;
    const SelectionShape &shape = pHostRecord->shape;
    // A track hides the box's frame; a vertex drag keeps it.
    if (bSelectionShown && pResizingBox && (!bTracking || pResizingBox->DragKeepsFrame())) {
        if (WindowDC dc = GetClientDC(hwndOverlay)) {
            // The context's own origin on the screen: the client area's, less where it lies in
            // the context.
            // The context leaves the loupe out; here it draws within rgnScreen alone, and within
            // the overlay.
            POINT ptClient = {0, 0};
            RECT rcWindow;
            ClientToScreen(hwndOverlay, &ptClient);
            GetWindowRect(hwndOverlay, &rcWindow);
            const POINT ptOrigin = dc.Origin();
            GdiObject<HRGN> rgn(CreateRectRgnIndirect(&rcWindow));
            if (rgn && CombineRgn(rgn.get(), rgn.get(), rgnScreen, RGN_AND) != ERROR) {
                OffsetRgn(rgn.get(), ptOrigin.x - ptClient.x, ptOrigin.y - ptClient.y);
                SelectClipRgn(dc.get(), rgn.get());
                pResizingBox->DrawXor(dc.get(), ptOrigin);
            }
        }
    }
    ScreenDC dc = CreateXorDisplayDC();
    if (!dc)
        return true;
    SelectClipRgn(dc.get(), rgnScreen);
    if (bTracking) {
        // The drag's outline stands for the selection's figure until the drag ends.
        pResizingBox->XorDragOutline(dc.get());
        return true;
    }
    if (fDrawn & DRAWN_BAND)
        DrawBoxShape(dc.get(), ptBoxAnchor.x, ptBoxAnchor.y, ptBoxCurrent.x, ptBoxCurrent.y,
                     bEllipse);
    const UINT nCount = ValidPointCount(shape);
    if ((fDrawn & DRAWN_OUTLINE) && nCount)
        XorPolygonOn(dc.get(), shape, false);
    if (fDrawn & DRAWN_RUBBER_EDGE)
        XorLineOn(dc.get(), ptLastVertex, ptRubberEnd);
    if (bVertexMarked && UINT(nMarkedVertex) < nCount)
        XorVertexMarkerOn(dc.get(), shape.aPoints[nMarkedVertex]);
    if (bSelectionShown && pResizingBox) {
        if (shape.nMode == MODE_ELLIPSE)
            DrawBoxShape(dc.get(), rcSelection.left, rcSelection.top, rcSelection.right,
                         rcSelection.bottom, bEllipse);
        else if (shape.nMode == MODE_POLYGON && nCount)
            XorPolygonOn(dc.get(), shape, true);
    }
    return true;
}

} // namespace

void FollowWithLoupe() {
    RECT rcAvoid;
    if (!pHostRecord || !(dwSelectionOptions & SPX_OPT_LOUPE) || pHostRecord->bPaused ||
        !SelectionToAvoid(rcAvoid)) {
        HideLoupe();
        return;
    }
    SetLoupeFigure(DrawFigureIn);
    // A drag reads no cursor: the pointer is where its newest event put it.
    LoupeFollow(bTracking ? ptStreamPointer : ptCursor, rcAvoid);
}

void LoupeWheelTurned(int nDelta) {
    LoupeWheel(nDelta);
}

void HideLoupeNow() {
    HideLoupe();
}

void EndLoupe() {
    DestroyLoupe();
}
