// GetPickedTarget: what the last pick of a window mode's targets took.
#include "selection/window_targets.h"

extern "C" int WINAPI GetPickedTarget(PickedTarget *pTarget) {
    if (!pTarget || pTarget->cbSize < sizeof(PickedTarget))
        return 0;
    // A larger structure of a later version keeps its cbSize and the rest of its bytes.
    const UINT cbSize = pTarget->cbSize;
    *pTarget = LastPick();
    pTarget->cbSize = cbSize;
    return 1;
}
