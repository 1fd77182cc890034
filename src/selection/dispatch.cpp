// The selection hook's entry: every input event of the desktop comes through here, is filtered,
// handed to the handler of its kind and mode, and passed on unchanged.
#include "draw/xor_draw.h"
#include "selection/box_adjust.h"
#include "selection/cursor_feedback.h"
#include "selection/event_place.h"
#include "selection/gesture.h"
#include "entry/mouse_hook.h"
#include "input/hook_paths.h"
#include "input/input_event.h"
#include "selection/live_rect.h"
#include "selection/polygon_adjust.h"
#include "selection/polygon_draw.h"
#include "selection/rubber_band.h"
#include "selection/window_highlight.h"
#include "host/hook_state.h"

#include <algorithm>

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
    // A band made with Space has no button whose release to wait for.
    if (nGestureButton && !IsKeyboardGesture())
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

void MouseMove(int nMode);
void ButtonUp(UINT nRelease, int nMode);

// The keys held before the event being dispatched.
UINT fHeldBefore = 0;

// An arrow key without a mouse: the pointer moves a pixel, ten with Shift, within the virtual
// screen, and the move is acted on at once.
void MovePointer(int nMode, BYTE nKey) {
    POINT pt;
    if (!ReadEventCursorPos(&pt))
        return;
    const LONG nStep = (fHeldKeys & MOD_SHIFT) ? 10 : 1;
    pt.x += nKey == VK_LEFT ? -nStep : nKey == VK_RIGHT ? nStep : 0;
    pt.y += nKey == VK_UP ? -nStep : nKey == VK_DOWN ? nStep : 0;
    const RECT rcScreen = VirtualScreenRect();
    pt.x = std::clamp(pt.x, rcScreen.left, rcScreen.right - 1);
    pt.y = std::clamp(pt.y, rcScreen.top, rcScreen.bottom - 1);
    SetCursorPos(pt.x, pt.y);
    ptStreamPointer = pt;
    EventPlace place;
    place.Set(TRUE, pt);
    ptCursor = pt;
    MouseMove(nMode);
}

// Space without a mouse is a click at the pointer: the first begins a band that the second ends
// as a release would; in polygon mode it places a vertex; in the other modes it completes.
void ClickWithSpace(int nMode) {
    if (IsKeyboardGesture()) {
        ButtonUp(GESTURE_SPACE, nMode);
    } else if (IsBoxMode(nMode)) {
        BeginGesture(GESTURE_SPACE, ptCursor);
        StartBand();
    } else if (nMode == MODE_POLYGON) {
        PolygonRelease();
    } else {
        CompleteBand(nMode);
    }
}

// The keys that stand in for the mouse while no button is held and no box is shown: true when
// nKey was one of them.
bool PointerKey(int nMode, BYTE nKey) {
    if ((bSelectionShown && pResizingBox) || (nGestureButton && !IsKeyboardGesture()) ||
        bSwallowUntilUp)
        return false;
    if (nKey >= VK_LEFT && nKey <= VK_DOWN) {
        MovePointer(nMode, nKey);
        return true;
    }
    if (nKey != VK_SPACE)
        return false;
    // A key held down repeats: only its first down clicks.
    if (!(fHeldBefore & HELD_SPACE))
        ClickWithSpace(nMode);
    return true;
}

void KeyDown(int nMode, BYTE nKey, UINT fModifiers) {
    if (pHostRecord->bPaused) {
        nCursorState = CS_DEFAULT;
        return;
    }
    if ((IsBoxMode(nMode) || nMode == MODE_POLYGON) && NudgeBoxedSelection(nMode, nKey, fModifiers))
        return;
    if (PointerKey(nMode, nKey))
        return;
    // Escape throws away a band made with Space: no button is held to go on with it.
    if (nKey == VK_ESCAPE && IsKeyboardGesture()) {
        DiscardGesture();
        return;
    }
    if (IsBoxMode(nMode))
        BoxSelectionKey(nMode, nKey);
    else if (nMode == MODE_POLYGON)
        PolygonKey(nKey);
}

// Shift, Ctrl or Space went down or up: the band and the polygon's edge follow at once.
void HeldKeysChanged(int nMode) {
    if (pHostRecord->bPaused)
        return;
    if (fDrawn & DRAWN_BAND)
        StretchBand();
    else if (nMode == MODE_POLYGON)
        PolygonHeldKeysChanged();
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
    if (!IsGestureRelease(nRelease) && !(nRelease == GESTURE_SPACE && IsKeyboardGesture()))
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
    case WM_KEYUP:
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
    fHeldBefore = fHeldKeys;
    fHeldKeys = event.fHeld;
    const bool bKey = event.nMessage == WM_KEYDOWN || event.nMessage == WM_KEYUP;
    if (!bKey)
        ptStreamPointer = event.pt;
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
        if (!nGestureButton || event.nMessage == WM_KEYDOWN || event.nMessage == WM_KEYUP)
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
    // A key happened where the pointer was: on the low-level path the stream of events says where
    // that was, in order; a journal record is handed over as it happens, and the cursor says it.
    POINT pt = event.pt;
    if (bKey && nMouseHookPath == HOOK_LOWLEVEL)
        pt = ptStreamPointer;
    const BOOL bRead = !bKey || nMouseHookPath == HOOK_LOWLEVEL || ReadEventCursorPos(&pt);
    if (bRead)
        ptCursor = pt;
    place.Set(bRead, pt);
    ShowInitialSelection(nMode);
    if (nCursorState != CS_CLOSE)
        nCursorState = UpdateCursor(IsDrawingMode(nMode), nCursorState, CS_DEFAULT);

    switch (event.nMessage) {
    case WM_KEYDOWN:
        KeyDown(nMode, BYTE(event.nVk), event.fHeld);
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
    if (fHeldKeys != fHeldBefore)
        HeldKeysChanged(nMode);
}

} // namespace

void SelectionEvent(const InputEvent &event) {
    // Of key-ups, only those of the keys held for the band.
    if (!IsHandledKind(event.nMessage) || (event.nMessage == WM_KEYUP && !HeldKeyOf(event.nVk)))
        return;
    DispatchEvent(event);
    CheckLiveRectEnded();
}

LRESULT CALLBACK SelectionHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode >= 0 && pHostRecord && lParam) {
        const EVENTMSG &record = *reinterpret_cast<const EVENTMSG *>(lParam);
        fJournalHeld = HeldAfter(fJournalHeld, record.message, record.paramL & 0xFF);
        SelectionEvent(FromJournalRecord(record, fJournalHeld));
    }
    return CallNextHookEx(hMouseHook, nCode, wParam & 0xFFFF, lParam);
}
