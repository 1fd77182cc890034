#include "selection/commit.h"

#include "host/hook_state.h"

void SetSelectionRect(int nTop, int nBottom, int nLeft, int nRight) {
    rcSelection.top = nTop;
    rcSelection.bottom = nBottom;
    rcSelection.left = nLeft;
    rcSelection.right = nRight;
}

void CommitSelectionRect() {
    PostMessageA(hwndNotify, UM_SELECTION, 0, reinterpret_cast<LPARAM>(&rcSelection));
    nCursorState = CS_DEFAULT;
    bSelectionShown = 0;
}

void CommitPolygon() {
    PostMessageA(hwndNotify, UM_SELECTION, 0, reinterpret_cast<LPARAM>(&pHostRecord->shape));
    nCursorState = CS_DEFAULT;
}
