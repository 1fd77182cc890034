// SetSelectionOptions and SetSelectionOptionsMasked: the SPX_OPT_ bits that shape the selections
// to come.
#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "input/lowlevel_input.h"
#include "selection/gesture.h"
#include "selection/loupe_follow.h"
#include "selection/window_targets.h"

namespace {

DWORD ChangeOptions(DWORD dwMask, DWORD dwOptions) {
    PhysicalPixels physicalPixels;
    const DWORD dwPrevious = dwSelectionOptions;
    dwSelectionOptions = (dwPrevious & ~dwMask) | (dwOptions & dwMask);
    // An option turned off takes its drawing with it.
    if (!(dwSelectionOptions & SPX_OPT_POLYGON_RUBBER_EDGE))
        EraseRubberEdge();
    if (!(dwSelectionOptions & SPX_OPT_LOUPE))
        HideLoupeNow();
    if (!(dwSelectionOptions & SPX_OPT_PICK_ELEMENTS))
        EndTargets();
    TakePageKeys(bMouseHookOn && PickingTargets());
    return dwPrevious;
}

} // namespace

extern "C" DWORD WINAPI SetSelectionOptions(DWORD dwOptions) {
    return ChangeOptions(~DWORD(0), dwOptions);
}

extern "C" DWORD WINAPI SetSelectionOptionsMasked(DWORD dwMask, DWORD dwOptions) {
    return ChangeOptions(dwMask, dwOptions);
}
