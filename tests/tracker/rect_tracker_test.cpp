#include "tracker/rect_tracker.h"

#include "rect_compare.h"
#include "screen_snapshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

template <typename Case> std::string CaseName(const testing::TestParamInfo<Case> &info) {
    return info.param.name;
}

// The tracker rectangle of most tests, in client coordinates. With a dotted line its frame is
// (99, 79, 261, 201) and the 4-pixel handles lie around that frame.
const RECT kRect = {100, 80, 260, 200};
const UINT kStyle = CRectTracker::resizeOutside | CRectTracker::dottedLine;

// A pixel in the middle of each handle of kRect with kStyle, and one inside.
const POINT kOnTopLeft = {97, 77};
const POINT kOnTopRight = {263, 77};
const POINT kOnBottomRight = {263, 203};
const POINT kOnBottomLeft = {97, 203};
const POINT kOnTop = {180, 77};
const POINT kOnRight = {263, 140};
const POINT kOnBottom = {180, 203};
const POINT kOnLeft = {97, 140};
const POINT kInside = {180, 140};

POINT Plus(POINT pt, int dx, int dy) {
    return POINT{pt.x + dx, pt.y + dy};
}

// ---------------------------------------------------------------------------------------------
// Construction, handles and hit testing

TEST(TrackerHandles, NewTrackerHasFourPixelHandlesAndAnEightPixelMinimum) {
    const CRectTracker tracker(&kRect, kStyle);
    EXPECT_EQ(tracker.m_rect, kRect);
    EXPECT_EQ(tracker.m_nStyle, kStyle);
    EXPECT_EQ(tracker.m_nHandleSize, 4);
    EXPECT_EQ(tracker.GetHandleSize(), 4);
    EXPECT_EQ(tracker.m_sizeMin.cx, 8);
    EXPECT_EQ(tracker.m_sizeMin.cy, 8);
}

TEST(TrackerHandles, HandlesLieAroundTheLineNotAroundTheRectangle) {
    const CRectTracker tracker(&kRect, kStyle);
    RECT rc;
    tracker.GetHandleRect(hitTopLeft, &rc);
    EXPECT_EQ(rc, (RECT{95, 75, 99, 79}));
    tracker.GetHandleRect(hitRight, &rc);
    EXPECT_EQ(rc, (RECT{261, 138, 265, 142}));
    tracker.GetHandleRect(hitBottom, &rc);
    EXPECT_EQ(rc, (RECT{178, 201, 182, 205}));

    // Without a line the handles touch the rectangle itself.
    const CRectTracker bare(&kRect, CRectTracker::resizeOutside);
    bare.GetHandleRect(hitTopLeft, &rc);
    EXPECT_EQ(rc, (RECT{96, 76, 100, 80}));
    bare.GetHandleRect(hitBottomRight, &rc);
    EXPECT_EQ(rc, (RECT{260, 200, 264, 204}));
}

TEST(TrackerHandles, HandleRectsFollowTheHandleSize) {
    CRectTracker tracker(&kRect, kStyle);
    tracker.m_nHandleSize = 8;
    RECT rc;
    tracker.GetHandleRect(hitTopLeft, &rc);
    EXPECT_EQ(rc, (RECT{91, 71, 99, 79}));
    tracker.GetHandleRect(hitBottomRight, &rc);
    EXPECT_EQ(rc, (RECT{261, 201, 269, 209}));
    EXPECT_EQ(tracker.HitTest(POINT{92, 72}), hitTopLeft);
}

TEST(TrackerHandles, EveryPixelOfAShownHandleHitsThatHandle) {
    const RECT aRects[] = {kRect, {260, 200, 100, 80}, {100, 80, 116, 96}};
    for (const RECT &rcStart : aRects) {
        for (UINT nStyle : {kStyle, UINT(CRectTracker::resizeOutside),
                            UINT(CRectTracker::resizeInside | CRectTracker::dottedLine)}) {
            const CRectTracker tracker(&rcStart, nStyle);
            const UINT nMask = tracker.GetHandleMask();
            for (int nHandle = hitTopLeft; nHandle <= hitLeft; ++nHandle) {
                if (!(nMask & (1u << nHandle)))
                    continue;
                RECT rc;
                tracker.GetHandleRect(nHandle, &rc);
                for (int y = rc.top; y < rc.bottom; ++y)
                    for (int x = rc.left; x < rc.right; ++x)
                        ASSERT_EQ(tracker.HitTest(POINT{x, y}), HitForRectMembers(rcStart, nHandle))
                            << "rect " << rcStart << " style " << nStyle << " handle " << nHandle
                            << " at " << POINT{x, y};
            }
        }
    }
}

TEST(TrackerHandles, HiddenEdgeHandlesAreNeitherMaskedNorHit) {
    // 16 pixels is exactly three handles and four pixels: no room for the edge handles.
    const RECT rcSmall = {100, 80, 116, 96};
    const CRectTracker small(&rcSmall, kStyle);
    EXPECT_EQ(small.GetHandleMask(), 0x0Fu);
    EXPECT_EQ(small.HitTest(POINT{108, 77}), hitNothing) << "where the top handle would be";
    EXPECT_EQ(small.HitTest(POINT{119, 88}), hitNothing) << "where the right handle would be";

    const RECT rcWider = {100, 80, 117, 96};
    const CRectTracker wider(&rcWider, kStyle);
    EXPECT_EQ(wider.GetHandleMask(), 0x5Fu);
    EXPECT_EQ(wider.HitTest(POINT{108, 77}), hitTop);
    EXPECT_EQ(wider.HitTest(POINT{120, 88}), hitNothing);
}

struct HitCase {
    const char *name;
    RECT rc;
    UINT nStyle;
    POINT pt;
    int want;
};

class TrackerHitTest : public testing::TestWithParam<HitCase> {};

TEST_P(TrackerHitTest, ReportsWhatLiesUnderThePoint) {
    const HitCase &c = GetParam();
    const CRectTracker tracker(&c.rc, c.nStyle);
    EXPECT_EQ(tracker.HitTest(c.pt), c.want);
}

const RECT kMirrored = {260, 200, 100, 80};
const RECT kMirroredX = {260, 80, 100, 200};
const UINT kInsideStyle = CRectTracker::resizeInside | CRectTracker::dottedLine;
const UINT kBareStyle = CRectTracker::resizeOutside;

INSTANTIATE_TEST_SUITE_P(
    OutsideHandlesWithALine, TrackerHitTest,
    testing::Values(
        HitCase{"TopLeftHandleFirstPixel", kRect, kStyle, {95, 75}, hitTopLeft},
        HitCase{"TopLeftHandleLastPixel", kRect, kStyle, {98, 78}, hitTopLeft},
        HitCase{"DiagonallyBeforeTheTopLeftHandle", kRect, kStyle, {94, 74}, hitNothing},
        HitCase{"TopRightHandle", kRect, kStyle, {264, 75}, hitTopRight},
        HitCase{"BottomRightHandleLastPixel", kRect, kStyle, {264, 204}, hitBottomRight},
        HitCase{"JustBeyondTheBottomRightHandle", kRect, kStyle, {265, 205}, hitNothing},
        HitCase{"BottomLeftHandle", kRect, kStyle, {95, 204}, hitBottomLeft},
        HitCase{"TopHandle", kRect, kStyle, kOnTop, hitTop},
        HitCase{"RightHandle", kRect, kStyle, kOnRight, hitRight},
        HitCase{"BottomHandle", kRect, kStyle, kOnBottom, hitBottom},
        HitCase{"LeftHandle", kRect, kStyle, kOnLeft, hitLeft},
        HitCase{"BesideTheTopHandle", kRect, kStyle, {177, 77}, hitNothing},
        HitCase{"LineCornerIsInside", kRect, kStyle, {99, 79}, hitMiddle},
        HitCase{"LastPixelOfTheLineIsInside", kRect, kStyle, {260, 200}, hitMiddle},
        HitCase{"BesideTheLineBetweenHandles", kRect, kStyle, {261, 100}, hitNothing},
        HitCase{"Centre", kRect, kStyle, kInside, hitMiddle},
        HitCase{"FarAway", kRect, kStyle, {10, 10}, hitNothing}),
    CaseName<HitCase>);

// A mirrored rectangle looks the same; the codes name the members that the handle moves.
INSTANTIATE_TEST_SUITE_P(
    MirroredRectangle, TrackerHitTest,
    testing::Values(HitCase{"VisibleTopLeftMovesRightAndBottom", kMirrored, kStyle, kOnTopLeft,
                            hitBottomRight},
                    HitCase{"VisibleTopRight", kMirrored, kStyle, kOnTopRight, hitBottomLeft},
                    HitCase{"VisibleBottomRight", kMirrored, kStyle, kOnBottomRight, hitTopLeft},
                    HitCase{"VisibleBottomLeft", kMirrored, kStyle, kOnBottomLeft, hitTopRight},
                    HitCase{"VisibleTop", kMirrored, kStyle, kOnTop, hitBottom},
                    HitCase{"VisibleRight", kMirrored, kStyle, kOnRight, hitLeft},
                    HitCase{"VisibleBottom", kMirrored, kStyle, kOnBottom, hitTop},
                    HitCase{"VisibleLeft", kMirrored, kStyle, kOnLeft, hitRight},
                    HitCase{"Inside", kMirrored, kStyle, kInside, hitMiddle},
                    HitCase{"Outside", kMirrored, kStyle, {10, 10}, hitNothing}),
    CaseName<HitCase>);

INSTANTIATE_TEST_SUITE_P(
    OtherStyles, TrackerHitTest,
    testing::Values(
        HitCase{
            "NoLineHandleLastPixelTouchesTheRectangle", kRect, kBareStyle, {99, 79}, hitTopLeft},
        HitCase{"NoLineFirstPixelIsInside", kRect, kBareStyle, {100, 80}, hitMiddle},
        HitCase{
            "NoLineBottomRightStartsOnTheRightEdge", kRect, kBareStyle, {260, 200}, hitBottomRight},
        HitCase{"InsideHandleOnTheLineCorner", kRect, kInsideStyle, {99, 79}, hitTopLeft},
        HitCase{"InsideHandleLastPixel", kRect, kInsideStyle, {102, 82}, hitTopLeft},
        HitCase{"InsideNextToTheHandle", kRect, kInsideStyle, {103, 83}, hitMiddle},
        HitCase{"InsideRightHandle", kRect, kInsideStyle, {259, 140}, hitRight},
        HitCase{"InsideStyleHasNothingOutside", kRect, kInsideStyle, kOnTopLeft, hitNothing}),
    CaseName<HitCase>);

// ---------------------------------------------------------------------------------------------
// The test window

const UINT WM_TEST_PRIVATE = WM_APP + 1;
const UINT WM_TEST_TAKE_CAPTURE = WM_APP + 2; // lParam: the window that takes the capture
const UINT WM_TEST_RELEASE_CAPTURE = WM_APP + 3;
const UINT WM_TEST_END_MARK = WM_APP + 4;
const UINT_PTR kWatchdogTimer = 0x5157;

using Message = std::pair<UINT, WPARAM>;

// The messages of interest that the test windows received, in order.
std::vector<Message> g_received;
bool g_bWatchdogFired = false;

LRESULT CALLBACK TestWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_TEST_PRIVATE:
        g_received.push_back({msg, wParam});
        break;
    case WM_TEST_TAKE_CAPTURE:
        SetCapture(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TEST_RELEASE_CAPTURE:
        ReleaseCapture();
        return 0;
    case WM_TIMER:
        // A track that does not end where it should loses the capture and gets Escape rather
        // than hang the run.
        if (wParam == kWatchdogTimer) {
            KillTimer(hwnd, kWatchdogTimer);
            g_bWatchdogFired = true;
            ReleaseCapture();
            PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            return 0;
        }
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const char *TestWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = TestWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
        wc.lpszClassName = "SpxTrackerTestWindow";
        return RegisterClassA(&wc);
    }();
    return atom ? "SpxTrackerTestWindow" : nullptr;
}

// Ends the program with a failure when a track has not returned after 20 seconds, for a track
// that neither dispatches the watchdog's timer nor ends at any message: it would wait forever.
class HangGuard {
public:
    HangGuard()
        : m_hDone(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_hThread(CreateThread(nullptr, 0, &HangGuard::Watch, m_hDone, 0, nullptr)) {}
    ~HangGuard() {
        SetEvent(m_hDone);
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
        CloseHandle(m_hDone);
    }
    HangGuard(const HangGuard &) = delete;
    HangGuard &operator=(const HangGuard &) = delete;

private:
    static DWORD WINAPI Watch(LPVOID pDone) {
        if (WaitForSingleObject(static_cast<HANDLE>(pDone), 20000) == WAIT_TIMEOUT) {
            std::fprintf(stderr, "\nA track did not return within 20 seconds.\n");
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        return 0;
    }
    HANDLE m_hDone;
    HANDLE m_hThread;
};

// Posted messages waiting in this thread's queue, removed.
std::vector<Message> TakePosted() {
    std::vector<Message> posted;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE))
        posted.push_back({msg.message, msg.wParam});
    return posted;
}

// One call of DrawTrackerRect or OnChangedRect, as the tracker saw it.
struct TrackerCall {
    enum Kind { kDraw, kChanged } kind;
    RECT rc;        // the rectangle drawn, or the old rectangle given to OnChangedRect
    RECT rcCurrent; // m_rect at the call
    HWND hwndCapture;
    HWND hwndClipTo, hwnd;
    HDC hdc;
};

// Records the feedback instead of drawing it.
class RecordingTracker : public CRectTracker {
public:
    explicit RecordingTracker(const RECT &rc, UINT nStyle = kStyle) : CRectTracker(&rc, nStyle) {}

    void DrawTrackerRect(LPCRECT lpRect, HWND hwndClipTo, HDC hdc, HWND hwnd) override {
        m_calls.push_back(
            {TrackerCall::kDraw, *lpRect, m_rect, GetCapture(), hwndClipTo, hwnd, hdc});
    }
    void OnChangedRect(const RECT &rectOld) override {
        m_calls.push_back(
            {TrackerCall::kChanged, rectOld, m_rect, GetCapture(), nullptr, nullptr, nullptr});
    }

    std::vector<RECT> Drawn() const {
        std::vector<RECT> drawn;
        for (const TrackerCall &call : m_calls)
            if (call.kind == TrackerCall::kDraw)
                drawn.push_back(call.rc);
        return drawn;
    }
    // The rectangles that a toggling feedback showed, in order.
    std::vector<RECT> Shown() const {
        std::vector<RECT> shown, visible;
        for (const RECT &rc : Drawn()) {
            auto it = std::find(visible.begin(), visible.end(), rc);
            if (it != visible.end()) {
                visible.erase(it);
            } else {
                visible.push_back(rc);
                shown.push_back(rc);
            }
        }
        return shown;
    }
    // (old, new) of every OnChangedRect call.
    std::vector<std::pair<RECT, RECT>> Changes() const {
        std::vector<std::pair<RECT, RECT>> changes;
        for (const TrackerCall &call : m_calls)
            if (call.kind == TrackerCall::kChanged)
                changes.push_back({call.rc, call.rcCurrent});
        return changes;
    }

    std::vector<TrackerCall> m_calls;
};

// The feedback calls go in pairs: a toggling feedback never shows two rectangles at once, shows
// nothing when OnChangedRect is called and nothing after the track; a feedback that moves one
// outline to each rectangle it is given ends at rcEnd.
void ExpectFeedbackEndsAt(const RecordingTracker &tracker, const RECT &rcEnd) {
    std::vector<RECT> visible;
    for (const TrackerCall &call : tracker.m_calls) {
        if (call.kind == TrackerCall::kChanged) {
            EXPECT_TRUE(visible.empty()) << "OnChangedRect while " << visible.front() << " shows";
            continue;
        }
        auto it = std::find(visible.begin(), visible.end(), call.rc);
        if (it != visible.end())
            visible.erase(it);
        else
            visible.push_back(call.rc);
        EXPECT_LE(visible.size(), 1u) << "after drawing " << call.rc;
    }
    EXPECT_TRUE(visible.empty()) << visible.size() << " rectangles left shown";
    const std::vector<RECT> drawn = tracker.Drawn();
    if (!drawn.empty())
        EXPECT_EQ(drawn.back(), rcEnd) << "the last rectangle drawn";
}

// A popup window at (100, 100), 400 by 300, whose client area is the whole window; a second,
// hidden window that can take the capture away. The cursor waits far from both.
class TrackTest : public testing::Test {
protected:
    static constexpr int kLeft = 100;
    static constexpr int kTop = 100;

    TrackTest() {
        GetCursorPos(&m_ptCursorBefore);
        SetCursorPos(1000, 740);
        m_hwnd =
            CreateWindowExA(0, TestWindowClass(), "tracker", WS_POPUP | WS_VISIBLE, kLeft, kTop,
                            400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        m_hwndOther = CreateWindowExA(0, TestWindowClass(), "other", WS_POPUP, 600, 100, 50, 50,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        UpdateWindow(m_hwnd);
        SettleScreen();
    }
    ~TrackTest() override {
        DestroyWindow(m_hwndOther);
        DestroyWindow(m_hwnd);
        SettleScreen();
        SetCursorPos(m_ptCursorBefore.x, m_ptCursorBefore.y);
    }
    void SetUp() override {
        ASSERT_NE(m_hwnd, nullptr);
        ASSERT_NE(m_hwndOther, nullptr);
        m_hwndTrack = m_hwnd;
        TakePosted();
        g_received.clear();
        g_bWatchdogFired = false;
        m_before = ScreenSnapshot::Take();
    }
    void TearDown() override {
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_FALSE(g_bWatchdogFired) << "a track did not end and was cancelled by the watchdog";
        EXPECT_EQ(TakePosted(), std::vector<Message>{}) << "messages left in the queue";
    }

    void Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        PostMessageA(m_hwndTrack, msg, wParam, lParam);
    }
    void PostMove(POINT pt) { Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
    void PostRelease(POINT pt, UINT msg = WM_LBUTTONUP) { Post(msg, 0, MAKELPARAM(pt.x, pt.y)); }
    void PostEscape() { Post(WM_KEYDOWN, VK_ESCAPE, 0x00010001); }

    // Runs a track in m_hwndTrack over the messages posted so far. With bMarkEnd a mark follows
    // them, which the track must leave in the queue: it reads nothing after the message that ends
    // it.
    BOOL RunTrack(CRectTracker &tracker, POINT ptPress, BOOL bAllowInvert = FALSE,
                  HWND hwndClipTo = nullptr, bool bMarkEnd = true) {
        if (bMarkEnd)
            Post(WM_TEST_END_MARK);
        const HangGuard guard;
        SetTimer(m_hwnd, kWatchdogTimer, 3000, nullptr);
        const BOOL bResult = tracker.Track(m_hwndTrack, ptPress, bAllowInvert, hwndClipTo);
        KillTimer(m_hwnd, kWatchdogTimer);
        if (bMarkEnd)
            EXPECT_EQ(TakePosted(), std::vector<Message>{Message(WM_TEST_END_MARK, 0)})
                << "the track did not stop at the message that ends it";
        return bResult;
    }

    bool ScreenAsBefore() { return ScreenSnapshot::Take() == m_before; }

    HWND m_hwnd = nullptr;
    HWND m_hwndOther = nullptr;
    HWND m_hwndTrack = nullptr; // the window that the drags go to and Track runs in
    POINT m_ptCursorBefore = {};
    ScreenSnapshot m_before;
};

// ---------------------------------------------------------------------------------------------
// Dragging the handles

struct HandleDragCase {
    const char *name;
    POINT ptPress;
    RECT rcFirst;  // after a move by (+30, +20)
    RECT rcSecond; // after a move by (-12, +9), where the button comes up
};

class TrackHandleTest : public TrackTest, public testing::WithParamInterface<HandleDragCase> {};

TEST_P(TrackHandleTest, MovesOnlyTheEdgesOfTheHandleAndKeepsThePointersOffset) {
    const HandleDragCase &c = GetParam();
    RecordingTracker tracker(kRect);
    PostMove(Plus(c.ptPress, 30, 20));
    PostMove(Plus(c.ptPress, -12, 9));
    PostRelease(Plus(c.ptPress, -12, 9));

    EXPECT_NE(RunTrack(tracker, c.ptPress), 0);
    EXPECT_EQ(tracker.m_rect, c.rcSecond);
    EXPECT_EQ(tracker.Shown(), (std::vector<RECT>{c.rcFirst, c.rcSecond}));
    EXPECT_EQ(tracker.Changes(),
              (std::vector<std::pair<RECT, RECT>>{{kRect, c.rcFirst}, {c.rcFirst, c.rcSecond}}));
    ExpectFeedbackEndsAt(tracker, c.rcSecond);
    for (const TrackerCall &call : tracker.m_calls) {
        EXPECT_EQ(call.hwndCapture, m_hwnd) << "the window holds the capture while tracking";
        if (call.kind == TrackerCall::kDraw) {
            EXPECT_EQ(call.hwnd, m_hwnd);
            EXPECT_EQ(call.hwndClipTo, nullptr);
            EXPECT_NE(call.hdc, nullptr);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Handles, TrackHandleTest,
    testing::Values(HandleDragCase{"DraggingTheTopLeftHandleAnchorsTheBottomRight",
                                   kOnTopLeft,
                                   {130, 100, 260, 200},
                                   {88, 89, 260, 200}},
                    HandleDragCase{"DraggingTheTopRightHandleAnchorsTheBottomLeft",
                                   kOnTopRight,
                                   {100, 100, 290, 200},
                                   {100, 89, 248, 200}},
                    HandleDragCase{"DraggingTheBottomRightHandleAnchorsTheTopLeft",
                                   kOnBottomRight,
                                   {100, 80, 290, 220},
                                   {100, 80, 248, 209}},
                    HandleDragCase{"DraggingTheBottomLeftHandleAnchorsTheTopRight",
                                   kOnBottomLeft,
                                   {130, 80, 260, 220},
                                   {88, 80, 260, 209}},
                    HandleDragCase{"DraggingTheTopHandleMovesOnlyTheTop",
                                   kOnTop,
                                   {100, 100, 260, 200},
                                   {100, 89, 260, 200}},
                    HandleDragCase{"DraggingTheRightHandleMovesOnlyTheRight",
                                   kOnRight,
                                   {100, 80, 290, 200},
                                   {100, 80, 248, 200}},
                    HandleDragCase{"DraggingTheBottomHandleMovesOnlyTheBottom",
                                   kOnBottom,
                                   {100, 80, 260, 220},
                                   {100, 80, 260, 209}},
                    HandleDragCase{"DraggingTheLeftHandleMovesOnlyTheLeft",
                                   kOnLeft,
                                   {130, 80, 260, 200},
                                   {88, 80, 260, 200}},
                    HandleDragCase{"DraggingTheMiddleMovesTheWholeRectangle",
                                   kInside,
                                   {130, 100, 290, 220},
                                   {88, 89, 248, 209}}),
    CaseName<HandleDragCase>);

TEST_F(TrackTest, MirroredRectangleFollowsTheHandleThatWasPressed) {
    // The visible top-left handle of a rectangle stored right to left moves its right member.
    const RECT rcMirrored = {260, 80, 100, 200};
    RecordingTracker tracker(rcMirrored);
    PostMove(Plus(kOnTopLeft, -12, 9));
    PostRelease(Plus(kOnTopLeft, -12, 9));
    EXPECT_NE(RunTrack(tracker, kOnTopLeft), 0);
    EXPECT_EQ(tracker.m_rect, (RECT{260, 89, 88, 200}));
    ExpectFeedbackEndsAt(tracker, tracker.m_rect);
}

TEST_F(TrackTest, MirroredRectangleStaysMirroredWithoutInversion) {
    // Its visible left edge, pushed over the visible right one, stops 8 pixels before it.
    const RECT rcMirrored = {260, 80, 100, 200};
    RecordingTracker tracker(rcMirrored);
    PostMove(Plus(kOnLeft, 300, 0));
    PostRelease(Plus(kOnLeft, 300, 0));
    EXPECT_NE(RunTrack(tracker, kOnLeft), 0);
    EXPECT_EQ(tracker.m_rect, (RECT{260, 80, 252, 200}));
}

TEST_F(TrackTest, ClientCoordinatesLeftOfAndAboveTheWindowAreNegative) {
    RecordingTracker tracker(kRect);
    PostMove(POINT{-30, -40});
    PostRelease(POINT{-30, -40});
    EXPECT_NE(RunTrack(tracker, kOnTopLeft), 0);
    EXPECT_EQ(tracker.m_rect, (RECT{-27, -37, 260, 200}));
}

struct ReleaseCase {
    const char *name;
    UINT nPress;
    UINT nMessage;
    UINT nOtherRelease;
};

class TrackReleaseTest : public TrackTest, public testing::WithParamInterface<ReleaseCase> {};

// Either button drives a track: the press that started it, read again by the loop, is not taken
// for a cancel, and the other button's release does not end it.
TEST_P(TrackReleaseTest, EndsAtTheReleasePointEvenWithoutAMoveThere) {
    RecordingTracker tracker(kRect);
    tracker.m_nTrackPress = GetParam().nPress;
    Post(GetParam().nPress, 0, MAKELPARAM(kOnBottomRight.x, kOnBottomRight.y));
    PostMove(Plus(kOnBottomRight, 30, 20));
    PostRelease(Plus(kOnBottomRight, 35, 22), GetParam().nOtherRelease);
    PostRelease(Plus(kOnBottomRight, 40, 25), GetParam().nMessage);
    EXPECT_NE(RunTrack(tracker, kOnBottomRight), 0);
    EXPECT_EQ(tracker.m_rect, (RECT{100, 80, 300, 225}));
    EXPECT_EQ(tracker.Shown(),
              (std::vector<RECT>{RECT{100, 80, 290, 220}, RECT{100, 80, 300, 225}}));
    ExpectFeedbackEndsAt(tracker, tracker.m_rect);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, TrackReleaseTest,
    testing::Values(ReleaseCase{"LeftButton", WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP},
                    ReleaseCase{"RightButton", WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONUP}),
    CaseName<ReleaseCase>);

// ---------------------------------------------------------------------------------------------
// Minimum size and inversion

struct LimitCase {
    const char *name;
    POINT ptPress;
    POINT ptRelease;
    BOOL bAllowInvert;
    RECT want;
};

class TrackLimitTest : public TrackTest, public testing::WithParamInterface<LimitCase> {};

TEST_P(TrackLimitTest, EdgesStopOrCrossAsAllowed) {
    const LimitCase &c = GetParam();
    RecordingTracker tracker(kRect);
    PostMove(c.ptRelease);
    PostRelease(c.ptRelease);
    EXPECT_NE(RunTrack(tracker, c.ptPress, c.bAllowInvert), 0);
    EXPECT_EQ(tracker.m_rect, c.want);
    ExpectFeedbackEndsAt(tracker, c.want);
}

// The right handle is pressed 3 pixels right of the right edge, the others in their middle.
INSTANTIATE_TEST_SUITE_P(
    WithoutInversion, TrackLimitTest,
    testing::Values(
        LimitCase{"RightEdgeWithAPixelToSpare", kOnRight, {112, 140}, FALSE, {100, 80, 109, 200}},
        LimitCase{"RightEdgeAtTheMinimum", kOnRight, {111, 140}, FALSE, {100, 80, 108, 200}},
        LimitCase{"RightEdgeStopsAtTheMinimum", kOnRight, {110, 140}, FALSE, {100, 80, 108, 200}},
        LimitCase{"RightEdgeFarPastTheLeft", kOnRight, {-100, 140}, FALSE, {100, 80, 108, 200}},
        LimitCase{"BottomEdgePastTheTopStops", kOnBottom, {180, 0}, FALSE, {100, 80, 260, 88}},
        LimitCase{"CornerPastTheOpposite", kOnTopLeft, {390, 290}, FALSE, {252, 192, 260, 200}}),
    CaseName<LimitCase>);

INSTANTIATE_TEST_SUITE_P(
    WithInversion, TrackLimitTest,
    testing::Values(
        LimitCase{"RightEdgePastTheLeftInverts", kOnRight, {13, 140}, TRUE, {100, 80, 10, 200}},
        LimitCase{"RightJustPastKeepsMinimum", kOnRight, {100, 140}, TRUE, {100, 80, 92, 200}},
        LimitCase{"CornerInvertsBothAxes", kOnTopLeft, {390, 290}, TRUE, {393, 293, 260, 200}}),
    CaseName<LimitCase>);

TEST_F(TrackTest, AChangedMinimumSizeIsKept) {
    RecordingTracker tracker(kRect);
    tracker.m_sizeMin = SIZE{20, 30};
    PostMove(POINT{0, 0});
    PostRelease(POINT{0, 0});
    EXPECT_NE(RunTrack(tracker, kOnBottomRight), 0);
    EXPECT_EQ(tracker.m_rect, (RECT{100, 80, 120, 110}));
}

TEST_F(TrackTest, MovesThatTheMinimumSwallowsDrawNothingAndChangeNothing) {
    const RECT rcNarrow = {100, 80, 108, 200};
    RecordingTracker tracker(rcNarrow);
    PostMove(POINT{90, 140});
    PostMove(POINT{20, 140});
    PostRelease(POINT{20, 140});
    EXPECT_EQ(RunTrack(tracker, POINT{111, 140}), 0);
    EXPECT_EQ(tracker.m_rect, rcNarrow);
    EXPECT_TRUE(tracker.m_calls.empty());
}

// Snaps every edge to a multiple of ten and remembers the handle it was asked about.
class GridTracker : public RecordingTracker {
public:
    using RecordingTracker::RecordingTracker;
    void AdjustRect(int nHandle, LPRECT lpRect) override {
        m_aHandles.push_back(nHandle);
        for (LONG *p : {&lpRect->left, &lpRect->top, &lpRect->right, &lpRect->bottom})
            *p = (*p + 5) / 10 * 10;
    }
    std::vector<int> m_aHandles;
};

TEST_F(TrackTest, AdjustRectCorrectsEveryRectangleBeforeItIsShown) {
    GridTracker tracker(kRect);
    PostMove(Plus(kOnBottomRight, 13, 7));
    PostMove(Plus(kOnBottomRight, 14, 8)); // the same after snapping: nothing to draw
    PostRelease(Plus(kOnBottomRight, 14, 8));
    EXPECT_NE(RunTrack(tracker, kOnBottomRight), 0);
    EXPECT_EQ(tracker.m_rect, (RECT{100, 80, 270, 210}));
    EXPECT_EQ(tracker.Shown(), std::vector<RECT>{tracker.m_rect});
    EXPECT_FALSE(tracker.m_aHandles.empty());
    for (int nHandle : tracker.m_aHandles)
        EXPECT_EQ(nHandle, hitBottomRight);
    ExpectFeedbackEndsAt(tracker, tracker.m_rect);
}

// ---------------------------------------------------------------------------------------------
// Result and messages

TEST_F(TrackTest, ClickWithoutMovingDrawsNothingAndReportsNoChange) {
    RecordingTracker tracker(kRect);
    PostRelease(kOnBottomRight);
    EXPECT_EQ(RunTrack(tracker, kOnBottomRight), 0);
    EXPECT_EQ(tracker.m_rect, kRect);
    EXPECT_TRUE(tracker.m_calls.empty());
}

TEST_F(TrackTest, DragBackToTheStartReportsNoChange) {
    RecordingTracker tracker(kRect);
    PostMove(Plus(kOnRight, 25, 0));
    PostMove(kOnRight);
    PostRelease(kOnRight);
    EXPECT_EQ(RunTrack(tracker, kOnRight), 0);
    EXPECT_EQ(tracker.m_rect, kRect);
    ExpectFeedbackEndsAt(tracker, kRect);
}

TEST_F(TrackTest, OtherKeysAndMessagesAreDispatchedAndTheTrackGoesOn) {
    RecordingTracker tracker(kRect);
    PostMove(Plus(kOnBottom, 0, 10));
    Post(WM_KEYDOWN, 'A', 0x001E0001);
    Post(WM_KEYUP, VK_ESCAPE, 0xC0010001);
    Post(WM_CHAR, VK_ESCAPE, 0x00010001);
    Post(WM_MBUTTONDOWN, MK_LBUTTON | MK_MBUTTON, MAKELPARAM(180, 213));
    Post(WM_MBUTTONUP, MK_LBUTTON, MAKELPARAM(180, 213));
    Post(WM_TEST_PRIVATE, 42);
    PostMove(Plus(kOnBottom, 0, 20));
    PostRelease(Plus(kOnBottom, 0, 20));

    EXPECT_NE(RunTrack(tracker, kOnBottom), 0);
    EXPECT_EQ(tracker.m_rect, (RECT{100, 80, 260, 220}));
    EXPECT_EQ(g_received, (std::vector<Message>{{WM_KEYDOWN, 'A'},
                                                {WM_KEYUP, VK_ESCAPE},
                                                {WM_CHAR, VK_ESCAPE},
                                                {WM_MBUTTONDOWN, MK_LBUTTON | MK_MBUTTON},
                                                {WM_MBUTTONUP, MK_LBUTTON},
                                                {WM_TEST_PRIVATE, 42}}));
    ExpectFeedbackEndsAt(tracker, tracker.m_rect);
}

// ---------------------------------------------------------------------------------------------
// Cancelling

enum class Ending { LeftRelease, RightRelease, Escape, RightPress, CaptureTaken, CaptureReleased };

struct EndingCase {
    const char *name;
    Ending ending;
};

class TrackEndingTest : public TrackTest, public testing::WithParamInterface<EndingCase> {
protected:
    // Drags the bottom-right handle by (+30, +20), then by (+50, +35), then ends the track. A
    // track that ends at the right button's release was started by the right button.
    void PostDragAndEnding(CRectTracker &tracker) {
        if (GetParam().ending == Ending::RightRelease)
            tracker.m_nTrackPress = WM_RBUTTONDOWN;
        PostMove(Plus(kOnBottomRight, 30, 20));
        PostMove(Plus(kOnBottomRight, 50, 35));
        const POINT ptLater = Plus(kOnBottomRight, 70, 45);
        switch (GetParam().ending) {
        case Ending::LeftRelease:
            PostRelease(Plus(kOnBottomRight, 50, 35));
            break;
        case Ending::RightRelease:
            PostRelease(Plus(kOnBottomRight, 50, 35), WM_RBUTTONUP);
            break;
        case Ending::Escape:
            PostEscape();
            break;
        case Ending::RightPress:
            Post(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON,
                 MAKELPARAM(Plus(kOnBottomRight, 50, 35).x, Plus(kOnBottomRight, 50, 35).y));
            break;
        case Ending::CaptureTaken:
            Post(WM_TEST_TAKE_CAPTURE, 0, reinterpret_cast<LPARAM>(m_hwndOther));
            PostMove(ptLater); // the next message shows the loss
            break;
        case Ending::CaptureReleased:
            Post(WM_TEST_RELEASE_CAPTURE);
            PostMove(ptLater);
            break;
        }
    }
    bool Cancels() const {
        return GetParam().ending != Ending::LeftRelease &&
               GetParam().ending != Ending::RightRelease;
    }
    void GiveBackTheCapture() {
        if (GetParam().ending == Ending::CaptureTaken) {
            EXPECT_EQ(GetCapture(), m_hwndOther) << "the capture stays where it went";
            ReleaseCapture();
        }
    }
};

TEST_P(TrackEndingTest, CancelledTrackPutsEverythingBackAndFinishedTrackKeepsTheResult) {
    RecordingTracker tracker(kRect);
    PostDragAndEnding(tracker);
    const BOOL bResult = RunTrack(tracker, kOnBottomRight);
    GiveBackTheCapture();

    const RECT rcDragged = {100, 80, 310, 235};
    const RECT rcEnd = Cancels() ? kRect : rcDragged;
    EXPECT_EQ(bResult != 0, !Cancels());
    EXPECT_EQ(tracker.m_rect, rcEnd);
    ExpectFeedbackEndsAt(tracker, rcEnd);
    const std::vector<RECT> drawn = tracker.Drawn();
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), RECT{100, 80, 330, 245}), 0)
        << "nothing after the cancel is drawn";
}

// The platform's own feedback toggles a dotted rectangle: whatever ends the track, the window
// looks as it did before.
TEST_P(TrackEndingTest, DefaultFeedbackLeavesTheWindowAsItWas) {
    CRectTracker tracker(&kRect, kStyle);
    PostDragAndEnding(tracker);
    RunTrack(tracker, kOnBottomRight);
    GiveBackTheCapture();
    EXPECT_TRUE(ScreenAsBefore());
}

INSTANTIATE_TEST_SUITE_P(Endings, TrackEndingTest,
                         testing::Values(EndingCase{"LeftRelease", Ending::LeftRelease},
                                         EndingCase{"RightRelease", Ending::RightRelease},
                                         EndingCase{"Escape", Ending::Escape},
                                         EndingCase{"RightButtonPress", Ending::RightPress},
                                         EndingCase{"CaptureTakenByAnotherWindow",
                                                    Ending::CaptureTaken},
                                         EndingCase{"CaptureReleased", Ending::CaptureReleased}),
                         CaseName<EndingCase>);

TEST_F(TrackTest, EscapeBeforeAnyMoveCancelsWithoutDrawing) {
    RecordingTracker tracker(kRect);
    PostEscape();
    EXPECT_EQ(RunTrack(tracker, kOnBottomRight), 0);
    EXPECT_EQ(tracker.m_rect, kRect);
    EXPECT_TRUE(tracker.m_calls.empty());
}

TEST_F(TrackTest, QuitMessageEndsTheTrackAndStaysForTheCallersLoop) {
    RecordingTracker tracker(kRect);
    PostMove(Plus(kOnBottomRight, 30, 20));
    PostQuitMessage(7);
    EXPECT_EQ(RunTrack(tracker, kOnBottomRight, FALSE, nullptr, false), 0);
    EXPECT_EQ(tracker.m_rect, kRect);
    ExpectFeedbackEndsAt(tracker, kRect);

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

// ---------------------------------------------------------------------------------------------
// Refusing to track

TEST_F(TrackTest, NoTrackWhileAnotherWindowHoldsTheCapture) {
    RecordingTracker tracker(kRect);
    SetCapture(m_hwndOther);
    PostMove(Plus(kOnBottomRight, 30, 20));
    PostRelease(Plus(kOnBottomRight, 30, 20));
    EXPECT_EQ(tracker.Track(m_hwnd, kOnBottomRight), 0);
    EXPECT_EQ(GetCapture(), m_hwndOther);
    ReleaseCapture();
    EXPECT_EQ(tracker.m_rect, kRect);
    EXPECT_TRUE(tracker.m_calls.empty());
    EXPECT_EQ(TakePosted(), (std::vector<Message>{{WM_MOUSEMOVE, MK_LBUTTON}, {WM_LBUTTONUP, 0}}))
        << "the drag was left to whoever holds the capture";
}

TEST_F(TrackTest, NoTrackForAPressThatHitsNothing) {
    for (POINT pt : {POINT{10, 10}, POINT{265, 205}, POINT{177, 77}}) {
        RecordingTracker tracker(kRect);
        PostMove(Plus(pt, 30, 20));
        PostRelease(Plus(pt, 30, 20));
        EXPECT_EQ(tracker.Track(m_hwnd, pt), 0) << pt;
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(tracker.m_rect, kRect);
        EXPECT_TRUE(tracker.m_calls.empty());
        EXPECT_EQ(TakePosted(),
                  (std::vector<Message>{{WM_MOUSEMOVE, MK_LBUTTON}, {WM_LBUTTONUP, 0}}));
    }
}

TEST_F(TrackTest, NoTrackInANullOrDestroyedWindow) {
    HWND hwndGone = CreateWindowExA(0, TestWindowClass(), "gone", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    DestroyWindow(hwndGone);
    for (HWND hwnd : {HWND(nullptr), hwndGone}) {
        RecordingTracker tracker(kRect);
        // Posted to the thread: the window has none.
        PostMessageA(nullptr, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(293, 223));
        PostMessageA(nullptr, WM_LBUTTONUP, 0, MAKELPARAM(293, 223));
        const HangGuard guard;
        SetTimer(m_hwnd, kWatchdogTimer, 3000, nullptr);
        EXPECT_EQ(tracker.Track(hwnd, kOnBottomRight), 0);
        KillTimer(m_hwnd, kWatchdogTimer);
        EXPECT_EQ(tracker.m_rect, kRect);
        EXPECT_TRUE(tracker.m_calls.empty());
        EXPECT_EQ(TakePosted(),
                  (std::vector<Message>{{WM_MOUSEMOVE, MK_LBUTTON}, {WM_LBUTTONUP, 0}}));
    }
}

// ---------------------------------------------------------------------------------------------
// Where the default feedback goes

// Draws the platform's feedback and takes a picture of the screen after every call.
class PictureTracker : public CRectTracker {
public:
    explicit PictureTracker(const RECT &rc) : CRectTracker(&rc, kStyle) {}
    void DrawTrackerRect(LPCRECT lpRect, HWND hwndClipTo, HDC hdc, HWND hwnd) override {
        CRectTracker::DrawTrackerRect(lpRect, hwndClipTo, hdc, hwnd);
        m_pictures.push_back(ScreenSnapshot::Take());
    }
    std::vector<ScreenSnapshot> m_pictures;
};

// The pixels of a dotted focus rectangle around rc: all on its one-pixel outline, reaching every
// side (a dot pattern may leave out the very corner).
void ExpectDottedOutline(const PixelSet &changed, const RECT &rc) {
    ASSERT_FALSE(changed.empty());
    const PixelSet outline = RectOutline(rc.left, rc.top, rc.right, rc.bottom);
    for (const Pixel &p : changed)
        ASSERT_EQ(outline.count(p), 1u) << "(" << p.first << ", " << p.second << ") off " << rc;
    const RECT rcBounds = BoundsOf(changed);
    EXPECT_LE(rcBounds.left - rc.left, 1) << rcBounds;
    EXPECT_LE(rcBounds.top - rc.top, 1) << rcBounds;
    EXPECT_LE(rc.right - rcBounds.right, 1) << rcBounds;
    EXPECT_LE(rc.bottom - rcBounds.bottom, 1) << rcBounds;
    EXPECT_GE(changed.size(), outline.size() / 3);
}

TEST_F(TrackTest, DefaultFeedbackIsADottedRectangleInTheWindowsClientArea) {
    ASSERT_EQ(GetSystemMetrics(SM_CXFOCUSBORDER), 1);
    ASSERT_EQ(GetSystemMetrics(SM_CYFOCUSBORDER), 1);
    PictureTracker tracker(kRect);
    PostMove(Plus(kOnBottomRight, -60, -40));
    PostRelease(Plus(kOnBottomRight, -60, -40));
    EXPECT_NE(RunTrack(tracker, kOnBottomRight), 0);
    ASSERT_EQ(tracker.m_pictures.size(), 2u);
    // (100, 80, 200, 160) in the client area is (200, 180, 300, 260) on the screen.
    ExpectDottedOutline(ChangedPixels(m_before, tracker.m_pictures[0]), RECT{200, 180, 300, 260});
    EXPECT_TRUE(tracker.m_pictures[1] == m_before);
}

TEST_F(TrackTest, DefaultFeedbackInTheClipWindowStaysInTheCoordinatesOfTheTrackedWindow) {
    // The tracked window is a child at (40, 30) of the test window, 200 by 150, that is at
    // (140, 130) on the screen; the feedback goes to its parent, the whole test window
    // (100, 100, 500, 400) on the screen.
    HWND hwndChild = CreateWindowExA(0, TestWindowClass(), "child", WS_CHILD | WS_VISIBLE, 40, 30,
                                     200, 150, m_hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hwndChild, nullptr);
    SettleScreen();
    m_before = ScreenSnapshot::Take();
    m_hwndTrack = hwndChild;

    // (20, 20, 120, 90) in the child; its bottom-right handle is (121, 91, 125, 95).
    PictureTracker tracker(RECT{20, 20, 120, 90});
    const POINT ptPress = {123, 93};
    PostMove(Plus(ptPress, 50, 40));   // (20, 20, 170, 130): inside the child
    PostMove(Plus(ptPress, 300, 100)); // (20, 20, 420, 190): beyond the child and the parent
    PostRelease(Plus(ptPress, 300, 100));
    EXPECT_NE(RunTrack(tracker, ptPress, FALSE, m_hwnd), 0);
    EXPECT_EQ(tracker.m_rect, (RECT{20, 20, 420, 190}));
    ASSERT_EQ(tracker.m_pictures.size(), 4u);

    ExpectDottedOutline(ChangedPixels(m_before, tracker.m_pictures[0]), RECT{160, 150, 310, 260});
    // (160, 150, 560, 320) on the screen, cut at the right edge of the clip window only.
    const PixelSet wide = ChangedPixels(m_before, tracker.m_pictures[2]);
    ASSERT_FALSE(wide.empty());
    const RECT rcBounds = BoundsOf(wide);
    EXPECT_LE(rcBounds.left - 160, 1) << rcBounds;
    EXPECT_LE(rcBounds.top - 150, 1) << rcBounds;
    EXPECT_LE(rcBounds.right, 500) << "drawn outside the clip window " << rcBounds;
    EXPECT_GE(rcBounds.right, 499) << rcBounds;
    EXPECT_LE(320 - rcBounds.bottom, 1) << rcBounds;
    EXPECT_TRUE(tracker.m_pictures[3] == m_before);

    DestroyWindow(hwndChild);
    SettleScreen();
}

// ---------------------------------------------------------------------------------------------
// Cursor

struct CursorCase {
    const char *name;
    RECT rc;
    POINT pt; // client coordinates
    LPCSTR idCursor;
};

class TrackerCursorTest : public TrackTest, public testing::WithParamInterface<CursorCase> {};

TEST_P(TrackerCursorTest, ShowsTheSizingCursorOfWhatLiesUnderTheMouse) {
    const CursorCase &c = GetParam();
    const CRectTracker tracker(&c.rc, kStyle);
    HCURSOR hcurBefore = ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    ASSERT_TRUE(SetCursorPos(kLeft + c.pt.x, kTop + c.pt.y));
    SettleScreen();
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));

    EXPECT_TRUE(tracker.SetCursor(m_hwnd, HTCLIENT));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.idCursor));

    SetCursorPos(1000, 740);
    ::SetCursor(hcurBefore);
}

// The cursor shows the direction on the screen, so a mirrored rectangle shows the same ones.
INSTANTIATE_TEST_SUITE_P(
    Handles, TrackerCursorTest,
    testing::Values(CursorCase{"TopLeft", kRect, kOnTopLeft, IDC_SIZENWSE},
                    CursorCase{"TopRight", kRect, kOnTopRight, IDC_SIZENESW},
                    CursorCase{"BottomRight", kRect, kOnBottomRight, IDC_SIZENWSE},
                    CursorCase{"BottomLeft", kRect, kOnBottomLeft, IDC_SIZENESW},
                    CursorCase{"Top", kRect, kOnTop, IDC_SIZENS},
                    CursorCase{"Right", kRect, kOnRight, IDC_SIZEWE},
                    CursorCase{"Bottom", kRect, kOnBottom, IDC_SIZENS},
                    CursorCase{"Left", kRect, kOnLeft, IDC_SIZEWE},
                    CursorCase{"Inside", kRect, kInside, IDC_SIZEALL},
                    CursorCase{"MirroredTopLeft", kMirrored, kOnTopLeft, IDC_SIZENWSE},
                    CursorCase{"MirroredTopRight", kMirrored, kOnTopRight, IDC_SIZENESW},
                    CursorCase{"MirroredBottomLeft", kMirrored, kOnBottomLeft, IDC_SIZENESW},
                    CursorCase{"MirroredTop", kMirrored, kOnTop, IDC_SIZENS},
                    CursorCase{"MirroredLeft", kMirrored, kOnLeft, IDC_SIZEWE},
                    CursorCase{"MirroredXTopLeft", kMirroredX, kOnTopLeft, IDC_SIZENWSE},
                    CursorCase{"MirroredXTopRight", kMirroredX, kOnTopRight, IDC_SIZENESW},
                    CursorCase{"MirroredXBottomRight", kMirroredX, kOnBottomRight, IDC_SIZENWSE},
                    CursorCase{"MirroredXBottomLeft", kMirroredX, kOnBottomLeft, IDC_SIZENESW}),
    CaseName<CursorCase>);

TEST_F(TrackTest, CursorIsLeftAloneOutsideTheTrackerAndOutsideTheClientArea) {
    const CRectTracker tracker(&kRect, kStyle);
    HCURSOR hcurArrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR hcurBefore = ::SetCursor(hcurArrow);

    ASSERT_TRUE(SetCursorPos(kLeft + 20, kTop + 20));
    SettleScreen();
    ::SetCursor(hcurArrow);
    EXPECT_FALSE(tracker.SetCursor(m_hwnd, HTCLIENT));
    EXPECT_EQ(GetCursor(), hcurArrow);

    ASSERT_TRUE(SetCursorPos(kLeft + kOnTopLeft.x, kTop + kOnTopLeft.y));
    SettleScreen();
    ::SetCursor(hcurArrow);
    EXPECT_FALSE(tracker.SetCursor(m_hwnd, HTCAPTION));
    EXPECT_EQ(GetCursor(), hcurArrow);

    SetCursorPos(1000, 740);
    ::SetCursor(hcurBefore);
}

} // namespace
