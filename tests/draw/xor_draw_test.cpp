#include "draw/box_geometry.h"
#include "draw/loupe_geometry.h"
#include "draw/xor_draw.h"

#include "screen_snapshot.h"

#include <gtest/gtest.h>

namespace {

struct CornerCase {
    const char *name;
    POINT first, second;
    POINT wantFirst, wantSecond;
};

class NormalizeCornersTest : public testing::TestWithParam<CornerCase> {};

TEST_P(NormalizeCornersTest, OrdersEachAxisOnItsOwn) {
    CornerCase c = GetParam();
    NormalizeCorners(c.first, c.second);
    EXPECT_EQ(c.first.x, c.wantFirst.x);
    EXPECT_EQ(c.first.y, c.wantFirst.y);
    EXPECT_EQ(c.second.x, c.wantSecond.x);
    EXPECT_EQ(c.second.y, c.wantSecond.y);
}

INSTANTIATE_TEST_SUITE_P(
    Corners, NormalizeCornersTest,
    testing::Values(CornerCase{"AlreadyOrdered", {0, 0}, {10, 10}, {0, 0}, {10, 10}},
                    CornerCase{"CrossedXOnly", {10, 0}, {0, 10}, {0, 0}, {10, 10}},
                    CornerCase{"CrossedYOnly", {0, 10}, {10, 0}, {0, 0}, {10, 10}},
                    CornerCase{"BothCrossed", {10, 10}, {0, 0}, {0, 0}, {10, 10}},
                    CornerCase{"EqualValuesStay", {5, 7}, {5, 7}, {5, 7}, {5, 7}},
                    CornerCase{"NegativeComparedSigned", {-3, 4}, {-8, -2}, {-8, -2}, {-3, 4}}),
    [](const testing::TestParamInfo<CornerCase> &info) { return info.param.name; });

// The loupe (138 by 174) beside the hot spot, 24 away, on the pointer's monitor and off the
// selection; monitors as the two-monitor layouts have them.
struct LoupeCase {
    const char *name;
    POINT pt;
    RECT rcMonitor, rcAvoid;
    POINT wantCorner;
};

class PlaceLoupeTest : public testing::TestWithParam<LoupeCase> {};

TEST_P(PlaceLoupeTest, TakesTheFirstPlaceOnTheMonitorAndOffTheSelection) {
    const LoupeCase &c = GetParam();
    const RECT rcShown = {c.pt.x - 8, c.pt.y - 8, c.pt.x + 9, c.pt.y + 9};
    const RECT rc = PlaceLoupe(c.pt, SIZE{138, 174}, 24, c.rcMonitor, c.rcAvoid, rcShown);
    EXPECT_EQ(rc.left, c.wantCorner.x);
    EXPECT_EQ(rc.top, c.wantCorner.y);
    EXPECT_EQ(rc.right - rc.left, 138);
    RECT rcOn;
    EXPECT_TRUE(IntersectRect(&rcOn, &rc, &c.rcMonitor) && EqualRect(&rcOn, &rc));
}

const RECT kPrimary = {0, 0, 1024, 768}, kLeft = {-800, 0, 0, 600}, kAbove = {0, -600, 1024, 0};
const RECT kNone = {0, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Places, PlaceLoupeTest,
    testing::Values(
        LoupeCase{"BelowRightFirst", {300, 300}, kPrimary, kNone, {324, 324}},
        LoupeCase{"OffABandDrawnUpAndLeft", {300, 300}, kPrimary, {100, 100, 301, 301}, {324, 324}},
        LoupeCase{"OffABandDrawnDownAndRight", {300, 300}, kPrimary, {299, 299, 500, 500},
                  {138, 324}},
        LoupeCase{"BelowLeftAtTheRightEdge", {1000, 300}, kPrimary, kNone, {838, 324}},
        LoupeCase{"AboveRightAtTheBottom", {300, 760}, kPrimary, kNone, {324, 562}},
        LoupeCase{"AboveLeftInTheCorner", {1020, 760}, kPrimary, kNone, {858, 562}},
        LoupeCase{"LeastCoverWhenEveryPlaceCovers", {1020, 760}, kPrimary, {900, 600, 1021, 761},
                  {858, 562}},
        LoupeCase{"MovedOntoASmallMonitorOffItsPixels", {5, 5}, RECT{0, 0, 150, 200}, kNone,
                  {12, 26}},
        LoupeCase{"StaysOnTheLeftMonitor", {-10, 300}, kLeft, kNone, {-172, 324}},
        LoupeCase{"AboveLeftInTheLeftMonitorsCorner", {-10, 590}, kLeft, kNone, {-172, 392}},
        LoupeCase{"NeverInTheGapBelowTheLeftMonitor", {-700, 590}, kLeft, {-800, 400, -600, 600},
                  {-676, 392}},
        LoupeCase{"StaysOnTheMonitorAbove", {400, -10}, kAbove, kNone, {424, -208}}),
    [](const testing::TestParamInfo<LoupeCase> &info) { return info.param.name; });

TEST(LoupeZoom, ShowsWholePixelsWithinItsGapAndStepsWithinTwoToSixteen) {
    EXPECT_EQ(LoupeSourceSide(8, 136, 24), 17);
    EXPECT_EQ(LoupeSourceSide(2, 136, 24), 47);  // within 24 of the hot spot
    EXPECT_EQ(LoupeSourceSide(16, 136, 24), 7);  // odd: a centre pixel
    EXPECT_EQ(LoupeSourceSide(12, 204, 36), 17); // 144 DPI
    EXPECT_EQ(LoupeZoomAfter(8, 1), 9);
    EXPECT_EQ(LoupeZoomAfter(3, -5), LOUPE_ZOOM_MIN);
    EXPECT_EQ(LoupeZoomAfter(15, 3), LOUPE_ZOOM_MAX);
}

// Drawing happens over a striped window so that an inversion shows on every colour.
class XorDrawTest : public testing::Test {
protected:
    XorDrawTest() : m_pattern(RECT{100, 100, 500, 400}) {}
    void SetUp() override { m_before = ScreenSnapshot::Take(); }
    void TearDown() override {
        EXPECT_TRUE(ScreenSnapshot::Take() == m_before) << "the test left pixels changed";
    }

    // What changed since the start; every changed pixel must be an exact inversion.
    PixelSet Changed() {
        ScreenSnapshot now = ScreenSnapshot::Take();
        EXPECT_TRUE(NotInverted(m_before, now).empty());
        return ChangedPixels(m_before, now);
    }
    bool ScreenAsBefore() { return ScreenSnapshot::Take() == m_before; }

    PatternWindow m_pattern;
    ScreenSnapshot m_before;
};

TEST_F(XorDrawTest, RectangleOutlineLiesOnFirstAndLastPixelInsideTheCorners) {
    EXPECT_NE(XorBox(120, 130, 220, 180, 0), 0);
    EXPECT_EQ(Changed(), RectOutline(120, 130, 220, 180));
    EXPECT_NE(XorBox(120, 130, 220, 180, 0), 0);
    EXPECT_TRUE(ScreenAsBefore());
}

TEST_F(XorDrawTest, AnyCornerOrderDrawsTheSameFigure) {
    for (BOOL bEllipseFlag : {0, 1}) {
        XorBox(150, 160, 300, 250, bEllipseFlag);
        ScreenSnapshot drawn = ScreenSnapshot::Take();
        // Erasing with the corners exchanged, and with the axes mixed, must both undo the figure.
        XorBox(300, 250, 150, 160, bEllipseFlag);
        EXPECT_TRUE(ScreenAsBefore());
        XorBox(150, 250, 300, 160, bEllipseFlag);
        EXPECT_TRUE(ScreenSnapshot::Take() == drawn);
        XorBox(300, 160, 150, 250, bEllipseFlag);
        EXPECT_TRUE(ScreenAsBefore());
    }
}

TEST_F(XorDrawTest, AnyNonzeroFlagDrawsTheInscribedEllipse) {
    XorBox(140, 140, 260, 220, 1);
    PixelSet ellipse = Changed();
    XorBox(140, 140, 260, 220, 1);

    XorBox(140, 140, 260, 220, 2);
    EXPECT_EQ(Changed(), ellipse);
    XorBox(140, 140, 260, 220, 2);

    // The ellipse touches all four sides of its rectangle and has no corner pixels.
    RECT rcBounds = BoundsOf(ellipse);
    EXPECT_EQ(rcBounds.left, 140);
    EXPECT_EQ(rcBounds.top, 140);
    EXPECT_EQ(rcBounds.right, 260);
    EXPECT_EQ(rcBounds.bottom, 220);
    EXPECT_EQ(ellipse.count({140, 140}), 0u);
    EXPECT_NE(ellipse, RectOutline(140, 140, 260, 220));
}

TEST_F(XorDrawTest, MoveXorBoxLeavesExactlyTheBoxToTheNewCorner) {
    for (BOOL bEllipseFlag : {0, 1}) {
        XorBox(200, 200, 260, 240, bEllipseFlag);
        EXPECT_NE(MoveXorBox(200, 200, 260, 240, 150, 320, bEllipseFlag), 0);
        // Only the box to the new corner is left: erasing it gives the first screen back.
        XorBox(200, 200, 150, 320, bEllipseFlag);
        EXPECT_TRUE(ScreenAsBefore());
    }
}

TEST_F(XorDrawTest, MoveXorBoxToTheSameCornerLeavesTheBoxUnchanged) {
    XorBox(200, 200, 260, 240, 0);
    ScreenSnapshot drawn = ScreenSnapshot::Take();
    MoveXorBox(200, 200, 260, 240, 260, 240, 0);
    EXPECT_TRUE(ScreenSnapshot::Take() == drawn);
    XorBox(200, 200, 260, 240, 0);
}

TEST_F(XorDrawTest, LineLeavesOutItsEndPixel) {
    const POINT ptStart = {130, 150};
    const POINT ptEnd = {230, 150};
    EXPECT_NE(SPXXorLine(&ptStart, &ptEnd), 0);
    EXPECT_EQ(Changed(), StraightLine(130, 150, 230, 150));
    SPXXorLine(&ptStart, &ptEnd);
    EXPECT_TRUE(ScreenAsBefore());

    const POINT ptDiagonal = {180, 200};
    SPXXorLine(&ptStart, &ptDiagonal);
    EXPECT_EQ(Changed(), StraightLine(130, 150, 180, 200));
    SPXXorLine(&ptStart, &ptDiagonal);
}

TEST_F(XorDrawTest, PointMarkerAndVertexMarkerAreDifferentCircles) {
    const POINT pt = {300, 250};
    EXPECT_NE(SPXXorPoint(&pt), 0);
    PixelSet point = Changed();
    EXPECT_EQ(BoundsOf(point).left, 297);
    EXPECT_EQ(BoundsOf(point).right, 303);
    EXPECT_EQ(BoundsOf(point).top, 247);
    EXPECT_EQ(BoundsOf(point).bottom, 253);
    SPXXorPoint(&pt);
    EXPECT_TRUE(ScreenAsBefore());

    XorVertexMarker(pt);
    PixelSet marker = Changed();
    EXPECT_EQ(BoundsOf(marker).left, 295);
    EXPECT_EQ(BoundsOf(marker).right, 305);
    EXPECT_EQ(BoundsOf(marker).top, 245);
    EXPECT_EQ(BoundsOf(marker).bottom, 255);

    // Each circle is erased by its own operation only.
    SPXXorPoint(&pt);
    EXPECT_FALSE(ScreenAsBefore());
    SPXXorPoint(&pt);
    XorVertexMarker(pt);
    EXPECT_TRUE(ScreenAsBefore());
}

TEST_F(XorDrawTest, OverlappingFiguresComeOffInAnyOrder) {
    const POINT pt = {200, 200};
    XorBox(180, 180, 260, 260, 0);
    XorBox(190, 170, 240, 280, 1);
    SPXXorPoint(&pt);
    XorBox(180, 180, 260, 260, 0);
    SPXXorPoint(&pt);
    XorBox(190, 170, 240, 280, 1);
    EXPECT_TRUE(ScreenAsBefore());
}

TEST_F(XorDrawTest, NullPointsDrawNothingAndFail) {
    const POINT pt = {200, 200};
    EXPECT_EQ(SPXXorLine(nullptr, &pt), 0);
    EXPECT_EQ(SPXXorLine(&pt, nullptr), 0);
    EXPECT_EQ(SPXXorPoint(nullptr), 0);
    EXPECT_TRUE(ScreenAsBefore());
}

class XorWindowTest : public XorDrawTest {
protected:
    XorWindowTest()
        : m_target(CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "target",
                                   WS_POPUP | WS_VISIBLE | WS_BORDER, 150, 150, 200, 120, nullptr,
                                   nullptr, nullptr, nullptr)) {
        SettleScreen();
    }
    ~XorWindowTest() override {
        DestroyWindow(m_target);
        SettleScreen();
    }
    void SetUp() override { m_before = ScreenSnapshot::Take(); }

    HWND m_target;
};

TEST_F(XorWindowTest, FrameIsADialogFrameWideBandAlongTheWindowsOuterEdge) {
    RECT rc;
    ASSERT_TRUE(GetWindowRect(m_target, &rc));
    const int nWidth = GetSystemMetrics(SM_CXDLGFRAME);
    ASSERT_GT(nWidth, 0);

    EXPECT_NE(SPXXORWindow(m_target), 0);
    PixelSet band;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (x < rc.left + nWidth || x >= rc.right - nWidth || y < rc.top + nWidth ||
                y >= rc.bottom - nWidth)
                band.insert({x, y});
    EXPECT_EQ(Changed(), band);

    EXPECT_NE(SPXXORWindow(m_target), 0);
    EXPECT_TRUE(ScreenAsBefore());
}

TEST_F(XorDrawTest, FrameOfADeadOrNullWindowDrawsNothingAndFails) {
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    DestroyWindow(hwnd);
    EXPECT_EQ(SPXXORWindow(hwnd), 0);
    EXPECT_EQ(SPXXORWindow(nullptr), 0);
    EXPECT_EQ(SPXXORWindow(reinterpret_cast<HWND>(0x7ffe)), 0);
    EXPECT_TRUE(ScreenAsBefore());
}

} // namespace
