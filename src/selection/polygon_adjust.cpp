#include "selection/polygon_adjust.h"

#include "draw/gdi_guards.h"
#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "selection/commit.h"
#include "selection/event_place.h"
#include "selection/gesture.h"
#include "selection/polygon_draw.h"
#include "selection/shown_box.h"
#include "shape/polygon_list.h"
#include "tracker/resizing_box.h"

namespace {

SelectionShape &Shape() {
    return pHostRecord->shape;
}

// A box handed to us when the hook was turned off during its drag or track: its polygon (and the
// marker a vertex drag carries) is where the drag left it.
void DropHandedOverBox(SnapixResizingBox *pBox, int nMarked) {
    SelectionShape &copy = *pBox->m_pShapeCopy;
    if (nMarked >= 0 && UINT(nMarked) < ValidPointCount(copy))
        XorVertexMarker(copy.aPoints[nMarked]);
    SPXXorPolyPoints(&copy);
    delete pBox;
}

void DragMarkedVertex(HWND hwnd, POINT pt) {
    SnapixResizingBox *const pBox = pResizingBox;
    const int nVertex = nMarkedVertex;
    bTracking = 1;
    pBox->DragVertex(nVertex, hwnd, pt.x, pt.y, nGestureButton);
    bTracking = 0;
    if (pResizingBox != pBox) {
        // The drag keeps the frame drawn; it goes with the box.
        if (IsWindow(hwnd))
            if (WindowDC dc = GetClientDC(hwnd))
                pBox->DrawXor(dc.get(), dc.Origin());
        DropHandedOverBox(pBox, nVertex);
        return;
    }
    TakeBoundsFromSelection();
}

void StretchByHandle(HWND hwnd, POINT pt) {
    ToggleBoxFrame();
    SnapixResizingBox *const pBox = pResizingBox;
    bTracking = 1;
    pBox->TrackSelection(hwnd, pt.x, pt.y, nGestureButton);
    bTracking = 0;
    if (pResizingBox != pBox) {
        DropHandedOverBox(pBox, -1);
        return;
    }
    ToggleBoxFrame();
    RaiseOwnWindow();
    TakeBoundsFromSelection();
}

} // namespace

void TakeBoundsFromSelection() {
    Shape().ptCorner = POINT{rcSelection.left, rcSelection.bottom};
    Shape().rcBounds = rcSelection;
}

namespace {

// The marker goes to the vertex at pt when none is marked, and goes when pt is on none.
void MarkVertexAt(POINT pt) {
    SelectionShape &shape = Shape();
    const int nVertex = FindPolyVertex(&shape, pt);
    if (nVertex < 0 && bVertexMarked) {
        bVertexMarked = 0;
        if (UINT(nMarkedVertex) < ValidPointCount(shape))
            XorVertexMarker(shape.aPoints[nMarkedVertex]);
        nMarkedVertex = 0;
    } else if (nVertex >= 0 && !bVertexMarked) {
        XorVertexMarker(shape.aPoints[nVertex]);
        bVertexMarked = 1;
        nMarkedVertex = nVertex;
    }
}

void HoverVertex() {
    if (!bButtonDown)
        MarkVertexAt(ptCursor);
}

} // namespace

void PolygonMove() {
    if (!pHostRecord->bPaused && !bSwallowUntilUp && bSelectionShown && pResizingBox)
        HoverVertex();
    else
        PolygonDrawingMove();
}

void PressOnShownPolygon() {
    // Whatever this press does, nothing of it is left for its release: it neither begins a
    // polygon nor adds a vertex to the one just committed.
    bSwallowUntilUp = 1;
    const HWND hwnd = hwndOverlay;
    POINT pt;
    if (!ReadEventCursorPos(&pt) || !pResizingBox || !hwnd)
        return;
    // A vertex under the press is dragged whether or not a move marked it first: a press can
    // come with no move before it, or after moves the host paused the selection for. Else a
    // press on a vertex would go to the box, whose middle moves the whole polygon.
    MarkVertexAt(pt);
    if (bVertexMarked) {
        DragMarkedVertex(hwnd, pt);
        return;
    }
    const int nHit = pResizingBox->HitTestSelection(pt.x, pt.y);
    if (nHit < SEL_HIT_INSIDE) {
        EraseDrawn(MODE_POLYGON);
        SPXFreePolyPoints(&Shape());
        bNewPolygon = 1;
    } else if (nHit == SEL_HIT_INSIDE) {
        EraseDrawn(MODE_POLYGON);
        CommitPolygon();
    } else {
        StretchByHandle(hwnd, pt);
    }
}
