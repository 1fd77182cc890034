// The selection hook's entry: every input event of the desktop comes through here, is filtered,
// handed to the handler of its kind and mode, and passed on unchanged.
#include "draw/xor_draw.h"
#include "hook/box_adjust.h"
#include "hook/cursor_feedback.h"
#include "hook/event_place.h"
#include "hook/gesture.h"
#include "hook/hook_install.h"
#include "hook/live_rect.h"
#include "hook/polygon_adjust.h"
#include "hook/polygon_draw.h"
#include "hook/rubber_band.h"
#include "hook/window_highlight.h"
#include "host/hook_state.h"

namespace {

bool IsPress(UINT nMessage) {
    return nMessage == WM_LBUTTONDOWN || nMessage == WM_RBUTTONDOWN;
}

bool IsBoxMode(int nMode) {
    return nMode == MODE_RECTANGLE || nMode == MODE_ELLIPSE;
}

bool IsWindowMode(int nMode) {
    return nMode == 0 || nMode == 1 || nMode == 6;
}

// A press on the host's panel discards whatever is shown and drawn. A gesture under way keeps its
// button, but nothing is left for its release.
void PanelPress(int nMode) {
    EraseDrawn(nMode);
    if (nMode == MODE_POLYGON)
        SPXFreePolyPoints(&pHostRecord->shape);
    bVertexMarked = 0;
    bNewPolygon = 1;
    if (nGestureButton)
        bSwallowUntilUp = 1;
    else
        EndGesture();
}

// An initial selection given when the hook was turned on gets its box at the first event.
void ShowInitialSelection(int nMode) {
    if (!bSelectionShown || pResizingBox || !bAdjustable || !hwndOverlay || !IsWindow(hwndOverlay))
        return;
    if (!ShowResizingBox())
        return;
    if (nMode == MODE_ELLIPSE)
        XorBox(rcSelection.left, rcSelection.top, rcSelection.right, rcSelection.bottom, bEllipse);
    else if (nMode == MODE_POLYGON)
        SPXXorPolyPoints(&pHostRecord->shape);
}

void KeyDown(int nMode, BYTE nKey, UINT fModifiers) {
    if (pHostRecord->bPaused) {
        nCursorState = CS_DEFAULT;
        return;
    }
    if ((IsBoxMode(nMode) || nMode == MODE_POLYGON) && NudgeBoxedSelection(nMode, nKey, fModifiers))
        return;
    if (IsBoxMode(nMode))
        BoxSelectionKey(nMode, nKey);
    else if (nMode == MODE_POLYGON)
        PolygonKey(nKey);
}

void MouseMove(int nMode) {
    if (IsBoxMode(nMode))
        StretchBand();
    else if (IsWindowMode(nMode))
        HighlightWindowUnderCursor();
    else if (nMode == MODE_POLYGON)
        PolygonMove();
    else if (pHostRecord->bPaused)
        nCursorState = CS_DEFAULT;
}

void ButtonDown(UINT nPress, int nMode) {
    if (pHostRecord->bPaused) {
        nCursorState = CS_DEFAULT;
        return;
    }
    // The other button, pressed during a gesture, is not a gesture of its own.
    if (nGestureButton)
        return;
    BeginGesture(nPress, ptCursor);
    const bool bBoxed = pResizingBox && bSelectionShown && bAdjustable;
    if (nMode == MODE_POLYGON && bBoxed)
        PressOnShownPolygon();
    else if (IsBoxMode(nMode) && bBoxed)
        PressOnShownSelection(nMode);
    else if (IsBoxMode(nMode))
        StartBand();
}

void ButtonUp(UINT nRelease, int nMode) {
    if (pHostRecord->bPaused)
        nCursorState = CS_DEFAULT;
    // A release that ends no gesture of its own does nothing.
    if (!IsGestureRelease(nRelease))
        return;
    const bool bCompletes = !pHostRecord->bPaused && !bSwallowUntilUp;
    // The gesture ends with nothing of it left on the screen; a completion draws what follows.
    EraseGestureDrawing();
    EndGesture();
    if (!bCompletes) {
        nCursorState = CS_DEFAULT;
        return;
    }
    if (nMode == MODE_POLYGON)
        PolygonRelease();
    else
        CompleteBand(nMode);
}

} // namespace

bool IsHandledKind(UINT nMessage) {
    switch (nMessage) {
    case WM_KEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return true;
    default:
        return false;
    }
}

namespace {

void DispatchEvent(const InputEvent &event) {
    const int nMode = pHostRecord->shape.nMode;
    // Input on the host's panel passes untouched, but for a press, which discards, and for the
    // moves and the release of a gesture begun elsewhere, which go on as anywhere else.
    if (IsPanelWindow(event.hwnd)) {
        nCursorState = CS_DEFAULT;
        // The panel shows cursors of its own: the library's is set again when the pointer
        // leaves it.
        hCursorShown = nullptr;
        if (IsPress(event.nMessage)) {
            // While a track runs, its loop still uses the box.
            if (!bTracking)
                PanelPress(nMode);
            return;
        }
        if (!nGestureButton || event.nMessage == WM_KEYDOWN)
            return;
    }
    if (bTracking) {
        // The release that ends the track ends its gesture.
        if (IsGestureRelease(event.nMessage))
            EndGesture();
        return;
    }
    // Read once: every handler of this event takes its place from here. A mouse record carries
    // its own place; reading the cursor costs more than all the rest of a move.
    EventPlace place;
    POINT pt = event.pt;
    const BOOL bRead = event.nMessage != WM_KEYDOWN || ReadEventCursorPos(&pt);
    if (bRead)
        ptCursor = pt;
    place.Set(bRead, pt);
    ShowInitialSelection(nMode);
    if (nCursorState != CS_CLOSE)
        nCursorState = UpdateCursor(IsDrawingMode(nMode), nCursorState, CS_DEFAULT);

    switch (event.nMessage) {
    case WM_KEYDOWN:
        KeyDown(nMode, BYTE(event.nVk), event.fModifiers);
        break;
    case WM_MOUSEMOVE:
        MouseMove(nMode);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ButtonDown(event.nMessage, nMode);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        ButtonUp(event.nMessage, nMode);
        break;
    }
}

} // namespace

void SelectionEvent(const InputEvent &event) {
    if (!IsHandledKind(event.nMessage))
        return;
    DispatchEvent(event);
    CheckLiveRectEnded();
}

LRESULT CALLBACK SelectionHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode >= 0 && pHostRecord && lParam)
        SelectionEvent(FromJournalRecord(*reinterpret_cast<const EVENTMSG *>(lParam)));
    return CallNextHookEx(hMouseHook, nCode, wParam & 0xFFFF, lParam);
}
