#include "hook/polygon_draw.h"

#include "draw/xor_draw.h"
#include "hook/cursor_feedback.h"
#include "hook/gesture.h"
#include "hook/hook_install.h"
#include "hook/live_rect.h"
#include "hook/polygon_adjust.h"
#include "host/hook_state.h"
#include "shape/polygon_geometry.h"
#include "shape/polygon_list.h"

namespace {

// A release this close to the first or the last vertex closes the polygon.
const int kCloseReach = 3;

SelectionShape &Shape() {
    return pHostRecord->shape;
}

// The vertex at ptCursor, with the edge from the last one unless it is the first.
void PlaceVertex(bool bEdge) {
    if (bEdge)
        SPXXorLine(&ptLastVertex, &ptCursor);
    rcCloseZone = CloseZoneAround(ptCursor, kCloseReach);
    ptLastVertex = ptCursor;
    SPXXorPoint(&ptCursor);
    SPXAddPolyPoint(&Shape(), &ptCursor);
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

bool IsDrawing() {
    return !bNewPolygon && !bSelectionShown;
}

} // namespace

void CommitPolygon() {
    PostMessageA(hwndNotify, UM_SELECTION, 0, reinterpret_cast<LPARAM>(&Shape()));
    nCursorState = CS_DEFAULT;
}

void PolygonMove() {
    if (pHostRecord->bPaused || bSwallowUntilUp) {
        nCursorState = CS_DEFAULT;
        return;
    }
    if (bSelectionShown && pResizingBox) {
        HoverVertex();
        return;
    }
    // The entry has shown the crosshair already, unless the close-polygon cursor is up.
    const bool bNearFirst = IsDrawing() && ValidPointCount(Shape()) >= 3 &&
                            IsNearPoint(ptCursor, ptFirstVertex, kCloseReach);
    if (bNearFirst || nCursorState == CS_CLOSE)
        nCursorState = UpdateCursor(1, nCursorState, bNearFirst ? CS_CLOSE : CS_DEFAULT);
}

void PolygonRelease() {
    if (bSelectionShown)
        return;
    if (bNewPolygon) {
        // A committed polygon that the host has not emptied is no part of the new one.
        SPXFreePolyPoints(&Shape());
        ptFirstVertex = ptCursor;
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
    } else if (nCount >= 2 && (IsNearPoint(ptCursor, ptFirstVertex, kCloseReach) ||
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
