// SetSelectionOptions: the SPX_OPT_ bits that shape the selections to come.
#include "host/hook_state.h"
#include "selection/gesture.h"

extern "C" DWORD WINAPI SetSelectionOptions(DWORD dwOptions) {
    const DWORD dwPrevious = dwSelectionOptions;
    dwSelectionOptions = dwOptions;
    // An option turned off takes its drawing with it.
    if (!(dwOptions & SPX_OPT_POLYGON_RUBBER_EDGE))
        EraseRubberEdge();
    return dwPrevious;
}
