// The polygon point list inside a SelectionShape: what each operation does to the record, and
// pixel by pixel what it draws on the screen.
#include "shape/polygon_list.h"

#include "draw/xor_draw.h"

#include "rect_compare.h"
#include "screen_snapshot.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

using testing::IsEmpty;

namespace {

using Points = std::vector<POINT>;

// Drawing tests draw on this part of the 1024 x 768 screen, over a striped window.
const RECT kPatternArea = {100, 100, 500, 400};

// What entries outside the list, and the members the list never touches, hold in every test
// record. The stale entries lie on the striped window, so that drawing one would show.
SelectionShape MakeShape(const Points &apt, UINT nCount) {
    SelectionShape shape;
    shape.nMode = MODE_POLYGON;
    for (int i = 0; i < MAX_POLY_POINTS; ++i)
        shape.aPoints[i] = POINT{420 + i, 380 - i};
    std::copy(apt.begin(), apt.end(), shape.aPoints);
    shape.nCount = nCount;
    shape.ptCorner = POINT{-11, 22};
    shape.rcBounds = RECT{33, 44, 55, 66};
    return shape;
}

SelectionShape MakeShape(const Points &apt) {
    return MakeShape(apt, UINT(apt.size()));
}

// Every member that differs, one line each.
std::vector<std::string> Differences(const SelectionShape &expected, const SelectionShape &actual) {
    std::vector<std::string> lines;
    auto text = [](const POINT &pt) { return testing::PrintToString(pt); };
    if (expected.nMode != actual.nMode)
        lines.push_back("nMode " + std::to_string(actual.nMode) + ", expected " +
                        std::to_string(expected.nMode));
    for (int i = 0; i < MAX_POLY_POINTS; ++i)
        if (!(expected.aPoints[i] == actual.aPoints[i]))
            lines.push_back("aPoints[" + std::to_string(i) + "] " + text(actual.aPoints[i]) +
                            ", expected " + text(expected.aPoints[i]));
    if (expected.nCount != actual.nCount)
        lines.push_back("nCount " + std::to_string(actual.nCount) + ", expected " +
                        std::to_string(expected.nCount));
    if (!(expected.ptCorner == actual.ptCorner))
        lines.push_back("ptCorner " + text(actual.ptCorner) + ", expected " +
                        text(expected.ptCorner));
    if (!(expected.rcBounds == actual.rcBounds))
        lines.push_back("rcBounds " + testing::PrintToString(actual.rcBounds) + ", expected " +
                        testing::PrintToString(expected.rcBounds));
    return lines;
}

// A shape followed in memory by guard bytes, enough to catch writes of a thousand entries.
struct GuardedShape {
    SelectionShape shape;
    unsigned char abGuard[8192];
};
static_assert(offsetof(GuardedShape, abGuard) == sizeof(SelectionShape),
              "the guard follows the shape directly");
const unsigned char kGuardByte = 0xA5;

std::unique_ptr<GuardedShape> Guarded(const SelectionShape &shape) {
    auto guarded = std::make_unique<GuardedShape>();
    guarded->shape = shape;
    std::memset(guarded->abGuard, kGuardByte, sizeof(guarded->abGuard));
    return guarded;
}

// Offsets of the guard bytes that were overwritten.
std::vector<size_t> OverwrittenGuard(const GuardedShape &guarded) {
    std::vector<size_t> offsets;
    for (size_t i = 0; i < sizeof(guarded.abGuard); ++i)
        if (guarded.abGuard[i] != kGuardByte)
            offsets.push_back(i);
    return offsets;
}

// Zigzag of 45-degree edges, seven pixels apart, on the striped window.
Points Zigzag(int nCount) {
    Points apt;
    for (int i = 0; i < nCount; ++i)
        apt.push_back(POINT{120 + 7 * i, 150 + 7 * (i % 2)});
    return apt;
}

// A corrupt count, far above the capacity.
const UINT kCorruptCount = 1000;

// --- Pixels -------------------------------------------------------------------------------------

// Inverts a figure within a set of inverted pixels: where figures overlap, pixels inverted twice
// are back to what they were.
void Invert(PixelSet &pixels, const PixelSet &figure) {
    for (const Pixel &p : figure)
        if (!pixels.erase(p))
            pixels.insert(p);
}

testing::AssertionResult SamePixels(const PixelSet &expected, const PixelSet &actual) {
    PixelSet missing, extra;
    std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(),
                        std::inserter(missing, missing.end()));
    std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(),
                        std::inserter(extra, extra.end()));
    if (missing.empty() && extra.empty())
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << missing.size() << " of " << expected.size()
           << " expected pixels did not change:" << ListedPixels(missing) << "; " << extra.size()
           << " other pixels changed:" << ListedPixels(extra);
}

// The screen now is exactly the snapshot.
testing::AssertionResult ScreenIs(const ScreenSnapshot &expected) {
    const ScreenSnapshot now = ScreenSnapshot::Take();
    if (now == expected)
        return testing::AssertionSuccess();
    const PixelSet changed = ChangedPixels(expected, now);
    const RECT rc = BoundsOf(changed);
    return testing::AssertionFailure()
           << changed.size() << " pixels differ, within " << testing::PrintToString(rc) << ":"
           << ListedPixels(changed);
}

// The pixels a drawing call changes: drawn once, taken, and drawn again, which must erase it.
template <class Draw> PixelSet Footprint(Draw draw) {
    const ScreenSnapshot before = ScreenSnapshot::Take();
    draw();
    const ScreenSnapshot after = ScreenSnapshot::Take();
    draw();
    EXPECT_TRUE(ScreenIs(before)) << "a primitive did not erase itself";
    EXPECT_THAT(NotInverted(before, after), IsEmpty());
    return ChangedPixels(before, after);
}

// Footprints already taken, by the primitive and its coordinates.
const PixelSet &Remembered(const std::vector<LONG> &key, const std::function<PixelSet()> &take) {
    static std::map<std::vector<LONG>, PixelSet> footprints;
    auto it = footprints.find(key);
    if (it == footprints.end())
        it = footprints.emplace(key, take()).first;
    return it->second;
}

PixelSet PointMarker(POINT pt) {
    return Remembered({0, pt.x, pt.y}, [&] { return Footprint([&] { SPXXorPoint(&pt); }); });
}

PixelSet HoverMarker(POINT pt) {
    return Remembered({1, pt.x, pt.y}, [&] { return Footprint([&] { XorVertexMarker(pt); }); });
}

// An edge from one vertex towards the next; the pixel of the next vertex is left out. Straight
// edges are known beforehand; any other is taken from the line primitive.
PixelSet Edge(POINT ptFrom, POINT ptTo) {
    const int dx = std::abs(ptTo.x - ptFrom.x), dy = std::abs(ptTo.y - ptFrom.y);
    if (dx == 0 || dy == 0 || dx == dy)
        return StraightLine(ptFrom.x, ptFrom.y, ptTo.x, ptTo.y);
    return Remembered({2, ptFrom.x, ptFrom.y, ptTo.x, ptTo.y},
                      [&] { return Footprint([&] { SPXXorLine(&ptFrom, &ptTo); }); });
}

// Point markers of every vertex and the edges between them, without the closing edge.
PixelSet OpenForm(const Points &apt) {
    PixelSet pixels;
    for (size_t i = 0; i < apt.size(); ++i) {
        Invert(pixels, PointMarker(apt[i]));
        if (i + 1 < apt.size())
            Invert(pixels, Edge(apt[i], apt[i + 1]));
    }
    return pixels;
}

// The open form and the edge from the last vertex back to the first.
PixelSet ClosedForm(const Points &apt) {
    PixelSet pixels = OpenForm(apt);
    if (!apt.empty())
        Invert(pixels, Edge(apt.back(), apt.front()));
    return pixels;
}

Points Vertices(const SelectionShape &shape, UINT nFirst, UINT nCount) {
    return Points(shape.aPoints + nFirst, shape.aPoints + nFirst + nCount);
}

// Polygons for the drawing tests, all on the striped window.
struct SamplePolygon {
    const char *szName;
    Points apt;
};
const SamplePolygon kPolygons[] = {
    {"one vertex", {{150, 150}}},
    {"two vertices", {{150, 200}, {250, 200}}},
    {"triangle", {{200, 150}, {300, 150}, {200, 250}}},
    {"square", {{200, 200}, {300, 200}, {300, 300}, {200, 300}}},
    {"edges crossing each other", {{200, 200}, {300, 300}, {300, 200}, {200, 300}}},
    {"the same vertex twice", {{200, 200}, {200, 200}, {300, 200}, {260, 330}}},
    {"slanted edges", {{130, 120}, {410, 170}, {350, 390}, {170, 300}}},
    {"fifty vertices", Zigzag(MAX_POLY_POINTS)},
};

} // namespace

// --- The list ------------------------------------------------------------------------------------

TEST(PolygonList, AppendingStoresThePointAfterTheLastVertexUntilTheListIsFull) {
    struct Case {
        const char *szName;
        UINT nCount;
        bool bStored;
    };
    const Case cases[] = {
        {"empty list", 0, true},
        {"three vertices and a stale fourth entry", 3, true},
        {"one place left", MAX_POLY_POINTS - 1, true},
        {"full list", MAX_POLY_POINTS, false},
        {"count one above the capacity", MAX_POLY_POINTS + 1, false},
        {"corrupt count", kCorruptCount, false},
        {"largest count", UINT_MAX, false},
    };
    const ScreenSnapshot before = ScreenSnapshot::Take();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        auto guarded = Guarded(MakeShape(Zigzag(MAX_POLY_POINTS), c.nCount));
        SelectionShape expected = guarded->shape;
        const POINT pt = {-70, 80};
        if (c.bStored) {
            expected.aPoints[c.nCount] = pt;
            expected.nCount = c.nCount + 1;
        }
        EXPECT_EQ(&guarded->shape, SPXAddPolyPoint(&guarded->shape, &pt));
        EXPECT_THAT(Differences(expected, guarded->shape), IsEmpty());
        EXPECT_THAT(OverwrittenGuard(*guarded), IsEmpty());
    }
    EXPECT_TRUE(ScreenIs(before)) << "appending draws nothing";
}

TEST(PolygonList, FiftyAppendedPointsAreKeptInOrderAndTheFiftyFirstIsIgnored) {
    SelectionShape shape = MakeShape({});
    const Points apt = Zigzag(MAX_POLY_POINTS);
    for (const POINT &pt : apt)
        SPXAddPolyPoint(&shape, &pt);
    EXPECT_EQ(UINT(MAX_POLY_POINTS), shape.nCount);
    EXPECT_EQ(apt, Vertices(shape, 0, MAX_POLY_POINTS));

    const SelectionShape full = shape;
    const POINT ptExtra = {7, 7};
    EXPECT_EQ(&shape, SPXAddPolyPoint(&shape, &ptExtra));
    EXPECT_THAT(Differences(full, shape), IsEmpty());
}

TEST(PolygonList, ClearingZeroesTheValidEntriesOnlyAndEmptiesTheList) {
    struct Case {
        const char *szName;
        UINT nCount;
        UINT nZeroed;
    };
    const Case cases[] = {
        {"three vertices", 3, 3},
        {"empty list", 0, 0},
        {"full list", MAX_POLY_POINTS, MAX_POLY_POINTS},
        {"corrupt count", kCorruptCount, MAX_POLY_POINTS},
        {"largest count", UINT_MAX, MAX_POLY_POINTS},
    };
    const ScreenSnapshot before = ScreenSnapshot::Take();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        auto guarded = Guarded(MakeShape(Zigzag(MAX_POLY_POINTS), c.nCount));
        SelectionShape expected = guarded->shape;
        for (UINT i = 0; i < c.nZeroed; ++i)
            expected.aPoints[i] = POINT{0, 0};
        expected.nCount = 0;
        SPXFreePolyPoints(&guarded->shape);
        EXPECT_THAT(Differences(expected, guarded->shape), IsEmpty());
        EXPECT_THAT(OverwrittenGuard(*guarded), IsEmpty());
    }
    EXPECT_TRUE(ScreenIs(before)) << "clearing draws nothing";
}

TEST(PolygonList, BoundsPassThroughTheExtremeVerticesOfTheList) {
    // Fifty points inside 0..10, for the corrupt count: the count's own bytes follow aPoints
    // and would read as a vertex at x = 1000.
    Points aptSmall;
    for (int i = 0; i < MAX_POLY_POINTS; ++i)
        aptSmall.push_back(POINT{i % 11, (i * 7) % 11});

    struct Case {
        const char *szName;
        SelectionShape shape;
        RECT rcExpected;
    };
    SelectionShape cleared = MakeShape({{10, 20}, {30, 5}});
    SPXFreePolyPoints(&cleared);
    const Case cases[] = {
        {"triangle", MakeShape({{10, 20}, {30, 5}, {25, 40}}), {10, 5, 30, 40}},
        {"single vertex", MakeShape({{7, 9}}), {7, 9, 7, 9}},
        {"negative coordinates", MakeShape({{-10, -20}, {-30, 5}}), {-30, -20, -10, 5}},
        {"entries past the count are not vertices",
         MakeShape({{10, 20}, {30, 5}, {400, 400}}, 2),
         {10, 5, 30, 20}},
        {"cleared list", cleared, {0, 0, 0, 0}},
        {"empty list: the first entry", MakeShape({{5, 6}}, 0), {5, 6, 5, 6}},
        {"fifty vertices", MakeShape(aptSmall), {0, 0, 10, 10}},
        {"corrupt count", MakeShape(aptSmall, kCorruptCount), {0, 0, 10, 10}},
        {"largest count", MakeShape(aptSmall, UINT_MAX), {0, 0, 10, 10}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        auto guarded = Guarded(c.shape);
        RECT rc = {-1, -2, -3, -4};
        SPXCalcPolygonRect(&guarded->shape, &rc);
        EXPECT_EQ(c.rcExpected, rc);
        EXPECT_THAT(Differences(c.shape, guarded->shape), IsEmpty()) << "only the RECT is written";
    }
}

TEST(PolygonList, FindingAVertexGivesTheFirstWithinTwoPixelsOrMinusOne) {
    const Points aptPair = {{100, 100}, {101, 101}};
    const Points aptFifty = Zigzag(MAX_POLY_POINTS);
    struct Case {
        const char *szName;
        SelectionShape shape;
        POINT pt;
        int nExpected;
    };
    const Case cases[] = {
        {"both near: the lower index wins", MakeShape(aptPair), {101, 100}, 0},
        {"on the first vertex", MakeShape(aptPair), {100, 100}, 0},
        {"corner of the first vertex's square", MakeShape(aptPair), {102, 98}, 0},
        {"near the second only", MakeShape(aptPair), {103, 103}, 1},
        {"near the second only, below", MakeShape(aptPair), {99, 103}, 1},
        {"near none", MakeShape(aptPair), {104, 101}, -1},
        {"within on x, beyond on y", MakeShape(aptPair), {100, 104}, -1},
        {"empty list", MakeShape(aptPair, 0), {100, 100}, -1},
        {"entries past the count are not vertices", MakeShape(aptPair, 1), {103, 103}, -1},
        {"the last of fifty", MakeShape(aptFifty), aptFifty.back(), MAX_POLY_POINTS - 1},
        {"corrupt count: the last of fifty", MakeShape(aptFifty, kCorruptCount), aptFifty.back(),
         MAX_POLY_POINTS - 1},
        // The count and ptCorner.x make up the entry that would follow aPoints.
        {"corrupt count: nothing after aPoints",
         MakeShape(aptFifty, kCorruptCount),
         {LONG(kCorruptCount), -11},
         -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        auto guarded = Guarded(c.shape);
        EXPECT_EQ(c.nExpected, FindPolyVertex(&guarded->shape, c.pt));
        EXPECT_THAT(Differences(c.shape, guarded->shape), IsEmpty());
    }
}

TEST(PolygonList, NullPointersDoNothingAndGiveTheFailureResult) {
    const PatternWindow pattern(kPatternArea);
    const SelectionShape original = MakeShape({{200, 200}, {300, 200}, {250, 300}});
    SelectionShape shape = original;
    SelectionShape other = original;
    const POINT pt = {5, 5};
    RECT rc = {1, 2, 3, 4};
    const ScreenSnapshot before = ScreenSnapshot::Take();

    EXPECT_EQ(nullptr, SPXAddPolyPoint(nullptr, &pt));
    EXPECT_EQ(&shape, SPXAddPolyPoint(&shape, nullptr));
    EXPECT_EQ(nullptr, SPXAddPolyPoint(nullptr, nullptr));
    SPXFreePolyPoints(nullptr);
    EXPECT_EQ(0, SPXXorPolyPoints(nullptr));
    EXPECT_EQ(0, SPXErasePolyPoints(nullptr));
    SPXCalcPolygonRect(nullptr, &rc);
    SPXCalcPolygonRect(&shape, nullptr);
    SPXCalcPolygonRect(nullptr, nullptr);
    EXPECT_EQ(RECT({1, 2, 3, 4}), rc);
    EXPECT_EQ(0, SPXStrechtPolyPoints(nullptr, nullptr, 0, 0, 10, 10, 0, 0, 20, 20));
    EXPECT_THAT(Differences(original, shape), IsEmpty());
    EXPECT_TRUE(ScreenIs(before));

    // A stretch with one side missing leaves the other's polygon on the screen, unchanged.
    ASSERT_EQ(1, SPXXorPolyPoints(&other));
    const ScreenSnapshot shown = ScreenSnapshot::Take();
    EXPECT_EQ(0, SPXStrechtPolyPoints(nullptr, &other, 0, 0, 10, 10, 0, 0, 20, 20));
    EXPECT_EQ(0, SPXStrechtPolyPoints(&other, nullptr, 0, 0, 10, 10, 0, 0, 20, 20));
    EXPECT_THAT(Differences(original, other), IsEmpty());
    EXPECT_TRUE(ScreenIs(shown));
    SPXXorPolyPoints(&other);
    EXPECT_TRUE(ScreenIs(before));
}

// --- Drawing -------------------------------------------------------------------------------------

TEST(PolygonDrawing, ClosedFormInvertsEveryMarkerAndEdgeOnceAndDrawingItAgainErasesIt) {
    const PatternWindow pattern(kPatternArea);
    for (const SamplePolygon &polygon : kPolygons) {
        SCOPED_TRACE(polygon.szName);
        SelectionShape shape = MakeShape(polygon.apt);
        const PixelSet expected = ClosedForm(polygon.apt);
        const ScreenSnapshot before = ScreenSnapshot::Take();

        EXPECT_EQ(1, SPXXorPolyPoints(&shape));
        const ScreenSnapshot shown = ScreenSnapshot::Take();
        EXPECT_TRUE(SamePixels(expected, ChangedPixels(before, shown)));
        EXPECT_THAT(NotInverted(before, shown), IsEmpty());

        EXPECT_EQ(1, SPXXorPolyPoints(&shape));
        EXPECT_TRUE(ScreenIs(before));
        EXPECT_THAT(Differences(MakeShape(polygon.apt), shape), IsEmpty())
            << "drawing writes nothing";
    }
}

TEST(PolygonDrawing, ErasingDrawsTheSameFigureAsTheClosedForm) {
    const PatternWindow pattern(kPatternArea);
    for (const SamplePolygon &polygon : kPolygons) {
        SCOPED_TRACE(polygon.szName);
        SelectionShape shape = MakeShape(polygon.apt);
        const ScreenSnapshot before = ScreenSnapshot::Take();

        EXPECT_EQ(1, SPXXorPolyPoints(&shape));
        EXPECT_NE(0, SPXErasePolyPoints(&shape));
        EXPECT_TRUE(ScreenIs(before)) << "erasing what the closed form drew";

        EXPECT_NE(0, SPXErasePolyPoints(&shape));
        EXPECT_EQ(1, SPXXorPolyPoints(&shape));
        EXPECT_TRUE(ScreenIs(before)) << "the closed form over what erasing drew";
        EXPECT_THAT(Differences(MakeShape(polygon.apt), shape), IsEmpty());
    }
}

TEST(PolygonDrawing, OpenFormAndTheClosingEdgeMakeTheClosedForm) {
    const PatternWindow pattern(kPatternArea);
    for (const SamplePolygon &polygon : kPolygons) {
        SCOPED_TRACE(polygon.szName);
        SelectionShape shape = MakeShape(polygon.apt);
        const ScreenSnapshot before = ScreenSnapshot::Take();
        SPXXorPolyPoints(&shape);
        const ScreenSnapshot closed = ScreenSnapshot::Take();
        SPXXorPolyPoints(&shape);
        ASSERT_TRUE(ScreenIs(before));

        XorPolyline(&shape);
        const ScreenSnapshot open = ScreenSnapshot::Take();
        EXPECT_TRUE(SamePixels(OpenForm(polygon.apt), ChangedPixels(before, open)));
        EXPECT_THAT(NotInverted(before, open), IsEmpty());

        SPXXorLine(&polygon.apt.back(), &polygon.apt.front());
        EXPECT_TRUE(ScreenIs(closed));
        EXPECT_NE(0, SPXErasePolyPoints(&shape));
        EXPECT_TRUE(ScreenIs(before));
    }
}

TEST(PolygonDrawing, OpenFormOfOneVertexIsItsMarkerAlone) {
    const PatternWindow pattern(kPatternArea);
    SelectionShape shape = MakeShape({{240, 260}});
    const PixelSet marker = PointMarker({240, 260});
    const ScreenSnapshot before = ScreenSnapshot::Take();
    XorPolyline(&shape);
    EXPECT_TRUE(SamePixels(marker, ChangedPixels(before, ScreenSnapshot::Take())));
    XorPolyline(&shape);
    EXPECT_TRUE(ScreenIs(before));
}

TEST(PolygonDrawing, EmptyListDrawsNothing) {
    const PatternWindow pattern(kPatternArea);
    // The stale entries lie on the window: drawing any of them would show.
    SelectionShape shape = MakeShape({{200, 200}, {300, 300}}, 0);
    const SelectionShape original = shape;
    const ScreenSnapshot before = ScreenSnapshot::Take();
    EXPECT_EQ(0, SPXXorPolyPoints(&shape));
    EXPECT_EQ(0, SPXErasePolyPoints(&shape));
    XorPolyline(&shape);
    EXPECT_TRUE(ScreenIs(before));
    EXPECT_THAT(Differences(original, shape), IsEmpty());
}

TEST(PolygonDrawing, CorruptCountDrawsTheFiftyVerticesOfTheFullList) {
    const PatternWindow pattern(kPatternArea);
    const Points apt = Zigzag(MAX_POLY_POINTS);
    SelectionShape full = MakeShape(apt);
    const ScreenSnapshot before = ScreenSnapshot::Take();
    SPXXorPolyPoints(&full);
    const ScreenSnapshot closed = ScreenSnapshot::Take();
    SPXXorPolyPoints(&full);
    XorPolyline(&full);
    const ScreenSnapshot open = ScreenSnapshot::Take();
    XorPolyline(&full);
    ASSERT_TRUE(ScreenIs(before));

    for (UINT nCount : {kCorruptCount, UINT(MAX_POLY_POINTS + 1), UINT_MAX}) {
        SCOPED_TRACE(testing::Message() << "nCount " << nCount);
        auto guarded = Guarded(MakeShape(apt, nCount));
        const SelectionShape original = guarded->shape;
        EXPECT_EQ(1, SPXXorPolyPoints(&guarded->shape));
        EXPECT_TRUE(ScreenIs(closed));
        EXPECT_NE(0, SPXErasePolyPoints(&guarded->shape));
        EXPECT_TRUE(ScreenIs(before));
        XorPolyline(&guarded->shape);
        EXPECT_TRUE(ScreenIs(open));
        XorPolyline(&guarded->shape);
        EXPECT_TRUE(ScreenIs(before));
        EXPECT_THAT(Differences(original, guarded->shape), IsEmpty());
        EXPECT_THAT(OverwrittenGuard(*guarded), IsEmpty());
    }
}

// --- Moving a vertex -----------------------------------------------------------------------------

TEST(PolygonVertexMove, MovedVertexTakesItsMarkersAndBothEdgesAlong) {
    struct Case {
        const char *szName;
        Points apt;
        int nIndex;
        POINT ptNew;
    };
    const Points aptSquare = {{200, 200}, {300, 200}, {300, 300}, {200, 300}};
    const Case cases[] = {
        {"first of four: the previous is the last", aptSquare, 0, {250, 250}},
        {"first of four, slanted edges", aptSquare, 0, {170, 140}},
        {"last of four: the next is the first", aptSquare, 3, {150, 350}},
        {"middle vertex", aptSquare, 1, {350, 150}},
        {"moved onto its own place", aptSquare, 2, {300, 300}},
        {"moved one pixel", aptSquare, 2, {301, 300}},
        {"the only vertex is its own neighbour", {{200, 200}}, 0, {260, 230}},
        {"one of two", {{200, 200}, {300, 200}}, 1, {300, 300}},
        {"last of fifty", Zigzag(MAX_POLY_POINTS), MAX_POLY_POINTS - 1, {450, 300}},
    };
    const PatternWindow pattern(kPatternArea);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        const int n = int(c.apt.size());
        const POINT ptPrev = c.apt[(n + c.nIndex - 1) % n];
        const POINT ptNext = c.apt[(c.nIndex + 1) % n];
        const POINT ptOld = c.apt[c.nIndex];
        Points aptMoved = c.apt;
        aptMoved[c.nIndex] = c.ptNew;
        const POINT ptPrevMoved = aptMoved[(n + c.nIndex - 1) % n];
        const POINT ptNextMoved = aptMoved[(c.nIndex + 1) % n];

        // What the move changes: its figures at the old place and at the new.
        PixelSet expected;
        for (POINT pt : {ptOld, c.ptNew})
            Invert(expected, HoverMarker(pt));
        for (POINT pt : {ptOld, c.ptNew})
            Invert(expected, PointMarker(pt));
        Invert(expected, Edge(ptPrev, ptOld));
        Invert(expected, Edge(ptOld, ptNext));
        Invert(expected, Edge(ptPrevMoved, c.ptNew));
        Invert(expected, Edge(c.ptNew, ptNextMoved));

        SelectionShape shape = MakeShape(c.apt);
        SelectionShape expectedShape = MakeShape(aptMoved);
        const ScreenSnapshot before = ScreenSnapshot::Take();
        SPXXorPolyPoints(&shape);
        XorVertexMarker(ptOld);
        const ScreenSnapshot marked = ScreenSnapshot::Take();

        MovePolyVertex(CreateXorDisplayDC().get(), &shape, c.ptNew.x, c.ptNew.y, c.nIndex);
        const ScreenSnapshot moved = ScreenSnapshot::Take();
        EXPECT_THAT(Differences(expectedShape, shape), IsEmpty());
        EXPECT_TRUE(SamePixels(expected, ChangedPixels(marked, moved)));
        EXPECT_THAT(NotInverted(marked, moved), IsEmpty());

        // What is left is the polygon through the new place and the marker on it.
        XorVertexMarker(c.ptNew);
        SPXXorPolyPoints(&shape);
        EXPECT_TRUE(ScreenIs(before));
    }
}

TEST(PolygonVertexMove, IndexOutsideTheListDoesNothing) {
    struct Case {
        const char *szName;
        UINT nCount;
        int nIndex;
    };
    const Case cases[] = {
        {"minus one", 4, -1},
        {"the count", 4, 4},
        {"past the count, inside the array", 4, 10},
        {"the capacity", 4, MAX_POLY_POINTS},
        {"smallest index", 4, INT_MIN},
        {"largest index", 4, INT_MAX},
        {"empty list", 0, 0},
        {"corrupt count, index past the capacity", kCorruptCount, MAX_POLY_POINTS},
        {"corrupt count, index inside the count", kCorruptCount, 999},
    };
    const PatternWindow pattern(kPatternArea);
    const ScreenSnapshot before = ScreenSnapshot::Take();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        auto guarded =
            Guarded(MakeShape({{200, 200}, {300, 200}, {300, 300}, {200, 300}}, c.nCount));
        const SelectionShape original = guarded->shape;
        MovePolyVertex(CreateXorDisplayDC().get(), &guarded->shape, 250, 250, c.nIndex);
        EXPECT_THAT(Differences(original, guarded->shape), IsEmpty());
        EXPECT_THAT(OverwrittenGuard(*guarded), IsEmpty());
        EXPECT_TRUE(ScreenIs(before));
    }
}

TEST(PolygonVertexMove, CorruptCountMovesAsInTheFullList) {
    const PatternWindow pattern(kPatternArea);
    const Points apt = Zigzag(MAX_POLY_POINTS);
    for (int nIndex : {0, MAX_POLY_POINTS - 1}) {
        SCOPED_TRACE(testing::Message() << "vertex " << nIndex);
        const ScreenSnapshot before = ScreenSnapshot::Take();
        SelectionShape full = MakeShape(apt);
        MovePolyVertex(CreateXorDisplayDC().get(), &full, 400, 320, nIndex);
        const ScreenSnapshot movedFull = ScreenSnapshot::Take();
        MovePolyVertex(CreateXorDisplayDC().get(), &full, apt[nIndex].x, apt[nIndex].y, nIndex);
        ASSERT_TRUE(ScreenIs(before));

        auto guarded = Guarded(MakeShape(apt, kCorruptCount));
        SelectionShape expected = guarded->shape;
        expected.aPoints[nIndex] = POINT{400, 320};
        MovePolyVertex(CreateXorDisplayDC().get(), &guarded->shape, 400, 320, nIndex);
        EXPECT_TRUE(ScreenIs(movedFull));
        EXPECT_THAT(Differences(expected, guarded->shape), IsEmpty());
        EXPECT_THAT(OverwrittenGuard(*guarded), IsEmpty());
        MovePolyVertex(CreateXorDisplayDC().get(), &guarded->shape, apt[nIndex].x, apt[nIndex].y,
                       nIndex);
        EXPECT_TRUE(ScreenIs(before));
    }
}

// --- Stretching ----------------------------------------------------------------------------------

namespace {

struct Stretch {
    RECT rcSource;
    RECT rcDest;
};

int StretchShape(SelectionShape *pSource, SelectionShape *pDest, const Stretch &s) {
    return SPXStrechtPolyPoints(pSource, pDest, s.rcSource.left, s.rcSource.top, s.rcSource.right,
                                s.rcSource.bottom, s.rcDest.left, s.rcDest.top, s.rcDest.right,
                                s.rcDest.bottom);
}

} // namespace

TEST(PolygonStretch, VerticesMapLinearlyAndTruncateTowardZero) {
    struct Case {
        const char *szName;
        Points aptSource;
        Stretch stretch;
        Points aptExpected;
    };
    const Case cases[] = {
        {"enlarged by a half",
         {{1, 1}, {3, 3}, {10, 10}, {0, 0}},
         {{0, 0, 10, 10}, {0, 0, 15, 15}},
         {{1, 1}, {4, 4}, {15, 15}, {0, 0}}},
        {"onto negative x: -13.5 becomes -13",
         {{1, 1}, {3, 3}, {0, 10}},
         {{0, 0, 10, 10}, {-15, 0, 0, 15}},
         {{-13, 1}, {-10, 4}, {-15, 15}}},
        {"both axes negative", {{1, 3}}, {{0, 0, 10, 10}, {-15, -15, 0, 0}}, {{-13, -10}}},
        {"each axis by its own ratio",
         {{20, 30}, {25, 35}},
         {{20, 30, 30, 50}, {100, 200, 130, 210}},
         {{100, 200}, {115, 202}}},
        {"shrunk",
         {{100, 100}, {107, 103}, {150, 150}},
         {{100, 100, 150, 150}, {0, 0, 10, 10}},
         {{0, 0}, {1, 0}, {10, 10}}},
        {"mirrored", {{0, 0}, {3, 10}}, {{0, 0, 10, 10}, {15, 0, 0, 15}}, {{15, 0}, {10, 15}}},
        {"vertices outside the source rectangle",
         {{-2, 12}},
         {{0, 0, 10, 10}, {100, 100, 115, 115}},
         {{97, 118}}},
        {"zero width: x moves with the left edge",
         {{5, 0}, {7, 10}, {2, 3}},
         {{5, 0, 5, 10}, {100, 0, 130, 20}},
         {{100, 0}, {102, 20}, {97, 6}}},
        {"zero height: y moves with the top edge",
         {{0, 40}, {10, 43}, {4, 39}},
         {{0, 40, 10, 40}, {0, 100, 20, 300}},
         {{0, 100}, {20, 103}, {8, 99}}},
        {"zero width and height",
         {{5, 5}, {6, 4}},
         {{5, 5, 5, 5}, {100, 200, 300, 400}},
         {{100, 200}, {101, 199}}},
        {"above the integer range",
         {{2, 2}},
         {{0, 0, 1, 1}, {0, 0, INT_MAX, INT_MAX}},
         {{INT_MAX, INT_MAX}}},
        {"below the integer range",
         {{-2, -2}},
         {{0, 0, 1, 1}, {0, 0, INT_MAX, INT_MAX}},
         {{INT_MIN, INT_MIN}}},
        {"zero width far out: translation is held at the limits",
         {{INT_MAX, INT_MIN}},
         {{INT_MIN, INT_MAX, INT_MIN, INT_MAX}, {0, 0, 5, 5}},
         {{INT_MAX, INT_MIN}}},
        {"source spans wider than the integer range",
         {{INT_MAX, INT_MIN}, {0, 0}},
         {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
         {{INT_MAX, INT_MIN}, {0, 0}}},
    };
    const ScreenSnapshot before = ScreenSnapshot::Take();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        SelectionShape source = MakeShape(c.aptSource);
        // An empty destination is not drawn, so vertices far off the screen can be checked.
        SelectionShape dest = MakeShape({}, 0);
        SelectionShape expected = dest;
        std::copy(c.aptExpected.begin(), c.aptExpected.end(), expected.aPoints);
        EXPECT_EQ(0, StretchShape(&source, &dest, c.stretch));
        EXPECT_THAT(Differences(expected, dest), IsEmpty());
        EXPECT_THAT(Differences(MakeShape(c.aptSource), source), IsEmpty()) << "source";
    }
    EXPECT_TRUE(ScreenIs(before)) << "an empty destination is not drawn";
}

TEST(PolygonStretch, EqualRectanglesLeaveTheVerticesAndTheScreenAsTheyWere) {
    const Points apt = {{130, 120}, {410, 170}, {350, 390}, {170, 300}};
    const RECT rects[] = {
        {130, 120, 410, 390}, {0, 0, 1024, 768},    {-50, -20, 30, 40},
        {410, 390, 130, 120}, {200, 200, 200, 300}, {200, 200, 200, 200},
    };
    const PatternWindow pattern(kPatternArea);
    const ScreenSnapshot before = ScreenSnapshot::Take();
    for (const RECT &rc : rects) {
        SCOPED_TRACE(testing::PrintToString(rc));
        SelectionShape source = MakeShape(apt);
        SelectionShape dest = MakeShape(apt);
        SPXXorPolyPoints(&dest);
        const ScreenSnapshot shown = ScreenSnapshot::Take();
        EXPECT_EQ(1, StretchShape(&source, &dest, {rc, rc}));
        EXPECT_THAT(Differences(MakeShape(apt), dest), IsEmpty());
        EXPECT_TRUE(ScreenIs(shown));
        SPXXorPolyPoints(&dest);
        EXPECT_TRUE(ScreenIs(before));
    }
}

TEST(PolygonStretch, ShownDestinationIsErasedAndDrawnInItsNewPlace) {
    struct Case {
        const char *szName;
        Points aptSource;
        Stretch stretch;
        Points aptExpected;
    };
    const Case cases[] = {
        {"enlarged",
         {{200, 150}, {300, 150}, {200, 250}},
         {{200, 150, 300, 250}, {150, 120, 350, 320}},
         {{150, 120}, {350, 120}, {150, 320}}},
        {"shrunk and moved",
         {{200, 200}, {300, 200}, {300, 300}, {200, 300}},
         {{200, 200, 300, 300}, {120, 330, 170, 380}},
         {{120, 330}, {170, 330}, {170, 380}, {120, 380}}},
        {"mirrored",
         {{200, 150}, {300, 150}, {200, 250}},
         {{200, 150, 300, 250}, {300, 150, 200, 250}},
         {{300, 150}, {200, 150}, {300, 250}}},
        {"two vertices on one vertical line",
         {{250, 150}, {250, 250}},
         {{250, 150, 250, 250}, {300, 200, 340, 300}},
         {{300, 200}, {300, 300}}},
    };
    const PatternWindow pattern(kPatternArea);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        SelectionShape source = MakeShape(c.aptSource);
        SelectionShape dest = MakeShape(c.aptSource);
        const PixelSet expected = ClosedForm(c.aptExpected);
        const ScreenSnapshot before = ScreenSnapshot::Take();
        SPXXorPolyPoints(&dest);

        EXPECT_EQ(1, StretchShape(&source, &dest, c.stretch));
        EXPECT_THAT(Differences(MakeShape(c.aptExpected), dest), IsEmpty());
        const ScreenSnapshot after = ScreenSnapshot::Take();
        EXPECT_TRUE(SamePixels(expected, ChangedPixels(before, after)));
        EXPECT_THAT(NotInverted(before, after), IsEmpty());

        SPXXorPolyPoints(&dest);
        EXPECT_TRUE(ScreenIs(before));
    }
}

TEST(PolygonStretch, DestinationKeepsItsCountWhateverTheSourceHolds) {
    struct Case {
        const char *szName;
        UINT nSourceCount;
        UINT nDestCount;
        UINT nWritten;
    };
    const Case cases[] = {
        {"more source vertices", 5, 3, 5},
        {"fewer source vertices", 2, 4, 2},
        {"empty source", 0, 4, 0},
        {"full source", MAX_POLY_POINTS, 1, MAX_POLY_POINTS},
        {"corrupt source count", kCorruptCount, 3, MAX_POLY_POINTS},
        {"corrupt destination count", 3, kCorruptCount, 3},
        {"both counts corrupt", kCorruptCount, kCorruptCount, MAX_POLY_POINTS},
    };
    // Vertices moved by (+3, +5): zigzag edges stay straight.
    const Stretch stretch = {{0, 0, 10, 10}, {3, 5, 13, 15}};
    const Points aptSource = Zigzag(MAX_POLY_POINTS);
    Points aptDest;
    for (int i = 0; i < MAX_POLY_POINTS; ++i)
        aptDest.push_back(POINT{120 + 7 * i, 300 - 7 * (i % 2)});

    const PatternWindow pattern(kPatternArea);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.szName);
        auto source = Guarded(MakeShape(aptSource, c.nSourceCount));
        auto dest = Guarded(MakeShape(aptDest, c.nDestCount));
        SelectionShape expected = dest->shape;
        for (UINT i = 0; i < c.nWritten; ++i)
            expected.aPoints[i] = POINT{aptSource[i].x + 3, aptSource[i].y + 5};
        const UINT nDrawn = std::min<UINT>(c.nDestCount, MAX_POLY_POINTS);
        const PixelSet pixels = ClosedForm(Vertices(expected, 0, nDrawn));

        const ScreenSnapshot before = ScreenSnapshot::Take();
        SPXXorPolyPoints(&dest->shape);
        EXPECT_EQ(1, StretchShape(&source->shape, &dest->shape, stretch));
        EXPECT_THAT(Differences(expected, dest->shape), IsEmpty());
        EXPECT_THAT(OverwrittenGuard(*dest), IsEmpty());
        EXPECT_THAT(Differences(MakeShape(aptSource, c.nSourceCount), source->shape), IsEmpty());
        EXPECT_TRUE(SamePixels(pixels, ChangedPixels(before, ScreenSnapshot::Take())));

        SPXXorPolyPoints(&dest->shape);
        EXPECT_TRUE(ScreenIs(before));
    }
}

TEST(PolygonStretch, EmptyDestinationGetsTheVerticesButNothingIsDrawn) {
    const PatternWindow pattern(kPatternArea);
    SelectionShape source = MakeShape({{200, 200}, {300, 200}, {250, 300}});
    // Stale entries on the window: erasing or drawing them would show.
    SelectionShape dest = MakeShape({{150, 150}, {150, 250}}, 0);
    SelectionShape expected = dest;
    expected.aPoints[0] = POINT{210, 220};
    expected.aPoints[1] = POINT{310, 220};
    expected.aPoints[2] = POINT{260, 320};
    const ScreenSnapshot before = ScreenSnapshot::Take();
    EXPECT_EQ(0, StretchShape(&source, &dest, {{0, 0, 10, 10}, {10, 20, 20, 30}}));
    EXPECT_THAT(Differences(expected, dest), IsEmpty());
    EXPECT_TRUE(ScreenIs(before));
}
