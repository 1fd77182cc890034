// A rectangle with resize handles that the user drags with the mouse: the tracker that the resizing
// box is built on. Its rectangle is in client coordinates of the window it is tracked in.
#pragma once

#include "tracker/mouse_capture.h"
#include "tracker/tracker_geometry.h"

#include <windows.h>

class CRectTracker {
public:
    enum StyleFlags {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32
    };

    // The rectangle is copied into m_rect; the handle size is the default of 4 pixels and the
    // minimum size twice that.
    CRectTracker(LPCRECT lpSrcRect, UINT nStyle);

    // Shows the rectangle being dragged. The default toggles a dotted focus rectangle on hdc:
    // Track calls it once to show a rectangle and once more with the same rectangle to hide it.
    virtual void DrawTrackerRect(LPCRECT lpRect, HWND hwndClipTo, HDC hdc, HWND hwnd);
    // Lets a caller correct the rectangle while handle nHandle is dragged; the default keeps the
    // minimum size (and the orientation the track began with, unless Track allowed inversion).
    virtual void AdjustRect(int nHandle, LPRECT lpRect);
    // Called during Track whenever a move of the mouse changed m_rect; rectOld is what it was
    // before. A cancel puts m_rect back without calling it.
    virtual void OnChangedRect(const RECT &rectOld);
    // Where the pointer counts as being while handle nHandle, pressed at ptPress, is dragged to
    // ptNow: the default takes ptNow as it is; a tracker that snaps edges moves it so that the
    // edges the handle moves land where they snap.
    virtual POINT SnapDragPoint(const RECT &rcStart, int nHandle, POINT ptPress, POINT ptNow);
    // Bit i set when handle i is shown: the corners always, the edge handles when there is room.
    virtual UINT GetHandleMask() const;
    virtual ~CRectTracker();
    // Size of the handles, in pixels.
    virtual int GetHandleSize(LPCRECT lpRect = nullptr) const;

    // hitNothing outside the rectangle and its handles, a handle code 0 to 7, or hitMiddle inside.
    int HitTest(POINT point) const;
    // The client rectangle of handle nHandle (0 to 7).
    void GetHandleRect(int nHandle, RECT *pHandleRect) const;
    // With nHitTest HTCLIENT and the cursor over a handle or inside, sets the platform's sizing
    // cursor for it and returns TRUE; otherwise sets nothing and returns FALSE.
    BOOL SetCursor(HWND hwnd, UINT nHitTest) const;
    // Drags what the press at point (client coordinates of hwnd) hit, in a modal loop with the
    // mouse capture on hwnd, until the button of m_nTrackPress is released. Escape, a press of the
    // other button or the loss of the capture cancel: m_rect goes back to the start and
    // DrawTrackerRect is last called with it. Returns nonzero only when m_rect changed. The
    // feedback is drawn on a context of hwndClipTo (hwnd when none), clipped to that window but in
    // client coordinates of hwnd.
    BOOL Track(HWND hwnd, POINT point, BOOL bAllowInvert = FALSE, HWND hwndClipTo = nullptr);
    // Where a track takes its input while pInput takes it (none: the thread's own messages).
    void SetDragInput(DragInput *pInput) { m_pDragInput = pInput; }

    RECT m_rect;
    UINT m_nStyle;
    int m_nHandleSize;
    SIZE m_sizeMin;
    // Width to height that every handle keeps ({0, 0}: none; Shift then keeps a corner's
    // proportions).
    SIZE m_szRatio = {0, 0};
    // The press that starts the next track: WM_LBUTTONDOWN (the default) or WM_RBUTTONDOWN.
    UINT m_nTrackPress;

protected:
    // The normalized rectangle that the frame of the style is drawn on, handles outside it.
    RECT FrameRect() const;

    BOOL m_bAllowInvert;
    // The rectangle the current or last track began with: AdjustRect keeps its orientation.
    RECT m_rectTrackStart;
    DragInput *m_pDragInput = nullptr;
};
