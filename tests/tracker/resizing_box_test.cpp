#include "draw/gdi_guards.h"
#include "draw/xor_draw.h"
#include "shape/polygon_list.h"
#include "tracker/mouse_capture.h"
#include "tracker/resizing_box.h"

#include "rect_compare.h"
#include "screen_snapshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

// Allocation failures on demand: the n-th nothrow allocation from now fails (0: none does).
static int g_nFailNothrowAllocation = 0;

void *operator new(std::size_t nSize, const std::nothrow_t &) noexcept {
    if (g_nFailNothrowAllocation > 0 && --g_nFailNothrowAllocation == 0)
        return nullptr;
    return std::malloc(nSize ? nSize : 1);
}

namespace {

RECT Shifted(RECT rc, int dx, int dy) {
    OffsetRect(&rc, dx, dy);
    return rc;
}

// The overlay window: a striped window whose client area starts at (60, 80) on the screen, so
// that screen = client + (60, 80) and the box's offsets are (-60, -80).
class ResizingBoxTest : public testing::Test {
protected:
    static constexpr int kOffsetX = -60;
    static constexpr int kOffsetY = -80;

    ResizingBoxTest() : m_overlay(RECT{60, 80, 700, 600}) {}

    void SetUp() override {
        m_shape = SelectionShape{};
        m_rcTarget = RECT{200, 200, 360, 320};
        m_before = ScreenSnapshot::Take();
    }
    void TearDown() override {
        m_box.reset();
        EXPECT_EQ(GetCapture(), nullptr);
    }

    HWND Overlay() const { return m_overlay.hwnd(); }

    void MakeBox(int nMode) {
        m_shape.nMode = nMode;
        m_box.reset(NewResizingBox(&m_rcTarget, kOffsetX, kOffsetY, &m_shape));
        ASSERT_NE(m_box, nullptr);
    }

    void MakePolygonBox(std::initializer_list<POINT> points) {
        SPXFreePolyPoints(&m_shape);
        m_shape.nMode = MODE_POLYGON;
        for (const POINT &pt : points)
            SPXAddPolyPoint(&m_shape, &pt);
        SPXCalcPolygonRect(&m_shape, &m_rcTarget);
        MakeBox(MODE_POLYGON);
    }

    void ToggleFrame() {
        WindowDC dc = GetClientDC(Overlay());
        m_box->DrawXor(dc.get());
    }

    // Queues a drag in client coordinates: moves through the points, then the release there.
    void QueueDrag(std::initializer_list<POINT> moves, UINT nUp = WM_LBUTTONUP) {
        POINT ptLast = {0, 0};
        for (const POINT &pt : moves) {
            PostMessageA(Overlay(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
            ptLast = pt;
        }
        PostMessageA(Overlay(), nUp, 0, MAKELPARAM(ptLast.x, ptLast.y));
    }

    bool ScreenAsBefore() { return ScreenSnapshot::Take() == m_before; }

    PatternWindow m_overlay;
    SelectionShape m_shape;
    RECT m_rcTarget;
    std::unique_ptr<SnapixResizingBox> m_box;
    ScreenSnapshot m_before;
};

TEST_F(ResizingBoxTest, ConstructionShiftsTheTargetIntoClientCoordinates) {
    m_rcTarget = RECT{10, 20, 110, 220};
    m_shape.nMode = MODE_RECTANGLE;
    SnapixResizingBox box(&m_rcTarget, -5, -7, &m_shape);
    EXPECT_EQ(box.m_rect, (RECT{5, 13, 105, 213}));
    EXPECT_EQ(box.m_rectPrev, (RECT{5, 13, 105, 213}));
    EXPECT_EQ(box.m_nStyle, UINT(CRectTracker::resizeOutside | CRectTracker::dottedLine));
    EXPECT_EQ(box.m_nHandleSize, 8);
    EXPECT_EQ(box.m_pTargetRect, &m_rcTarget);
    EXPECT_EQ(box.m_pShape, &m_shape);
    EXPECT_EQ(box.m_pShapeCopy, nullptr);
    EXPECT_EQ(m_rcTarget, (RECT{10, 20, 110, 220}));
}

TEST_F(ResizingBoxTest, PolygonBoxWorksOnAByteForByteCopyOfTheShape) {
    std::memset(&m_shape, 0x5A, sizeof(m_shape));
    m_shape.nMode = MODE_POLYGON;
    m_shape.nCount = 3;
    SnapixResizingBox box(&m_rcTarget, 0, 0, &m_shape);
    ASSERT_NE(box.m_pShapeCopy, nullptr);
    EXPECT_NE(box.m_pShapeCopy, &m_shape);
    EXPECT_EQ(std::memcmp(box.m_pShapeCopy, &m_shape, sizeof(SelectionShape)), 0);
}

TEST_F(ResizingBoxTest, FailedAllocationsGiveNoBoxAtAll) {
    m_shape.nMode = MODE_POLYGON;
    g_nFailNothrowAllocation = 1; // the box itself
    EXPECT_EQ(NewResizingBox(&m_rcTarget, 0, 0, &m_shape), nullptr);
    g_nFailNothrowAllocation = 2; // the polygon's working copy
    EXPECT_EQ(NewResizingBox(&m_rcTarget, 0, 0, &m_shape), nullptr);
    g_nFailNothrowAllocation = 0;
    m_shape.nMode = MODE_ELLIPSE;
    std::unique_ptr<SnapixResizingBox> box(NewResizingBox(&m_rcTarget, 0, 0, &m_shape));
    EXPECT_NE(box, nullptr);
}

TEST_F(ResizingBoxTest, FrameLiesOnePixelOutsideTheBoxWithHandlesAroundIt) {
    MakeBox(MODE_RECTANGLE);
    ToggleFrame();
    ScreenSnapshot shown = ScreenSnapshot::Take();
    EXPECT_TRUE(NotInverted(m_before, shown).empty());

    // In screen coordinates the box is the target; the frame is one pixel around it.
    PixelSet expected = RectOutline(199, 199, 361, 321);
    const UINT nMask = m_box->GetHandleMask();
    EXPECT_EQ(nMask, 0xFFu) << "a 160 by 120 box has room for every handle";
    for (int i = 0; i < 8; ++i) {
        RECT rc;
        m_box->GetHandleRect(i, &rc);
        OffsetRect(&rc, -kOffsetX, -kOffsetY);
        EXPECT_EQ(rc.right - rc.left, 8);
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                EXPECT_TRUE(expected.insert({x, y}).second) << "handle " << i << " on the frame";
    }
    EXPECT_EQ(ChangedPixels(m_before, shown), expected);

    ToggleFrame();
    EXPECT_TRUE(ScreenAsBefore());
}

struct AnchorCase {
    const char *name;
    RECT rcNew; // client coordinates; the box starts at (140, 120, 300, 240)
};

class BoxOutlineMoveTest : public ResizingBoxTest,
                           public testing::WithParamInterface<AnchorCase> {};

// The outline on the screen moves from the box's previous rectangle to the new one, whichever
// edges moved and whether it is a rectangle or an ellipse.
TEST_P(BoxOutlineMoveTest, OutlineEndsAtTheNewRectangle) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        MakeBox(nMode);
        const BOOL bEllipseFlag = nMode == MODE_ELLIPSE;
        XorBox(200, 200, 360, 320, bEllipseFlag);
        const RECT rcNew = GetParam().rcNew;
        m_box->DrawTrackerRect(&rcNew, nullptr, nullptr, Overlay());
        EXPECT_EQ(m_box->m_rectPrev, rcNew);
        const RECT rcScreen = Shifted(rcNew, -kOffsetX, -kOffsetY);
        XorBox(rcScreen.left, rcScreen.top, rcScreen.right, rcScreen.bottom, bEllipseFlag);
        EXPECT_TRUE(ScreenAsBefore()) << GetParam().name << " mode " << nMode;
    }
}

INSTANTIATE_TEST_SUITE_P(Handles, BoxOutlineMoveTest,
                         testing::Values(AnchorCase{"BottomRight", {140, 120, 330, 270}},
                                         AnchorCase{"TopLeft", {100, 90, 300, 240}},
                                         AnchorCase{"RightEdge", {140, 120, 350, 240}},
                                         AnchorCase{"LeftEdgeToTheRight", {180, 120, 300, 240}},
                                         AnchorCase{"BottomEdgeUp", {140, 120, 300, 150}},
                                         AnchorCase{"Unchanged", {140, 120, 300, 240}}),
                         [](const testing::TestParamInfo<AnchorCase> &info) {
                             return info.param.name;
                         });

TEST_F(ResizingBoxTest, PolygonOutlineIsStretchedFromTheHostsPointsEveryTime) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}});
    EXPECT_EQ(m_rcTarget, (RECT{200, 200, 300, 300}));
    SPXXorPolyPoints(&m_shape);

    // Twice the size, then back: each step maps from the host's shape, which stays as it was.
    const RECT rcDouble = Shifted(RECT{200, 200, 400, 400}, kOffsetX, kOffsetY);
    m_box->DrawTrackerRect(&rcDouble, nullptr, nullptr, Overlay());
    EXPECT_EQ(m_box->m_pShapeCopy->aPoints[1].x, 400);
    EXPECT_EQ(m_box->m_pShapeCopy->aPoints[2].y, 400);
    EXPECT_EQ(m_shape.aPoints[1].x, 300);
    const RECT rcBack = Shifted(m_rcTarget, kOffsetX, kOffsetY);
    m_box->DrawTrackerRect(&rcBack, nullptr, nullptr, Overlay());
    EXPECT_EQ(std::memcmp(m_box->m_pShapeCopy, &m_shape, sizeof(SelectionShape)), 0);

    SPXXorPolyPoints(m_box->m_pShapeCopy);
    EXPECT_TRUE(ScreenAsBefore());
}

TEST_F(ResizingBoxTest, HitTestTellsInsideOutsideAndHandles) {
    MakeBox(MODE_RECTANGLE);
    RECT rcHandle;
    m_box->GetHandleRect(hitBottomRight, &rcHandle);
    struct {
        POINT pt;
        int nHit;
    } const cases[] = {
        {{280, 260}, SEL_HIT_INSIDE},
        {{200, 200}, SEL_HIT_INSIDE},
        {{199, 199}, SEL_HIT_INSIDE}, // the frame belongs to the box
        {{150, 150}, SEL_HIT_OUTSIDE},
        {{rcHandle.left - kOffsetX, rcHandle.top - kOffsetY}, SEL_HIT_HANDLE},
        {{rcHandle.right - 1 - kOffsetX, rcHandle.bottom - 1 - kOffsetY}, SEL_HIT_HANDLE},
        {{rcHandle.right - kOffsetX, rcHandle.bottom - kOffsetY}, SEL_HIT_OUTSIDE},
    };
    for (const auto &c : cases)
        EXPECT_EQ(m_box->HitTestSelection(c.pt.x, c.pt.y), c.nHit)
            << "(" << c.pt.x << ", " << c.pt.y << ")";
}

TEST_F(ResizingBoxTest, PolygonVertexWinsOverHandleInsideAndOutside) {
    // Vertices at the box's top-left corner (under a handle's reach), inside, and one whose
    // tolerance square reaches outside the box.
    MakePolygonBox({{200, 200}, {300, 250}, {250, 300}});
    RECT rcHandle;
    m_box->GetHandleRect(hitTopLeft, &rcHandle);
    const POINT ptOnHandle = {rcHandle.right - 1 - kOffsetX, rcHandle.bottom - 1 - kOffsetY};
    ASSERT_EQ(m_box->HitTest(POINT{ptOnHandle.x + kOffsetX, ptOnHandle.y + kOffsetY}), hitTopLeft);
    EXPECT_EQ(m_box->HitTestSelection(ptOnHandle.x, ptOnHandle.y), SEL_HIT_VERTEX);
    EXPECT_EQ(m_box->HitTestSelection(298, 252), SEL_HIT_VERTEX);
    EXPECT_EQ(m_box->HitTestSelection(250, 302), SEL_HIT_VERTEX); // outside the frame
    EXPECT_EQ(m_box->HitTestSelection(250, 250), SEL_HIT_INSIDE);
    EXPECT_EQ(m_box->HitTestSelection(230, 303), SEL_HIT_OUTSIDE);
    EXPECT_EQ(m_box->HitTestSelection(250, 305), SEL_HIT_HANDLE); // the bottom edge's handle
}

TEST_F(ResizingBoxTest, TrackingTheBottomRightHandleWritesTheNewRectangleBack) {
    MakeBox(MODE_RECTANGLE);
    XorBox(200, 200, 360, 320, 0);
    RECT rcHandle;
    m_box->GetHandleRect(hitBottomRight, &rcHandle);
    const POINT ptPress = {rcHandle.left + 2, rcHandle.top + 2}; // client
    QueueDrag({{ptPress.x + 10, ptPress.y + 5}, {ptPress.x + 40, ptPress.y + 30}});
    EXPECT_EQ(m_box->TrackSelection(Overlay(), ptPress.x - kOffsetX, ptPress.y - kOffsetY), 1);

    EXPECT_EQ(m_rcTarget, (RECT{200, 200, 400, 350}));
    EXPECT_EQ(m_box->m_rect, Shifted(m_rcTarget, kOffsetX, kOffsetY));
    EXPECT_EQ(m_box->m_rectPrev, m_box->m_rect);
    // The outline was moved with the drag and is now around the new rectangle only.
    XorBox(200, 200, 400, 350, 0);
    EXPECT_TRUE(ScreenAsBefore());
}

TEST_F(ResizingBoxTest, TrackingTheTopLeftHandleOfAnEllipseKeepsTheBottomRight) {
    MakeBox(MODE_ELLIPSE);
    XorBox(200, 200, 360, 320, 1);
    RECT rcHandle;
    m_box->GetHandleRect(hitTopLeft, &rcHandle);
    const POINT ptPress = {rcHandle.left + 3, rcHandle.top + 3};
    QueueDrag({{ptPress.x - 20, ptPress.y - 10}, {ptPress.x + 30, ptPress.y + 25}});
    EXPECT_EQ(m_box->TrackSelection(Overlay(), ptPress.x - kOffsetX, ptPress.y - kOffsetY), 1);
    EXPECT_EQ(m_rcTarget, (RECT{230, 225, 360, 320}));
    XorBox(230, 225, 360, 320, 1);
    EXPECT_TRUE(ScreenAsBefore());
}

TEST_F(ResizingBoxTest, TrackWithoutMovementChangesNothing) {
    MakeBox(MODE_RECTANGLE);
    RECT rcHandle;
    m_box->GetHandleRect(hitRight, &rcHandle);
    const POINT ptPress = {rcHandle.left + 1, rcHandle.top + 1};
    QueueDrag({ptPress});
    EXPECT_EQ(m_box->TrackSelection(Overlay(), ptPress.x - kOffsetX, ptPress.y - kOffsetY), 0);
    EXPECT_EQ(m_rcTarget, (RECT{200, 200, 360, 320}));
    EXPECT_TRUE(ScreenAsBefore());
}

// A cancelled track leaves the outline, the working copy and the box where they started.
TEST_F(ResizingBoxTest, CancelledTrackPutsEverythingBack) {
    for (UINT nCancel : {UINT(WM_KEYDOWN), UINT(WM_RBUTTONDOWN)}) {
        m_shape = SelectionShape{};
        MakePolygonBox({{200, 200}, {330, 240}, {260, 310}});
        const SelectionShape shapeBefore = m_shape;
        const RECT rcStart = m_box->m_rect;
        SPXXorPolyPoints(m_box->m_pShapeCopy);
        RECT rcHandle;
        m_box->GetHandleRect(hitBottomRight, &rcHandle);
        const POINT ptPress = {rcHandle.left + 1, rcHandle.top + 1};
        PostMessageA(Overlay(), WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(ptPress.x + 50, ptPress.y + 40));
        PostMessageA(Overlay(), nCancel, nCancel == WM_KEYDOWN ? VK_ESCAPE : MK_LBUTTON, 0);
        EXPECT_EQ(m_box->TrackSelection(Overlay(), ptPress.x - kOffsetX, ptPress.y - kOffsetY), 0);

        EXPECT_EQ(m_box->m_rect, rcStart);
        EXPECT_EQ(m_box->m_rectPrev, rcStart);
        EXPECT_EQ(m_rcTarget, (RECT{200, 200, 330, 310}));
        EXPECT_EQ(std::memcmp(&m_shape, &shapeBefore, sizeof(m_shape)), 0);
        EXPECT_EQ(std::memcmp(m_box->m_pShapeCopy, &m_shape, sizeof(m_shape)), 0);
        SPXXorPolyPoints(m_box->m_pShapeCopy);
        EXPECT_TRUE(ScreenAsBefore()) << "cancelled by message " << nCancel;
        m_box.reset();
    }
}

TEST_F(ResizingBoxTest, StretchingAPolygonByAHandleWritesTheCopyBack) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}});
    SPXXorPolyPoints(&m_shape);
    RECT rcHandle;
    m_box->GetHandleRect(hitRight, &rcHandle);
    const POINT ptPress = {rcHandle.left + 1, rcHandle.top + 1};
    QueueDrag({{ptPress.x + 100, ptPress.y + 7}}); // only the right edge moves: x doubles
    EXPECT_EQ(m_box->TrackSelection(Overlay(), ptPress.x - kOffsetX, ptPress.y - kOffsetY), 1);
    EXPECT_EQ(m_rcTarget, (RECT{200, 200, 400, 300}));
    EXPECT_EQ(m_shape.aPoints[1].x, 400);
    EXPECT_EQ(m_shape.aPoints[2].x, 320);
    EXPECT_EQ(m_shape.aPoints[2].y, 300);
    EXPECT_EQ(std::memcmp(m_box->m_pShapeCopy, &m_shape, sizeof(m_shape)), 0);
    SPXXorPolyPoints(&m_shape);
    EXPECT_TRUE(ScreenAsBefore());
}

// The vertex drag: the screen carries the polygon, the hover marker on the dragged vertex and
// the box frame; afterwards they must be exactly where the box and the shape say.
class VertexDragTest : public ResizingBoxTest {
protected:
    void Show(int nVertex) {
        SPXXorPolyPoints(&m_shape);
        XorVertexMarker(m_shape.aPoints[nVertex]);
        ToggleFrame();
    }
    void Hide(int nVertex) {
        ToggleFrame();
        XorVertexMarker(m_box->m_pShapeCopy->aPoints[nVertex]);
        SPXXorPolyPoints(m_box->m_pShapeCopy);
        EXPECT_TRUE(ScreenAsBefore());
    }
    // Screen point to client point.
    static POINT Client(POINT pt) { return POINT{pt.x + kOffsetX, pt.y + kOffsetY}; }
};

TEST_F(VertexDragTest, PressAndReleaseWithoutMovingChangesNothing) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}});
    Show(1);
    const POINT ptClient = Client(POINT{300, 220});
    QueueDrag({ptClient});
    EXPECT_EQ(m_box->DragVertex(1, Overlay(), 300, 220), 0);
    EXPECT_EQ(m_shape.aPoints[1].x, 300);
    EXPECT_EQ(m_rcTarget, (RECT{200, 200, 300, 300}));
    Hide(1);
}

TEST_F(VertexDragTest, DragInsideThatKeepsTheBoundsMovesOnlyTheVertex) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}, {230, 250}});
    Show(3);
    QueueDrag({Client(POINT{240, 260}), Client(POINT{250, 240})});
    EXPECT_EQ(m_box->DragVertex(3, Overlay(), 230, 250), 0);
    EXPECT_EQ(m_shape.aPoints[3].x, 250);
    EXPECT_EQ(m_shape.aPoints[3].y, 240);
    EXPECT_EQ(m_rcTarget, (RECT{200, 200, 300, 300}));
    EXPECT_EQ(m_box->m_rect, Shifted(m_rcTarget, kOffsetX, kOffsetY));
    Hide(3);
}

TEST_F(VertexDragTest, DragBeyondTheRightEdgeGrowsTheBoxToThePointerExactly) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}});
    Show(1);
    const POINT ptEnd = Client(POINT{330, 230});
    QueueDrag({ptEnd});
    EXPECT_EQ(m_box->DragVertex(1, Overlay(), 300, 220), 1);
    EXPECT_EQ(m_box->m_rect.right, ptEnd.x);
    EXPECT_EQ(m_rcTarget, (RECT{200, 200, 330, 300}));
    EXPECT_EQ(m_box->m_rectPrev, m_box->m_rect);
    EXPECT_EQ(m_shape.aPoints[1].x, 330);
    Hide(1);
}

TEST_F(VertexDragTest, LeftmostVertexDraggedInwardPullsTheLeftEdgeAlong) {
    MakePolygonBox({{200, 250}, {300, 200}, {300, 300}});
    Show(0);
    QueueDrag({Client(POINT{220, 250}), Client(POINT{240, 255})});
    EXPECT_EQ(m_box->DragVertex(0, Overlay(), 200, 250), 1);
    EXPECT_EQ(m_rcTarget, (RECT{240, 200, 300, 300}));
    Hide(0);
}

TEST_F(VertexDragTest, PointerExactlyOnTheRightEdgeCountsAsOutside) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}, {250, 250}});
    Show(3);
    // On the right edge the box does not grow (the point is on it already) and the bounds are
    // not recomputed for that move.
    QueueDrag({Client(POINT{300, 250})});
    EXPECT_EQ(m_box->DragVertex(3, Overlay(), 250, 250), 0);
    EXPECT_EQ(m_rcTarget, (RECT{200, 200, 300, 300}));
    EXPECT_EQ(m_shape.aPoints[3].x, 300);
    Hide(3);
}

TEST_F(VertexDragTest, NegativeClientCoordinatesAreUsedAsSuch) {
    // Left of the overlay's client area: the pointer arrives as a negative client x.
    MakePolygonBox({{100, 200}, {200, 220}, {160, 300}});
    Show(0);
    const POINT ptEnd = Client(POINT{50, 190});
    ASSERT_LT(ptEnd.x, 0);
    QueueDrag({ptEnd});
    EXPECT_EQ(m_box->DragVertex(0, Overlay(), 100, 200), 1);
    EXPECT_EQ(m_shape.aPoints[0].x, 50);
    EXPECT_EQ(m_shape.aPoints[0].y, 190);
    EXPECT_EQ(m_rcTarget, (RECT{50, 190, 200, 300}));
    Hide(0);
}

// A drag ends at the release of its own button; keys and the other button do nothing to it.
TEST_F(VertexDragTest, KeysAndTheOtherButtonDoNotEndTheDrag) {
    for (UINT nPress : {UINT(WM_LBUTTONDOWN), UINT(WM_RBUTTONDOWN)}) {
        SCOPED_TRACE(nPress == WM_LBUTTONDOWN ? "left" : "right");
        MakePolygonBox({{200, 200}, {300, 220}, {260, 300}});
        Show(2);
        const bool bLeft = nPress == WM_LBUTTONDOWN;
        PostMessageA(Overlay(), WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(Client(POINT{262, 304}).x, Client(POINT{262, 304}).y));
        PostMessageA(Overlay(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(Overlay(), bLeft ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, 0, 0);
        const POINT ptEnd = Client(POINT{265, 310});
        PostMessageA(Overlay(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x, ptEnd.y));
        PostMessageA(Overlay(), bLeft ? WM_RBUTTONUP : WM_LBUTTONUP, 0,
                     MAKELPARAM(ptEnd.x, ptEnd.y));
        PostMessageA(Overlay(), bLeft ? WM_LBUTTONUP : WM_RBUTTONUP, 0,
                     MAKELPARAM(ptEnd.x, ptEnd.y));
        EXPECT_EQ(m_box->DragVertex(2, Overlay(), 260, 300, nPress), 1);
        EXPECT_EQ(m_shape.aPoints[2].y, 310);
        EXPECT_EQ(m_rcTarget.bottom, 310);
        MSG msg;
        // Releasing the capture, Windows (as Wine 10) moves the pointer where it is, no button
        // held, to set the cursor again: a move of the platform's, not the drag's.
        if (PeekMessageA(&msg, Overlay(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE) && !msg.wParam)
            PeekMessageA(&msg, Overlay(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
        EXPECT_FALSE(PeekMessageA(&msg, Overlay(), 0, 0, PM_NOREMOVE))
            << "all of the drag was read";
        Hide(2);
    }
}

// A drag input source, as the low-level path hands one to the box: a move, Escape, the release.
class ThreeSteps final : public DragInput {
public:
    explicit ThreeSteps(POINT ptEnd) : m_ptEnd(ptEnd) {}
    bool TakesInput() const override { return true; }
    int Next(HWND hwnd, MSG &msg) override {
        static const UINT aMessage[] = {WM_MOUSEMOVE, WM_KEYDOWN, WM_LBUTTONUP};
        if (m_nStep == 3)
            return DRAG_INPUT_END;
        msg = MSG();
        msg.hwnd = hwnd;
        msg.message = aMessage[m_nStep++];
        msg.wParam = msg.message == WM_KEYDOWN ? VK_ESCAPE : 0;
        msg.lParam = msg.message == WM_KEYDOWN ? 0 : MAKELPARAM(m_ptEnd.x, m_ptEnd.y);
        return DRAG_INPUT_EVENT;
    }
    UINT HeldKeys() const override { return 0; }

private:
    POINT m_ptEnd; // client coordinates of the move and the release
    int m_nStep = 0;
};
int g_nKeysSeen = 0;
LRESULT CALLBACK CountKeys(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    g_nKeysSeen += nMsg == WM_KEYDOWN;
    return DefWindowProcA(hwnd, nMsg, wParam, lParam);
}

TEST_F(VertexDragTest, KeysFromTheDragInputAreNotDeliveredASecondTime) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}});
    Show(2);
    const LONG_PTR pfnOld = SetWindowLongPtrA(Overlay(), GWLP_WNDPROC, LONG_PTR(&CountKeys));
    g_nKeysSeen = 0;
    ThreeSteps source(Client(POINT{262, 310}));
    m_box->SetDragInput(&source);
    EXPECT_EQ(m_box->DragVertex(2, Overlay(), 260, 300, WM_LBUTTONDOWN), 1);
    SetWindowLongPtrA(Overlay(), GWLP_WNDPROC, pfnOld);
    EXPECT_EQ(m_shape.aPoints[2].y, 310) << "Escape does not end a vertex drag";
    EXPECT_EQ(g_nKeysSeen, 0) << "the window had its key from its own loop already";
    Hide(2);
}

TEST_F(VertexDragTest, NoDragWhileAnotherWindowHoldsTheCapture) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}});
    const SelectionShape shapeBefore = m_shape;
    SetCapture(Overlay());
    EXPECT_EQ(m_box->DragVertex(1, Overlay(), 300, 220), 0);
    EXPECT_EQ(GetCapture(), Overlay());
    ReleaseCapture();
    EXPECT_EQ(std::memcmp(&m_shape, &shapeBefore, sizeof(m_shape)), 0);
    EXPECT_TRUE(ScreenAsBefore());
}

TEST_F(VertexDragTest, NoDragWithoutADeviceContextForTheWindow) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}});
    const SelectionShape shapeBefore = m_shape;
    HWND hwndDead = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    DestroyWindow(hwndDead);
    PostMessageA(Overlay(), WM_LBUTTONUP, 0, MAKELPARAM(400, 400));
    EXPECT_EQ(m_box->DragVertex(1, hwndDead, 300, 220), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(std::memcmp(&m_shape, &shapeBefore, sizeof(m_shape)), 0);
    EXPECT_TRUE(ScreenAsBefore());
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, Overlay(), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE))
        << "the drag did not start, so it read nothing";
}

TEST_F(VertexDragTest, LosingTheCaptureEndsTheDragAndKeepsTheVertexWhereItWas) {
    MakePolygonBox({{200, 200}, {300, 220}, {260, 300}});
    Show(1);
    const POINT ptEnd = Client(POINT{340, 230});
    PostMessageA(Overlay(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x, ptEnd.y));
    // Dispatched to the window's default procedure, this releases the capture; the next message
    // shows the loop that it is gone, and is not acted on.
    PostMessageA(Overlay(), WM_CANCELMODE, 0, 0);
    PostMessageA(Overlay(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x + 30, ptEnd.y));
    EXPECT_EQ(m_box->DragVertex(1, Overlay(), 300, 220), 1);
    EXPECT_EQ(m_shape.aPoints[1].x, 340);
    EXPECT_EQ(m_rcTarget, (RECT{200, 200, 340, 300}));
    Hide(1);
}

} // namespace
