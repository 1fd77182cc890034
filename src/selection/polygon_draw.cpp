#include "selection/polygon_draw.h"

#include "host/dpi_scope.h"

#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "selection/commit.h"
#include "selection/cursor_feedback.h"
#include "selection/gesture.h"
#include "selection/live_rect.h"
#include "selection/shown_box.h"
#include "selection/snap_targets.h"
#include "shape/polygon_geometry.h"
#include "shape/polygon_list.h"

namespace {

// A release this close to the first or the last vertex closes the polygon.
const int kCloseReach = 3; // at 96 DPI

int CloseReachAt(POINT pt) {
    return ScaledForDpi(kCloseReach, DpiAt(pt));
}

SelectionShape &Shape() {
    return pHostRecord->shape;
}

bool IsDrawing() {
    return !bNewPolygon && !bSelectionShown;
}

// Where the next vertex goes: at the pointer, or with Shift held where its edge keeps to a
// multiple of 45 degrees.
POINT NextVertexAt() {
    const POINT pt = SnapToTargets(ptCursor);
    return (fHeldKeys & MOD_SHIFT) && IsDrawing() ? SnappedToEighths(ptLastVertex, pt) : pt;
}

// The vertex where the next one goes, with the edge from the last one unless it is the first.
void PlaceVertex(bool bEdge) {
    const POINT pt = bEdge ? NextVertexAt() : SnapToTargets(ptCursor);
    EraseRubberEdge();
    if (bEdge)
        SPXXorLine(&ptLastVertex, &pt);
    rcCloseZone = CloseZoneAround(pt, CloseReachAt(pt));
    ptLastVertex = pt;
    SPXXorPoint(&pt);
    SPXAddPolyPoint(&Shape(), &pt);
    fDrawn |= DRAWN_OUTLINE;
    RECT rcBounds;
    SPXCalcPolygonRect(&Shape(), &rcBounds);
    NotifyLiveRect(rcBounds);
}

// The closing edge makes the outline the closed polygon, which waits in its box or, when none
// can be had, is committed at once. nMark is the vertex that gets the hover marker in the box
// (-1: none); nPreviousCursor is the cursor state the refresh starts from.
void ClosePolygon(int nMark, int nPreviousCursor) {
    SelectionShape &shape = Shape();
    EraseRubberEdge();
    SPXXorLine(&ptLastVertex, &ptFirstVertex);
    fDrawn &= ~DRAWN_OUTLINE;
    RECT rc;
    SPXCalcPolygonRect(&shape, &rc);
    SetSelectionRect(rc.top, rc.bottom, rc.left, rc.right);
    shape.ptCorner = POINT{rc.left, rc.bottom};
    shape.rcBounds = rc;
    bSelectionShown = 1;
    bNewPolygon = 1;
    if (bAdjustable && ShowResizingBox()) {
        if (!bVertexMarked && nMark >= 0 && UINT(nMark) < ValidPointCount(shape)) {
            XorVertexMarker(shape.aPoints[nMark]);
            bVertexMarked = 1;
            nMarkedVertex = nMark;
        }
    } else {
        SPXErasePolyPoints(&shape);
        bSelectionShown = 0;
        CommitPolygon();
    }
    nCursorState = UpdateCursor(1, nPreviousCursor, CS_DEFAULT);
}

// The line from the last vertex to where the next one would go, when the host asked for it.
void UpdateRubberEdge() {
    EraseRubberEdge();
    if (!(dwSelectionOptions & SPX_OPT_POLYGON_RUBBER_EDGE) || !IsDrawing() ||
        ValidPointCount(Shape()) == 0)
        return;
    ptRubberEnd = NextVertexAt();
    if (ptRubberEnd.x == ptLastVertex.x && ptRubberEnd.y == ptLastVertex.y)
        return;
    SPXXorLine(&ptLastVertex, &ptRubberEnd);
    fDrawn |= DRAWN_RUBBER_EDGE;
}

// Backspace: the last vertex goes with its edge; the first leaves an empty polygon, as Escape
// does, and the next click begins it again.
void TakeBackVertex() {
    SelectionShape &shape = Shape();
    const UINT nCount = ValidPointCount(shape);
    if (nCount <= 1) {
        EraseDrawn(MODE_POLYGON);
        SPXFreePolyPoints(&shape);
        bNewPolygon = 1;
        nCursorState = CS_DEFAULT;
        return;
    }
    EraseRubberEdge();
    const POINT ptGone = shape.aPoints[nCount - 1];
    ptLastVertex = shape.aPoints[nCount - 2];
    SPXXorPoint(&ptGone);
    SPXXorLine(&ptLastVertex, &ptGone);
    shape.aPoints[nCount - 1] = POINT{0, 0};
    shape.nCount = int(nCount - 1);
    rcCloseZone = CloseZoneAround(ptLastVertex, CloseReachAt(ptLastVertex));
    RECT rcBounds;
    SPXCalcPolygonRect(&shape, &rcBounds);
    NotifyLiveRect(rcBounds);
    // The edge and the cursor as a move here would show them.
    PolygonDrawingMove();
}

} // namespace

void PolygonDrawingMove() {
    if (pHostRecord->bPaused || bSwallowUntilUp) {
        nCursorState = CS_DEFAULT;
        return;
    }
    UpdateRubberEdge();
    // The entry has shown the crosshair already, unless the close-polygon cursor is up.
    const bool bNearFirst = IsDrawing() && ValidPointCount(Shape()) >= 3 &&
                            IsNearPoint(ptCursor, ptFirstVertex, CloseReachAt(ptCursor));
    if (bNearFirst || nCursorState == CS_CLOSE)
        nCursorState = UpdateCursor(1, nCursorState, bNearFirst ? CS_CLOSE : CS_DEFAULT);
}

void PolygonRelease() {
    if (bSelectionShown)
        return;
    if (bNewPolygon) {
        // A committed polygon that the host has not emptied is no part of the new one.
        SPXFreePolyPoints(&Shape());
        ptFirstVertex = SnapToTargets(ptCursor);
        bNewPolygon = 0;
        PlaceVertex(false);
        return;
    }
    const UINT nCount = ValidPointCount(Shape());
    const int nMark = nCursorState == CS_CLOSE ? 0 : -1;
    if (nCount + 1 >= MAX_POLY_POINTS) {
        // The 50th vertex closes the polygon, wherever it is.
        if (nCount < MAX_POLY_POINTS)
            PlaceVertex(true);
        ClosePolygon(nMark >= 0 ? nMark : int(ValidPointCount(Shape())) - 1, CS_DEFAULT);
    } else if (nCount >= 2 && (IsNearPoint(ptCursor, ptFirstVertex, CloseReachAt(ptCursor)) ||
                               InCloseZone(rcCloseZone, ptCursor))) {
        ClosePolygon(nMark >= 0 ? nMark : int(nCount) - 1, CS_DEFAULT);
    } else {
        PlaceVertex(true);
    }
}

void PolygonKey(BYTE nKey) {
    if (nKey == VK_ESCAPE) {
        EraseDrawn(MODE_POLYGON);
        SPXFreePolyPoints(&Shape());
    } else if (nKey == VK_RETURN && bSelectionShown) {
        EraseDrawn(MODE_POLYGON);
        CommitPolygon();
    } else if (nKey == VK_BACK && IsDrawing()) {
        TakeBackVertex();
        return;
    } else if (nKey == VK_RETURN && IsDrawing() && ValidPointCount(Shape()) > 2) {
        ClosePolygon(FindPolyVertex(&Shape(), ptCursor), nCursorState);
        // The click whose button is still held does not begin the next polygon.
        if (nGestureButton)
            bSwallowUntilUp = 1;
        return;
    } else {
        return;
    }
    nCursorState = CS_DEFAULT;
    bNewPolygon = 1;
    if (nGestureButton)
        bSwallowUntilUp = 1;
}

void PolygonHeldKeysChanged() {
    if (!pHostRecord->bPaused && !bSwallowUntilUp)
        UpdateRubberEdge();
}
