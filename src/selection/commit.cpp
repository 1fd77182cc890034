#include "selection/commit.h"

#include "host/hook_state.h"
#include "selection/loupe_follow.h"
#include "selection/shape_settings.h"

void SetSelectionRect(int nTop, int nBottom, int nLeft, int nRight) {
    rcSelection.top = nTop;
    rcSelection.bottom = nBottom;
    rcSelection.left = nLeft;
    rcSelection.right = nRight;
}

void CommitSelectionRect() {
    RememberCommittedRect(pHostRecord->shape.nMode, rcSelection);
    // The host may grab the screen as it hears of the selection.
    HideLoupeNow();
    PostMessageA(hwndNotify, UM_SELECTION, 0, reinterpret_cast<LPARAM>(&rcSelection));
    nCursorState = CS_DEFAULT;
    bSelectionShown = 0;
}

void CommitPolygon() {
    RememberCommittedPolygon(pHostRecord->shape);
    HideLoupeNow();
    PostMessageA(hwndNotify, UM_SELECTION, 0, reinterpret_cast<LPARAM>(&pHostRecord->shape));
    nCursorState = CS_DEFAULT;
}
