#include "host/hook_state.h"

#include <gtest/gtest.h>

// Runs before anything in this program touches the state: the values a freshly loaded module has.
TEST(HookState, FreshModuleHoldsTheInitialValues) {
    EXPECT_EQ(hMouseHook, nullptr);
    EXPECT_EQ(hKeyHook, nullptr);
    EXPECT_EQ(pHostRecord, nullptr);
    EXPECT_EQ(bButtonDown, 0);
    EXPECT_EQ(bEllipse, 0);
    EXPECT_EQ(bSelectionShown, 0);
    EXPECT_EQ(bAdjustable, 0);
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_EQ(hwndOverlay, nullptr);
    EXPECT_EQ(dwMouseHookProcess, 0u);
    EXPECT_EQ(dwKeyHookProcess, 0u);

    EXPECT_EQ(hwndNotify, nullptr);
    EXPECT_EQ(bMouseHookOn, 0);
    EXPECT_EQ(hwndEscapeTarget, nullptr);
    EXPECT_EQ(bKeyHookOn, 0);
    EXPECT_EQ(nCursorState, CS_DEFAULT);
    EXPECT_EQ(nCursorState, 6);
    EXPECT_EQ(bNewPolygon, 1);
    for (const POINT *pt :
         {&ptCursor, &ptBoxAnchor, &ptBoxCurrent, &ptFirstVertex, &ptLastVertex}) {
        EXPECT_EQ(pt->x, 0);
        EXPECT_EQ(pt->y, 0);
    }
    for (const RECT *rc : {&rcSelection, &rcCloseZone}) {
        EXPECT_TRUE(IsRectEmpty(rc));
        EXPECT_EQ(rc->left | rc->top | rc->right | rc->bottom, 0);
    }
    EXPECT_EQ(szBox.cx, 0);
    EXPECT_EQ(szBox.cy, 0);
    EXPECT_EQ(bVertexMarked, 0);
    EXPECT_EQ(nMarkedVertex, 0);
    EXPECT_EQ(bTracking, 0);
    EXPECT_EQ(bSwallowUntilUp, 0);
}

TEST(HostRecordLayout, MembersStandAtTheHostsBytePositions) {
    EXPECT_EQ(offsetof(HostRecord, hwndUnderCursor), 0u);
    EXPECT_EQ(offsetof(HostRecord, hwndFramed), 4u);
    EXPECT_EQ(offsetof(HostRecord, shape), 580u);
    EXPECT_EQ(offsetof(HostRecord, shape) + offsetof(SelectionShape, nCount), 984u);
    EXPECT_EQ(offsetof(HostRecord, bHighlightWindows), 3236u);
    EXPECT_EQ(offsetof(HostRecord, bAdjustable), 3520u);
    EXPECT_EQ(offsetof(HostRecord, hSavedCursor), 5448u);
    EXPECT_EQ(offsetof(HostRecord, bPaused), 5452u);
    EXPECT_EQ(offsetof(HostRecord, hwndOwn), 5456u);
    EXPECT_EQ(sizeof(SelectionShape), 432u);
}
