// One host at a time has each hook on in a session, 32-bit and 64-bit hosts alike: two hosts would
// both draw the same band in XOR, each over the other's, and the person would see neither. A hook is
// claimed through a named kernel object of the session that lives while the claiming process
// holds a handle to it; the platform closes that handle when the process ends, however it ends,
// so a host that dies with its hook on locks nobody out. Nothing of the claim is kept in memory
// that another process can write.
#pragma once

#include <windows.h>

enum HookClaim { CLAIM_SELECTION, CLAIM_ESCAPE };

// The object's name in the session's namespace, the same in both architectures' DLLs.
const char *HookClaimName(HookClaim nClaim);
// Takes the claim for this process, or finds it already taken by it: false when another process
// holds it (or the name cannot be had).
bool ClaimHook(HookClaim nClaim);
// Gives the claim up; nothing when this process does not hold it.
void FreeHookClaim(HookClaim nClaim);
