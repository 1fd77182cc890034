#include "tracker/resizing_box.h"

#include "draw/xor_draw.h"
#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "shape/polygon_list.h"

#include <new>

namespace {

const UINT kBoxStyle = CRectTracker::resizeOutside | CRectTracker::dottedLine;

bool IsPolygon(const SelectionShape *pShape) {
    return pShape && pShape->nMode == MODE_POLYGON;
}

} // namespace

void SnapixResizingBox::TellOutline(const RECT &rcClient) const {
    if (!m_pOutlineListener)
        return;
    RECT rcScreen = rcClient;
    OffsetRect(&rcScreen, -m_nOffsetX, -m_nOffsetY);
    m_pOutlineListener->OutlineMoved(rcScreen);
}

SnapixResizingBox::SnapixResizingBox(RECT *pTargetRect, int nOffsetX, int nOffsetY,
                                     SelectionShape *pShape)
    : CRectTracker(pTargetRect, kBoxStyle), m_nOffsetX(nOffsetX), m_nOffsetY(nOffsetY),
      m_pTargetRect(pTargetRect), m_rectPrev(), m_pShapeCopy(nullptr), m_pShape(pShape),
      m_hdcOutline(nullptr), m_rcDetachedTarget(), m_shapeDetached() {
    OffsetRect(&m_rect, m_nOffsetX, m_nOffsetY);
    if (IsPolygon(pShape)) {
        m_pShapeCopy = new (std::nothrow) SelectionShape;
        if (m_pShapeCopy)
            *m_pShapeCopy = *pShape;
    }
    m_rectPrev = m_rect;
    // Twice the tracker's, at the DPI of the monitor that holds most of the selection.
    m_nHandleSize = ScaledForDpi(2 * m_nHandleSize, DpiAt(*pTargetRect));
}

SnapixResizingBox::~SnapixResizingBox() {
    delete m_pShapeCopy;
    m_pShapeCopy = nullptr;
}

SnapixResizingBox *NewResizingBox(RECT *pTargetRect, int nOffsetX, int nOffsetY,
                                  SelectionShape *pShape) noexcept {
    SnapixResizingBox *pBox =
        new (std::nothrow) SnapixResizingBox(pTargetRect, nOffsetX, nOffsetY, pShape);
    if (pBox && IsPolygon(pShape) && !pBox->m_pShapeCopy) {
        delete pBox;
        return nullptr;
    }
    return pBox;
}

void SnapixResizingBox::DrawTrackerRect(LPCRECT lpRect, HWND, HDC, HWND) {
    // Outside a track there is no context held for the outline: one is made for this call.
    ScreenDC dcOwn;
    HDC hdc = m_hdcOutline;
    if (!hdc) {
        dcOwn = CreateXorDisplayDC();
        hdc = dcOwn.get();
    }
    // The loupe may have moved since the last step.
    KeepXorDisplayDCClipped(m_hdcOutline, m_nOutlineClip);
    const int nMode = m_pShape->nMode;
    const bool bCornerStays =
        (lpRect->left == m_rectPrev.left || lpRect->right == m_rectPrev.right) &&
        (lpRect->top == m_rectPrev.top || lpRect->bottom == m_rectPrev.bottom);
    if ((nMode == MODE_RECTANGLE || nMode == MODE_ELLIPSE) && !bCornerStays) {
        // Resized about its centre: no corner stays, the old figure goes whole.
        if (hdc) {
            const RECT &rcOld = m_rectPrev;
            DrawBoxShape(hdc, rcOld.left - m_nOffsetX, rcOld.top - m_nOffsetY,
                         rcOld.right - m_nOffsetX, rcOld.bottom - m_nOffsetY,
                         nMode == MODE_ELLIPSE);
            DrawBoxShape(hdc, lpRect->left - m_nOffsetX, lpRect->top - m_nOffsetY,
                         lpRect->right - m_nOffsetX, lpRect->bottom - m_nOffsetY,
                         nMode == MODE_ELLIPSE);
        }
    } else if (nMode == MODE_RECTANGLE || nMode == MODE_ELLIPSE) {
        const BoxMove move = ChooseBoxMove(*lpRect, m_rectPrev);
        const POINT ptAnchor = {move.ptAnchor.x - m_nOffsetX, move.ptAnchor.y - m_nOffsetY};
        if (hdc) {
            DrawBoxShape(hdc, ptAnchor.x, ptAnchor.y, move.ptOld.x - m_nOffsetX,
                         move.ptOld.y - m_nOffsetY, nMode == MODE_ELLIPSE);
            DrawBoxShape(hdc, ptAnchor.x, ptAnchor.y, move.ptNew.x - m_nOffsetX,
                         move.ptNew.y - m_nOffsetY, nMode == MODE_ELLIPSE);
        }
    } else if (m_pShapeCopy) {
        // Always mapped from the host's untouched points and rectangle, so rounding never
        // accumulates over the calls of one track.
        const RECT rcDest = {lpRect->left - m_nOffsetX, lpRect->top - m_nOffsetY,
                             lpRect->right - m_nOffsetX, lpRect->bottom - m_nOffsetY};
        StretchPolygonOn(hdc, *m_pShape, *m_pShapeCopy, *m_pTargetRect, rcDest);
    }
    m_rectPrev = *lpRect;
    TellOutline(*lpRect);
}

void SnapixResizingBox::MoveSelection(const RECT &rcScreen) {
    RECT rcClient = rcScreen;
    OffsetRect(&rcClient, m_nOffsetX, m_nOffsetY);
    const int nMode = m_pShape->nMode;
    if (nMode == MODE_POLYGON && m_pShapeCopy) {
        // Stretched from the host's points, as a handle drag does.
        DrawTrackerRect(&rcClient, nullptr, nullptr, nullptr);
        *m_pShape = *m_pShapeCopy;
    } else if (nMode == MODE_ELLIPSE) {
        // Moved whole: the old ellipse goes, the new one comes (a track moves one corner only).
        if (ScreenDC dc = CreateXorDisplayDC()) {
            const RECT &rcOld = *m_pTargetRect;
            DrawBoxShape(dc.get(), rcOld.left, rcOld.top, rcOld.right, rcOld.bottom, TRUE);
            DrawBoxShape(dc.get(), rcScreen.left, rcScreen.top, rcScreen.right, rcScreen.bottom,
                         TRUE);
        }
    }
    // A rectangle's figure is the frame itself: nothing of its own to move.
    m_rect = rcClient;
    m_rectPrev = rcClient;
    *m_pTargetRect = rcScreen;
    TellOutline(rcClient);
}

int SnapixResizingBox::HitTestSelection(int x, int y) const {
    const int nHit = HitTest(POINT{x + m_nOffsetX, y + m_nOffsetY});
    if (m_pShapeCopy && FindPolyVertex(m_pShapeCopy, POINT{x, y}) >= 0)
        return SEL_HIT_VERTEX;
    if (nHit == hitMiddle)
        return SEL_HIT_INSIDE;
    return nHit >= 0 ? SEL_HIT_HANDLE : SEL_HIT_OUTSIDE;
}

int SnapixResizingBox::TrackSelection(HWND hwnd, int x, int y, UINT nPress) {
    m_nTrackPress = nPress;
    // One display context for every step of the outline, for as long as the track runs.
    ScreenDC dcOutline = CreateXorDisplayDC();
    m_hdcOutline = dcOutline.get();
    m_nOutlineClip = 0;
    const BOOL bChanged = Track(hwnd, POINT{x + m_nOffsetX, y + m_nOffsetY}, FALSE, nullptr);
    m_hdcOutline = nullptr;
    if (!bChanged)
        return 0;
    if (m_pShape->nMode == MODE_POLYGON && m_pShapeCopy)
        *m_pShape = *m_pShapeCopy;
    *m_pTargetRect = m_rect;
    OffsetRect(m_pTargetRect, -m_nOffsetX, -m_nOffsetY);
    return 1;
}

void SnapixResizingBox::XorDragOutline(HDC hdc) const {
    const int nMode = m_pShape->nMode;
    if (nMode != MODE_POLYGON) {
        const RECT rc = DragOutlineRect();
        DrawBoxShape(hdc, rc.left, rc.top, rc.right, rc.bottom, nMode == MODE_ELLIPSE);
        return;
    }
    if (!m_pShapeCopy)
        return;
    XorPolygonOn(hdc, *m_pShapeCopy, true);
    if (m_nDragVertex >= 0 && UINT(m_nDragVertex) < ValidPointCount(*m_pShapeCopy))
        XorVertexMarkerOn(hdc, m_pShapeCopy->aPoints[m_nDragVertex]);
}

RECT SnapixResizingBox::DragOutlineRect() const {
    // A track moves the outline to each rectangle it is given; a vertex drag moves the box.
    RECT rc = m_nDragVertex >= 0 ? m_rect : m_rectPrev;
    OffsetRect(&rc, -m_nOffsetX, -m_nOffsetY);
    return rc;
}

void SnapixResizingBox::Detach() {
    m_rcDetachedTarget = *m_pTargetRect;
    m_pTargetRect = &m_rcDetachedTarget;
    m_shapeDetached = *m_pShape;
    m_pShape = &m_shapeDetached;
}

void SnapixResizingBox::DrawXor(HDC hdc, POINT ptOrigin) const {
    SaveDC(hdc);
    SetMapMode(hdc, MM_TEXT);
    SetViewportOrgEx(hdc, ptOrigin.x, ptOrigin.y, nullptr);
    SetWindowOrgEx(hdc, 0, 0, nullptr);
    RECT rc = NormalizedRect(m_rect);

    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(WHITE_PEN));
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    const int nOldRop = SetROP2(hdc, R2_XORPEN);
    // The frame lies one pixel outside the box, so the selection's own outline stays visible.
    InflateRect(&rc, 1, 1);
    Rectangle(hdc, rc.left, rc.top, rc.right, rc.bottom);
    SetROP2(hdc, nOldRop);

    const UINT nMask = GetHandleMask();
    for (int i = 0; i < 8; ++i) {
        if (nMask & (1u << i)) {
            RECT rcHandle;
            GetHandleRect(i, &rcHandle);
            InvertRect(hdc, &rcHandle);
        }
    }
    if (hOldPen)
        SelectObject(hdc, hOldPen);
    if (hOldBrush)
        SelectObject(hdc, hOldBrush);
    RestoreDC(hdc, -1);
}

void SnapixResizingBox::SetSelectionCursor(HWND hwnd, int nHit) const {
    if (nHit == SEL_HIT_VERTEX)
        ::SetCursor(LoadCursorA(hResourceModule, MAKEINTRESOURCEA(IDC_MOVEVERTEX)));
    else
        SetCursor(hwnd, HTCLIENT);
}

POINT SnapixResizingBox::SnapDragPoint(const RECT &rcStart, int nHandle, POINT ptPress,
                                       POINT ptNow) {
    if (!m_pEdgeSnapper || nHandle < hitTopLeft || nHandle >= hitMiddle)
        return ptNow;
    // The point the handle moves, in screen coordinates, snapped; the pointer moves with it on
    // the axes the handle moves, and the edges keep their distance from the pointer.
    bool bMovesX, bMovesY;
    POINT pt = HandlePoint(DragEdges(rcStart, nHandle, ptPress, ptNow), nHandle, bMovesX, bMovesY);
    pt.x -= m_nOffsetX;
    pt.y -= m_nOffsetY;
    const POINT ptSnapped = m_pEdgeSnapper->Snapped(pt);
    return POINT{ptNow.x + (bMovesX ? ptSnapped.x - pt.x : 0),
                 ptNow.y + (bMovesY ? ptSnapped.y - pt.y : 0)};
}
