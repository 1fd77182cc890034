#include "tracker/rect_tracker.h"

#include "draw/gdi_guards.h"
#include "tracker/mouse_capture.h"

#include <windowsx.h>

namespace {

const int kDefaultHandleSize = 4;

// The platform's sizing cursor for each handle; the middle moves the whole rectangle.
LPCSTR SizingCursorFor(int nHit) {
    switch (nHit) {
    case hitTopLeft:
    case hitBottomRight:
        return IDC_SIZENWSE;
    case hitTopRight:
    case hitBottomLeft:
        return IDC_SIZENESW;
    case hitTop:
    case hitBottom:
        return IDC_SIZENS;
    case hitLeft:
    case hitRight:
        return IDC_SIZEWE;
    default:
        return IDC_SIZEALL;
    }
}

} // namespace

CRectTracker::CRectTracker(LPCRECT lpSrcRect, UINT nStyle)
    : m_rect(*lpSrcRect), m_nStyle(nStyle),
      m_nHandleSize(kDefaultHandleSize), m_sizeMin{2 * kDefaultHandleSize, 2 * kDefaultHandleSize},
      m_nTrackPress(WM_LBUTTONDOWN), m_bAllowInvert(FALSE), m_rectTrackStart(*lpSrcRect) {}

CRectTracker::~CRectTracker() = default;

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, HWND, HDC hdc, HWND) {
    RECT rc = NormalizedRect(*lpRect);
    DrawFocusRect(hdc, &rc);
}

void CRectTracker::AdjustRect(int nHandle, LPRECT lpRect) {
    KeepMinimumSize(*lpRect, nHandle, m_sizeMin, m_bAllowInvert != FALSE, m_rectTrackStart);
}

void CRectTracker::OnChangedRect(const RECT &) {}

UINT CRectTracker::GetHandleMask() const {
    return HandleMaskFor(m_rect, GetHandleSize());
}

int CRectTracker::GetHandleSize(LPCRECT) const {
    return m_nHandleSize;
}

RECT CRectTracker::FrameRect() const {
    RECT rc = NormalizedRect(m_rect);
    if (m_nStyle & (solidLine | dottedLine))
        InflateRect(&rc, 1, 1);
    return rc;
}

void CRectTracker::GetHandleRect(int nHandle, RECT *pHandleRect) const {
    *pHandleRect =
        HandleRectFor(FrameRect(), nHandle, GetHandleSize(), (m_nStyle & resizeOutside) != 0);
}

int CRectTracker::HitTest(POINT point) const {
    const UINT nMask = GetHandleMask();
    for (int i = 0; i < 8; ++i) {
        RECT rcHandle;
        GetHandleRect(i, &rcHandle);
        if ((nMask & (1u << i)) && PtInRect(&rcHandle, point))
            return HitForRectMembers(m_rect, i);
    }
    const RECT rcFrame = FrameRect();
    return PtInRect(&rcFrame, point) ? hitMiddle : hitNothing;
}

BOOL CRectTracker::SetCursor(HWND hwnd, UINT nHitTest) const {
    if (nHitTest != HTCLIENT)
        return FALSE;
    POINT pt;
    if (!GetCursorPos(&pt) || !ScreenToClient(hwnd, &pt))
        return FALSE;
    // The handle under the cursor, as drawn: a mirrored rectangle looks no different.
    int nHit = HitTest(pt);
    if (nHit < 0)
        return FALSE;
    ::SetCursor(LoadCursorA(nullptr, SizingCursorFor(HitForRectMembers(m_rect, nHit))));
    return TRUE;
}

BOOL CRectTracker::Track(HWND hwnd, POINT point, BOOL bAllowInvert, HWND hwndClipTo) {
    // Without a window there is no capture to take and nothing would end the loop below.
    if (!IsWindow(hwnd))
        return FALSE;
    const int nHandle = HitTest(point);
    if (nHandle < 0)
        return FALSE;
    // Another window's drag or track is running.
    if (GetCapture() != nullptr)
        return FALSE;
    m_bAllowInvert = bAllowInvert;
    const UINT nPress = m_nTrackPress == WM_RBUTTONDOWN ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    const UINT nOtherPress = nPress == WM_LBUTTONDOWN ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    const UINT nOtherRelease = nPress == WM_LBUTTONDOWN ? WM_RBUTTONUP : WM_LBUTTONUP;

    const RECT rectSave = m_rect;
    m_rectTrackStart = rectSave;
    UpdateWindow(hwnd);
    MouseCapture capture = SetCaptureTo(hwnd);
    WindowDC dc = GetClientDC(hwndClipTo ? hwndClipTo : hwnd);
    if (dc) {
        // The rectangles DrawTrackerRect gets are in the coordinates of hwnd's client area; the
        // context may be the clip window's, or the screen's for a window the platform scales.
        POINT ptOrigin = dc.Origin();
        if (hwndClipTo && hwndClipTo != hwnd) {
            POINT ptClient = {0, 0};
            MapWindowPoints(hwnd, hwndClipTo, &ptClient, 1);
            ptOrigin.x += ptClient.x;
            ptOrigin.y += ptClient.y;
        }
        if (ptOrigin.x || ptOrigin.y)
            SetViewportOrgEx(dc.get(), ptOrigin.x, ptOrigin.y, nullptr);
    }

    // DrawTrackerRect goes in pairs: the rectangle shown is drawn once more before the next one
    // is drawn. A toggling feedback is so shown and hidden; a feedback that moves an outline to
    // the rectangle it is given treats the second call as a move to where it already is.
    bool bMoved = false;
    bool bCancelled = false;
    for (;;) {
        MSG msg;
        if (!GetCapturedMessage(hwnd, msg, m_pDragInput)) {
            bCancelled = true;
            break;
        }
        if (msg.message == nPress) {
            // The press that started the track, read again from the queue: it is ours.
            continue;
        }
        if (msg.message == nOtherPress || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
            bCancelled = true;
            break;
        }
        if (msg.message == nOtherRelease)
            continue;
        if (!IsDragMessage(msg.message)) {
            DispatchPassedOn(msg);
            continue;
        }

        const RECT rectOld = m_rect;
        const POINT pt = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        // Shift keeps a corner's proportions, Ctrl the centre.
        const UINT fModifiers = m_pDragInput ? m_pDragInput->HeldKeys()
                                             : ((msg.wParam & MK_SHIFT) ? MOD_SHIFT : 0) |
                                                   ((msg.wParam & MK_CONTROL) ? MOD_CONTROL : 0);
        m_rect = DragEdges(rectSave, nHandle, point, SnapDragPoint(rectSave, nHandle, point, pt),
                           fModifiers, m_szRatio);
        AdjustRect(nHandle, &m_rect);
        if (!EqualRect(&rectOld, &m_rect)) {
            if (bMoved)
                DrawTrackerRect(&rectOld, hwndClipTo, dc.get(), hwnd);
            OnChangedRect(rectOld);
            DrawTrackerRect(&m_rect, hwndClipTo, dc.get(), hwnd);
            bMoved = true;
        }
        if (msg.message != WM_MOUSEMOVE) {
            if (bMoved)
                DrawTrackerRect(&m_rect, hwndClipTo, dc.get(), hwnd);
            break;
        }
    }

    if (bCancelled) {
        if (bMoved) {
            // Hide what is shown, then show and hide the start: a moving outline ends where it
            // began, a toggling one ends hidden.
            DrawTrackerRect(&m_rect, hwndClipTo, dc.get(), hwnd);
            DrawTrackerRect(&rectSave, hwndClipTo, dc.get(), hwnd);
            DrawTrackerRect(&rectSave, hwndClipTo, dc.get(), hwnd);
        }
        m_rect = rectSave;
    }
    return !EqualRect(&rectSave, &m_rect);
}

POINT CRectTracker::SnapDragPoint(const RECT &, int, POINT, POINT ptNow) {
    return ptNow;
}
