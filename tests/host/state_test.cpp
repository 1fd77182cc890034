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

// Each build's own positions: handles are 8 bytes in a 64-bit build, the host's bytes between the
// members the same.
TEST(HostRecordLayout, MembersStandAtTheHostsBytePositions) {
    const bool b64 = sizeof(void *) == 8;
    const struct {
        const char *pszMember;
        size_t nOffset, nX86, nX64;
    } members[] = {
        {"hwndUnderCursor", offsetof(HostRecord, hwndUnderCursor), 0, 0},
        {"hwndFramed", offsetof(HostRecord, hwndFramed), 4, 8},
        {"shape", offsetof(HostRecord, shape), 580, 588},
        {"shape.nCount", offsetof(HostRecord, shape) + offsetof(SelectionShape, nCount), 984, 992},
        {"bHighlightWindows", offsetof(HostRecord, bHighlightWindows), 3236, 3244},
        {"bAdjustable", offsetof(HostRecord, bAdjustable), 3520, 3528},
        {"hSavedCursor", offsetof(HostRecord, hSavedCursor), 5448, 5456},
        {"bPaused", offsetof(HostRecord, bPaused), 5452, 5464},
        {"hwndOwn", offsetof(HostRecord, hwndOwn), 5456, 5472},
        {"the whole record", sizeof(HostRecord), 5460, 5480},
    };
    for (const auto &m : members)
        EXPECT_EQ(m.nOffset, b64 ? m.nX64 : m.nX86) << m.pszMember;
    EXPECT_EQ(sizeof(SelectionShape), 432u);
}
