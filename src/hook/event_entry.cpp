// The selection hook's entry: every input event of the desktop comes through here, is filtered,
// handed to the handler of its kind and mode, and passed on unchanged.
#include "draw/xor_draw.h"
#include "hook/box_adjust.h"
#include "hook/cursor_feedback.h"
#include "hook/hook_install.h"
#include "hook/rubber_band.h"
#include "hook/selection_reset.h"
#include "hook/window_highlight.h"
#include "host/hook_state.h"

namespace {

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

bool IsPress(UINT nMessage) {
    return nMessage == WM_LBUTTONDOWN || nMessage == WM_RBUTTONDOWN;
}

bool IsBoxMode(int nMode) {
    return nMode == MODE_RECTANGLE || nMode == MODE_ELLIPSE;
}

bool IsWindowMode(int nMode) {
    return nMode == 0 || nMode == 1 || nMode == 6;
}

// Input aimed at the host's own window passes untouched; a press there discards the selection.
void OwnWindowEvent(UINT nMessage, int nMode) {
    // While a track or vertex drag runs, its loop still uses the box.
    if (IsPress(nMessage) && !bTracking) {
        ResetSelection(nMode, &pResizingBox, bSelectionShown, &pHostRecord->shape);
        if (nMode == MODE_POLYGON)
            SPXFreePolyPoints(&pHostRecord->shape);
        bButtonDown = 0;
        bVertexMarked = 0;
        bSwallowUntilUp = 0;
        bNewPolygon = 1;
    }
    nCursorState = CS_DEFAULT;
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

void KeyDown(int nMode, BYTE nKey) {
    if (pHostRecord->bPaused) {
        nCursorState = CS_DEFAULT;
        return;
    }
    if (IsBoxMode(nMode))
        BoxSelectionKey(nMode, nKey);
}

void MouseMove(int nMode) {
    if (IsBoxMode(nMode))
        StretchBand();
    else if (IsWindowMode(nMode))
        HighlightWindowUnderCursor();
    else if (nMode != MODE_POLYGON && pHostRecord->bPaused)
        nCursorState = CS_DEFAULT;
}

void ButtonDown(int nMode) {
    if (pHostRecord->bPaused) {
        nCursorState = CS_DEFAULT;
        return;
    }
    bButtonDown = 1;
    if (!IsBoxMode(nMode))
        return;
    if (bSelectionShown && bAdjustable)
        PressOnShownSelection(nMode);
    else
        StartBand();
}

void ButtonUp(int nMode) {
    bButtonDown = 0;
    if (pHostRecord->bPaused || bSwallowUntilUp) {
        nCursorState = CS_DEFAULT;
        bSwallowUntilUp = 0;
        return;
    }
    if (nMode != MODE_POLYGON && !pResizingBox)
        CompleteBand(nMode);
}

void SelectionEvent(const EVENTMSG &event) {
    if (!IsHandledKind(event.message))
        return;
    const int nMode = pHostRecord->shape.nMode;
    if (pHostRecord->hwndOwn && pHostRecord->hwndOwn == event.hwnd) {
        OwnWindowEvent(event.message, nMode);
        return;
    }
    if (bTracking)
        return;
    GetCursorPos(&ptCursor);
    ShowInitialSelection(nMode);
    if (nCursorState != CS_CLOSE)
        nCursorState = UpdateCursor(IsDrawingMode(nMode), nCursorState, CS_DEFAULT);

    switch (event.message) {
    case WM_KEYDOWN:
        KeyDown(nMode, BYTE(event.paramL & 0xFF));
        break;
    case WM_MOUSEMOVE:
        MouseMove(nMode);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ButtonDown(nMode);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        ButtonUp(nMode);
        break;
    }
}

} // namespace

LRESULT CALLBACK SelectionHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode >= 0 && pHostRecord && lParam)
        SelectionEvent(*reinterpret_cast<const EVENTMSG *>(lParam));
    return CallNextHookEx(hMouseHook, nCode, wParam & 0xFFFF, lParam);
}
