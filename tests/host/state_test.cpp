#include "host/dpi_scope.h"
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

// Sizes at 96 DPI at the monitor's DPI, and physical coordinates carried into a scaled view of a
// monitor: left and top down, right and bottom up, on either side of the origin.
TEST(DpiGeometry, SizesScaleAndCoordinatesKeepEveryPixel) {
    const struct {
        int n, nDpi, nScaled;
    } sizes[] = {{8, 96, 8},  {8, 144, 12}, {3, 144, 5}, {2, 120, 3},
                 {0, 144, 0}, {1, 48, 1},   {5, 192, 10}};
    for (const auto &c : sizes)
        EXPECT_EQ(ScaledForDpi(c.n, UINT(c.nDpi)), c.nScaled) << c.n << " at " << c.nDpi;
    const struct {
        LONG v, nFromStart, nToStart, nNumerator, nDenominator;
        bool bUp;
        LONG nMapped;
    } coordinates[] = {
        {301, 0, 0, 144, 144, false, 301}, // the same view: unchanged
        {300, 0, 0, 96, 144, false, 200},         {301, 0, 0, 96, 144, false, 200},
        {301, 0, 0, 96, 144, true, 201},          {600, 0, 0, 96, 144, true, 400},
        {-799, -800, -800, 96, 144, false, -800}, {-799, -800, -800, 96, 144, true, -799},
        {-600, -800, -533, 96, 144, false, -400}, // about the monitor's own corner
        {500, 0, 0, 96, 0, false, 500},           // no DPI: unchanged
    };
    for (const auto &c : coordinates)
        EXPECT_EQ(
            ScaledCoordinate(c.v, c.nFromStart, c.nToStart, c.nNumerator, c.nDenominator, c.bUp),
            c.nMapped)
            << c.v << (c.bUp ? " up" : " down");
}
