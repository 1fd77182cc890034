// Polygon arithmetic: nearness, bounds and the linear map used to stretch a polygon from one
// rectangle onto another. No display is needed.
#include "shape/edge_snap.h"
#include "shape/pick_geometry.h"
#include "shape/polygon_geometry.h"

#include "rect_compare.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

TEST(PolygonGeometry, PointsAreNearWhenBothAxesDifferByAtMostTheTolerance) {
    struct Case {
        POINT ptFirst;
        POINT ptSecond;
        int nTolerance;
        BOOL bNear;
    };
    const Case cases[] = {
        {{100, 100}, {100, 100}, 2, TRUE},  // the same point
        {{100, 100}, {102, 98}, 2, TRUE},   // (2, -2): a corner of the square
        {{100, 100}, {98, 102}, 2, TRUE},   // (-2, 2): the opposite corner
        {{100, 100}, {102, 102}, 2, TRUE},  //
        {{100, 100}, {103, 100}, 2, FALSE}, // (3, 0): one pixel beyond on x alone
        {{100, 100}, {97, 100}, 2, FALSE},  //
        {{100, 100}, {100, 103}, 2, FALSE}, // one pixel beyond on y alone
        {{100, 100}, {100, 97}, 2, FALSE},  //
        {{100, 100}, {102, 103}, 2, FALSE}, // within on x, beyond on y
        {{100, 100}, {103, 102}, 2, FALSE}, // beyond on x, within on y
        {{-5, -5}, {-3, -7}, 2, TRUE},      // negative coordinates
        {{-1, 0}, {1, 0}, 2, TRUE},         // across zero
        {{40, 40}, {40, 40}, 0, TRUE},      // tolerance 0: only the point itself
        {{40, 40}, {41, 40}, 0, FALSE},     //
        {{40, 40}, {43, 37}, 3, TRUE},      // another tolerance scales the square
        {{40, 40}, {44, 40}, 3, FALSE},     //
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "(" << c.ptFirst.x << ", " << c.ptFirst.y << ") and (" << c.ptSecond.x
                     << ", " << c.ptSecond.y << "), tolerance " << c.nTolerance);
        EXPECT_EQ(c.bNear, IsNearPoint(c.ptFirst, c.ptSecond, c.nTolerance));
        EXPECT_EQ(c.bNear, IsNearPoint(c.ptSecond, c.ptFirst, c.nTolerance)) << "swapped";
    }
}

TEST(PolygonGeometry, NearnessOfExtremeCoordinatesDoesNotWrapAround) {
    struct Case {
        POINT ptFirst;
        POINT ptSecond;
        int nTolerance;
        BOOL bNear;
    };
    const Case cases[] = {
        // The differences below do not fit in 32 bits; wrapped, they would look small.
        {{INT_MIN, 0}, {INT_MAX, 0}, 2, FALSE},
        {{0, INT_MIN}, {0, INT_MAX}, 2, FALSE},
        {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, INT_MAX, FALSE},
        {{INT_MIN, 0}, {0, 0}, 2, FALSE}, // a difference of INT_MIN has no 32-bit magnitude
        {{0, INT_MIN}, {0, 0}, 2, FALSE},
        {{INT_MIN, 0}, {1, 0}, INT_MAX, FALSE},
        // Near the limits, nearby points are still near.
        {{INT_MIN, INT_MIN}, {INT_MIN + 2, INT_MIN + 2}, 2, TRUE},
        {{INT_MAX, INT_MAX}, {INT_MAX - 2, INT_MAX - 2}, 2, TRUE},
        {{INT_MAX, INT_MIN}, {INT_MAX - 3, INT_MIN}, 2, FALSE},
        {{-1, 0}, {INT_MAX - 1, 0}, INT_MAX, TRUE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "(" << c.ptFirst.x << ", " << c.ptFirst.y << ") and (" << c.ptSecond.x
                     << ", " << c.ptSecond.y << "), tolerance " << c.nTolerance);
        EXPECT_EQ(c.bNear, IsNearPoint(c.ptFirst, c.ptSecond, c.nTolerance));
        EXPECT_EQ(c.bNear, IsNearPoint(c.ptSecond, c.ptFirst, c.nTolerance)) << "swapped";
    }
}

TEST(PolygonGeometry, BoundsPassThroughTheExtremeVerticesWithNothingAdded) {
    struct Case {
        const char *szName;
        std::vector<POINT> apt;
        RECT rcExpected;
    };
    const Case cases[] = {
        {"triangle", {{10, 20}, {30, 5}, {25, 40}}, {10, 5, 30, 40}},
        {"single vertex", {{7, 9}}, {7, 9, 7, 9}},
        {"extremes on the last vertex", {{5, 5}, {6, 6}, {1, 9}}, {1, 5, 6, 9}},
        {"smallest after the largest", {{5, 5}, {9, 9}, {1, 1}}, {1, 1, 9, 9}},
        {"largest after the smallest", {{5, 5}, {1, 1}, {9, 9}}, {1, 1, 9, 9}},
        {"one axis grows while the other shrinks",
         {{0, 0}, {10, -10}, {-10, 10}},
         {-10, -10, 10, 10}},
        {"all on one horizontal line", {{3, 8}, {-4, 8}, {12, 8}}, {-4, 8, 12, 8}},
        {"negative coordinates", {{-30, -40}, {-10, -60}, {-20, -50}}, {-30, -60, -10, -40}},
        {"limits of the coordinate range",
         {{0, 0}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}},
         {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        EXPECT_EQ(c.rcExpected, PolygonBounds(c.apt.data(), UINT(c.apt.size())));
    }
}

TEST(PolygonGeometry, BoundsOfNoVerticesAreTheRectangleOfTheFirstEntry) {
    const POINT apt[] = {{12, 34}, {100, 200}};
    EXPECT_EQ(RECT({12, 34, 12, 34}), PolygonBounds(apt, 0));
}

TEST(PolygonGeometry, BoundsLookOnlyAtTheCountedVertices) {
    const POINT apt[] = {{10, 10}, {20, 5}, {-500, 900}};
    EXPECT_EQ(RECT({10, 5, 20, 10}), PolygonBounds(apt, 2));
}

struct MapCase {
    const char *szName;
    LONG nValue, nSrcLow, nSrcHigh, nDstLow, nDstHigh;
    LONG nExpected;
};

TEST(PolygonGeometry, MappedCoordinatesAreTruncatedTowardZero) {
    const MapCase cases[] = {
        {"0..10 onto 0..15: 1.5 becomes 1", 1, 0, 10, 0, 15, 1},
        {"0..10 onto 0..15: 4.5 becomes 4", 3, 0, 10, 0, 15, 4},
        {"0..10 onto 0..15: the far edge", 10, 0, 10, 0, 15, 15},
        {"0..10 onto -15..0: -13.5 becomes -13, not -14", 1, 0, 10, -15, 0, -13},
        {"0..10 onto -15..0: -10.5 becomes -10", 3, 0, 10, -15, 0, -10},
        {"-2.9 becomes -2", -29, 0, 10, 0, 1, -2},
        {"2.9 becomes 2", 29, 0, 10, 0, 1, 2},
        {"a point left of the source maps left of the destination", -2, 0, 10, 100, 115, 97},
        {"offset source and destination", 25, 20, 30, 300, 320, 310},
        {"mirrored", 3, 0, 10, 15, 0, 10},
        {"reversed source", 3, 10, 0, 0, 15, 10},
        {"a source of no length is a translation", 7, 5, 5, 100, 130, 102},
        {"a translation below the source start", 2, 5, 5, 100, 130, 97},
        {"collapsed axis", 1234, 0, 10, 50, 50, 50},
        // A ratio with no exact binary value: the edges still land on the edges.
        {"the far edge of 180..320 onto 180..350", 320, 180, 320, 180, 350, 350},
        {"the far edge of 0..3 onto 0..1", 3, 0, 3, 0, 1, 1},
        {"the far edge of 0..49 onto 0..7", 49, 0, 49, 0, 7, 7},
    };
    for (const MapCase &c : cases) {
        SCOPED_TRACE(c.szName);
        EXPECT_EQ(c.nExpected,
                  MapCoordinate(c.nValue, c.nSrcLow, c.nSrcHigh, c.nDstLow, c.nDstHigh));
    }
}

TEST(PolygonGeometry, MappedCoordinatesBeyondTheIntegerRangeAreHeldAtItsLimits) {
    const MapCase cases[] = {
        {"far above", INT_MAX, 0, 1, 0, 2, INT_MAX},
        {"far below", INT_MIN, 0, 1, 0, 2, INT_MIN},
        {"one above", INT_MAX, 0, 0, 1, 1, INT_MAX},
        {"one below", INT_MIN, 0, 0, -1, -1, INT_MIN},
        {"exactly the largest", INT_MAX, 0, 0, 0, 0, INT_MAX},
        {"exactly the smallest", INT_MIN, 0, 0, 0, 0, INT_MIN},
        {"a half above the largest truncates to it", 1, 0, -2, INT_MAX - 1, INT_MAX - 4, INT_MAX},
        {"huge ratio", 3, 0, 1, INT_MIN, INT_MAX, INT_MAX},
        {"huge negative ratio", 3, 0, 1, INT_MAX, INT_MIN, INT_MIN},
        // The difference from the source start does not fit in 32 bits.
        {"difference above the range", INT_MAX, INT_MIN, INT_MIN, 0, 0, INT_MAX},
        {"difference below the range", INT_MIN, INT_MAX, INT_MAX, 0, 0, INT_MIN},
        {"large difference scaled back into the range", INT_MAX, INT_MIN, INT_MAX, INT_MIN,
         INT_MIN + 1, INT_MIN + 1},
    };
    for (const MapCase &c : cases) {
        SCOPED_TRACE(c.szName);
        EXPECT_EQ(c.nExpected,
                  MapCoordinate(c.nValue, c.nSrcLow, c.nSrcHigh, c.nDstLow, c.nDstHigh));
    }
}

TEST(PolygonGeometry, AnEdgeWithShiftKeepsToTheNearestEighthOfATurn) {
    const struct {
        POINT pt, want;
    } cases[] = {{{200, 110}, {200, 100}},
                 {{110, 200}, {100, 200}},
                 {{160, 165}, {162, 162}},
                 {{40, 170}, {35, 165}},
                 {{100, 100}, {100, 100}}};
    for (const auto &c : cases) {
        const POINT pt = SnappedToEighths(POINT{100, 100}, c.pt);
        EXPECT_EQ(pt.x, c.want.x) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(pt.y, c.want.y) << c.pt.x << "," << c.pt.y;
    }
}

// Snapping: a window (100, 100, 200, 180) whose right edge a window above covers from y 90 down
// to 140, and a control (120, 120, 150, 140) inside it; reach 8.
TEST(EdgeSnap, EachAxisGoesToTheNearestVisibleEdgeInReach) {
    static SnapEdges edges;
    edges.nVertical = edges.nHorizontal = 0;
    AddRectEdges(edges, RECT{100, 100, 200, 180});
    HideEdgesUnder(edges, 0, 0, RECT{190, 90, 260, 140});
    AddRectEdges(edges, RECT{120, 120, 150, 140});
    const struct {
        POINT pt, want;
    } cases[] = {{{95, 95}, {100, 100}},    // outside the corner, both axes
                 {{205, 185}, {200, 180}},  // the opposite corner
                 {{88, 150}, {88, 150}},    // 12 pixels off: nothing
                 {{205, 120}, {205, 120}},  // the right edge is covered here
                 {{205, 160}, {200, 160}},  // and not here
                 {{104, 60}, {104, 60}},    // beyond the left edge's extent and reach
                 {{116, 125}, {120, 120}},  // the control's edges, nearer than the window's
                 {{110, 125}, {110, 125}}}; // equally near both (10 and 10): out of reach
    for (const auto &c : cases) {
        const POINT pt = SnappedPoint(edges, c.pt, 8);
        EXPECT_EQ(pt.x, c.want.x) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(pt.y, c.want.y) << c.pt.x << "," << c.pt.y;
    }
}

// Windows beyond counting fill the room up to the limit; a monitor's edges added after it is
// lifted are still targets.
TEST(EdgeSnap, TheRoomAboveTheLimitIsKeptForEdgesAddedLast) {
    static SnapEdges edges;
    edges.nVertical = edges.nHorizontal = 0;
    edges.nLimit = SnapEdges::kMax - 8;
    for (LONG i = 0; i < LONG(SnapEdges::kMax); ++i)
        AddRectEdges(edges, RECT{2000 + i, 2000, 2001 + i, 2100});
    EXPECT_EQ(edges.nVertical, UINT(SnapEdges::kMax - 8));
    edges.nLimit = 0;
    AddRectEdges(edges, RECT{0, 0, 1024, 768});
    const POINT pt = SnappedPoint(edges, POINT{1020, 300}, 8);
    EXPECT_EQ(pt.x, 1024);
}

// What a window pick steps through: the windows that hold the pointer, nested from the largest,
// the levels that show the same frame dropped, each cut to what can show.
TEST(PickGeometry, ChildrenUnderThePointerGoFromTheLargestInAndRepeatedFramesAreDropped) {
    // A group box, a button inside it, a panel elsewhere, a label of the group box's size.
    const RECT arc[] = {{0, 0, 200, 100}, {20, 20, 80, 50}, {300, 0, 400, 100}, {0, 0, 200, 100}};
    int ai[4];
    ASSERT_EQ(ContainingLargestFirst(arc, 4, POINT{30, 30}, ai), 3);
    EXPECT_EQ(std::vector<int>(ai, ai + 3), (std::vector<int>{0, 3, 1})) << "equal areas in order";
    EXPECT_EQ(ContainingLargestFirst(arc, 4, POINT{250, 50}, ai), 0);
    EXPECT_EQ(ContainingLargestFirst(arc, 4, POINT{200, 50}, ai), 0) << "right edge exclusive";

    RECT path[] = {{20, 20, 80, 50}, {0, 0, 200, 100}, {0, 0, 200, 100}, {0, 0, 1024, 768}};
    bool abKeep[4];
    ASSERT_EQ(DropRepeatedRects(path, 4, abKeep), 3);
    EXPECT_EQ(path[2], (RECT{0, 0, 1024, 768}));
    EXPECT_EQ(std::vector<bool>(abKeep, abKeep + 4), (std::vector<bool>{true, true, false, true}));
}

TEST(PickGeometry, ATargetIsCutToWhatCanShowAndStepsStopAtBothEnds) {
    const RECT aClip[] = {{0, 0, 1024, 768}, {100, 100, 500, 400}};
    EXPECT_EQ(ClippedToAll(RECT{50, 150, 300, 900}, aClip, 2), (RECT{100, 150, 300, 400}));
    EXPECT_EQ(ClippedToAll(RECT{600, 150, 700, 200}, aClip, 2), (RECT{0, 0, 0, 0}));
    EXPECT_EQ(ClippedToAll(RECT{600, 150, 700, 200}, aClip, 0), (RECT{600, 150, 700, 200}));
    struct Case {
        int nLevel, nSteps, nLevels, nExpected;
    };
    for (const Case &c : {Case{0, 1, 3, 1},
                          {1, 5, 3, 2},
                          {2, -1, 3, 1},
                          {1, -4, 3, 0},
                          {0, 0, 0, 0},
                          {0, INT_MAX, 3, 2},
                          {0, INT_MIN, 3, 0}})
        EXPECT_EQ(SteppedLevel(c.nLevel, c.nSteps, c.nLevels), c.nExpected)
            << c.nLevel << " by " << c.nSteps << " of " << c.nLevels;
}
