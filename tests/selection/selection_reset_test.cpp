#include "selection/selection_reset.h"

#include "hook_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using Points = std::vector<POINT>;

// A box that notes its destruction and what the screen showed at that moment.
class WatchedBox : public SnapixResizingBox {
public:
    WatchedBox(RECT *pTargetRect, int nOffsetX, int nOffsetY, SelectionShape *pShape)
        : SnapixResizingBox(pTargetRect, nOffsetX, nOffsetY, pShape) {
        s_live.insert(this);
    }
    ~WatchedBox() override {
        s_live.erase(this);
        ++s_nDestroyed;
        s_screenAtDestruction = ScreenSnapshot::Take();
    }

    static bool IsLive(const SnapixResizingBox *pBox) {
        return s_live.count(static_cast<const WatchedBox *>(pBox)) != 0;
    }

    static int s_nDestroyed;
    static ScreenSnapshot s_screenAtDestruction;

private:
    static std::set<const WatchedBox *> s_live;
};

int WatchedBox::s_nDestroyed = 0;
ScreenSnapshot WatchedBox::s_screenAtDestruction;
std::set<const WatchedBox *> WatchedBox::s_live;

// A polygon inside the selection's overlay window; its bounds are the selection rectangle.
const Points kPolygon = {{180, 170}, {380, 200}, {300, 330}, {190, 300}};

// The screen shows exactly the snapshot.
testing::AssertionResult ScreenIs(const ScreenSnapshot &expected, const char *pszWhat) {
    const ScreenSnapshot now = ScreenSnapshot::Take();
    if (now == expected)
        return testing::AssertionSuccess();
    const PixelSet changed = ChangedPixels(expected, now);
    return testing::AssertionFailure()
           << "the screen is not " << pszWhat << ": " << changed.size() << " pixels differ, within "
           << testing::PrintToString(BoundsOf(changed)) << ":" << ListedPixels(changed);
}

// Figures drawn by the test itself, from the exported primitives, to compare the library's erasing
// against: the open outline of a polygon being drawn (markers and edges, no closing edge) and the
// closed outline of a finished one.
void XorOpenOutline(const Points &apt) {
    for (size_t i = 0; i + 1 < apt.size(); ++i) {
        SPXXorPoint(&apt[i]);
        SPXXorLine(&apt[i], &apt[i + 1]);
    }
    if (!apt.empty())
        SPXXorPoint(&apt.back());
}

void XorClosedOutline(const Points &apt) {
    XorOpenOutline(apt);
    if (!apt.empty())
        SPXXorLine(&apt.back(), &apt.front());
}

void XorEllipse(const RECT &rc) {
    XorBox(rc.left, rc.top, rc.right, rc.bottom, 1);
}

// ResetSelection as the hook calls it: on the shared slot and the shared flag.
void Reset(int nMode, SelectionShape *pShape) {
    ResetSelection(nMode, &pResizingBox, bSelectionShown, pShape);
}

class SelectionReset : public HookTest {
protected:
    void SetUp() override {
        HookTest::SetUp();
        if (HasFatalFailure())
            return;
        WatchedBox::s_nDestroyed = 0;
        m_hwndFramed = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr);
        Record().hwndFramed = m_hwndFramed;
        m_start = ScreenSnapshot::Take();
    }

    void TearDown() override {
        EXPECT_TRUE(ScreenIs(m_start, "as the test found it"));
        // A box destroyed but left in the slot must not be deleted twice.
        if (!WatchedBox::IsLive(pResizingBox))
            pResizingBox = nullptr;
        HookTest::TearDown();
        DestroyWindow(m_hwndFramed);
    }

    void SetShape(int nMode, const Points &apt) {
        SelectionShape &shape = Record().shape;
        SPXFreePolyPoints(&shape);
        shape.nMode = nMode;
        for (const POINT &pt : apt)
            SPXAddPolyPoint(&shape, &pt);
    }

    // The selection finished and shown in an adjustable box, its frame drawn in the overlay.
    WatchedBox &ShowInBox(int nMode, const Points &apt = {}) {
        SetShape(nMode, apt);
        bEllipse = nMode == MODE_ELLIPSE;
        bSelectionShown = 1;
        bAdjustable = 1;
        WatchedBox *pBox = new WatchedBox(&rcSelection, Offset().x, Offset().y, &Record().shape);
        pResizingBox = pBox;
        ToggleBox(*pBox, Overlay());
        return *pBox;
    }

    // The pixels of the box's frame (one pixel outside the box) and its handles, on the screen.
    PixelSet BoxPixels(const SnapixResizingBox &box) const {
        RECT rc = box.m_rect;
        InflateRect(&rc, 1, 1);
        OffsetRect(&rc, -Offset().x, -Offset().y);
        PixelSet pixels = RectOutline(rc.left, rc.top, rc.right, rc.bottom);
        for (int i = 0; i < 8; ++i) {
            if (!(box.GetHandleMask() & (1u << i)))
                continue;
            RECT rcHandle;
            box.GetHandleRect(i, &rcHandle);
            OffsetRect(&rcHandle, -Offset().x, -Offset().y);
            for (int y = rcHandle.top; y < rcHandle.bottom; ++y)
                for (int x = rcHandle.left; x < rcHandle.right; ++x)
                    if (!pixels.erase({x, y}))
                        pixels.insert({x, y});
        }
        return pixels;
    }

    // What the test found on the screen, before it drew anything.
    const ScreenSnapshot &Start() const { return m_start; }

    HWND m_hwndFramed = nullptr;

private:
    ScreenSnapshot m_start;
};

// --- Rectangles and ellipses --------------------------------------------------------------------

TEST_F(SelectionReset, TakesARectanglesBoxOffTheOverlayAndKeepsTheRectangle) {
    // The key paths give no shape; a press on the host's own window gives it.
    for (SelectionShape *pShape : {static_cast<SelectionShape *>(nullptr), &Record().shape}) {
        WatchedBox::s_nDestroyed = 0;
        const WatchedBox &box = ShowInBox(MODE_RECTANGLE);
        const PixelSet boxPixels = BoxPixels(box);
        const ScreenSnapshot shown = ScreenSnapshot::Take();
        ASSERT_EQ(ChangedPixels(Start(), shown), boxPixels) << "the box is not drawn as expected";

        Reset(MODE_RECTANGLE, pShape);

        EXPECT_TRUE(NotInverted(shown, ScreenSnapshot::Take()).empty());
        EXPECT_TRUE(ScreenIs(Start(), "without the box"));
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
        EXPECT_EQ(bSelectionShown, 0);
        EXPECT_TRUE(EqualRect(&rcSelection, &kSelection));
        EXPECT_EQ(Record().shape.nMode, MODE_RECTANGLE);
    }
}

TEST_F(SelectionReset, ErasesTheFrameBeforeItDestroysTheBox) {
    ShowInBox(MODE_RECTANGLE);
    Reset(MODE_RECTANGLE, nullptr);
    ASSERT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_TRUE(WatchedBox::s_screenAtDestruction == Start());
}

TEST_F(SelectionReset, LeavesTheCursorTheFramedWindowAndTheOtherStateAlone) {
    ShowInBox(MODE_ELLIPSE);
    XorEllipse(rcSelection);
    const HCURSOR hCursor = SystemCursor(IDC_WAIT);
    SetCursor(hCursor);
    const int nCount = CursorDisplayCount();
    nCursorState = CS_INSIDE;
    bButtonDown = 1;
    bNewPolygon = 0;

    Reset(MODE_ELLIPSE, &Record().shape);

    EXPECT_EQ(GetCursor(), hCursor);
    EXPECT_EQ(CursorDisplayCount(), nCount);
    EXPECT_EQ(Record().hwndFramed, m_hwndFramed);
    EXPECT_EQ(nCursorState, CS_INSIDE);
    EXPECT_EQ(bButtonDown, 1);
    EXPECT_EQ(bNewPolygon, 0);
    EXPECT_EQ(bAdjustable, 1);
    EXPECT_EQ(hwndOverlay, Overlay());
    EXPECT_TRUE(EqualRect(&rcSelection, &kSelection));
}

TEST_F(SelectionReset, TakesAnEllipsesBoxAndThenItsOutlineOffTheScreen) {
    ShowInBox(MODE_ELLIPSE);
    XorEllipse(rcSelection);
    const ScreenSnapshot shown = ScreenSnapshot::Take();

    Reset(MODE_ELLIPSE, nullptr);

    EXPECT_TRUE(NotInverted(shown, ScreenSnapshot::Take()).empty());
    EXPECT_TRUE(ScreenIs(Start(), "without the box and the ellipse"));
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_EQ(bSelectionShown, 0);
    EXPECT_TRUE(EqualRect(&rcSelection, &kSelection));
}

TEST_F(SelectionReset, ErasesTheEllipseAfterTheBoxIsGone) {
    ShowInBox(MODE_ELLIPSE);
    XorEllipse(rcSelection);
    // The ellipse alone, as the box's destruction must find it.
    ToggleBox(*pResizingBox, Overlay());
    const ScreenSnapshot ellipseOnly = ScreenSnapshot::Take();
    ToggleBox(*pResizingBox, Overlay());

    Reset(MODE_ELLIPSE, nullptr);

    ASSERT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_TRUE(WatchedBox::s_screenAtDestruction == ellipseOnly);
}

TEST_F(SelectionReset, ErasesOnlyTheEllipseWhenTheSelectionIsNotAdjustable) {
    Record().shape.nMode = MODE_ELLIPSE;
    bEllipse = 1;
    bSelectionShown = 1;
    XorEllipse(rcSelection);

    Reset(MODE_ELLIPSE, nullptr);

    EXPECT_TRUE(ScreenIs(Start(), "without the ellipse"));
    EXPECT_EQ(bSelectionShown, 0);
    EXPECT_TRUE(EqualRect(&rcSelection, &kSelection));
}

TEST_F(SelectionReset, DrawsNothingForAShownRectangleThatIsNotAdjustable) {
    Record().shape.nMode = MODE_RECTANGLE;
    bSelectionShown = 1;

    Reset(MODE_RECTANGLE, nullptr);

    EXPECT_TRUE(ScreenIs(Start(), "untouched"));
    EXPECT_EQ(bSelectionShown, 0);
}

// --- Polygons -----------------------------------------------------------------------------------

TEST_F(SelectionReset, ErasesAShownPolygonInItsBoxAndKeepsItsPoints) {
    ShowInBox(MODE_POLYGON, kPolygon);
    XorClosedOutline(kPolygon);
    const SelectionShape shapeBefore = Record().shape;

    Reset(MODE_POLYGON, &Record().shape);

    EXPECT_TRUE(ScreenIs(Start(), "without the box and the polygon"));
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_EQ(bSelectionShown, 0);
    EXPECT_EQ(Record().shape.nCount, kPolygon.size());
    EXPECT_EQ(std::memcmp(&Record().shape, &shapeBefore, sizeof shapeBefore), 0);
}

TEST_F(SelectionReset, ErasesAClosedPolygonCommittedWithoutAdjustmentAndKeepsItsPoints) {
    SetShape(MODE_POLYGON, kPolygon);
    bSelectionShown = 1;
    XorClosedOutline(kPolygon);
    const SelectionShape shapeBefore = Record().shape;

    Reset(MODE_POLYGON, &Record().shape);

    EXPECT_TRUE(ScreenIs(Start(), "without the polygon"));
    EXPECT_EQ(bSelectionShown, 0);
    EXPECT_EQ(std::memcmp(&Record().shape, &shapeBefore, sizeof shapeBefore), 0);
}

TEST_F(SelectionReset, ErasesTheOpenOutlineOfAPolygonBeingDrawnAndEmptiesIt) {
    // An adjustable host changes nothing while the polygon is still being drawn.
    for (BOOL bAdjust : {0, 1}) {
        bAdjustable = bAdjust;
        for (size_t nPoints : {size_t(2), size_t(3), kPolygon.size()}) {
            const Points apt(kPolygon.begin(), kPolygon.begin() + nPoints);
            SetShape(MODE_POLYGON, apt);
            bSelectionShown = 0;
            XorOpenOutline(apt);

            Reset(MODE_POLYGON, &Record().shape);

            EXPECT_TRUE(ScreenIs(Start(), "without the open outline"))
                << nPoints << " points, adjustable " << bAdjust;
            EXPECT_EQ(Record().shape.nCount, 0u);
            for (size_t i = 0; i < nPoints; ++i) {
                EXPECT_EQ(Record().shape.aPoints[i].x, 0) << "point " << i;
                EXPECT_EQ(Record().shape.aPoints[i].y, 0) << "point " << i;
            }
            EXPECT_EQ(bSelectionShown, 0);
            EXPECT_EQ(Record().shape.nMode, MODE_POLYGON);
        }
    }
}

TEST_F(SelectionReset, ErasesTheMarkerOfAPolygonsOnlyPointAndEmptiesIt) {
    SetShape(MODE_POLYGON, {kPolygon[1]});
    XorOpenOutline({kPolygon[1]});
    ASSERT_FALSE(ScreenIs(Start(), "unchanged")) << "the marker should be on the screen";

    Reset(MODE_POLYGON, &Record().shape);

    EXPECT_TRUE(ScreenIs(Start(), "without the marker"));
    EXPECT_EQ(Record().shape.nCount, 0u);
    EXPECT_EQ(Record().shape.aPoints[0].x, 0);
    EXPECT_EQ(Record().shape.aPoints[0].y, 0);
    EXPECT_EQ(bSelectionShown, 0);
}

TEST_F(SelectionReset, DropsOnlyThePolygonsBoxWhenNoShapeIsGiven) {
    ShowInBox(MODE_POLYGON, kPolygon);
    XorClosedOutline(kPolygon);
    ToggleBox(*pResizingBox, Overlay());
    const ScreenSnapshot polygonOnly = ScreenSnapshot::Take();
    ToggleBox(*pResizingBox, Overlay());

    Reset(MODE_POLYGON, nullptr);

    EXPECT_TRUE(ScreenIs(polygonOnly, "the polygon without its box"));
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_EQ(bSelectionShown, 1);
    EXPECT_EQ(Record().shape.nCount, kPolygon.size());
    XorClosedOutline(kPolygon);
}

// --- When there is nothing to take off ----------------------------------------------------------

TEST_F(SelectionReset, ChangesNothingWhenAShownAdjustableSelectionHasNoBox) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE, MODE_POLYGON, 0}) {
        SetShape(nMode, nMode == MODE_POLYGON ? kPolygon : Points{});
        bEllipse = nMode == MODE_ELLIPSE;
        bSelectionShown = 1;
        bAdjustable = 1;
        if (nMode == MODE_ELLIPSE)
            XorEllipse(rcSelection);
        if (nMode == MODE_POLYGON)
            XorClosedOutline(kPolygon);
        const ScreenSnapshot shown = ScreenSnapshot::Take();

        // An empty slot, and no slot at all.
        Reset(nMode, &Record().shape);
        EXPECT_TRUE(ScreenIs(shown, "as it was")) << "mode " << nMode << ", empty slot";
        ResetSelection(nMode, nullptr, bSelectionShown, &Record().shape);
        EXPECT_TRUE(ScreenIs(shown, "as it was")) << "mode " << nMode << ", no slot";

        EXPECT_EQ(bSelectionShown, 1) << "mode " << nMode;
        EXPECT_EQ(Record().shape.nCount, nMode == MODE_POLYGON ? kPolygon.size() : 0u);
        EXPECT_EQ(pResizingBox, nullptr);

        if (nMode == MODE_ELLIPSE)
            XorEllipse(rcSelection);
        if (nMode == MODE_POLYGON)
            XorClosedOutline(kPolygon);
    }
}

TEST_F(SelectionReset, DrawsNothingWhenNoSelectionIsShown) {
    for (BOOL bAdjust : {0, 1}) {
        for (int nMode : {0, 1, 2, MODE_RECTANGLE, MODE_ELLIPSE, MODE_POLYGON, 6, 7}) {
            SetShape(nMode, {});
            bEllipse = nMode == MODE_ELLIPSE;
            bAdjustable = bAdjust;
            bSelectionShown = 0;

            Reset(nMode, &Record().shape);
            EXPECT_TRUE(ScreenIs(Start(), "untouched")) << "mode " << nMode << ", with the shape";
            Reset(nMode, nullptr);
            EXPECT_TRUE(ScreenIs(Start(), "untouched")) << "mode " << nMode << ", without it";
            EXPECT_EQ(bSelectionShown, 0) << "mode " << nMode;
            EXPECT_TRUE(EqualRect(&rcSelection, &kSelection));
        }
    }
}

// --- The window-highlight modes -----------------------------------------------------------------

TEST_F(SelectionReset, TakesOnlyTheBoxOffInTheWindowHighlightModes) {
    for (int nMode : {0, 1, 6}) {
        WatchedBox::s_nDestroyed = 0;
        // The overlay window framed as the window under the cursor.
        Record().hwndFramed = Overlay();
        ASSERT_NE(SPXXORWindow(Overlay()), 0);
        const ScreenSnapshot framed = ScreenSnapshot::Take();
        ShowInBox(nMode);

        Reset(nMode, &Record().shape);

        EXPECT_TRUE(ScreenIs(framed, "the window frame alone")) << "mode " << nMode;
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_EQ(WatchedBox::s_nDestroyed, 1) << "mode " << nMode;
        EXPECT_EQ(bSelectionShown, 0) << "mode " << nMode;
        EXPECT_EQ(Record().hwndFramed, Overlay());
        SPXXORWindow(Overlay());
    }
}

// --- No context for the overlay window ----------------------------------------------------------

TEST_F(SelectionReset, WithoutAnOverlayWindowDropsTheBoxAndDrawsNowhereElse) {
    ShowInBox(MODE_ELLIPSE);
    // A box just like it, to take the frame off afterwards.
    RECT rcCopy = rcSelection;
    const SnapixResizingBox twin(&rcCopy, Offset().x, Offset().y, &Record().shape);
    const ScreenSnapshot boxOnly = ScreenSnapshot::Take();
    ASSERT_FALSE(boxOnly == Start());
    XorEllipse(rcSelection);
    hwndOverlay = nullptr;

    Reset(MODE_ELLIPSE, nullptr);

    // The frame stays where it was drawn, nothing is drawn on the screen in its place, and the
    // ellipse is still erased.
    EXPECT_TRUE(ScreenIs(boxOnly, "the box frame alone"));
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_EQ(bSelectionShown, 0);
    ToggleBox(twin, Overlay());
}

TEST_F(SelectionReset, WithAnOverlayWindowThatIsGoneDropsTheBoxAndDrawsNothing) {
    Record().shape.nMode = MODE_RECTANGLE;
    bSelectionShown = 1;
    bAdjustable = 1;
    pResizingBox = new WatchedBox(&rcSelection, Offset().x, Offset().y, &Record().shape);
    HWND hwndGone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    DestroyWindow(hwndGone);
    hwndOverlay = hwndGone;

    Reset(MODE_RECTANGLE, nullptr);

    EXPECT_TRUE(ScreenIs(Start(), "untouched"));
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_EQ(bSelectionShown, 0);
}

} // namespace
