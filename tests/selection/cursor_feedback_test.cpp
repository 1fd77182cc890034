#include "selection/cursor_feedback.h"

#include "hook_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Set before every call, so that a call that sets no cursor leaves it.
HCURSOR Sentinel() {
    return SystemCursor(IDC_WAIT);
}

// The cursor the host had when the hook was turned on.
HCURSOR HostsCursor() {
    return SystemCursor(IDC_HELP);
}

// A readable name for the cursors these tests expect, so that a failure says which one showed.
std::string CursorName(HCURSOR hCursor) {
    static const struct {
        int nId;
        const char *pszName;
    } library[] = {{IDC_DRAWCROSS, "drawcross"},
                   {IDC_OUTSIDEBOX, "outsidebox"},
                   {IDC_INSIDEBOX, "insidebox"},
                   {IDC_MOVEVERTEX, "movevertex"},
                   {IDC_CLOSEPOLY, "closepoly"}};
    for (const auto &c : library)
        if (hCursor == LibraryCursor(c.nId))
            return c.pszName;
    static const struct {
        LPCSTR pszId;
        const char *pszName;
    } system[] = {{IDC_SIZENWSE, "sizenwse"}, {IDC_SIZENESW, "sizenesw"}, {IDC_SIZENS, "sizens"},
                  {IDC_SIZEWE, "sizewe"},     {IDC_SIZEALL, "sizeall"},   {IDC_ARROW, "arrow"}};
    for (const auto &c : system)
        if (hCursor == SystemCursor(c.pszId))
            return c.pszName;
    if (hCursor == Sentinel())
        return "untouched";
    if (hCursor == HostsCursor())
        return "host's";
    return hCursor ? "another cursor" : "none";
}

// What one UpdateCursor call did.
struct CursorOutcome {
    int nState;         // the state it returned
    std::string cursor; // the cursor showing afterwards; "untouched" when none was set
    int nShows;         // how far it moved the cursor display counter: never
};

// Each call finds another cursor showing than the library set last, as after the window under
// the cursor set its own.
CursorOutcome Update(int bDrawing, int nPrevious, int nRequested) {
    SetCursor(Sentinel());
    hCursorShown = nullptr;
    const int nCount = CursorDisplayCount();
    const int nState = UpdateCursor(bDrawing, nPrevious, nRequested);
    return {nState, CursorName(GetCursor()), CursorDisplayCount() - nCount};
}

testing::AssertionResult MoveCursorTo(POINT pt) {
    SetCursorPos(pt.x, pt.y);
    POINT ptNow;
    if (!GetCursorPos(&ptNow))
        return testing::AssertionFailure() << "the cursor position cannot be read";
    if (ptNow.x != pt.x || ptNow.y != pt.y)
        return testing::AssertionFailure() << "the cursor went to (" << ptNow.x << ", " << ptNow.y
                                           << "), not (" << pt.x << ", " << pt.y << ")";
    return testing::AssertionSuccess();
}

// A polygon whose bounds are the selection rectangle: A is the top-left corner of the selection,
// so the top-left handle reaches within two pixels of it; B lies on the right edge, between the
// handles there; C lies on the bottom edge.
const POINT kVertexA = {180, 170};
const POINT kVertexB = {380, 200};
const POINT kVertexC = {300, 330};
const POINT kVertexD = {190, 300};

// Points that the tests move the cursor to, in screen coordinates.
const POINT kInside = {280, 250};       // well inside the selection, far from every vertex
const POINT kAlsoInside = {200, 300};   // inside, 10 pixels from D
const POINT kOutside = {450, 250};      // in the overlay window, well outside the box
const POINT kFarOutside = {700, 600};   // outside the overlay window too
const POINT kNearBOutside = {382, 200}; // 2 pixels right of B, outside the box and its handles
const POINT kPastBOutside = {383, 200}; // 3 pixels right of B: no longer near it
const POINT kNearCInside = {300, 328};  // 2 pixels above C, inside the box

// The cursor state machine over a resizing box in the overlay window. Each test makes the box it
// needs with mode nMode and puts it in the slot.
class CursorTest : public HookTest {
protected:
    void SetUp() override {
        HookTest::SetUp();
        if (HasFatalFailure())
            return;
        Record().hSavedCursor = HostsCursor();
    }

    SnapixResizingBox &MakeBox(int nMode) {
        SelectionShape &shape = Record().shape;
        shape.nMode = nMode;
        if (nMode == MODE_POLYGON) {
            for (const POINT &pt : {kVertexA, kVertexB, kVertexC, kVertexD})
                SPXAddPolyPoint(&shape, &pt);
        }
        delete pResizingBox;
        pResizingBox = NewResizingBox(&rcSelection, Offset().x, Offset().y, &shape);
        EXPECT_NE(pResizingBox, nullptr);
        return *pResizingBox;
    }

    // The selection is finished and shown in the box, awaiting confirmation.
    SnapixResizingBox &ShowBox(int nMode) {
        bSelectionShown = 1;
        bAdjustable = 1;
        return MakeBox(nMode);
    }

    // A point on handle nHandle that is within two pixels of vertex A: the handle's corner
    // nearest to the box.
    POINT OnTopLeftHandleNearA(const SnapixResizingBox &box) const {
        RECT rc;
        box.GetHandleRect(hitTopLeft, &rc);
        return POINT{rc.right - 1 - Offset().x, rc.bottom - 1 - Offset().y};
    }
};

// --- Classifying the cursor position ------------------------------------------------------------

using CursorClassification = CursorTest;

TEST_F(CursorClassification, TellsInsideFromOutsideTheBox) {
    MakeBox(MODE_RECTANGLE);
    for (POINT pt : {kInside, kAlsoInside, POINT{kSelection.left, kSelection.top},
                     POINT{kSelection.right - 1, kSelection.bottom - 1}}) {
        ASSERT_TRUE(MoveCursorTo(pt));
        EXPECT_EQ(ClassifyCursor(), CS_INSIDE) << "at " << pt.x << ", " << pt.y;
    }
    for (POINT pt : {kOutside, kFarOutside, kPastBOutside}) {
        ASSERT_TRUE(MoveCursorTo(pt));
        EXPECT_EQ(ClassifyCursor(), CS_OUTSIDE) << "at " << pt.x << ", " << pt.y;
    }
}

TEST_F(CursorClassification, GivesTheHandleStateOnEveryHandle) {
    const SnapixResizingBox &box = MakeBox(MODE_RECTANGLE);
    ASSERT_EQ(box.GetHandleMask(), 0xFFu) << "the selection should be big enough for 8 handles";
    for (int i = 0; i < 8; ++i) {
        RECT rc;
        box.GetHandleRect(i, &rc);
        // Both far corners of the handle square, and its middle.
        for (POINT pt :
             {POINT{rc.left - Offset().x, rc.top - Offset().y},
              POINT{rc.right - 1 - Offset().x, rc.bottom - 1 - Offset().y}, HandleCentre(box, i)}) {
            ASSERT_TRUE(MoveCursorTo(pt));
            EXPECT_EQ(ClassifyCursor(), CS_HANDLE)
                << "handle " << i << " at " << pt.x << ", " << pt.y;
        }
    }
}

TEST_F(CursorClassification, PutsAPolygonVertexBeforeTheHandleTheInsideAndTheOutside) {
    const SnapixResizingBox &box = MakeBox(MODE_POLYGON);
    const POINT ptOnHandle = OnTopLeftHandleNearA(box);
    ASSERT_EQ(kVertexA.x - ptOnHandle.x, 2);
    ASSERT_EQ(kVertexA.y - ptOnHandle.y, 2);

    for (POINT pt : {ptOnHandle, kNearBOutside, kNearCInside, kVertexD}) {
        ASSERT_TRUE(MoveCursorTo(pt));
        EXPECT_EQ(ClassifyCursor(), CS_VERTEX) << "at " << pt.x << ", " << pt.y;
    }
    // Three pixels away a vertex no longer counts.
    ASSERT_TRUE(MoveCursorTo(kPastBOutside));
    EXPECT_EQ(ClassifyCursor(), CS_OUTSIDE);
    ASSERT_TRUE(MoveCursorTo(kAlsoInside));
    EXPECT_EQ(ClassifyCursor(), CS_INSIDE);
}

TEST_F(CursorClassification, NeverGivesTheVertexStateForARectangleOrAnEllipse) {
    // The same points as over the polygon, and the vertex places themselves.
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        // The shape keeps the polygon's points: only the mode decides.
        const SnapixResizingBox &box = MakeBox(nMode);
        for (const POINT &pt : {kVertexA, kVertexB, kVertexC, kVertexD})
            SPXAddPolyPoint(&Record().shape, &pt);
        ASSERT_TRUE(MoveCursorTo(OnTopLeftHandleNearA(box)));
        EXPECT_EQ(ClassifyCursor(), CS_HANDLE) << "mode " << nMode;
        ASSERT_TRUE(MoveCursorTo(kNearBOutside));
        EXPECT_EQ(ClassifyCursor(), CS_OUTSIDE) << "mode " << nMode;
        ASSERT_TRUE(MoveCursorTo(kNearCInside));
        EXPECT_EQ(ClassifyCursor(), CS_INSIDE) << "mode " << nMode;
        SPXFreePolyPoints(&Record().shape);
    }
}

TEST_F(CursorClassification, IsDefaultWithoutABoxOrWithoutAHostRecord) {
    ASSERT_TRUE(MoveCursorTo(kInside));
    EXPECT_EQ(ClassifyCursor(), CS_DEFAULT);

    MakeBox(MODE_RECTANGLE);
    pHostRecord = nullptr;
    EXPECT_EQ(ClassifyCursor(), CS_DEFAULT);
}

TEST_F(CursorClassification, SetsNoCursorAndChangesNoState) {
    const SnapixResizingBox &box = MakeBox(MODE_POLYGON);
    bSelectionShown = 1;
    bAdjustable = 1;
    nCursorState = CS_OUTSIDE;
    const RECT rcBox = box.m_rect;
    const SelectionShape shapeBefore = Record().shape;
    for (POINT pt : {kInside, kOutside, HandleCentre(box, hitBottom), kNearCInside}) {
        ASSERT_TRUE(MoveCursorTo(pt));
        SetCursor(Sentinel());
        const int nCount = CursorDisplayCount();
        ClassifyCursor();
        EXPECT_EQ(CursorName(GetCursor()), "untouched");
        EXPECT_EQ(CursorDisplayCount(), nCount);
    }
    EXPECT_EQ(nCursorState, CS_OUTSIDE);
    EXPECT_EQ(pResizingBox, &box);
    EXPECT_TRUE(EqualRect(&box.m_rect, &rcBox));
    EXPECT_EQ(std::memcmp(&Record().shape, &shapeBefore, sizeof shapeBefore), 0);
    EXPECT_EQ(std::memcmp(box.m_pShapeCopy, &shapeBefore, sizeof shapeBefore), 0);
}

// --- Modes that draw nothing --------------------------------------------------------------------

using CursorInModesThatDrawNothing = CursorTest;

TEST_F(CursorInModesThatDrawNothing, ShowTheHostsCursorOnEveryCallWhateverTheStates) {
    // Even over a shown, adjustable box: the drawing flag decides first.
    ShowBox(MODE_RECTANGLE);
    ASSERT_TRUE(MoveCursorTo(kInside));
    const int aStates[] = {CS_INSIDE, CS_OUTSIDE, CS_VERTEX, CS_CLOSE, CS_HANDLE, CS_DEFAULT};
    for (int nPrevious : aStates) {
        for (int nRequested : {CS_DEFAULT, CS_CLOSE}) {
            const CursorOutcome out = Update(0, nPrevious, nRequested);
            EXPECT_EQ(out.nState, nRequested) << nPrevious << " -> " << nRequested;
            EXPECT_EQ(out.cursor, "host's") << nPrevious << " -> " << nRequested;
            EXPECT_EQ(out.nShows, 0) << nPrevious << " -> " << nRequested;
        }
    }
}

// --- Drawing a new selection --------------------------------------------------------------------

using CursorWhileDrawing = CursorTest;

TEST_F(CursorWhileDrawing, ShowsTheCrosshairOnEveryCall) {
    const int aStates[] = {CS_INSIDE, CS_OUTSIDE, CS_VERTEX, CS_CLOSE, CS_HANDLE, CS_DEFAULT};
    for (int nPrevious : aStates) {
        const CursorOutcome out = Update(1, nPrevious, CS_DEFAULT);
        EXPECT_EQ(out.nState, CS_DEFAULT) << "after " << nPrevious;
        EXPECT_EQ(out.cursor, "drawcross") << "after " << nPrevious;
        EXPECT_EQ(out.nShows, 0) << "after " << nPrevious;
    }
    // Twice in a row the same: the crosshair is set again.
    const CursorOutcome again = Update(1, CS_DEFAULT, CS_DEFAULT);
    EXPECT_EQ(again.cursor, "drawcross");
    EXPECT_EQ(again.nShows, 0);
}

// Asking the platform which cursor shows costs as much as setting one: the crosshair and the
// host's cursor are set again only after the library set another.
TEST_F(CursorWhileDrawing, SetsTheCrosshairOnlyWhenTheLibrarySetAnotherCursorLast) {
    hCursorShown = nullptr;
    UpdateCursor(1, CS_DEFAULT, CS_DEFAULT);
    SetCursor(Sentinel());
    UpdateCursor(1, CS_DEFAULT, CS_DEFAULT);
    UpdateCursor(0, CS_DEFAULT, CS_DEFAULT);
    EXPECT_EQ(CursorName(GetCursor()), "host's");
    UpdateCursor(0, CS_DEFAULT, CS_DEFAULT);
    UpdateCursor(1, CS_DEFAULT, CS_DEFAULT);
    EXPECT_EQ(CursorName(GetCursor()), "drawcross");
    SetCursor(Sentinel());
    UpdateCursor(1, CS_DEFAULT, CS_DEFAULT);
    EXPECT_EQ(CursorName(GetCursor()), "untouched");
}

TEST_F(CursorWhileDrawing, IgnoresABoxUnlessTheSelectionIsBothShownAndAdjustable) {
    MakeBox(MODE_RECTANGLE);
    ASSERT_TRUE(MoveCursorTo(kInside));
    for (BOOL bShown : {0, 1}) {
        for (BOOL bAdjust : {0, 1}) {
            if (bShown && bAdjust)
                continue;
            bSelectionShown = bShown;
            bAdjustable = bAdjust;
            const CursorOutcome out = Update(1, CS_OUTSIDE, CS_DEFAULT);
            EXPECT_EQ(out.nState, CS_DEFAULT) << "shown " << bShown << ", adjustable " << bAdjust;
            EXPECT_EQ(out.cursor, "drawcross") << "shown " << bShown << ", adjustable " << bAdjust;
            EXPECT_EQ(out.nShows, 0) << "shown " << bShown << ", adjustable " << bAdjust;
        }
    }
}

TEST_F(CursorWhileDrawing, SetsTheClosingCursorOnceAndTheCrosshairWhenTheCursorMovesAway) {
    nCursorState = CS_DEFAULT;

    CursorOutcome out = Update(1, nCursorState, CS_CLOSE);
    nCursorState = out.nState;
    EXPECT_EQ(out.nState, CS_CLOSE);
    EXPECT_EQ(out.cursor, "closepoly");
    EXPECT_EQ(out.nShows, 0);

    out = Update(1, nCursorState, CS_CLOSE);
    nCursorState = out.nState;
    EXPECT_EQ(out.nState, CS_CLOSE);
    EXPECT_EQ(out.cursor, "untouched");
    EXPECT_EQ(out.nShows, 0);

    out = Update(1, nCursorState, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_DEFAULT);
    EXPECT_EQ(out.cursor, "drawcross");
    EXPECT_EQ(out.nShows, 0);
}

TEST_F(CursorWhileDrawing, SetsTheClosingCursorAfterAnyOtherState) {
    for (int nPrevious : {CS_INSIDE, CS_OUTSIDE, CS_VERTEX, CS_HANDLE, CS_DEFAULT}) {
        const CursorOutcome out = Update(1, nPrevious, CS_CLOSE);
        EXPECT_EQ(out.nState, CS_CLOSE) << "after " << nPrevious;
        EXPECT_EQ(out.cursor, "closepoly") << "after " << nPrevious;
        EXPECT_EQ(out.nShows, 0) << "after " << nPrevious;
    }
}

// --- A shown selection in its box ---------------------------------------------------------------

using CursorOverBox = CursorTest;

TEST_F(CursorOverBox, SetsTheInsideCursorOnceWhenTheCursorEntersTheBox) {
    ShowBox(MODE_RECTANGLE);
    ASSERT_TRUE(MoveCursorTo(kInside));
    CursorOutcome out = Update(1, CS_OUTSIDE, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_INSIDE);
    EXPECT_EQ(out.cursor, "insidebox");
    EXPECT_EQ(out.nShows, 0);

    for (POINT pt : {kInside, kAlsoInside}) {
        ASSERT_TRUE(MoveCursorTo(pt));
        out = Update(1, CS_INSIDE, CS_DEFAULT);
        EXPECT_EQ(out.nState, CS_INSIDE);
        EXPECT_EQ(out.cursor, "untouched");
        EXPECT_EQ(out.nShows, 0);
    }
}

TEST_F(CursorOverBox, SetsTheOutsideCursorOnceWhenTheCursorLeavesTheBox) {
    ShowBox(MODE_ELLIPSE);
    ASSERT_TRUE(MoveCursorTo(kOutside));
    CursorOutcome out = Update(1, CS_INSIDE, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_OUTSIDE);
    EXPECT_EQ(out.cursor, "outsidebox");
    EXPECT_EQ(out.nShows, 0);

    ASSERT_TRUE(MoveCursorTo(kFarOutside));
    out = Update(1, CS_OUTSIDE, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_OUTSIDE);
    EXPECT_EQ(out.cursor, "untouched");
    EXPECT_EQ(out.nShows, 0);
}

TEST_F(CursorOverBox, SetsACursorWhenTheStateWasReset) {
    // After a commit or a discard the hook resets the state to CS_DEFAULT.
    ShowBox(MODE_RECTANGLE);
    ASSERT_TRUE(MoveCursorTo(kInside));
    CursorOutcome out = Update(1, CS_DEFAULT, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_INSIDE);
    EXPECT_EQ(out.cursor, "insidebox");
    EXPECT_EQ(out.nShows, 0);

    ASSERT_TRUE(MoveCursorTo(kOutside));
    out = Update(1, CS_DEFAULT, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_OUTSIDE);
    EXPECT_EQ(out.cursor, "outsidebox");
    EXPECT_EQ(out.nShows, 0);
}

TEST_F(CursorOverBox, ShowsThePlatformSizingCursorOfEachHandle) {
    const SnapixResizingBox &box = ShowBox(MODE_RECTANGLE);
    const char *const aExpected[8] = {"sizenwse", "sizenesw", "sizenwse", "sizenesw",
                                      "sizens",   "sizewe",   "sizens",   "sizewe"};
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(MoveCursorTo(HandleCentre(box, i)));
        const CursorOutcome out = Update(1, CS_OUTSIDE, CS_DEFAULT);
        EXPECT_EQ(out.nState, CS_HANDLE) << "handle " << i;
        EXPECT_EQ(out.cursor, aExpected[i]) << "handle " << i;
        EXPECT_EQ(out.nShows, 0) << "handle " << i;
    }
}

TEST_F(CursorOverBox, KeepsTheFirstSizingCursorWhileTheCursorStaysOnHandles) {
    const SnapixResizingBox &box = ShowBox(MODE_RECTANGLE);
    ASSERT_TRUE(MoveCursorTo(HandleCentre(box, hitTopLeft)));
    CursorOutcome out = Update(1, CS_INSIDE, CS_DEFAULT);
    EXPECT_EQ(out.cursor, "sizenwse");

    // Only a change of state sets a cursor: another handle is still the handle state.
    ASSERT_TRUE(MoveCursorTo(HandleCentre(box, hitRight)));
    out = Update(1, CS_HANDLE, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_HANDLE);
    EXPECT_EQ(out.cursor, "untouched");
    EXPECT_EQ(out.nShows, 0);
}

TEST_F(CursorOverBox, ShowsTheMoveVertexCursorOverAVertexThatLiesOnAHandle) {
    const SnapixResizingBox &box = ShowBox(MODE_POLYGON);
    ASSERT_TRUE(MoveCursorTo(OnTopLeftHandleNearA(box)));
    CursorOutcome out = Update(1, CS_INSIDE, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_VERTEX);
    EXPECT_EQ(out.cursor, "movevertex");
    EXPECT_EQ(out.nShows, 0);

    out = Update(1, CS_VERTEX, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_VERTEX);
    EXPECT_EQ(out.cursor, "untouched");
    EXPECT_EQ(out.nShows, 0);

    // Off the vertex but still on the handle: the handle's own cursor.
    ASSERT_TRUE(MoveCursorTo(HandleCentre(box, hitTopLeft)));
    out = Update(1, CS_VERTEX, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_HANDLE);
    EXPECT_EQ(out.cursor, "sizenwse");
    EXPECT_EQ(out.nShows, 0);
}

TEST_F(CursorOverBox, ShowsTheMoveVertexCursorOverAVertexOutsideOrInsideTheBox) {
    ShowBox(MODE_POLYGON);
    for (POINT pt : {kNearBOutside, kNearCInside}) {
        ASSERT_TRUE(MoveCursorTo(pt));
        const CursorOutcome out = Update(1, CS_OUTSIDE, CS_DEFAULT);
        EXPECT_EQ(out.nState, CS_VERTEX) << "at " << pt.x << ", " << pt.y;
        EXPECT_EQ(out.cursor, "movevertex") << "at " << pt.x << ", " << pt.y;
        EXPECT_EQ(out.nShows, 0) << "at " << pt.x << ", " << pt.y;
    }
}

TEST_F(CursorOverBox, WithoutAnOverlayWindowSetsNoHandleOrVertexCursorButKeepsTheState) {
    const SnapixResizingBox &box = ShowBox(MODE_POLYGON);
    hwndOverlay = nullptr;
    struct {
        POINT pt;
        int nState;
    } cases[] = {{HandleCentre(box, hitBottomRight), CS_HANDLE},
                 {OnTopLeftHandleNearA(box), CS_VERTEX}};
    for (const auto &c : cases) {
        ASSERT_TRUE(MoveCursorTo(c.pt));
        CursorOutcome out = Update(1, CS_OUTSIDE, CS_DEFAULT);
        EXPECT_EQ(out.nState, c.nState);
        EXPECT_EQ(out.cursor, "untouched");
        EXPECT_EQ(out.nShows, 0);

        // The state is in force: the next call sets nothing and shows nothing.
        out = Update(1, c.nState, CS_DEFAULT);
        EXPECT_EQ(out.nState, c.nState);
        EXPECT_EQ(out.cursor, "untouched");
        EXPECT_EQ(out.nShows, 0);
    }
    // The inside and outside cursors need no window.
    ASSERT_TRUE(MoveCursorTo(kInside));
    EXPECT_EQ(Update(1, CS_HANDLE, CS_DEFAULT).cursor, "insidebox");
}

TEST_F(CursorOverBox, WithoutABoxOrAHostRecordSetsNothingAndOnlyShowsTheCursor) {
    bSelectionShown = 1;
    bAdjustable = 1;
    ASSERT_TRUE(MoveCursorTo(kInside));
    for (int nPrevious : {CS_DEFAULT, CS_INSIDE, CS_OUTSIDE}) {
        const CursorOutcome out = Update(1, nPrevious, CS_DEFAULT);
        EXPECT_EQ(out.nState, CS_DEFAULT) << "no box, after " << nPrevious;
        EXPECT_EQ(out.cursor, "untouched") << "no box, after " << nPrevious;
        EXPECT_EQ(out.nShows, 0) << "no box, after " << nPrevious;
    }

    ShowBox(MODE_RECTANGLE);
    pHostRecord = nullptr;
    const CursorOutcome out = Update(1, CS_OUTSIDE, CS_DEFAULT);
    EXPECT_EQ(out.nState, CS_DEFAULT);
    EXPECT_EQ(out.cursor, "untouched");
    EXPECT_EQ(out.nShows, 0);
}

TEST_F(CursorOverBox, AClosingRequestOnlyShowsTheCursor) {
    ShowBox(MODE_POLYGON);
    ASSERT_TRUE(MoveCursorTo(kInside));
    for (int nPrevious : {CS_INSIDE, CS_CLOSE}) {
        const CursorOutcome out = Update(1, nPrevious, CS_CLOSE);
        EXPECT_EQ(out.nState, CS_CLOSE) << "after " << nPrevious;
        EXPECT_EQ(out.cursor, "untouched") << "after " << nPrevious;
        EXPECT_EQ(out.nShows, 0) << "after " << nPrevious;
    }
}

} // namespace
