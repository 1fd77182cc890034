// SetMouseHook: the selection hook turned on and off for a host.
#include "host/dpi_scope.h"
#include "host/hook_claim.h"
#include "host/hook_state.h"
#include "input/hook_paths.h"
#include "input/lowlevel_input.h"
#include "selection/selection_session.h"
#include "selection/window_targets.h"

namespace {

int TurnSelectionHookOff() {
    const BOOL bResult = RemoveSelectionHook();
    bMouseHookOn = 0;
    EndSelectionSession();
    FreeHookClaim(CLAIM_SELECTION);
    return bResult;
}

// The platform cancelled the journal-record selection hook: it is turned off as the host turns it
// off, everything the selection drew erased, so that the host can turn it on again.
class SelectionHookCancel final : public HookCancelListener {
public:
    void HookCancelled() override {
        if (bMouseHookOn && pHostRecord)
            TurnSelectionHookOff();
    }
};

SelectionHookCancel selectionHookCancel;

int TurnSelectionHookOn(HostRecord *pRecord, const RECT *pInitialRect, HWND hwndOverlayArg) {
    const bool bInstalled = InstallSelectionHook(&selectionHookCancel);
    bAdjustable = pRecord->bAdjustable;
    if (!bInstalled) {
        FreeHookClaim(CLAIM_SELECTION);
        return 0;
    }
    BeginSelectionSession(pRecord, pInitialRect, hwndOverlayArg, QueuedDragInput());
    bMouseHookOn = 1;
    TakePageKeys(PickingTargets());
    // Installed last, this hook is called before the Escape hook and sees Escape itself.
    bKeyHookFirst = 0;
    return 1;
}

} // namespace

extern "C" int WINAPI SetMouseHook(HWND hwndNotifyArg, HostRecord *pRecord, BOOL bEnable,
                                   const RECT *pInitialRect, HWND hwndOverlayArg) {
    PhysicalPixels physicalPixels;
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
