#include "selection/rubber_band.h"

#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "selection/commit.h"
#include "selection/cursor_feedback.h"
#include "selection/event_place.h"
#include "selection/gesture.h"
#include "selection/input_event.h"
#include "selection/live_rect.h"
#include "selection/shape_settings.h"
#include "selection/shown_box.h"
#include "selection/snap_targets.h"
#include "tracker/tracker_geometry.h"

namespace {

// The virtual screen as the band began: asking the platform costs more than a whole move.
RECT rcBandLimit = {0, 0, 0, 0};
// The band as the person holds it: ptBoxAnchor and ptBoxCurrent are the corners drawn, which
// Shift and Ctrl make differ from the point the band started at (moved while Space is held) and
// the pointer it last followed.
POINT ptBandOrigin = {0, 0};
POINT ptBandPointer = {0, 0};

// Low and high edge on one axis from the anchor and the signed size.
void SpanFrom(LONG nAnchor, LONG nSize, LONG &nLow, LONG &nHigh) {
    if (nSize > 0) {
        nLow = nAnchor;
        nHigh = nAnchor + nSize;
    } else {
        nLow = nAnchor + nSize;
        nHigh = nAnchor;
    }
}

} // namespace

void StartBand() {
    ReadEventCursorPos(&ptBoxAnchor);
    ptBoxAnchor = SnapToTargets(ptBoxAnchor);
    szBox = SIZE{0, 0};
    ptBoxCurrent = ptBoxAnchor;
    ptBandOrigin = ptBoxAnchor;
    ptBandPointer = ptBoxAnchor;
    rcBandLimit = VirtualScreenRect();
    NotifyLiveRect(RECT{ptBoxAnchor.x, ptBoxAnchor.y, ptBoxAnchor.x, ptBoxAnchor.y});
    if (HDC hdc = GestureDC())
        DrawBoxShape(hdc, ptBoxAnchor.x, ptBoxAnchor.y, ptBoxAnchor.x, ptBoxAnchor.y, bEllipse);
    fDrawn |= DRAWN_BAND;
}

namespace {

// Draws the band from the corners it has to those of span.
void MoveBandTo(const BandSpan &span) {
    if (span.ptFrom.x == ptBoxAnchor.x && span.ptFrom.y == ptBoxAnchor.y &&
        span.ptTo.x == ptBoxCurrent.x && span.ptTo.y == ptBoxCurrent.y)
        return;
    // The outline between the old corners goes, the one between the new corners comes.
    if (HDC hdc = GestureDC()) {
        DrawBoxShape(hdc, ptBoxAnchor.x, ptBoxAnchor.y, ptBoxCurrent.x, ptBoxCurrent.y, bEllipse);
        DrawBoxShape(hdc, span.ptFrom.x, span.ptFrom.y, span.ptTo.x, span.ptTo.y, bEllipse);
    }
    ptBoxAnchor = span.ptFrom;
    ptBoxCurrent = span.ptTo;
    szBox = SIZE{ptBoxCurrent.x - ptBoxAnchor.x, ptBoxCurrent.y - ptBoxAnchor.y};
    NotifyLiveRect(RECT{ptBoxAnchor.x, ptBoxAnchor.y, ptBoxCurrent.x, ptBoxCurrent.y});
}

// The box of a fixed size follows the pointer, centred on it, within the screen.
void FollowWithFixedBand() {
    POINT pt;
    if (!ReadEventCursorPos(&pt))
        return;
    const RECT rc = FixedRectAt(pt, FixedSize(), VirtualScreenRect());
    const BandSpan span = {POINT{rc.left, rc.top}, POINT{rc.right, rc.bottom}};
    if (!(fDrawn & DRAWN_BAND)) {
        ptBoxAnchor = ptBoxCurrent = span.ptFrom;
        if (HDC hdc = GestureDC())
            DrawBoxShape(hdc, ptBoxAnchor.x, ptBoxAnchor.y, ptBoxAnchor.x, ptBoxAnchor.y, bEllipse);
        fDrawn |= DRAWN_BAND;
    }
    MoveBandTo(span);
}

} // namespace

bool FixedBandFollows() {
    return FixedSize().cx && !(bSelectionShown && pResizingBox);
}

void PlaceFixedBand(int nMode) {
    FollowWithFixedBand();
    CompleteBand(nMode);
}

void StretchBand() {
    if (pHostRecord->bPaused || bSwallowUntilUp) {
        nCursorState = CS_DEFAULT;
        return;
    }
    if (FixedBandFollows()) {
        FollowWithFixedBand();
        return;
    }
    if (!(fDrawn & DRAWN_BAND))
        return;
    POINT ptPointer;
    // Without a position there is nowhere to stretch to: the band stays as it is.
    if (!ReadEventCursorPos(&ptPointer))
        return;
    // Space held moves the band at its size; a band made with Space itself only stretches. A
    // band being sized has its moving corner snapped first, then shaped by Shift and Ctrl.
    const bool bMoving = (fHeldKeys & HELD_SPACE) && !IsKeyboardGesture();
    if (bMoving) {
        ptBandOrigin.x += ptPointer.x - ptBandPointer.x;
        ptBandOrigin.y += ptPointer.y - ptBandPointer.y;
    }
    ptBandPointer = ptPointer;
    if (!bMoving)
        ptPointer = SnapToTargets(ptPointer);
    if (IsRectEmpty(&rcBandLimit))
        rcBandLimit = VirtualScreenRect();
    MoveBandTo(BandCorners(ptBandOrigin, ptPointer, fHeldKeys, rcBandLimit, ShapeRatio()));
}

void CompleteBand(int nMode) {
    EraseDrawn(nMode);
    if (szBox.cx == 0 || szBox.cy == 0)
        szBox = SIZE{1, 1};
    RECT rc;
    SpanFrom(ptBoxAnchor.x, szBox.cx, rc.left, rc.right);
    SpanFrom(ptBoxAnchor.y, szBox.cy, rc.top, rc.bottom);
    SetSelectionRect(rc.top, rc.bottom, rc.left, rc.right);

    // A selection to adjust waits in its box; without a box to confirm or discard it, it is
    // committed at once. A click in a mode without a shape is reported at once: there is nothing
    // to adjust, and no selection is being made.
    const bool bShape = nMode == MODE_RECTANGLE || nMode == MODE_ELLIPSE;
    if (bShape)
        NotifyLiveRect(rc);
    if (bShape && bAdjustable && ShowResizingBox()) {
        if (nMode == MODE_ELLIPSE)
            XorBox(rcSelection.left, rcSelection.top, rcSelection.right, rcSelection.bottom,
                   bEllipse);
        bSelectionShown = 1;
    } else {
        CommitSelectionRect();
    }
    nCursorState = UpdateCursor(1, nCursorState, CS_DEFAULT);
}
