// The resizing box: a tracker around a finished selection in the client area of the overlay
// window. While a handle is dragged it moves the selection's own XOR outline on the screen (a
// rectangle, an ellipse, or the polygon stretched to the new rectangle) instead of a tracker frame.
//
// Two coordinate systems meet here: m_rect and everything handed to the tracker are client
// coordinates of the overlay window; the selection and every point the hook hands in are screen
// coordinates. client = screen + (m_nOffsetX, m_nOffsetY).
#pragma once

#include "tracker/rect_tracker.h"

#include "spxhk110.h"

// HitTestSelection results.
enum { SEL_HIT_OUTSIDE = -1, SEL_HIT_INSIDE = 0, SEL_HIT_HANDLE = 1, SEL_HIT_VERTEX = 2 };

// Told where the selection's outline is after every step a box draws (a track, a vertex drag, a
// move).
class OutlineListener {
public:
    // rcScreen: the box's rectangle, in screen coordinates.
    virtual void OutlineMoved(const RECT &rcScreen) = 0;

protected:
    ~OutlineListener() = default;
};

// Moves a point onto the edges it snaps to.
class EdgeSnapper {
public:
    // ptScreen with each coordinate on the edge it snaps to, or as it is.
    virtual POINT Snapped(POINT ptScreen) = 0;

protected:
    ~EdgeSnapper() = default;
};

class SnapixResizingBox : public CRectTracker {
public:
    // A box around *pTargetRect (screen coordinates), which it edits and writes back to. For a
    // polygon shape the box keeps a working copy of it; when that copy cannot be allocated the
    // box is incomplete (see NewResizingBox).
    SnapixResizingBox(RECT *pTargetRect, int nOffsetX, int nOffsetY, SelectionShape *pShape);
    ~SnapixResizingBox() override;

    // Moves the selection's outline from m_rectPrev to lpRect (client coordinates); the context
    // passed is not used: the outline is on the whole display.
    void DrawTrackerRect(LPCRECT lpRect, HWND hwndClipTo, HDC hdc, HWND hwnd) override;

    // SEL_HIT_VERTEX near a vertex of the working copy (before anything else), SEL_HIT_INSIDE,
    // SEL_HIT_HANDLE or SEL_HIT_OUTSIDE. (x, y) is a screen point.
    int HitTestSelection(int x, int y) const;
    // Tracks the press nPress (WM_LBUTTONDOWN or WM_RBUTTONDOWN) at the screen point (x, y) in
    // hwnd; when the box changed, writes it back to the target rectangle (and the polygon to the
    // host's shape) and returns 1, else 0.
    int TrackSelection(HWND hwnd, int x, int y, UINT nPress = WM_LBUTTONDOWN);
    // Toggles the frame (one pixel outside m_rect) and the handles on a client context of the
    // overlay window.
    void DrawXor(HDC hdc, POINT ptOrigin = {0, 0}) const;
    // Cursor for a hit code: the move-vertex cursor for SEL_HIT_VERTEX, else the tracker's.
    void SetSelectionCursor(HWND hwnd, int nHit) const;
    // Drags vertex nIndex of the working copy from the screen point (x, y) until the button of
    // nPress (WM_LBUTTONDOWN or WM_RBUTTONDOWN) comes up; the box follows the polygon. Returns 1
    // when the box rectangle changed.
    int DragVertex(int nIndex, HWND hwnd, int x, int y, UINT nPress = WM_LBUTTONDOWN);
    // The display context the outline moves on (an XOR display context, or none to make one for
    // each step); TrackSelection holds one for as long as it runs.
    void SetOutlineDC(HDC hdc) { m_hdcOutline = hdc; }
    // While a track or a vertex drag runs: XORs once on hdc (screen pixels) the selection's
    // outline as the drag has it on the screen (with a vertex drag's marker), and says whether the
    // frame shows too (a vertex drag keeps it, a track hides it).
    void XorDragOutline(HDC hdc) const;
    bool DragKeepsFrame() const { return m_nDragVertex >= 0; }
    // The outline's rectangle during the running drag, in screen coordinates.
    RECT DragOutlineRect() const;
    // Moves the selection to rcScreen in one step: the figure on the screen (an ellipse, or the
    // polygon, stretched as a handle drag does; a rectangle has none besides the frame) goes to
    // rcScreen, and the box, the target rectangle and the host's shape follow. The frame is the
    // caller's to hide and show.
    void MoveSelection(const RECT &rcScreen);
    // Lets go of the target rectangle and the host's shape: from now on the box reads and writes
    // copies of its own, so that a running track or drag can finish after the host's record is
    // gone.
    void Detach();
    // Who hears of each step of the outline (none: nobody).
    void SetOutlineListener(OutlineListener *pListener) { m_pOutlineListener = pListener; }
    // Who snaps the edges a handle drag moves (none: they follow the pointer).
    void SetEdgeSnapper(EdgeSnapper *pSnapper) { m_pEdgeSnapper = pSnapper; }
    POINT SnapDragPoint(const RECT &rcStart, int nHandle, POINT ptPress, POINT ptNow) override;

    int m_nOffsetX;
    int m_nOffsetY;
    RECT *m_pTargetRect;
    RECT m_rectPrev;
    SelectionShape *m_pShapeCopy;
    SelectionShape *m_pShape;

private:
    // Tells the listener that the outline is at rcClient (client coordinates).
    void TellOutline(const RECT &rcClient) const;

    OutlineListener *m_pOutlineListener = nullptr;
    EdgeSnapper *m_pEdgeSnapper = nullptr;
    // The display context the outline is moved on while a track runs, and when what it leaves out
    // changed last.
    HDC m_hdcOutline;
    unsigned m_nOutlineClip = 0;
    // The vertex a running vertex drag moves (-1: none).
    int m_nDragVertex = -1;
    RECT m_rcDetachedTarget;
    SelectionShape m_shapeDetached;
};

// Allocates a box without throwing: none when the box or the polygon's working copy cannot be
// had, so that there is never a box that is only half made.
SnapixResizingBox *NewResizingBox(RECT *pTargetRect, int nOffsetX, int nOffsetY,
                                  SelectionShape *pShape) noexcept;
