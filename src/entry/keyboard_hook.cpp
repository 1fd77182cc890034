// SetKeyboardHook: the Escape hook turned on and off for a host.
#include "host/dpi_scope.h"
#include "host/hook_claim.h"
#include "host/hook_state.h"
#include "input/hook_paths.h"

namespace {

BOOL TurnEscapeHookOff() {
    const BOOL bResult = RemoveEscapeHook();
    bKeyHookOn = 0;
    FreeHookClaim(CLAIM_ESCAPE);
    return bResult;
}

// The platform cancelled the journal-record Escape hook: it is turned off as the host turns it
// off, so that the host can turn it on again.
class EscapeHookCancel final : public HookCancelListener {
public:
    void HookCancelled() override {
        if (bKeyHookOn)
            TurnEscapeHookOff();
    }
};

EscapeHookCancel escapeHookCancel;

} // namespace

extern "C" int WINAPI SetKeyboardHook(HWND hwndTarget, BOOL bEnable) {
    PhysicalPixels physicalPixels;
    // While another host has the hook on, turning on changes nothing here.
    if (bEnable && !bKeyHookOn && !ClaimHook(CLAIM_ESCAPE))
        return 0;
    hwndEscapeTarget = hwndTarget;
    if (bEnable) {
        if (bKeyHookOn)
            return 0;
        if (!InstallEscapeHook(&escapeHookCancel)) {
            FreeHookClaim(CLAIM_ESCAPE);
            return 0;
        }
        bKeyHookOn = 1;
        bKeyHookFirst = bMouseHookOn;
        return 1;
    }
    if (!bKeyHookOn || !hKeyHook)
        return 0;
    return TurnEscapeHookOff();
}
