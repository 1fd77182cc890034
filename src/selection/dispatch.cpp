// The selection's entry: every input event comes through here, is filtered, and is handed to the
// handler of its kind for the host's mode, from the table below.
#include "selection/dispatch.h"

#include "host/hook_state.h"
#include "selection/box_adjust.h"
#include "selection/cursor_feedback.h"
#include "selection/event_place.h"
#include "selection/gesture.h"
#include "selection/live_rect.h"
#include "selection/loupe_follow.h"
#include "selection/pointer_keys.h"
#include "selection/polygon_adjust.h"
#include "selection/polygon_draw.h"
#include "selection/rubber_band.h"
#include "selection/shown_box.h"
#include "selection/window_highlight.h"
#include "selection/window_targets.h"
#include "shape/polygon_list.h"

namespace {

// What a family of modes does with each kind of event; a missing handler does nothing.
struct ModeHandlers {
    void (*pfnMove)(int nMode);
    void (*pfnPress)(int nMode);   // a press that begins a gesture
    void (*pfnRelease)(int nMode); // the release that ends one, its drawing erased
    void (*pfnSpace)(int nMode);   // Space without a mouse, with no band made with Space under way
    bool (*pfnNudge)(int nMode, BYTE nKey, UINT fModifiers); // an arrow on a boxed selection
    void (*pfnKey)(int nMode, BYTE nKey);                    // Enter, Escape, Backspace
    void (*pfnHeldKeys)(int nMode); // Shift, Ctrl or Space went down or up, no band drawn
};

void BandMove(int) {
    StretchBand();
}
void BandPress(int nMode) {
    if (BoxShown())
        PressOnShownSelection(nMode);
    else if (!FixedBandFollows())
        StartBand();
}
void BandRelease(int nMode) {
    if (FixedBandFollows())
        PlaceFixedBand(nMode);
    else
        CompleteBand(nMode);
}
// Space begins a band that the next Space ends as a release would, or places a box of a fixed
// size.
void BandSpace(int nMode) {
    if (FixedBandFollows()) {
        PlaceFixedBand(nMode);
        return;
    }
    BeginGesture(GESTURE_SPACE, ptCursor);
    StartBand();
}

void PolygonMoveOf(int) {
    PolygonMove();
}
void PolygonPress(int) {
    if (BoxShown())
        PressOnShownPolygon();
}
void PolygonReleaseOf(int) {
    PolygonRelease();
}
void PolygonKeyOf(int, BYTE nKey) {
    PolygonKey(nKey);
}
void PolygonHeldKeysOf(int) {
    PolygonHeldKeysChanged();
}

void HighlightMove(int) {
    if (PickingTargets())
        FollowTarget();
    else
        HighlightWindowUnderCursor();
}
// A click or Space: with targets, the one framed; else reported as it has always been.
void HighlightRelease(int nMode) {
    if (PickingTargets())
        PickTarget();
    else
        CompleteBand(nMode);
}
// Page Up steps out to what holds the target, Page Down back in.
void HighlightKey(int, BYTE nKey) {
    if (nKey == VK_PRIOR || nKey == VK_NEXT)
        StepTarget(nKey == VK_PRIOR ? 1 : -1);
}

// A mode without a shape only reports its clicks.
void PausedMove(int) {
    if (pHostRecord->bPaused)
        nCursorState = CS_DEFAULT;
}

const ModeHandlers kBoxModes = {
    BandMove, BandPress, BandRelease, BandSpace, NudgeBoxedSelection, BoxSelectionKey, nullptr};
const ModeHandlers kPolygonMode = {PolygonMoveOf,    PolygonPress,        PolygonReleaseOf,
                                   PolygonReleaseOf, NudgeBoxedSelection, PolygonKeyOf,
                                   PolygonHeldKeysOf};
const ModeHandlers kWindowModes = {HighlightMove, nullptr,      HighlightRelease, HighlightRelease,
                                   nullptr,       HighlightKey, nullptr};
const ModeHandlers kOtherModes = {PausedMove, nullptr, CompleteBand, CompleteBand,
                                  nullptr,    nullptr, nullptr};

const ModeHandlers &HandlersOf(int nMode) {
    switch (nMode) {
    case MODE_RECTANGLE:
    case MODE_ELLIPSE:
        return kBoxModes;
    case MODE_POLYGON:
        return kPolygonMode;
    case 0:
    case 1:
    case 6:
        return kWindowModes;
    default:
        return kOtherModes;
    }
}

bool IsPress(UINT nMessage) {
    return nMessage == WM_LBUTTONDOWN || nMessage == WM_RBUTTONDOWN;
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

void ButtonDown(UINT nPress, int nMode) {
    if (pHostRecord->bPaused) {
        nCursorState = CS_DEFAULT;
        return;
    }
    // The other button, pressed during a gesture, is not a gesture of its own.
    if (nGestureButton)
        return;
    BeginGesture(nPress, ptCursor);
    if (HandlersOf(nMode).pfnPress)
        HandlersOf(nMode).pfnPress(nMode);
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
    HandlersOf(nMode).pfnRelease(nMode);
}

void KeyDown(int nMode, BYTE nKey, UINT fModifiers, UINT fHeldBefore) {
    if (pHostRecord->bPaused) {
        nCursorState = CS_DEFAULT;
        return;
    }
    const ModeHandlers &handlers = HandlersOf(nMode);
    if (handlers.pfnNudge && handlers.pfnNudge(nMode, nKey, fModifiers))
        return;
    switch (PointerKey(nKey, fHeldBefore)) {
    case POINTER_KEY_TAKEN:
        return;
    case POINTER_KEY_MOVED: {
        EventPlace place;
        place.Set(TRUE, ptCursor);
        handlers.pfnMove(nMode);
        return;
    }
    case POINTER_KEY_CLICK:
        // The second Space ends a band made with the first.
        if (IsKeyboardGesture())
            ButtonUp(GESTURE_SPACE, nMode);
        else
            handlers.pfnSpace(nMode);
        return;
    case POINTER_KEY_NONE:
        break;
    }
    // Escape throws away a band made with Space: no button is held to go on with it.
    if (nKey == VK_ESCAPE && IsKeyboardGesture()) {
        DiscardGesture();
        return;
    }
    if (handlers.pfnKey)
        handlers.pfnKey(nMode, nKey);
}

// Shift, Ctrl or Space went down or up: the band and the polygon's edge follow at once.
void HeldKeysChanged(int nMode) {
    if (pHostRecord->bPaused)
        return;
    if (fDrawn & DRAWN_BAND)
        StretchBand();
    else if (HandlersOf(nMode).pfnHeldKeys)
        HandlersOf(nMode).pfnHeldKeys(nMode);
}

// Input on the host's panel passes untouched, but for a press, which discards, and for the moves
// and the release of a gesture begun elsewhere, which go on as anywhere else: true when the event
// was the panel's.
bool TakenByPanel(const InputEvent &event, int nMode) {
    HWND hwnd = event.hwnd;
    // A move on the low-level path comes without its window: it is looked up only where the
    // panel is.
    RECT rcPanel;
    if (!hwnd && event.nMessage == WM_MOUSEMOVE && pHostRecord->hwndOwn &&
        GetWindowRect(pHostRecord->hwndOwn, &rcPanel) && PtInRect(&rcPanel, event.pt))
        hwnd = WindowFromPoint(event.pt);
    if (!IsPanelWindow(hwnd))
        return false;
    nCursorState = CS_DEFAULT;
    // The panel shows cursors of its own: the library's is set again when the pointer leaves it.
    hCursorShown = nullptr;
    if (IsPress(event.nMessage)) {
        // While a track runs, its loop still uses the box.
        if (!bTracking)
            PanelPress(nMode);
        return true;
    }
    return !nGestureButton || event.nMessage == WM_KEYDOWN || event.nMessage == WM_KEYUP;
}

void DispatchEvent(const InputEvent &event) {
    const int nMode = pHostRecord->shape.nMode;
    const UINT fHeldBefore = fHeldKeys;
    fHeldKeys = event.fHeld;
    const bool bKey = event.nMessage == WM_KEYDOWN || event.nMessage == WM_KEYUP;
    if (!bKey)
        ptStreamPointer = event.pt;
    if (TakenByPanel(event, nMode))
        return;
    if (bTracking) {
        // The release that ends the track ends its gesture.
        if (IsGestureRelease(event.nMessage))
            EndGesture();
        return;
    }
    // Read once: every handler of this event takes its place from here. A mouse record carries
    // its own place; reading the cursor costs more than all the rest of a move.
    EventPlace place;
    POINT pt = bKey && event.bAtStreamPoint ? ptStreamPointer : event.pt;
    const BOOL bRead = !bKey || event.bAtStreamPoint || ReadEventCursorPos(&pt);
    if (bRead)
        ptCursor = pt;
    place.Set(bRead, pt);
    ShowInitialSelection(nMode);
    if (nCursorState != CS_CLOSE)
        nCursorState = UpdateCursor(IsDrawingMode(nMode), nCursorState, CS_DEFAULT);

    switch (event.nMessage) {
    case WM_KEYDOWN:
        KeyDown(nMode, BYTE(event.nVk), event.fHeld, fHeldBefore);
        break;
    case WM_MOUSEMOVE:
        HandlersOf(nMode).pfnMove(nMode);
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
    // The wheel steps along a window mode's targets, or zooms the loupe.
    if (event.nMessage == WM_MOUSEWHEEL) {
        if (pHostRecord && PickingTargets())
            TargetWheelTurned(event.nWheel);
        else
            LoupeWheelTurned(event.nWheel);
        return;
    }
    DispatchEvent(event);
    CheckLiveRectEnded();
    FollowWithLoupe();
}

void SelectionInputLost() {
    if (!bMouseHookOn || !pHostRecord)
        return;
    DiscardGesture();
    CheckLiveRectEnded();
}
