#include "draw/gdi_guards.h"
#include "draw/xor_draw.h"
#include "shape/polygon_list.h"
#include "tracker/mouse_capture.h"
#include "tracker/resizing_box.h"

#include <windowsx.h>

int SnapixResizingBox::DragVertex(int nIndex, HWND hwnd, int x, int y, UINT nPress) {
    const UINT nOtherRelease = nPress == WM_RBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP;
    const RECT rectStart = m_rect;
    POINT ptLast = {x + m_nOffsetX, y + m_nOffsetY};
    if (GetCapture() != nullptr || !m_pShapeCopy)
        return 0;
    // Without a context the box could not follow the vertex: no drag at all.
    WindowDC dc = GetClientDC(hwnd);
    if (!dc)
        return 0;

    {
        // One display context for every step of the polygon, for as long as the drag runs.
        ScreenDC dcOutline = CreateXorDisplayDC();
        unsigned nOutlineClip = 0, nFrameClip = 0;
        MouseCapture capture = SetCaptureTo(hwnd);
        UpdateWindow(hwnd);
        m_nDragVertex = nIndex;
        for (;;) {
            MSG msg;
            if (!GetCapturedMessage(hwnd, msg, m_pDragInput))
                break;
            // The loupe may have moved while the message came.
            KeepXorDisplayDCClipped(dcOutline.get(), nOutlineClip);
            KeepClientDCClipped(dc, hwnd, nFrameClip);
            if (msg.message == nOtherRelease)
                continue;
            if (!IsDragMessage(msg.message)) {
                // Nothing cancels a vertex drag: keys and other buttons go their normal way, once.
                if (!IsFromDragInput(msg, m_pDragInput))
                    DispatchPassedOn(msg);
                continue;
            }
            const POINT pt = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            if (pt.x != ptLast.x || pt.y != ptLast.y) {
                // Outside the box, the box grows to reach the pointer; inside, it fits the
                // polygon's bounds after the move.
                bool bGrown = false;
                if (!PtInRect(&m_rect, pt)) {
                    DrawXor(dc.get(), dc.Origin());
                    m_rect = UnionRectPoint(m_rect, pt);
                    DrawXor(dc.get(), dc.Origin());
                    bGrown = true;
                }
                MovePolyVertex(dcOutline.get(), m_pShapeCopy, pt.x - m_nOffsetX, pt.y - m_nOffsetY,
                               nIndex);
                if (!bGrown) {
                    RECT rcBounds;
                    SPXCalcPolygonRect(m_pShapeCopy, &rcBounds);
                    OffsetRect(&rcBounds, m_nOffsetX, m_nOffsetY);
                    if (!EqualRect(&rcBounds, &m_rect)) {
                        DrawXor(dc.get(), dc.Origin());
                        m_rect = rcBounds;
                        DrawXor(dc.get(), dc.Origin());
                    }
                }
                ptLast = pt;
                TellOutline(m_rect);
            }
            if (msg.message != WM_MOUSEMOVE)
                break;
        }
        m_nDragVertex = -1;
    }

    *m_pShape = *m_pShapeCopy;
    if (EqualRect(&m_rect, &rectStart))
        return 0;
    *m_pTargetRect = m_rect;
    OffsetRect(m_pTargetRect, -m_nOffsetX, -m_nOffsetY);
    m_rectPrev = m_rect;
    return 1;
}
