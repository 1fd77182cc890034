#include "tracker/tracker_geometry.h"

#include "rect_compare.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

namespace {

template <typename Case> std::string CaseName(const testing::TestParamInfo<Case> &info) {
    return info.param.name;
}

const RECT kRect = {100, 80, 260, 200};

// ---------------------------------------------------------------------------------------------
// NormalizedRect

struct NormalizeCase {
    const char *name;
    RECT rc;
    RECT want;
};

class NormalizedRectTest : public testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizedRectTest, OrdersEachAxisOnItsOwn) {
    EXPECT_EQ(NormalizedRect(GetParam().rc), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Orientations, NormalizedRectTest,
    testing::Values(NormalizeCase{"AlreadyNormal", {10, 20, 30, 40}, {10, 20, 30, 40}},
                    NormalizeCase{"MirroredX", {30, 20, 10, 40}, {10, 20, 30, 40}},
                    NormalizeCase{"MirroredY", {10, 40, 30, 20}, {10, 20, 30, 40}},
                    NormalizeCase{"MirroredBoth", {30, 40, 10, 20}, {10, 20, 30, 40}},
                    NormalizeCase{"EmptyStaysEmpty", {5, 5, 5, 5}, {5, 5, 5, 5}},
                    NormalizeCase{"NegativeCoordinates", {-3, 4, -8, -2}, {-8, -2, -3, 4}}),
    CaseName<NormalizeCase>);

// ---------------------------------------------------------------------------------------------
// HandleMaskFor

const UINT kCorners = 0x0F;
const UINT kTopBottom = (1u << hitTop) | (1u << hitBottom);
const UINT kLeftRight = (1u << hitLeft) | (1u << hitRight);

struct MaskCase {
    const char *name;
    RECT rc;
    int nHandleSize;
    UINT want;
};

class HandleMaskTest : public testing::TestWithParam<MaskCase> {};

TEST_P(HandleMaskTest, ShowsEdgeHandlesOnlyOnSidesLongerThanThreeHandlesAndFourPixels) {
    EXPECT_EQ(HandleMaskFor(GetParam().rc, GetParam().nHandleSize), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, HandleMaskTest,
    testing::Values(
        // With 4-pixel handles the threshold is 16: a side of 16 has no edge handle, 17 has one.
        MaskCase{"Empty", {50, 50, 50, 50}, 4, kCorners},
        MaskCase{"ExactlyThresholdBothWays", {0, 0, 16, 16}, 4, kCorners},
        MaskCase{"OneWiderShowsTopAndBottom", {0, 0, 17, 16}, 4, kCorners | kTopBottom},
        MaskCase{"OneTallerShowsLeftAndRight", {0, 0, 16, 17}, 4, kCorners | kLeftRight},
        MaskCase{"OneMoreBothWaysShowsAll", {0, 0, 17, 17}, 4, 0xFF},
        MaskCase{"MirroredSidesCountByLength", {17, 17, 0, 0}, 4, 0xFF},
        MaskCase{"MirroredThresholdStillHides", {16, 16, 0, 0}, 4, kCorners},
        // Doubled handles, as the resizing box uses them: threshold 28.
        MaskCase{"EightPixelHandlesAt28", {0, 0, 28, 28}, 8, kCorners},
        MaskCase{"EightPixelHandlesWide29", {0, 0, 29, 28}, 8, kCorners | kTopBottom},
        MaskCase{"EightPixelHandlesTall29", {0, 0, 28, 29}, 8, kCorners | kLeftRight}),
    CaseName<MaskCase>);

// ---------------------------------------------------------------------------------------------
// HandleRectFor

// Frame (99, 79, 261, 201): the tracker rectangle kRect with a one-pixel line around it.
const RECT kFrame = {99, 79, 261, 201};

struct HandleRectCase {
    const char *name;
    int nHandle;
    bool bOutside;
    RECT want;
};

class HandleRectTest : public testing::TestWithParam<HandleRectCase> {};

TEST_P(HandleRectTest, IsTheSquareOfItsCornerOrEdgeMiddle) {
    const HandleRectCase &c = GetParam();
    EXPECT_EQ(HandleRectFor(kFrame, c.nHandle, 4, c.bOutside), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    FourPixelHandles, HandleRectTest,
    testing::Values(
        // Outside: corners diagonal to the frame's corners, edge handles centred on the sides
        // ((99 + 261) / 2 = 180, (79 + 201) / 2 = 140).
        HandleRectCase{"OutsideTopLeft", hitTopLeft, true, {95, 75, 99, 79}},
        HandleRectCase{"OutsideTopRight", hitTopRight, true, {261, 75, 265, 79}},
        HandleRectCase{"OutsideBottomRight", hitBottomRight, true, {261, 201, 265, 205}},
        HandleRectCase{"OutsideBottomLeft", hitBottomLeft, true, {95, 201, 99, 205}},
        HandleRectCase{"OutsideTop", hitTop, true, {178, 75, 182, 79}},
        HandleRectCase{"OutsideRight", hitRight, true, {261, 138, 265, 142}},
        HandleRectCase{"OutsideBottom", hitBottom, true, {178, 201, 182, 205}},
        HandleRectCase{"OutsideLeft", hitLeft, true, {95, 138, 99, 142}},
        // Inside: in the frame's corners and against the middles of its sides.
        HandleRectCase{"InsideTopLeft", hitTopLeft, false, {99, 79, 103, 83}},
        HandleRectCase{"InsideTopRight", hitTopRight, false, {257, 79, 261, 83}},
        HandleRectCase{"InsideBottomRight", hitBottomRight, false, {257, 197, 261, 201}},
        HandleRectCase{"InsideBottomLeft", hitBottomLeft, false, {99, 197, 103, 201}},
        HandleRectCase{"InsideTop", hitTop, false, {178, 79, 182, 83}},
        HandleRectCase{"InsideRight", hitRight, false, {257, 138, 261, 142}},
        HandleRectCase{"InsideBottom", hitBottom, false, {178, 197, 182, 201}},
        HandleRectCase{"InsideLeft", hitLeft, false, {99, 138, 103, 142}}),
    CaseName<HandleRectCase>);

TEST(HandleRect, EdgeHandlesSitWithinHalfAPixelOfTheMiddleOfTheirSide) {
    // Even and odd sides, even and odd handles: twice the handle's centre and twice the side's
    // centre differ by at most one.
    for (const RECT &rcFrame : {kFrame, RECT{99, 79, 260, 200}, RECT{10, 10, 27, 28}}) {
        for (int nSize : {4, 5, 8}) {
            for (bool bOutside : {true, false}) {
                const RECT rcTop = HandleRectFor(rcFrame, hitTop, nSize, bOutside);
                const RECT rcLeft = HandleRectFor(rcFrame, hitLeft, nSize, bOutside);
                EXPECT_LE(std::abs((rcTop.left + rcTop.right) - (rcFrame.left + rcFrame.right)), 1)
                    << rcFrame << " size " << nSize;
                EXPECT_LE(std::abs((rcLeft.top + rcLeft.bottom) - (rcFrame.top + rcFrame.bottom)),
                          1)
                    << rcFrame << " size " << nSize;
                EXPECT_EQ(HandleRectFor(rcFrame, hitBottom, nSize, bOutside).left, rcTop.left);
                EXPECT_EQ(HandleRectFor(rcFrame, hitRight, nSize, bOutside).top, rcLeft.top);
            }
        }
    }
}

TEST(HandleRect, OutsideHandlesTouchTheFrameWithoutOverlappingIt) {
    for (int nSize : {4, 8, 5}) {
        for (int nHandle = hitTopLeft; nHandle <= hitLeft; ++nHandle) {
            const RECT rc = HandleRectFor(kFrame, nHandle, nSize, true);
            RECT rcCommon, rcGrown = rc;
            EXPECT_EQ(rc.right - rc.left, nSize);
            EXPECT_EQ(rc.bottom - rc.top, nSize);
            EXPECT_FALSE(IntersectRect(&rcCommon, &rc, &kFrame)) << nHandle << " size " << nSize;
            InflateRect(&rcGrown, 1, 1);
            EXPECT_TRUE(IntersectRect(&rcCommon, &rcGrown, &kFrame))
                << nHandle << " size " << nSize;
        }
    }
}

TEST(HandleRect, InsideHandlesLieWithinTheFrameAgainstItsEdges) {
    for (int nSize : {4, 8, 5}) {
        for (int nHandle = hitTopLeft; nHandle <= hitLeft; ++nHandle) {
            const RECT rc = HandleRectFor(kFrame, nHandle, nSize, false);
            RECT rcCommon;
            ASSERT_TRUE(IntersectRect(&rcCommon, &rc, &kFrame));
            EXPECT_EQ(rcCommon, rc) << nHandle << " size " << nSize;
            EXPECT_TRUE(rc.left == kFrame.left || rc.right == kFrame.right ||
                        rc.top == kFrame.top || rc.bottom == kFrame.bottom)
                << nHandle << " size " << nSize;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// HitForRectMembers

struct MembersCase {
    const char *name;
    RECT rc;
    // The code for each visible handle, hitTopLeft to hitLeft.
    std::array<int, 8> want;
};

class HitForRectMembersTest : public testing::TestWithParam<MembersCase> {};

TEST_P(HitForRectMembersTest, NamesTheMembersUnderEachVisibleHandle) {
    const MembersCase &c = GetParam();
    for (int nHandle = hitTopLeft; nHandle <= hitLeft; ++nHandle)
        EXPECT_EQ(HitForRectMembers(c.rc, nHandle), c.want[nHandle]) << "handle " << nHandle;
}

TEST_P(HitForRectMembersTest, DraggingTheNamedMembersMovesTheVisibleEdges) {
    // Moving the members that the code names must change the rectangle on the screen exactly as
    // dragging that handle of the normalized rectangle does.
    const RECT rc = GetParam().rc;
    const RECT rcShown = NormalizedRect(rc);
    const POINT ptPress = {0, 0};
    for (int nHandle = hitTopLeft; nHandle <= hitLeft; ++nHandle) {
        for (POINT ptNow : {POINT{3, 5}, POINT{-4, -2}}) {
            const RECT rcMembers = DragEdges(rc, HitForRectMembers(rc, nHandle), ptPress, ptNow);
            const RECT rcVisible = DragEdges(rcShown, nHandle, ptPress, ptNow);
            EXPECT_EQ(NormalizedRect(rcMembers), NormalizedRect(rcVisible)) << "handle " << nHandle;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Orientations, HitForRectMembersTest,
    testing::Values(MembersCase{"Normal",
                                {10, 10, 50, 40},
                                {hitTopLeft, hitTopRight, hitBottomRight, hitBottomLeft, hitTop,
                                 hitRight, hitBottom, hitLeft}},
                    MembersCase{"MirroredX",
                                {50, 10, 10, 40},
                                {hitTopRight, hitTopLeft, hitBottomLeft, hitBottomRight, hitTop,
                                 hitLeft, hitBottom, hitRight}},
                    MembersCase{"MirroredY",
                                {10, 40, 50, 10},
                                {hitBottomLeft, hitBottomRight, hitTopRight, hitTopLeft, hitBottom,
                                 hitRight, hitTop, hitLeft}},
                    MembersCase{"MirroredBoth",
                                {50, 40, 10, 10},
                                {hitBottomRight, hitBottomLeft, hitTopLeft, hitTopRight, hitBottom,
                                 hitLeft, hitTop, hitRight}},
                    MembersCase{"ZeroWidthCountsAsNormal",
                                {10, 10, 10, 40},
                                {hitTopLeft, hitTopRight, hitBottomRight, hitBottomLeft, hitTop,
                                 hitRight, hitBottom, hitLeft}}),
    CaseName<MembersCase>);

TEST(HitForRectMembers, MiddleAndNothingPassThroughUnchanged) {
    const RECT rcMirrored = {50, 40, 10, 10};
    EXPECT_EQ(HitForRectMembers(rcMirrored, hitMiddle), hitMiddle);
    EXPECT_EQ(HitForRectMembers(rcMirrored, hitNothing), hitNothing);
}

// ---------------------------------------------------------------------------------------------
// DragEdges

struct DragCase {
    const char *name;
    int nHandle;
    RECT want;
    UINT fModifiers = 0; // Shift keeps a corner's proportions, Ctrl the centre
};

class DragEdgesTest : public testing::TestWithParam<DragCase> {};

TEST_P(DragEdgesTest, MovesOnlyTheEdgesOfTheHandleByThePointersTravel) {
    // Pressed anywhere, moved by (-5, +12): the edges keep their distance from the pointer.
    const RECT rc =
        DragEdges(kRect, GetParam().nHandle, POINT{50, 50}, POINT{45, 62}, GetParam().fModifiers);
    EXPECT_EQ(rc, GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, DragEdgesTest,
    testing::Values(
        DragCase{"TopLeft", hitTopLeft, {95, 92, 260, 200}},
        DragCase{"TopRight", hitTopRight, {100, 92, 255, 200}},
        DragCase{"BottomRight", hitBottomRight, {100, 80, 255, 212}},
        DragCase{"BottomLeft", hitBottomLeft, {95, 80, 260, 212}},
        DragCase{"Top", hitTop, {100, 92, 260, 200}},
        DragCase{"Right", hitRight, {100, 80, 255, 200}},
        DragCase{"Bottom", hitBottom, {100, 80, 260, 212}},
        DragCase{"Left", hitLeft, {95, 80, 260, 200}},
        DragCase{"MiddleMovesTheWholeRectangle", hitMiddle, {95, 92, 255, 212}},
        DragCase{"NothingMovesNothing", hitNothing, {100, 80, 260, 200}},
        DragCase{"UnknownCodeMovesNothing", 9, {100, 80, 260, 200}},
        DragCase{"CtrlCornerAboutTheCentre", hitBottomRight, {105, 68, 255, 212}, MOD_CONTROL},
        DragCase{"CtrlEdgeAboutTheCentre", hitRight, {105, 80, 255, 200}, MOD_CONTROL},
        DragCase{"ShiftCornerTheTallerLeads", hitBottomRight, {100, 80, 276, 212}, MOD_SHIFT},
        DragCase{"ShiftCornerTheWiderLeads", hitTopLeft, {95, 77, 260, 200}, MOD_SHIFT},
        DragCase{"ShiftOnAnEdgeChangesNothing", hitRight, {100, 80, 255, 200}, MOD_SHIFT},
        DragCase{"ShiftAndCtrl", hitBottomRight, {84, 68, 276, 212}, MOD_SHIFT | MOD_CONTROL},
        DragCase{"KeysDoNotChangeAMove", hitMiddle, {95, 92, 255, 212}, MOD_SHIFT | MOD_CONTROL}),
    CaseName<DragCase>);

TEST(DragEdges, NoTravelGivesTheStartBack) {
    for (int nHandle = hitTopLeft; nHandle <= hitMiddle; ++nHandle)
        EXPECT_EQ(DragEdges(kRect, nHandle, POINT{7, 9}, POINT{7, 9}), kRect) << nHandle;
}

// ---------------------------------------------------------------------------------------------
// KeepMinimumSize

// 8 pixels across, 6 down, so that a mix-up of the axes shows. Every drag below began with kRect.
const SIZE kMin = {8, 6};

struct MinimumCase {
    const char *name;
    int nHandle;
    RECT rc;
    RECT want;
};

class KeepMinimumSizeTest : public testing::TestWithParam<MinimumCase> {};
class KeepMinimumSizeInvertingTest : public testing::TestWithParam<MinimumCase> {};

TEST_P(KeepMinimumSizeTest, HoldsTheMovingEdgesOnTheirSideOfTheFixedOnes) {
    RECT rc = GetParam().rc;
    KeepMinimumSize(rc, GetParam().nHandle, kMin, false, kRect);
    EXPECT_EQ(rc, GetParam().want);
}

TEST_P(KeepMinimumSizeInvertingTest, HoldsTheMovingEdgesAwayFromTheFixedOnes) {
    RECT rc = GetParam().rc;
    KeepMinimumSize(rc, GetParam().nHandle, kMin, true, kRect);
    EXPECT_EQ(rc, GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    WithoutInversion, KeepMinimumSizeTest,
    testing::Values(
        MinimumCase{"RightWithRoomStays", hitRight, {100, 80, 109, 200}, {100, 80, 109, 200}},
        MinimumCase{"RightAtTheMinimumStays", hitRight, {100, 80, 108, 200}, {100, 80, 108, 200}},
        MinimumCase{"RightOnePixelShort", hitRight, {100, 80, 107, 200}, {100, 80, 108, 200}},
        MinimumCase{"RightPastTheLeft", hitRight, {100, 80, 40, 200}, {100, 80, 108, 200}},
        MinimumCase{"LeftPastTheRight", hitLeft, {300, 80, 260, 200}, {252, 80, 260, 200}},
        MinimumCase{"TopUsesTheHeight", hitTop, {100, 199, 260, 200}, {100, 194, 260, 200}},
        MinimumCase{"BottomPastTheTop", hitBottom, {100, 80, 260, 50}, {100, 80, 260, 86}},
        MinimumCase{"BottomRightCorner", hitBottomRight, {100, 80, 90, 70}, {100, 80, 108, 86}},
        MinimumCase{"TopLeftCorner", hitTopLeft, {265, 205, 260, 200}, {252, 194, 260, 200}},
        MinimumCase{"TopRightCorner", hitTopRight, {100, 300, 20, 200}, {100, 194, 108, 200}},
        MinimumCase{"BottomLeftCorner", hitBottomLeft, {300, 80, 260, 10}, {252, 80, 260, 86}},
        MinimumCase{"EdgeLeavesTheOtherAxis", hitRight, {100, 80, 260, 82}, {100, 80, 260, 82}},
        MinimumCase{"MiddleLeavesEverything", hitMiddle, {100, 80, 101, 81}, {100, 80, 101, 81}},
        MinimumCase{"NothingLeavesEverything", hitNothing, {100, 80, 101, 81}, {100, 80, 101, 81}}),
    CaseName<MinimumCase>);

INSTANTIATE_TEST_SUITE_P(
    WithInversion, KeepMinimumSizeInvertingTest,
    testing::Values(
        MinimumCase{"RightFarPastTheLeftStays", hitRight, {100, 80, 80, 200}, {100, 80, 80, 200}},
        MinimumCase{"RightJustPastTheLeft", hitRight, {100, 80, 97, 200}, {100, 80, 92, 200}},
        MinimumCase{"RightJustShortOfTheLeft", hitRight, {100, 80, 104, 200}, {100, 80, 108, 200}},
        MinimumCase{"RightOnTheLeft", hitRight, {100, 80, 100, 200}, {100, 80, 108, 200}},
        MinimumCase{"LeftFarPastTheRightStays", hitLeft, {290, 80, 260, 200}, {290, 80, 260, 200}},
        MinimumCase{"LeftJustPastTheRight", hitLeft, {262, 80, 260, 200}, {268, 80, 260, 200}},
        MinimumCase{"BottomJustAboveTheTop", hitBottom, {100, 80, 260, 78}, {100, 80, 260, 74}},
        MinimumCase{"CornerBothWays", hitTopLeft, {300, 250, 260, 200}, {300, 250, 260, 200}}),
    CaseName<MinimumCase>);

TEST(KeepMinimumSize, RectangleStoredRightToLeftStaysSo) {
    // Its right member is the visible left edge: it keeps 8 pixels left of the left member.
    const RECT rcStart = {260, 80, 100, 200};
    RECT rc = {260, 80, 88, 200};
    KeepMinimumSize(rc, hitRight, kMin, false, rcStart);
    EXPECT_EQ(rc, (RECT{260, 80, 88, 200}));
    rc = RECT{260, 80, 255, 200};
    KeepMinimumSize(rc, hitRight, kMin, false, rcStart);
    EXPECT_EQ(rc, (RECT{260, 80, 252, 200}));
    rc = RECT{260, 80, 300, 200};
    KeepMinimumSize(rc, hitRight, kMin, false, rcStart);
    EXPECT_EQ(rc, (RECT{260, 80, 252, 200})) << "turned the right way round";
    // With inversion an empty width goes back to the side it started on.
    rc = RECT{260, 80, 260, 200};
    KeepMinimumSize(rc, hitRight, kMin, true, rcStart);
    EXPECT_EQ(rc, (RECT{260, 80, 252, 200}));
}

// ---------------------------------------------------------------------------------------------
// ChooseBoxMove

struct BoxMoveCase {
    const char *name;
    RECT rcNew;
    POINT ptAnchor, ptOld, ptNew;
};

class ChooseBoxMoveTest : public testing::TestWithParam<BoxMoveCase> {};

TEST_P(ChooseBoxMoveTest, AnchorsTheCornerThatTheDragKeeps) {
    // The previous rectangle is always kRect (100, 80, 260, 200).
    const BoxMoveCase &c = GetParam();
    const BoxMove move = ChooseBoxMove(c.rcNew, kRect);
    EXPECT_EQ(move.ptAnchor, c.ptAnchor);
    EXPECT_EQ(move.ptOld, c.ptOld);
    EXPECT_EQ(move.ptNew, c.ptNew);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, ChooseBoxMoveTest,
    testing::Values(
        // Bottom-right: anchor the new top-left, from the previous to the new bottom-right.
        BoxMoveCase{"BottomRightHandle", {100, 80, 270, 215}, {100, 80}, {260, 200}, {270, 215}},
        // Top-left: anchor the new bottom-right, from the previous to the new top-left.
        BoxMoveCase{"TopLeftHandle", {90, 70, 260, 200}, {260, 200}, {100, 80}, {90, 70}},
        // Right edge: anchor (N.left, N.top), from (P.right, P.bottom) to (N.right, N.bottom).
        BoxMoveCase{"RightEdge", {100, 80, 240, 200}, {100, 80}, {260, 200}, {240, 200}},
        BoxMoveCase{"TopRightHandle", {100, 70, 270, 200}, {100, 200}, {260, 80}, {270, 70}},
        BoxMoveCase{"BottomLeftHandle", {90, 80, 260, 215}, {260, 80}, {100, 200}, {90, 215}},
        BoxMoveCase{"TopEdge", {100, 60, 260, 200}, {100, 200}, {260, 80}, {260, 60}},
        BoxMoveCase{"Unchanged", {100, 80, 260, 200}, {100, 80}, {260, 200}, {260, 200}}),
    CaseName<BoxMoveCase>);

TEST(ChooseBoxMove, ErasesThePreviousAndDrawsTheNewBoxForEveryHandleDrag) {
    // Whatever a single handle does, the box from the anchor to the old corner is the previous
    // rectangle and the box to the new corner is the new one, also when the drag inverts it.
    const auto Box = [](POINT a, POINT b) { return NormalizedRect(RECT{a.x, a.y, b.x, b.y}); };
    for (int nHandle = hitTopLeft; nHandle <= hitLeft; ++nHandle) {
        for (POINT ptNow : {POINT{7, 11}, POINT{-13, -4}, POINT{-200, 150}}) {
            const RECT rcNew = DragEdges(kRect, nHandle, POINT{0, 0}, ptNow);
            const BoxMove move = ChooseBoxMove(rcNew, kRect);
            EXPECT_EQ(Box(move.ptAnchor, move.ptOld), kRect) << "handle " << nHandle;
            EXPECT_EQ(Box(move.ptAnchor, move.ptNew), NormalizedRect(rcNew))
                << "handle " << nHandle;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// UnionRectPoint

struct UnionCase {
    const char *name;
    POINT pt;
    RECT want;
};

class UnionRectPointTest : public testing::TestWithParam<UnionCase> {};

TEST_P(UnionRectPointTest, GrowsJustEnoughToReachThePoint) {
    EXPECT_EQ(UnionRectPoint(kRect, GetParam().pt), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Points, UnionRectPointTest,
    testing::Values(UnionCase{"InsideChangesNothing", {150, 150}, {100, 80, 260, 200}},
                    UnionCase{"OnTheTopLeftCornerChangesNothing", {100, 80}, {100, 80, 260, 200}},
                    UnionCase{"OnTheRightEdgeChangesNothing", {260, 150}, {100, 80, 260, 200}},
                    UnionCase{"OnTheBottomEdgeChangesNothing", {150, 200}, {100, 80, 260, 200}},
                    UnionCase{"BeyondTheRightBecomesTheRightEdge", {300, 150}, {100, 80, 300, 200}},
                    UnionCase{
                        "BeyondTheBottomBecomesTheBottomEdge", {150, 250}, {100, 80, 260, 250}},
                    UnionCase{"LeftOfTheLeftBecomesTheLeftEdge", {40, 150}, {40, 80, 260, 200}},
                    UnionCase{"AboveTheTopBecomesTheTopEdge", {150, 10}, {100, 10, 260, 200}},
                    UnionCase{"BeyondTheBottomRightCorner", {300, 250}, {100, 80, 300, 250}},
                    UnionCase{"BeyondTheTopLeftCorner", {-40, -10}, {-40, -10, 260, 200}}),
    CaseName<UnionCase>);

// NudgedRect: kRect is {100, 80, 260, 200}; the limit is a virtual screen from (-800, 0).

struct NudgeCase {
    const char *name;
    RECT rc;
    UINT nKey;
    int nStep;
    bool bResize;
    RECT want;
};

class NudgedRectTest : public testing::TestWithParam<NudgeCase> {};

TEST_P(NudgedRectTest, MovesOrResizesWithinTheVirtualScreen) {
    const NudgeCase &c = GetParam();
    EXPECT_EQ(NudgedRect(c.rc, c.nKey, c.nStep, c.bResize, RECT{-800, 0, 1024, 768}), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, NudgedRectTest,
    testing::Values(
        NudgeCase{"LeftMovesOnePixel", kRect, VK_LEFT, 1, false, {99, 80, 259, 200}},
        NudgeCase{"DownWithShiftMovesTen", kRect, VK_DOWN, 10, false, {100, 90, 260, 210}},
        NudgeCase{"CtrlRightWidensTheRightEdge", kRect, VK_RIGHT, 1, true, {100, 80, 261, 200}},
        NudgeCase{"CtrlUpRaisesTheBottomEdge", kRect, VK_UP, 10, true, {100, 80, 260, 190}},
        NudgeCase{
            "NeverSmallerThanOnePixel", {100, 80, 105, 84}, VK_LEFT, 10, true, {100, 80, 101, 84}},
        NudgeCase{"StopsAtTheRightEdge",
                  {1000, 80, 1020, 200},
                  VK_RIGHT,
                  10,
                  false,
                  {1004, 80, 1024, 200}},
        NudgeCase{"StopsAtTheLeftOfTheSecondMonitor",
                  {-795, 80, -700, 200},
                  VK_LEFT,
                  10,
                  false,
                  {-800, 80, -705, 200}},
        NudgeCase{"GrowsNoFurtherThanTheBottom",
                  {100, 700, 200, 765},
                  VK_DOWN,
                  10,
                  true,
                  {100, 700, 200, 768}},
        NudgeCase{"ABoxBeyondTheEdgeIsNotPulledBack",
                  {1000, 80, 1030, 200},
                  VK_RIGHT,
                  1,
                  false,
                  {1000, 80, 1030, 200}}),
    CaseName<NudgeCase>);

// BandCorners: the band from (100, 100), within a virtual screen from (-800, 0).
TEST(BandCorners, FollowShiftAndCtrlWithinTheScreen) {
    const struct {
        POINT ptAnchor, ptPointer;
        UINT fModifiers;
        POINT ptFrom, ptTo;
    } cases[] = {{{100, 100}, {150, 130}, 0, {100, 100}, {150, 130}},
                 {{100, 100}, {150, 130}, MOD_SHIFT, {100, 100}, {150, 150}},
                 {{100, 100}, {60, 130}, MOD_SHIFT, {100, 100}, {60, 140}},
                 {{100, 100}, {150, 130}, MOD_CONTROL, {50, 70}, {150, 130}},
                 {{100, 100}, {150, 130}, MOD_SHIFT | MOD_CONTROL, {50, 50}, {150, 150}},
                 {{10, 10}, {60, 40}, MOD_CONTROL, {-40, 0}, {60, 40}},
                 // A square meeting an edge of the screen stays square, on either side.
                 {{1000, 100}, {1100, 130}, MOD_SHIFT, {1000, 100}, {1024, 124}},
                 {{100, 20}, {70, -50}, MOD_SHIFT, {100, 20}, {80, 0}},
                 {{-790, 700}, {-700, 710}, MOD_SHIFT | MOD_CONTROL, {-800, 690}, {-780, 710}}};
    for (const auto &c : cases) {
        const BandSpan span =
            BandCorners(c.ptAnchor, c.ptPointer, c.fModifiers, {-800, 0, 1024, 768});
        EXPECT_EQ(span.ptFrom.x, c.ptFrom.x) << c.fModifiers << " " << c.ptPointer.x;
        EXPECT_EQ(span.ptFrom.y, c.ptFrom.y) << c.fModifiers << " " << c.ptPointer.x;
        EXPECT_EQ(span.ptTo.x, c.ptTo.x) << c.fModifiers << " " << c.ptPointer.x;
        EXPECT_EQ(span.ptTo.y, c.ptTo.y) << c.fModifiers << " " << c.ptPointer.x;
    }
}

// A ratio kept: the axis further out in proportion leads, the other follows, rounded to the
// nearest pixel, within the room the screen has; a fixed box centred on the pointer, within it.
TEST(ShapeGeometry, RatiosAndFixedBoxesStayWithinTheScreen) {
    const SIZE k169 = {16, 9};
    const struct {
        LONG dx, dy, nRoomX, nRoomY;
        SIZE szRatio, want;
    } ratios[] = {{160, 100, 1000, 1000, k169, {178, 100}},     // y further out: it leads
                  {-200, -100, 1000, 1000, k169, {-200, -113}}, // x leads; 112.5 rounds up
                  {300, 0, 1000, 100, k169, {178, 100}},        // the follower meets the screen
                  {50, 50, 1000, 1000, {1, 1}, {50, 50}},
                  {90, 200, 1000, 1000, {9, 16}, {113, 200}}};
    for (const auto &c : ratios) {
        const SIZE sz = RatioSize(c.dx, c.dy, c.szRatio, c.nRoomX, c.nRoomY);
        EXPECT_EQ(sz.cx, c.want.cx) << c.dx << "," << c.dy;
        EXPECT_EQ(sz.cy, c.want.cy) << c.dx << "," << c.dy;
    }
    const RECT rcScreen = {-800, 0, 1024, 768};
    EXPECT_EQ(FixedRectAt({500, 400}, {640, 360}, rcScreen), (RECT{180, 220, 820, 580}));
    EXPECT_EQ(FixedRectAt({1020, 760}, {640, 360}, rcScreen), (RECT{384, 408, 1024, 768}));
    EXPECT_EQ(FixedRectAt({-790, 5}, {640, 360}, rcScreen), (RECT{-800, 0, -160, 360}));
    // A handle keeps the ratio: a corner as Shift would, an edge moving the other far edge.
    EXPECT_EQ(DragEdges({300, 300, 478, 400}, hitBottomRight, {478, 400}, {556, 436}, 0, k169),
              (RECT{300, 300, 556, 444}));
    EXPECT_EQ(DragEdges({300, 300, 460, 390}, hitRight, {460, 345}, {620, 345}, 0, k169),
              (RECT{300, 300, 620, 480}));
    EXPECT_EQ(NudgedRect({100, 100, 260, 190}, VK_RIGHT, 16, true, rcScreen, k169),
              (RECT{100, 100, 276, 199}));
    const BandSpan span = BandCorners({100, 100}, {400, 200}, MOD_SHIFT, rcScreen, k169);
    EXPECT_EQ(span.ptTo.x, 400);
    EXPECT_EQ(span.ptTo.y, 269) << "the ratio wins over Shift";
}

} // namespace
