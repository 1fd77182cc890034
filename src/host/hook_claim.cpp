#include "host/hook_claim.h"

namespace {

HANDLE ahClaim[2] = {nullptr, nullptr};

} // namespace

const char *HookClaimName(HookClaim nClaim) {
    // The same names in the 32-bit and the 64-bit DLL: hosts of either kind would draw over
    // each other just the same.
    static const char *const apszName[] = {"Local\\SPXHK110.SelectionHook",
                                           "Local\\SPXHK110.EscapeHook"};
    return apszName[nClaim];
}

bool ClaimHook(HookClaim nClaim) {
    if (ahClaim[nClaim])
        return true;
    // The object only has to exist: whoever made it first holds the claim for as long as its
    // handle is open.
    HANDLE hClaim = CreateMutexA(nullptr, FALSE, HookClaimName(nClaim));
    if (!hClaim)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(hClaim);
        return false;
    }
    ahClaim[nClaim] = hClaim;
    return true;
}

void FreeHookClaim(HookClaim nClaim) {
    if (ahClaim[nClaim])
        CloseHandle(ahClaim[nClaim]);
    ahClaim[nClaim] = nullptr;
}
