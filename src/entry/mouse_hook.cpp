#include "entry/mouse_hook.h"

#include "draw/gdi_guards.h"
#include "selection/gesture.h"
#include "input/hook_paths.h"
#include "selection/live_rect.h"
#include "input/lowlevel_input.h"
#include "selection/snap_targets.h"
#include "host/hook_claim.h"
#include "host/hook_state.h"
#include "tracker/resizing_box.h"

void SetSelectionRect(int nTop, int nBottom, int nLeft, int nRight) {
    rcSelection.top = nTop;
    rcSelection.bottom = nBottom;
    rcSelection.left = nLeft;
    rcSelection.right = nRight;
}

bool ShowResizingBox() {
    if (!hwndOverlay || !IsWindow(hwndOverlay))
        return false;
    WindowDC dc = GetClientDC(hwndOverlay);
    if (!dc)
        return false;
    POINT ptOffset = {0, 0};
    ScreenToClient(hwndOverlay, &ptOffset);
    pResizingBox = NewResizingBox(&rcSelection, ptOffset.x, ptOffset.y, &pHostRecord->shape);
    if (!pResizingBox)
        return false;
    pResizingBox->SetDragInput(QueuedDragInput());
    pResizingBox->SetOutlineListener(LiveRectListener());
    pResizingBox->SetEdgeSnapper(BoxEdgeSnapper());
    pResizingBox->DrawXor(dc.get());
    RaiseOwnWindow();
    return true;
}

void ToggleBoxFrame() {
    if (pResizingBox)
        if (WindowDC dc = GetClientDC(hwndOverlay))
            pResizingBox->DrawXor(dc.get());
}

void RaiseOwnWindow() {
    // Raised, not activated: the keyboard stays where the user has it, so that Enter and Escape
    // still reach the selection.
    if (pHostRecord->hwndOwn)
        SetWindowPos(pHostRecord->hwndOwn, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CommitSelectionRect() {
    PostMessageA(hwndNotify, UM_SELECTION, 0, reinterpret_cast<LPARAM>(&rcSelection));
    nCursorState = CS_DEFAULT;
    bSelectionShown = 0;
}

bool IsDrawingMode(int nMode) {
    const unsigned nUnsigned = unsigned(nMode);
    return nUnsigned == MODE_RECTANGLE || nUnsigned == MODE_ELLIPSE || nUnsigned == MODE_POLYGON ||
           nUnsigned > 7;
}

namespace {

int TurnSelectionHookOn(HostRecord *pRecord, const RECT *pInitialRect, HWND hwndOverlayArg) {
    const bool bInstalled = InstallSelectionHook();
    bAdjustable = pRecord->bAdjustable;
    if (!bInstalled) {
        FreeHookClaim(CLAIM_SELECTION);
        return 0;
    }

    // A box left from an earlier time is dropped without drawing.
    delete pResizingBox;
    pResizingBox = nullptr;

    if (HCURSOR hCursor = GetCursor())
        pRecord->hSavedCursor = hCursor;
    // The cursor shows while the hook is on, however far the host had hidden it; the first event
    // sets the library's.
    hCursorShown = nullptr;
    nCursorShows = 1;
    for (int nCount = ShowCursor(TRUE); nCount < 0 && nCursorShows < 256; ++nCursorShows)
        nCount = ShowCursor(TRUE);

    const bool bPolygonWithoutPoints =
        pRecord->shape.nMode == MODE_POLYGON && pRecord->shape.nCount == 0;
    if (pInitialRect && !IsRectEmpty(pInitialRect) && bAdjustable && !bPolygonWithoutPoints) {
        SetSelectionRect(pInitialRect->top, pInitialRect->bottom, pInitialRect->left,
                         pInitialRect->right);
        bSelectionShown = 1;
    } else {
        SetSelectionRect(0, 0, 0, 0);
        bSelectionShown = 0;
    }
    // A new session starts with no gesture: nothing of the last one is swallowed or completed.
    EndGesture();
    fHeldKeys = fJournalHeld = HeldNow();
    GetCursorPos(&ptStreamPointer);
    hwndOverlay = hwndOverlayArg;
    bMouseHookOn = 1;
    // Installed last, this hook is called before the Escape hook and sees Escape itself.
    bKeyHookFirst = 0;
    return 1;
}

int TurnSelectionHookOff() {
    const BOOL bResult = RemoveSelectionHook();
    bMouseHookOn = 0;
    // Nothing the library drew stays behind, and no box outlives the hook, so none outlives the
    // record whose shape it edits. A box that a running track still uses goes to the track's
    // caller, which erases its outline and drops it when the track returns: it leaves the slot,
    // so that turning on again cannot delete it under the track, and it works on copies of its
    // own from now on. Nothing is posted, and the host's data stays in its record.
    if (bTracking && pResizingBox) {
        pResizingBox->Detach();
        pResizingBox = nullptr;
        bSelectionShown = 0;
        bVertexMarked = 0;
    } else {
        EraseDrawn(pHostRecord->shape.nMode);
    }
    EndGesture();
    CheckLiveRectEnded();
    bNewPolygon = 1;
    nCursorState = CS_DEFAULT;
    hwndOverlay = nullptr;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    // The display counter goes back to where the host had it.
    for (; nCursorShows > 0; --nCursorShows)
        ShowCursor(FALSE);
    bAdjustable = 0;
    FreeHookClaim(CLAIM_SELECTION);
    return bResult;
}

} // namespace

void JournalHooksCancelled() {
    if (bMouseHookOn && pHostRecord && nMouseHookPath == HOOK_JOURNAL)
        TurnSelectionHookOff();
    if (bKeyHookOn && nKeyHookPath == HOOK_JOURNAL) {
        RemoveEscapeHook();
        bKeyHookOn = 0;
        FreeHookClaim(CLAIM_ESCAPE);
    }
}

extern "C" int WINAPI SetMouseHook(HWND hwndNotifyArg, HostRecord *pRecord, BOOL bEnable,
                                   const RECT *pInitialRect, HWND hwndOverlayArg) {
    // Any nonzero value means on: a second "on" must not install a second hook.
    const bool bOn = bEnable != 0;
    // While another host has the hook on, turning on changes nothing here.
    if (!pRecord || (bOn && !bMouseHookOn && !ClaimHook(CLAIM_SELECTION)))
        return 0;
    pHostRecord = pRecord;
    hwndNotify = hwndNotifyArg;
    bEllipse = pRecord->shape.nMode == MODE_ELLIPSE;
    if (bOn == (bMouseHookOn != 0))
        return 0;
    return bOn ? TurnSelectionHookOn(pRecord, pInitialRect, hwndOverlayArg)
               : TurnSelectionHookOff();
}
