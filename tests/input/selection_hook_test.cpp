// The selection hook, driven the way the platform drives it: SelectionHookProc is called with
// input records while the real cursor stands where the record says, and what the host would see
// is checked: the state words, the messages that reach the notification window, the cursor, and
// the exact pixels on the screen.
#include "input/hook_paths.h"
#include "input/hook_thread.h"
#include "input/journal_input.h"
#include "input/lowlevel_input.h"
#include "selection/cursor_feedback.h"
#include "selection/gesture.h"
#include "selection/shown_box.h"

#include "draw/xor_draw.h"
#include "shape/polygon_list.h"
#include "tracker/resizing_box.h"

#include "hook_test_support.h"
#include "journal_hook_support.h"
#include "rect_compare.h"
#include "screen_snapshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

// Allocation failures on demand: the n-th nothrow allocation from now fails (0: none does). The
// resizing box is allocated this way.
static int g_nFailNothrowAllocation = 0;

void *operator new(std::size_t nSize, const std::nothrow_t &) noexcept {
    if (g_nFailNothrowAllocation > 0 && --g_nFailNothrowAllocation == 0)
        return nullptr;
    return std::malloc(nSize ? nSize : 1);
}

namespace {

// --- The host's side -----------------------------------------------------------------------------

// A UM_SELECTION as the host gets it.
struct Notice {
    WPARAM wParam;
    LPARAM lParam;
};

// Every UM_SELECTION that reached the notification window's procedure, in order. Sent messages
// arrive here during the call that sends them; posted ones stay in the queue until taken.
std::vector<Notice> g_arrived;

LRESULT CALLBACK NotifyWndProc(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == UM_SELECTION) {
        g_arrived.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, nMsg, wParam, lParam);
}

HWND CreateMessageWindow(const char *pszClass, WNDPROC pfnWndProc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = pfnWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = pszClass;
    RegisterClassA(&wc); // fails harmlessly when the class is there already
    return CreateWindowExA(0, pszClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Work to do from inside a running track: a message for the probe window is queued between the
// moves and the release of the drag, and the track's loop dispatches it.
const UINT kProbeMessage = WM_APP + 17;
const UINT kReleaseRecordMessage = WM_APP + 18;
std::function<void()> g_fnProbe;
std::function<void()> g_fnReleaseRecord;
int g_nProbes = 0;

LRESULT CALLBACK ProbeWndProc(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == kProbeMessage) {
        ++g_nProbes;
        if (g_fnProbe)
            g_fnProbe();
        return 0;
    }
    if (nMsg == kReleaseRecordMessage) {
        if (g_fnReleaseRecord)
            g_fnReleaseRecord();
        return 0;
    }
    return DefWindowProcA(hwnd, nMsg, wParam, lParam);
}

// A box that counts its destructions.
class WatchedBox : public SnapixResizingBox {
public:
    using SnapixResizingBox::SnapixResizingBox;
    ~WatchedBox() override { ++s_nDestroyed; }
    static int s_nDestroyed;
};
int WatchedBox::s_nDestroyed = 0;

// Counts the paint messages of a window while the object lives.
class PaintCounter {
public:
    explicit PaintCounter(HWND hwnd) : m_hwnd(hwnd) {
        s_nPaints = 0;
        s_pfnOld = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Counting)));
    }
    ~PaintCounter() {
        SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_pfnOld));
    }
    PaintCounter(const PaintCounter &) = delete;
    PaintCounter &operator=(const PaintCounter &) = delete;
    int Paints() const { return s_nPaints; }

private:
    static LRESULT CALLBACK Counting(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
        if (nMsg == WM_PAINT)
            ++s_nPaints;
        return CallWindowProcA(s_pfnOld, hwnd, nMsg, wParam, lParam);
    }
    HWND m_hwnd;
    static WNDPROC s_pfnOld;
    static int s_nPaints;
};
WNDPROC PaintCounter::s_pfnOld = nullptr;
int PaintCounter::s_nPaints = 0;

// --- A cursor that cannot be read ----------------------------------------------------------------

BOOL WINAPI CursorPosUnreadable(LPPOINT) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// The import slot of a function in this program. The library is linked into the program, so its
// calls of the function go through that slot.
void **ImportSlot(const char *pszDll, const char *pszFunction) {
    BYTE *pBase = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
    const auto *pDos = reinterpret_cast<const IMAGE_DOS_HEADER *>(pBase);
    const auto *pNt = reinterpret_cast<const IMAGE_NT_HEADERS *>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto *pImport = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(pBase + dir.VirtualAddress);
         pImport->Name; ++pImport) {
        if (lstrcmpiA(reinterpret_cast<const char *>(pBase + pImport->Name), pszDll) != 0 ||
            !pImport->OriginalFirstThunk)
            continue;
        auto *pName = reinterpret_cast<IMAGE_THUNK_DATA *>(pBase + pImport->OriginalFirstThunk);
        auto *pSlot = reinterpret_cast<IMAGE_THUNK_DATA *>(pBase + pImport->FirstThunk);
        for (; pName->u1.AddressOfData; ++pName, ++pSlot) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            const auto *pByName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(pBase + pName->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char *>(pByName->Name), pszFunction) == 0)
                return reinterpret_cast<void **>(&pSlot->u1.Function);
        }
    }
    return nullptr;
}

// While the object lives, every GetCursorPos of the library fails. (The compiler may keep the
// slot's old value in a function of the test that calls GetCursorPos itself: the tests read the
// position only outside such a scope.)
class PatchedImport {
public:
    PatchedImport(const char *pszDll, const char *pszFunction, void *pfnNew)
        : m_ppSlot(ImportSlot(pszDll, pszFunction)) {
        if (m_ppSlot)
            Write(pfnNew);
    }
    ~PatchedImport() {
        if (m_ppSlot)
            Write(m_pOld);
    }
    PatchedImport(const PatchedImport &) = delete;
    PatchedImport &operator=(const PatchedImport &) = delete;
    bool Active() const { return m_ppSlot != nullptr; }
    void *Original() const { return m_pOld; }

private:
    void Write(void *pValue) {
        DWORD dwOld = 0;
        VirtualProtect(m_ppSlot, sizeof(void *), PAGE_READWRITE, &dwOld);
        if (!m_pOld)
            m_pOld = *m_ppSlot;
        *static_cast<void *volatile *>(m_ppSlot) = pValue;
        VirtualProtect(m_ppSlot, sizeof(void *), dwOld, &dwOld);
        FlushInstructionCache(GetCurrentProcess(), nullptr, 0);
    }
    void **m_ppSlot;
    void *m_pOld = nullptr;
};

class UnreadableCursor : public PatchedImport {
public:
    UnreadableCursor()
        : PatchedImport("user32.dll", "GetCursorPos",
                        reinterpret_cast<void *>(&CursorPosUnreadable)) {}
};

// A platform that refuses journal-record hooks, as current Windows does to ordinary programs.
decltype(&SetWindowsHookExA) g_pfnSetWindowsHookEx = nullptr;
HHOOK WINAPI RefuseJournalHooks(int idHook, HOOKPROC pfn, HINSTANCE hModule, DWORD dwThread) {
    if (idHook == WH_JOURNALRECORD) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return g_pfnSetWindowsHookEx(idHook, pfn, hModule, dwThread);
}

// --- Pictures ------------------------------------------------------------------------------------

testing::AssertionResult Differs(const char *pszWhat, const ScreenSnapshot &expected,
                                 const ScreenSnapshot &actual) {
    const PixelSet changed = ChangedPixels(expected, actual);
    return testing::AssertionFailure()
           << pszWhat << ": " << changed.size() << " pixels differ, within "
           << testing::PrintToString(BoundsOf(changed)) << ":" << ListedPixels(changed);
}

// The outline of a rectangle, or the ellipse inscribed in it, as the library XOR-draws it.
void XorOutline(const RECT &rc, BOOL bEllipseFlag) {
    XorBox(rc.left, rc.top, rc.right, rc.bottom, bEllipseFlag);
}

RECT Rect(POINT a, POINT b) {
    return RECT{a.x, a.y, b.x, b.y};
}

POINT Centre(const RECT &rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

POINT Plus(POINT pt, int dx, int dy) {
    return POINT{pt.x + dx, pt.y + dy};
}

// The cursor the host had when it turned the hook on, and one set before a call to see whether the
// call set any.
HCURSOR HostsCursor() {
    return SystemCursor(IDC_HELP);
}
HCURSOR Untouched() {
    return SystemCursor(IDC_WAIT);
}

// A place on the screen outside every window of the tests.
const POINT kOutsideAll = {40, 700};
// Where the state words say the cursor was when no event has read it.
const POINT kNotRead = {-7, -9};
// A second selection rectangle inside the overlay, different from kSelection.
const RECT kOtherSelection = {140, 150, 260, 250};
// A polygon inside the overlay and its bounds.
const POINT kPolygon[] = {{200, 180}, {360, 210}, {300, 320}, {210, 290}};
const RECT kPolygonBounds = {200, 180, 360, 320};

// --- The fixture ---------------------------------------------------------------------------------

// The words as turning the hook on leaves them, but with no hook installed: the tests call the
// hook procedure themselves. The state words and the cursor are saved and put back, the host has a
// record, a notification window and the overlay window, and the screen must be as the test found
// it when the test ends.
class SelectionHookTest : public testing::Test {
protected:
    SelectionHookTest() : m_overlay(kOverlayRect), m_pRecord(new HostRecord()) {}

    void SetUp() override {
        hResourceModule = GetModuleHandleA(nullptr);
        for (int nId :
             {IDC_DRAWCROSS, IDC_OUTSIDEBOX, IDC_INSIDEBOX, IDC_MOVEVERTEX, IDC_CLOSEPOLY})
            ASSERT_NE(LibraryCursor(nId), nullptr) << "cursor " << nId << " is not in the program";
        m_hwndNotify = CreateMessageWindow("SpxTestNotify", NotifyWndProc);
        m_hwndProbe = CreateMessageWindow("SpxTestProbe", ProbeWndProc);
        ASSERT_NE(m_hwndNotify, nullptr);
        ASSERT_NE(m_hwndProbe, nullptr);
        m_ptOffset = ClientOffset(Overlay());

        hMouseHook = nullptr;
        pHostRecord = m_pRecord.get();
        bButtonDown = 0;
        bEllipse = 0;
        bSelectionShown = 0;
        bAdjustable = 0;
        pResizingBox = nullptr;
        hwndOverlay = Overlay();
        hwndNotify = m_hwndNotify;
        bMouseHookOn = 1;
        fHeldKeys = fJournalHeld = 0;
        dwSelectionOptions = 0;
        nCursorState = CS_DEFAULT;
        ptCursor = kNotRead;
        rcSelection = RECT{0, 0, 0, 0};
        ptBoxAnchor = ptBoxCurrent = POINT{0, 0};
        szBox = SIZE{0, 0};
        bNewPolygon = 1;
        ptFirstVertex = ptLastVertex = POINT{0, 0};
        rcCloseZone = RECT{0, 0, 0, 0};
        bVertexMarked = 0;
        nMarkedVertex = 0;
        bTracking = 0;
        bSwallowUntilUp = 0;
        nGestureButton = 0;
        fDrawn = 0;
        bKeyHookFirst = 0;
        Record().shape.nMode = MODE_RECTANGLE;
        Record().hSavedCursor = HostsCursor();

        WatchedBox::s_nDestroyed = 0;
        g_nFailNothrowAllocation = 0;
        g_fnProbe = nullptr;
        g_fnReleaseRecord = nullptr;
        g_nProbes = 0;
        SetCursorPos(kOutsideAll.x, kOutsideAll.y);
        SettleScreen();
        g_arrived.clear();
        m_start = ScreenSnapshot::Take();
    }

    void TearDown() override {
        SetEnvironmentVariableA("SPXHK_HOOKS", nullptr); // the path a test chose ends with it
        g_fnProbe = nullptr;
        g_fnReleaseRecord = nullptr;
        g_nFailNothrowAllocation = 0;
        if (hMouseHook && bMouseHookOn) {
            ADD_FAILURE() << "the test left the hook installed";
            SetMouseHook(m_hwndNotify, m_pRecord.get(), 0, nullptr, nullptr);
        }
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(pResizingBox, nullptr) << "the test left a box";
        delete pResizingBox;
        pResizingBox = nullptr;
        EXPECT_TRUE(ScreenIs(m_start, "as the test found it"));
        TakePosted();
        DestroyWindow(m_hwndProbe);
        DestroyWindow(m_hwndNotify);
    }

    HostRecord &Record() { return *m_pRecord; }
    HWND Overlay() const { return m_overlay.hwnd(); }
    HWND Notify() const { return m_hwndNotify; }
    const POINT &Offset() const { return m_ptOffset; }
    const ScreenSnapshot &Start() const { return m_start; }

    // The mode, as the host writes it and as SetMouseHook takes it.
    void UseMode(int nMode, BOOL bAdjust = 0) {
        Record().shape.nMode = nMode;
        Record().bAdjustable = bAdjust;
        bEllipse = nMode == MODE_ELLIPSE;
        bAdjustable = bAdjust;
    }

    // --- Events ----------------------------------------------------------------------------------

    // The record of a mouse event at pt, with the real cursor moved there first. Between two
    // events the window under the cursor may have set a cursor of its own, as the tests do.
    LRESULT Mouse(UINT nMessage, POINT pt, HWND hwnd = nullptr) {
        SetCursorPos(pt.x, pt.y);
        hCursorShown = nullptr;
        EVENTMSG event = {nMessage, UINT(pt.x), UINT(pt.y), GetTickCount(), hwnd};
        return SelectionHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&event));
    }
    LRESULT Press(POINT pt, bool bRight = false) {
        return Mouse(bRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, pt);
    }
    LRESULT Release(POINT pt, bool bRight = false) {
        return Mouse(bRight ? WM_RBUTTONUP : WM_LBUTTONUP, pt);
    }
    LRESULT Move(POINT pt) { return Mouse(WM_MOUSEMOVE, pt); }
    void Click(POINT pt, bool bRight = false) {
        Press(pt, bRight);
        Release(pt, bRight);
    }
    // A key record; the cursor stays where it is.
    LRESULT Key(DWORD dwParamL, HWND hwnd = nullptr, UINT nMessage = WM_KEYDOWN) {
        hCursorShown = nullptr;
        EVENTMSG event = {nMessage, UINT(dwParamL), 1, GetTickCount(), hwnd};
        return SelectionHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&event));
    }

    // --- Messages --------------------------------------------------------------------------------

    // The UM_SELECTION messages posted to the notification window, taken from the queue.
    std::vector<Notice> TakePosted() {
        std::vector<Notice> posted;
        MSG msg;
        while (PeekMessageA(&msg, m_hwndNotify, UM_SELECTION, UM_SELECTION, PM_REMOVE))
            posted.push_back({msg.wParam, msg.lParam});
        return posted;
    }

    // Exactly one UM_SELECTION was posted since the last look, with wParam 0 and the address of
    // rcSelection, and none was sent.
    testing::AssertionResult OneSelectionPosted() {
        const std::vector<Notice> posted = TakePosted();
        if (!g_arrived.empty())
            return testing::AssertionFailure() << g_arrived.size() << " UM_SELECTION were sent";
        if (posted.size() != 1)
            return testing::AssertionFailure() << posted.size() << " UM_SELECTION were posted";
        if (posted[0].wParam != 0 || posted[0].lParam != reinterpret_cast<LPARAM>(&rcSelection))
            return testing::AssertionFailure()
                   << "UM_SELECTION was posted with wParam " << posted[0].wParam << " and lParam "
                   << posted[0].lParam << ", not 0 and the address of rcSelection";
        return testing::AssertionSuccess();
    }

    // No UM_SELECTION posted or sent since the last look.
    testing::AssertionResult NothingToldTheHost() {
        const std::vector<Notice> posted = TakePosted();
        if (!posted.empty() || !g_arrived.empty())
            return testing::AssertionFailure()
                   << posted.size() << " UM_SELECTION posted and " << g_arrived.size() << " sent";
        return testing::AssertionSuccess();
    }

    // --- The screen ------------------------------------------------------------------------------

    static testing::AssertionResult ScreenIs(const ScreenSnapshot &expected, const char *pszWhat) {
        const ScreenSnapshot now = ScreenSnapshot::Take();
        if (now == expected)
            return testing::AssertionSuccess();
        return Differs((std::string("the screen is not ") + pszWhat).c_str(), expected, now);
    }

    testing::AssertionResult ShowsNothing() { return ScreenIs(m_start, "as the test found it"); }

    // The screen is the base with exactly the figures that fnFigures XOR-draws on it, each pixel
    // of them inverted: drawing them once more gives the base back. The figures are drawn again
    // afterwards, so the screen stays as it was found.
    static testing::AssertionResult ShowsExactly(const std::function<void()> &fnFigures,
                                                 const ScreenSnapshot &base) {
        const ScreenSnapshot now = ScreenSnapshot::Take();
        const PixelSet wrong = NotInverted(base, now);
        fnFigures();
        const ScreenSnapshot without = ScreenSnapshot::Take();
        fnFigures();
        if (!wrong.empty())
            return testing::AssertionFailure()
                   << wrong.size() << " changed pixels are not inversions, within "
                   << testing::PrintToString(BoundsOf(wrong)) << ":" << ListedPixels(wrong);
        if (!(without == base))
            return Differs("with the expected figures taken away, the screen is not the base", base,
                           without);
        return testing::AssertionSuccess();
    }
    testing::AssertionResult ShowsExactly(const std::function<void()> &fnFigures) {
        return ShowsExactly(fnFigures, m_start);
    }

    // Shows or hides the frame and handles of a box around rc (screen coordinates) in the
    // overlay, as the library's box draws them.
    void XorFrame(const RECT &rc) const {
        RECT rcTarget = rc;
        SelectionShape shape = {};
        shape.nMode = MODE_RECTANGLE;
        SnapixResizingBox box(&rcTarget, m_ptOffset.x, m_ptOffset.y, &shape);
        ToggleBox(box, Overlay());
    }

    // --- Selections waiting in their box ---------------------------------------------------------

    // A finished selection of the mode around rc, as the completion leaves it for adjustment: the
    // box in the slot with its frame drawn, the ellipse drawn in ellipse mode.
    WatchedBox &ShowInBox(int nMode, const RECT &rc = kSelection) {
        UseMode(nMode, 1);
        bSelectionShown = 1;
        rcSelection = rc;
        auto *pBox = new WatchedBox(&rcSelection, m_ptOffset.x, m_ptOffset.y, &Record().shape);
        pResizingBox = pBox;
        ToggleBox(*pBox, Overlay());
        if (nMode == MODE_ELLIPSE)
            XorOutline(rc, 1);
        return *pBox;
    }

    // What ShowInBox draws, for ShowsExactly.
    std::function<void()> BoxedFigures(int nMode, const RECT &rc) const {
        return [this, nMode, rc] {
            XorFrame(rc);
            if (nMode == MODE_ELLIPSE)
                XorOutline(rc, 1);
        };
    }

    // The screen point at the middle of handle nHandle of the box.
    POINT HandleCentre(const SnapixResizingBox &box, int nHandle) const {
        RECT rc;
        box.GetHandleRect(nHandle, &rc);
        return POINT{(rc.left + rc.right) / 2 - m_ptOffset.x,
                     (rc.top + rc.bottom) / 2 - m_ptOffset.y};
    }

    // Queues what a track started by the next press reads from the queue: a move to each screen
    // point, then fnMidway (run from inside the track's loop), a move to each of movesAfter, then
    // the release at the last point. The hook sees the release record first, as it does when the
    // platform takes the release from the input queue.
    void QueueTrack(std::initializer_list<POINT> moves, std::function<void()> fnMidway = {},
                    std::initializer_list<POINT> movesAfter = {}) {
        POINT ptLast = {0, 0};
        POINT ptScreen = {0, 0};
        const auto postMoves = [&](std::initializer_list<POINT> points) {
            for (const POINT &pt : points) {
                ptScreen = pt;
                ptLast = POINT{pt.x + m_ptOffset.x, pt.y + m_ptOffset.y};
                PostMessageA(Overlay(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptLast.x, ptLast.y));
            }
        };
        postMoves(moves);
        g_fnProbe = std::move(fnMidway);
        PostMessageA(m_hwndProbe, kProbeMessage, 0, 0);
        postMoves(movesAfter);
        g_fnReleaseRecord = [this, ptScreen] { Release(ptScreen); };
        PostMessageA(m_hwndProbe, kReleaseRecordMessage, 0, 0);
        PostMessageA(Overlay(), WM_LBUTTONUP, 0, MAKELPARAM(ptLast.x, ptLast.y));
    }

    // Turns the hook on through the export, from the words of a hook that is off, for the tests
    // that need the real thing; false when the platform refused.
    bool TurnOn(const RECT *pInitialRect = nullptr, HWND hwndOverlayArg = nullptr) {
        bMouseHookOn = 0;
        return SetMouseHook(m_hwndNotify, m_pRecord.get(), 1, pInitialRect,
                            hwndOverlayArg ? hwndOverlayArg : Overlay()) == 1;
    }
    int TurnOff() { return SetMouseHook(m_hwndNotify, m_pRecord.get(), 0, nullptr, nullptr); }

private:
    // Declared first, so that they are put back last.
    SavedHookState m_state;
    SavedCursor m_cursor;
    PatternWindow m_overlay;
    std::unique_ptr<HostRecord> m_pRecord;
    HWND m_hwndNotify = nullptr;
    HWND m_hwndProbe = nullptr;
    POINT m_ptOffset = {0, 0};
    ScreenSnapshot m_start;
};

// --- Entry ---------------------------------------------------------------------------------------

using SelectionHookEntry = SelectionHookTest;

TEST_F(SelectionHookEntry, IgnoresNegativeCodesMissingRecordsAndOtherEventKinds) {
    HWND hwndOwn = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
    Record().hwndOwn = hwndOwn;
    const POINT pt = Centre(kSelection);
    SetCursorPos(pt.x, pt.y);
    struct Case {
        const char *pszWhat;
        int nCode;
        UINT nMessage;
        bool bNullRecord;
        bool bNullEvent;
        HWND hwnd;
    } const cases[] = {
        {"a negative code", -1, WM_LBUTTONDOWN, false, false, nullptr},
        {"the lowest code", INT_MIN, WM_KEYDOWN, false, false, nullptr},
        {"no event record", HC_ACTION, WM_LBUTTONDOWN, false, true, nullptr},
        {"no host record", HC_ACTION, WM_LBUTTONDOWN, true, false, nullptr},
        {"a key release", HC_ACTION, WM_KEYUP, false, false, nullptr},
        {"a system key press", HC_ACTION, WM_SYSKEYDOWN, false, false, nullptr},
        {"a double click", HC_ACTION, WM_LBUTTONDBLCLK, false, false, nullptr},
        {"a middle button press", HC_ACTION, WM_MBUTTONDOWN, false, false, nullptr},
        {"a wheel turn", HC_ACTION, WM_MOUSEWHEEL, false, false, nullptr},
        {"a key release on the host's own window", HC_ACTION, WM_KEYUP, false, false, hwndOwn},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pszWhat);
        nCursorState = CS_INSIDE;
        ptCursor = kNotRead;
        SetCursor(Untouched());
        const int nShown = CursorDisplayCount();
        pHostRecord = c.bNullRecord ? nullptr : &Record();
        EVENTMSG event = {c.nMessage, UINT(pt.x), UINT(pt.y), 0, c.hwnd};

        SelectionHookProc(c.nCode, 0, c.bNullEvent ? 0 : reinterpret_cast<LPARAM>(&event));

        pHostRecord = &Record();
        EXPECT_EQ(nCursorState, CS_INSIDE);
        EXPECT_EQ(ptCursor, kNotRead);
        EXPECT_EQ(bButtonDown, 0);
        EXPECT_EQ(GetCursor(), Untouched());
        EXPECT_EQ(CursorDisplayCount(), nShown);
        EXPECT_TRUE(NothingToldTheHost());
        EXPECT_TRUE(ShowsNothing());
    }
    nCursorState = CS_DEFAULT;
    DestroyWindow(hwndOwn);
}

TEST_F(SelectionHookEntry, PassesEveryRecordOnWithTheLow16BitsOfWParam) {
    HWND hwndOwn = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
    Record().hwndOwn = hwndOwn;
    UseMode(2);
    struct Call {
        const char *pszWhat;
        int nCode;
        UINT nMessage;
        HWND hwnd;
        bool bNullEvent;
    } const calls[] = {
        {"a handled move", HC_ACTION, WM_MOUSEMOVE, nullptr, false},
        {"a handled key", HC_ACTION, WM_KEYDOWN, nullptr, false},
        {"a key release", HC_ACTION, WM_KEYUP, nullptr, false},
        {"a negative code", -1, WM_MOUSEMOVE, nullptr, false},
        {"no event record", HC_ACTION, WM_MOUSEMOVE, nullptr, true},
        {"a press on the host's own window", HC_ACTION, WM_LBUTTONDOWN, hwndOwn, false},
    };
    const WPARAM wParamGiven = 0xABCD1234;
    std::vector<EVENTMSG> events(std::size(calls));
    std::vector<LRESULT> results;
    std::vector<HandedOn> handedOn;

    const bool bCalled = CallInsideJournalChain(
        [&] {
            for (size_t i = 0; i < std::size(calls); ++i) {
                events[i] = EVENTMSG{calls[i].nMessage, VK_F2, 10, 0, calls[i].hwnd};
                const LPARAM lParam =
                    calls[i].bNullEvent ? 0 : reinterpret_cast<LPARAM>(&events[i]);
                results.push_back(SelectionHookProc(calls[i].nCode, wParamGiven, lParam));
            }
        },
        handedOn);

    if (!bCalled && JournalHooksRefused())
        GTEST_SKIP() << "the platform refuses journal-record hooks, as Windows 10 and 11 do";
    ASSERT_TRUE(bCalled) << "the platform never called the journal-record hook";
    ASSERT_EQ(handedOn.size(), std::size(calls));
    for (size_t i = 0; i < std::size(calls); ++i) {
        SCOPED_TRACE(calls[i].pszWhat);
        EXPECT_EQ(handedOn[i].nCode, calls[i].nCode);
        EXPECT_EQ(handedOn[i].wParam, WPARAM(0x1234));
        EXPECT_EQ(handedOn[i].lParam,
                  calls[i].bNullEvent ? 0 : reinterpret_cast<LPARAM>(&events[i]));
        EXPECT_EQ(results[i], kNextHookResult);
    }
    for (const EVENTMSG &event : events)
        EXPECT_EQ(event.paramL, UINT(VK_F2)) << "the record was changed";
    DestroyWindow(hwndOwn);
    TakePosted();
    g_arrived.clear();
}

// A mouse record carries the place of its event, read once for the whole event; a key record
// has none, and takes the cursor position.
TEST_F(SelectionHookEntry, TakesThePlaceOfAMouseEventFromItsRecordAndOfAKeyFromTheCursor) {
    const POINT pt = Centre(kSelection);
    SetCursorPos(kOutsideAll.x, kOutsideAll.y);
    {
        // Not even the band's anchor is read from the cursor.
        UnreadableCursor unreadable;
        ASSERT_TRUE(unreadable.Active());
        EVENTMSG event = {WM_LBUTTONDOWN, UINT(pt.x), UINT(pt.y), 0, nullptr};
        SelectionHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&event));
    }
    EXPECT_EQ(ptCursor, pt);
    EXPECT_EQ(ptBoxAnchor, pt);
    Release(pt);
    EXPECT_EQ(rcSelection, (RECT{pt.x, pt.y, pt.x + 1, pt.y + 1}));
    EXPECT_TRUE(OneSelectionPosted());
    SetCursorPos(kOutsideAll.x, kOutsideAll.y);
    Key('A');
    EXPECT_EQ(ptCursor, kOutsideAll);
}

TEST_F(SelectionHookEntry, KeepsTheLastPlaceWhenTheCursorCannotBeReadForAKey) {
    UseMode(2);
    Move(Centre(kSelection));
    ASSERT_EQ(ptCursor, Centre(kSelection));
    SetCursorPos(kOutsideAll.x, kOutsideAll.y);
    {
        UnreadableCursor unreadable;
        ASSERT_TRUE(unreadable.Active());
        Key('A');
    }
    EXPECT_EQ(ptCursor, Centre(kSelection));
}

TEST_F(SelectionHookEntry, ShowsTheDrawingCursorInShapeModesAndTheHostsCursorInTheOthers) {
    struct Case {
        int nMode;
        bool bDrawing;
    } const cases[] = {{MODE_RECTANGLE, true},
                       {MODE_ELLIPSE, true},
                       {MODE_POLYGON, true},
                       {8, true},
                       {100, true},
                       {-1, true},
                       {INT_MIN, true},
                       {0, false},
                       {1, false},
                       {2, false},
                       {6, false},
                       {7, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.nMode));
        UseMode(c.nMode);
        nCursorState = CS_DEFAULT;
        SetCursor(Untouched());
        const int nShown = CursorDisplayCount();
        Move(kOutsideAll);
        EXPECT_EQ(GetCursor(), c.bDrawing ? LibraryCursor(IDC_DRAWCROSS) : HostsCursor());
        EXPECT_EQ(CursorDisplayCount(), nShown) << "events leave the display counter alone";
        EXPECT_EQ(nCursorState, CS_DEFAULT);
    }
    EXPECT_TRUE(ShowsNothing());
}

TEST_F(SelectionHookEntry, LeavesTheClosePolygonCursorToTheHandlers) {
    for (int nMode : {MODE_RECTANGLE, 2}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        UseMode(nMode);
        nCursorState = CS_CLOSE;
        SetCursor(Untouched());
        const int nShown = CursorDisplayCount();
        Move(kOutsideAll);
        EXPECT_EQ(GetCursor(), Untouched());
        EXPECT_EQ(CursorDisplayCount(), nShown);
        EXPECT_EQ(nCursorState, CS_CLOSE);
    }
    nCursorState = CS_DEFAULT;
}

TEST_F(SelectionHookEntry, PassesEventsStraightOnWhileATrackRuns) {
    WatchedBox &box = ShowInBox(MODE_ELLIPSE);
    const ScreenSnapshot shown = ScreenSnapshot::Take();
    bTracking = 1;
    nCursorState = CS_HANDLE;
    const POINT aPlaces[] = {Centre(kSelection), kOutsideAll, HandleCentre(box, 2)};
    for (const POINT &pt : aPlaces) {
        SetCursor(Untouched());
        Press(pt);
        Move(Plus(pt, 7, 5));
        Release(Plus(pt, 7, 5));
        Key(VK_RETURN);
        Key(VK_ESCAPE);
        EXPECT_EQ(GetCursor(), Untouched());
    }
    EXPECT_EQ(ptCursor, kNotRead);
    EXPECT_EQ(nCursorState, CS_HANDLE);
    EXPECT_EQ(bButtonDown, 0);
    EXPECT_EQ(bSelectionShown, 1);
    EXPECT_EQ(pResizingBox, &box);
    EXPECT_EQ(WatchedBox::s_nDestroyed, 0);
    EXPECT_EQ(bSwallowUntilUp, 0);
    EXPECT_TRUE(ScreenIs(shown, "the box and ellipse as shown"));
    EXPECT_TRUE(NothingToldTheHost());

    bTracking = 0;
    Key(VK_ESCAPE);
    EXPECT_EQ(pResizingBox, nullptr);
}

// --- The host's own window -----------------------------------------------------------------------

class OwnWindow : public SelectionHookTest {
protected:
    void SetUp() override {
        SelectionHookTest::SetUp();
        m_pOwn = std::make_unique<PatternWindow>(RECT{600, 560, 700, 640});
        Record().hwndOwn = m_pOwn->hwnd();
        m_startWithOwn = ScreenSnapshot::Take();
    }
    void TearDown() override {
        EXPECT_TRUE(ScreenIs(m_startWithOwn, "as the test found it"));
        m_pOwn.reset();
        SelectionHookTest::TearDown();
    }
    HWND Own() const { return m_pOwn->hwnd(); }
    const ScreenSnapshot &StartWithOwn() const { return m_startWithOwn; }

    // A finished polygon shown in its box, as the initial selection step shows it.
    void ShowPolygonInBox() {
        UseMode(MODE_POLYGON, 1);
        for (const POINT &pt : kPolygon)
            SPXAddPolyPoint(&Record().shape, &pt);
        rcSelection = kPolygonBounds;
        bSelectionShown = 1;
        ASSERT_TRUE(ShowResizingBox());
        SPXXorPolyPoints(&Record().shape);
    }

private:
    std::unique_ptr<PatternWindow> m_pOwn;
    ScreenSnapshot m_startWithOwn;
};

TEST_F(OwnWindow, APressThereDiscardsAShownSelectionAndResetsTheGesture) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE, MODE_POLYGON}) {
        for (bool bRight : {false, true}) {
            SCOPED_TRACE("mode " + std::to_string(nMode) + (bRight ? ", right" : ", left"));
            if (nMode == MODE_POLYGON)
                ShowPolygonInBox();
            else
                ShowInBox(nMode);
            ASSERT_FALSE(ScreenSnapshot::Take() == StartWithOwn());
            bButtonDown = 1;
            // A hover marker on the polygon's first vertex goes with it.
            bVertexMarked = 1;
            nMarkedVertex = 0;
            if (nMode == MODE_POLYGON)
                XorVertexMarker(kPolygon[0]);
            bSwallowUntilUp = 1;
            bNewPolygon = 0;
            nCursorState = CS_INSIDE;
            ptCursor = kNotRead;
            const POINT ptOwn = {650, 600};
            SetCursorPos(ptOwn.x, ptOwn.y);
            SetCursor(Untouched());

            EVENTMSG event = {UINT(bRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN), UINT(ptOwn.x),
                              UINT(ptOwn.y), 0, Own()};
            SelectionHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&event));

            EXPECT_TRUE(ScreenIs(StartWithOwn(), "without the selection"));
            EXPECT_EQ(pResizingBox, nullptr);
            EXPECT_EQ(bSelectionShown, 0);
            EXPECT_EQ(Record().shape.nCount, 0u);
            EXPECT_EQ(bButtonDown, 0);
            EXPECT_EQ(bVertexMarked, 0);
            EXPECT_EQ(bSwallowUntilUp, 0);
            EXPECT_EQ(bNewPolygon, 1);
            EXPECT_EQ(nCursorState, CS_DEFAULT);
            EXPECT_EQ(GetCursor(), Untouched());
            EXPECT_EQ(ptCursor, kNotRead);
            EXPECT_TRUE(NothingToldTheHost());
        }
    }
}

TEST_F(OwnWindow, OtherEventsThereOnlyResetTheCursorState) {
    WatchedBox &box = ShowInBox(MODE_ELLIPSE);
    const ScreenSnapshot shown = ScreenSnapshot::Take();
    struct Case {
        const char *pszWhat;
        UINT nMessage;
        DWORD dwParamL;
    } const cases[] = {{"a move", WM_MOUSEMOVE, 650},
                       {"a left release", WM_LBUTTONUP, 650},
                       {"a right release", WM_RBUTTONUP, 650},
                       {"Enter", WM_KEYDOWN, VK_RETURN},
                       {"Escape", WM_KEYDOWN, VK_ESCAPE}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pszWhat);
        bButtonDown = 1;
        bSwallowUntilUp = 1;
        nCursorState = CS_INSIDE;
        SetCursor(Untouched());
        EVENTMSG event = {c.nMessage, UINT(c.dwParamL), 600, 0, Own()};
        SelectionHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&event));
        EXPECT_EQ(nCursorState, CS_DEFAULT);
        EXPECT_EQ(GetCursor(), Untouched());
        EXPECT_EQ(bButtonDown, 1);
        EXPECT_EQ(bSwallowUntilUp, 1);
        EXPECT_EQ(bSelectionShown, 1);
        EXPECT_EQ(pResizingBox, &box);
        EXPECT_EQ(ptCursor, kNotRead);
        EXPECT_TRUE(ScreenIs(shown, "the selection as shown"));
        EXPECT_TRUE(NothingToldTheHost());
    }
    bButtonDown = 0;
    bSwallowUntilUp = 0;
    Key(VK_ESCAPE);
}

// --- The initial selection -----------------------------------------------------------------------

using InitialSelection = SelectionHookTest;

TEST_F(InitialSelection, TheFirstEventOfAnyKindShowsItInItsBoxOnce) {
    struct Case {
        int nMode;
        RECT rc;
    } const cases[] = {
        {MODE_RECTANGLE, kSelection}, {MODE_ELLIPSE, kSelection}, {MODE_POLYGON, kPolygonBounds}};
    for (const Case &c : cases) {
        for (UINT nFirst : {UINT(WM_KEYDOWN), UINT(WM_MOUSEMOVE), UINT(WM_RBUTTONUP)}) {
            SCOPED_TRACE("mode " + std::to_string(c.nMode) + ", first event " +
                         std::to_string(nFirst));
            UseMode(c.nMode, 1);
            SPXFreePolyPoints(&Record().shape);
            if (c.nMode == MODE_POLYGON)
                for (const POINT &pt : kPolygon)
                    SPXAddPolyPoint(&Record().shape, &pt);
            ASSERT_TRUE(TurnOn(&c.rc));
            EXPECT_EQ(pResizingBox, nullptr);
            EXPECT_TRUE(ShowsNothing()) << "nothing is drawn before the first event";

            if (nFirst == WM_KEYDOWN)
                Key('A');
            else
                Mouse(nFirst, kOutsideAll);

            ASSERT_NE(pResizingBox, nullptr);
            const auto figures = [&] {
                XorFrame(c.rc);
                if (c.nMode == MODE_ELLIPSE)
                    XorOutline(c.rc, 1);
                if (c.nMode == MODE_POLYGON)
                    SPXXorPolyPoints(&Record().shape);
            };
            EXPECT_TRUE(ShowsExactly(figures));
            EXPECT_EQ(rcSelection, c.rc);
            EXPECT_EQ(bSelectionShown, 1);
            Move(Plus(kOutsideAll, 3, -4));
            Key('B');
            EXPECT_TRUE(ShowsExactly(figures)) << "later events draw nothing more";
            EXPECT_TRUE(NothingToldTheHost());

            // Turning off takes the box and the figure away; a polygon keeps its points.
            EXPECT_NE(TurnOff(), 0);
            EXPECT_TRUE(ShowsNothing());
            EXPECT_EQ(Record().shape.nCount, c.nMode == MODE_POLYGON ? 4u : 0u);
        }
    }
}

TEST_F(InitialSelection, WaitsWhileTheEventsAreAimedAtTheHostsOwnWindow) {
    HWND hwndOwn = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
    Record().hwndOwn = hwndOwn;
    UseMode(MODE_RECTANGLE, 1);
    ASSERT_TRUE(TurnOn(&kSelection));
    EVENTMSG event = {WM_MOUSEMOVE, 1, 1, 0, hwndOwn};
    SelectionHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&event));
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_TRUE(ShowsNothing());
    Move(kOutsideAll);
    EXPECT_NE(pResizingBox, nullptr);
    EXPECT_TRUE(ShowsExactly([&] { XorFrame(kSelection); }));
    EXPECT_NE(TurnOff(), 0);
    DestroyWindow(hwndOwn);
}

TEST_F(InitialSelection, IsTriedAgainAtEveryEventUntilItsBoxCanBeShown) {
    HWND hwndGone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    DestroyWindow(hwndGone);
    UseMode(MODE_ELLIPSE, 1);
    ASSERT_TRUE(TurnOn(&kSelection, hwndGone));

    Key('A');
    Move(kOutsideAll);
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_EQ(bSelectionShown, 1);
    EXPECT_TRUE(ShowsNothing()) << "no box and no ellipse without an overlay window";

    hwndOverlay = Overlay();
    g_nFailNothrowAllocation = 1;
    Key('A');
    g_nFailNothrowAllocation = 0;
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_EQ(bSelectionShown, 1);
    EXPECT_TRUE(ShowsNothing()) << "no box and no ellipse when the box cannot be had";

    Key('A');
    EXPECT_NE(pResizingBox, nullptr);
    EXPECT_EQ(rcSelection, kSelection);
    EXPECT_TRUE(ShowsExactly(BoxedFigures(MODE_ELLIPSE, kSelection)));
    Key(VK_ESCAPE);
    EXPECT_NE(TurnOff(), 0);
}

// --- Turning the hook on and off -----------------------------------------------------------------

// The hook off, as after load.
class SetMouseHookTest : public SelectionHookTest {
protected:
    void SetUp() override {
        SelectionHookTest::SetUp();
        bMouseHookOn = 0;
    }
};

// Takes this thread's input until no more is queued, collecting the UM_SELECTION messages posted
// to hwndNotify instead of handing them to it. A journal-record hook that is on sees the input.
std::vector<Notice> TakeInput(HWND hwndNotifyWindow, int *pnEscapes = nullptr) {
    std::vector<Notice> posted;
    for (int nQuiet = 0; nQuiet < 5;) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ++nQuiet;
            Sleep(20);
            continue;
        }
        nQuiet = 0;
        if (msg.message == UM_SELECTION && msg.hwnd == hwndNotifyWindow)
            posted.push_back({msg.wParam, msg.lParam});
        else if (msg.message == UM_ESCAPE && pnEscapes)
            ++*pnEscapes;
        else
            DispatchMessageA(&msg);
    }
    return posted;
}

// A click of the real mouse at pt, through the platform's input queue.
void ClickTheRealMouse(POINT pt) {
    SetCursorPos(pt.x, pt.y);
    INPUT aInput[2] = {};
    aInput[0].type = INPUT_MOUSE;
    aInput[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    aInput[1].type = INPUT_MOUSE;
    aInput[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, aInput, sizeof(INPUT));
}

TEST_F(SetMouseHookTest, WithoutARecordChangesNothing) {
    HWND hwndOther = CreateMessageWindow("SpxTestNotify", NotifyWndProc);
    for (BOOL bEnable : {1, 0}) {
        EXPECT_EQ(SetMouseHook(hwndOther, nullptr, bEnable, &kSelection, hwndOther), 0);
        EXPECT_EQ(hMouseHook, nullptr);
        EXPECT_EQ(bMouseHookOn, 0);
        EXPECT_EQ(pHostRecord, &Record());
        EXPECT_EQ(hwndNotify, Notify());
        EXPECT_EQ(hwndOverlay, Overlay());
        EXPECT_EQ(rcSelection, (RECT{0, 0, 0, 0}));
    }
    DestroyWindow(hwndOther);
}

TEST_F(SetMouseHookTest, TurningOnInstallsTheHookAndTakesTheHostsSettings) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE, 0}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        UseMode(nMode, 1);
        bEllipse = !bEllipse;
        bAdjustable = 0;
        bButtonDown = 1;
        hwndNotify = nullptr;
        hwndOverlay = nullptr;
        pHostRecord = nullptr;
        rcSelection = kOtherSelection;
        bSelectionShown = 1;
        SetCursor(SystemCursor(IDC_CROSS));

        ASSERT_EQ(SetMouseHook(Notify(), &Record(), 1, nullptr, Overlay()), 1);

        EXPECT_NE(hMouseHook, nullptr);
        EXPECT_EQ(bMouseHookOn, 1);
        EXPECT_EQ(pHostRecord, &Record());
        EXPECT_EQ(hwndNotify, Notify());
        EXPECT_EQ(hwndOverlay, Overlay());
        EXPECT_EQ(bEllipse, nMode == MODE_ELLIPSE ? 1 : 0);
        EXPECT_EQ(bAdjustable, 1);
        EXPECT_EQ(bButtonDown, 0);
        EXPECT_EQ(Record().hSavedCursor, SystemCursor(IDC_CROSS));
        EXPECT_FALSE(AnotherHostsClaim(CLAIM_SELECTION).Held()) << "the hook is claimed";
        EXPECT_EQ(rcSelection, (RECT{0, 0, 0, 0}));
        EXPECT_EQ(bSelectionShown, 0);
        EXPECT_NE(TurnOff(), 0);
    }
}

TEST_F(SetMouseHookTest, TurningOnKeepsTheSavedCursorWhenNoneIsSet) {
    SetCursor(nullptr);
    ASSERT_TRUE(TurnOn());
    EXPECT_EQ(Record().hSavedCursor, HostsCursor());
    EXPECT_NE(TurnOff(), 0);
}

TEST_F(SetMouseHookTest, TheInstalledHookSeesTheClicksOfThisThread) {
    UseMode(2);
    TakeInput(Notify());
    ASSERT_TRUE(TurnOn());
    ClickTheRealMouse(Centre(kSelection));
    const std::vector<Notice> posted = TakeInput(Notify());
    EXPECT_NE(TurnOff(), 0);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].lParam, reinterpret_cast<LPARAM>(&rcSelection));
    EXPECT_EQ(ptCursor, Centre(kSelection));
}

// Where journal-record hooks are refused, both hooks fall back to low-level hooks: a click and an
// Escape still reach the host, and Escape still discards the selection shown.
TEST_F(SetMouseHookTest, WhereJournalHooksAreRefusedLowLevelHooksTakeTheInput) {
    UseMode(MODE_ELLIPSE, 1);
    TakeInput(Notify());
    {
        PatchedImport refusing("user32.dll", "SetWindowsHookExA",
                               reinterpret_cast<void *>(&RefuseJournalHooks));
        ASSERT_TRUE(refusing.Active());
        g_pfnSetWindowsHookEx =
            reinterpret_cast<decltype(g_pfnSetWindowsHookEx)>(refusing.Original());
        ASSERT_TRUE(TurnOn());
        ASSERT_EQ(SetKeyboardHook(Notify(), 1), 1);
    }
    EXPECT_EQ(nMouseHookPath, UINT(HOOK_LOWLEVEL));
    EXPECT_EQ(nKeyHookPath, UINT(HOOK_LOWLEVEL));
    ClickTheRealMouse(Centre(kSelection));
    for (int i = 0; i < 20 && !pResizingBox; ++i)
        TakeInput(Notify());
    EXPECT_NE(pResizingBox, nullptr) << "the click was boxed";
    EXPECT_EQ(ptCursor, Centre(kSelection));

    INPUT aInput[2] = {};
    aInput[0].type = aInput[1].type = INPUT_KEYBOARD;
    aInput[0].ki.wVk = aInput[1].ki.wVk = VK_ESCAPE;
    aInput[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, aInput, sizeof(INPUT));
    // The hooks' thread hands the key on in its own time: on a loaded machine it can come after a
    // tenth of a second without input.
    int nEscapes = 0;
    for (int i = 0; i < 20 && !nEscapes; ++i)
        EXPECT_TRUE(TakeInput(Notify(), &nEscapes).empty());
    EXPECT_EQ(nEscapes, 1);
    EXPECT_EQ(pResizingBox, nullptr) << "Escape discarded the box";
    EXPECT_TRUE(ShowsNothing());
    EXPECT_NE(SetKeyboardHook(Notify(), 0), 0);
    EXPECT_NE(TurnOff(), 0);
    EXPECT_EQ(nMouseHookPath, 0u);
    EXPECT_EQ(hMouseKeyHook, nullptr);
}

// The low-level callbacks called as the platform calls them, the host taking its input only
// afterwards. A release the platform never delivered is shown by leaving it out.
class LowLevelInputTest : public SetMouseHookTest {
protected:
    void SetUp() override {
        SetMouseHookTest::SetUp();
        SetEnvironmentVariableA("SPXHK_HOOKS", "lowlevel");
        UseMode(MODE_RECTANGLE);
        TakeInput(Notify());
        ASSERT_TRUE(TurnOn());
        ASSERT_EQ(nMouseHookPath, UINT(HOOK_LOWLEVEL));
    }
    void TearDown() override {
        TurnOff();
        SetEnvironmentVariableA("SPXHK_HOOKS", nullptr);
        SetMouseHookTest::TearDown();
    }
};

// One event as a callback gets it: a mouse event at pt, or (WM_KEYDOWN, WM_KEYUP) the key pt.x;
// made nAgeMs before the callback runs; nTimes in a row.
struct FedEvent {
    UINT nMessage;
    POINT pt;
    DWORD nAgeMs;
    int nTimes;
};

// Feeds the events to the callbacks as the hook thread would; returns the longest time between
// two of them.
DWORD Feed(const std::vector<FedEvent> &events) {
    DWORD dwLongest = 0, dwLast = GetTickCount();
    for (const FedEvent &e : events)
        for (int i = 0; i < (e.nTimes ? e.nTimes : 1); ++i) {
            const DWORD dwNow = GetTickCount();
            dwLongest = std::max(dwLongest, dwNow - dwLast);
            dwLast = dwNow;
            if (e.nMessage == WM_KEYDOWN || e.nMessage == WM_KEYUP) {
                KBDLLHOOKSTRUCT key = {};
                key.vkCode = DWORD(e.pt.x);
                key.time = GetTickCount();
                SelectionKeyProc(HC_ACTION, e.nMessage, reinterpret_cast<LPARAM>(&key));
                continue;
            }
            MSLLHOOKSTRUCT mouse = {};
            mouse.pt = e.pt;
            mouse.time = GetTickCount() - e.nAgeMs;
            SelectionMouseProc(HC_ACTION, e.nMessage, reinterpret_cast<LPARAM>(&mouse));
        }
    return dwLongest;
}

TEST(HookWatch, PutsBackOnlyTheHookThatMissedInput) {
    const struct {
        const char *pszWhat;
        std::vector<WatchLook> looks; // now, last input, last event seen, cursor moved, key unseen
        UINT fMissed;                 // at the last look
    } cases[] = {
        {"input a hook saw", {{5000, 4990, 4990, true, false}}, 0},
        {"input a little after the event a hook saw", {{5000, 4995, 4990, true, false}}, 0},
        {"input missed while the cursor moved, however recent the newest: the mouse hook",
         {{5000, 4900, 4000, true, false}, {5100, 5090, 4000, true, false}},
         WATCH_MOUSE},
        {"not before the grace is up",
         {{5000, 4900, 4000, true, false}, {5050, 5040, 4000, true, false}},
         0},
        {"input missed with the cursor still: the keyboard hook",
         {{5000, 4900, 4000, false, false}, {5200, 5100, 4000, false, false}},
         WATCH_KEYBOARD},
        {"a key held unseen at two looks while the mouse hook sees the mouse: the keyboard hook",
         {{5000, 4999, 4999, true, true}, {5100, 5099, 5099, true, true}},
         WATCH_KEYBOARD},
        {"a key unseen at one look only", {{5000, 4999, 4999, true, true}}, 0},
        {"missed input that a hook saw late",
         {{5000, 4900, 4000, true, false},
          {5100, 5050, 5060, true, false},
          {5300, 5050, 5060, true, false}},
         0},
        {"the tick count wrapped between",
         {{1000, 100, 0xFFFFFF00, true, false}, {1200, 150, 0xFFFFFF00, true, false}},
         WATCH_MOUSE},
        {"one input no hook saw, and nothing after it (a program put the cursor)",
         {{5000, 4900, 4000, true, false}, {5200, 4900, 4000, true, false}},
         0},
    };
    for (const auto &c : cases) {
        WatchState state = {};
        UINT fMissed = 0;
        for (const WatchLook &look : c.looks)
            fMissed = HooksToReinstall(state, look);
        EXPECT_EQ(fMissed, c.fMissed) << c.pszWhat;
    }
}

void SendKey(WORD nVk, bool bUp) {
    INPUT key = {};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = nVk;
    key.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &key, sizeof(INPUT));
}

// The person moves the mouse nMoves times, nApartMs apart.
void MoveTheRealMouse(int nMoves, DWORD nApartMs) {
    for (int i = 0; i < nMoves; ++i) {
        INPUT move = {};
        move.type = INPUT_MOUSE;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        move.mi.dx = i % 2 ? -1 : 1;
        SendInput(1, &move, sizeof(INPUT));
        Sleep(nApartMs);
    }
}

TEST_F(LowLevelInputTest, AHookThePlatformRemovedIsBackWhileThePersonGoesOn) {
    SetCursorPos(250, 260);
    for (bool bKeyboard : {false, true}) {
        SCOPED_TRACE(bKeyboard ? "the keyboard hook, Shift held" : "the mouse hook");
        const LONG nBefore = SelectionHookInstalls();
        // As Windows removes a low-level hook whose callback overran its time. The person
        // goes on moving, never pausing long enough for the input to look old.
        UnhookWindowsHookEx(bKeyboard ? hMouseKeyHook : hMouseHook);
        if (bKeyboard)
            SendKey(VK_RSHIFT, false);
        MoveTheRealMouse(20, 50);
        if (bKeyboard)
            SendKey(VK_RSHIFT, true);
        EXPECT_EQ(SelectionHookInstalls(), nBefore + 1) << "that hook alone, once";
        ClickTheRealMouse(POINT{300, 280});
        EXPECT_EQ(TakeInput(Notify()).size(), 1u) << "the click after the hooks came back";
    }
}

TEST_F(LowLevelInputTest, HooksThatSeeTheInputAreNeverPutBack) {
    const LONG nBefore = SelectionHookInstalls();
    MoveTheRealMouse(10, 300);
    EXPECT_EQ(SelectionHookInstalls(), nBefore) << "hooks that saw every move";
    // Input no hook can see (the cursor put by another program, an elevated window's input on
    // Windows): one look for a missing hook, not one for every such input.
    for (int i = 0; i < 5; ++i) {
        SetCursorPos(200 + 10 * i, 200);
        Sleep(300);
    }
    EXPECT_LE(SelectionHookInstalls(), nBefore + 1);
}

// The live rectangles each target received, in order.
const UINT kLiveMessage = WM_APP + 60;
std::vector<std::pair<HWND, RECT>> g_live;
LRESULT CALLBACK LiveTargetProc(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == kLiveMessage)
        g_live.push_back({hwnd, RECT{SHORT(LOWORD(wParam)), SHORT(HIWORD(wParam)),
                                     SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))}});
    return DefWindowProcA(hwnd, nMsg, wParam, lParam);
}

TEST_F(LowLevelInputTest, TheLiveRectangleKeepsUpAndEndsForEveryTargetThatHeardOfIt) {
    const RECT rcNone = {0, 0, 0, 0};
    HWND hwndFirst = CreateMessageWindow("SpxLiveTarget", LiveTargetProc);
    HWND hwndSecond = CreateMessageWindow("SpxLiveTarget", LiveTargetProc);
    g_live.clear();
    SetTrackingNotify(hwndFirst, kLiveMessage);
    // A loop that takes only the library's wake messages and the live rectangles: no timer
    // reaches the library.
    const auto takeWakesOnly = [] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_APP + 0x5A, WM_APP + 0x5A, PM_REMOVE) ||
               PeekMessageA(&msg, nullptr, kLiveMessage, kLiveMessage, PM_REMOVE))
            DispatchMessageA(&msg);
    };
    Feed({{WM_LBUTTONDOWN, {100, 100}}, {WM_MOUSEMOVE, {120, 110}}, {WM_MOUSEMOVE, {130, 115}}});
    takeWakesOnly();
    Sleep(30);
    Feed({{WM_MOUSEMOVE, {140, 120}}});
    takeWakesOnly();
    ASSERT_FALSE(g_live.empty());
    EXPECT_EQ(g_live.back().second, (RECT{100, 100, 140, 120})) << "the newest, without a timer";
    // Another target mid-gesture: the first hears that it ended for it.
    SetTrackingNotify(hwndSecond, kLiveMessage);
    TakeInput(Notify());
    EXPECT_EQ(g_live.back(), std::make_pair(hwndFirst, rcNone));
    // A gesture discarded behind a full queue ends at once.
    Feed({{WM_MOUSEMOVE, {150, 130}}, {WM_KEYDOWN, {VK_LEFT, 0}, 0, 5000}});
    TakeInput(Notify());
    EXPECT_EQ(g_live.back(), std::make_pair(hwndSecond, rcNone));
    SetTrackingNotify(nullptr, 0);
    DestroyWindow(hwndFirst);
    DestroyWindow(hwndSecond);
}

TEST_F(LowLevelInputTest, AWakeTheHostsLoopTookWithoutDispatchingIsPostedAgain) {
    Feed({{WM_LBUTTONDOWN, {100, 100}}, {WM_MOUSEMOVE, {150, 130}}});
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    Sleep(150);
    Feed({{WM_LBUTTONUP, {150, 130}}});
    EXPECT_EQ(TakeInput(Notify()).size(), 1u);
    EXPECT_EQ(rcSelection, (RECT{100, 100, 150, 130}));
}

// The overlay's key messages during a drag: the drag's queue hands it none (its own loop has
// them already).
int g_nOverlayKeys = 0;
LRESULT CALLBACK CountOverlayKeys(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    g_nOverlayKeys += nMsg == WM_KEYDOWN || nMsg == WM_KEYUP;
    return DefWindowProcA(hwnd, nMsg, wParam, lParam);
}

TEST_F(LowLevelInputTest, ALostReleaseEndsAHandleDragWhereARealOneWould) {
    SetWindowPos(Overlay(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const LONG_PTR pfnOld = SetWindowLongPtrA(Overlay(), GWLP_WNDPROC, LONG_PTR(&CountOverlayKeys));
    g_nOverlayKeys = 0;
    // Released, lost, and lost after Shift went down and up: a key-up has no point of its own.
    RECT aResult[3];
    for (int bLost = 0; bLost < 3; ++bLost) {
        TurnOff();
        UseMode(MODE_RECTANGLE, 1);
        ASSERT_EQ(SetMouseHook(Notify(), &Record(), 1, &kSelection, Overlay()), 1);
        Feed({{WM_MOUSEMOVE, {200, 200}}});
        TakeInput(Notify());
        ASSERT_NE(pResizingBox, nullptr);
        const POINT ptHandle = HandleCentre(*pResizingBox, 2); // bottom right
        const POINT ptLast = {ptHandle.x + 30, ptHandle.y + 20};
        Feed({{WM_LBUTTONDOWN, ptHandle}, {WM_MOUSEMOVE, ptLast}});
        if (bLost == 2)
            Feed({{WM_KEYDOWN, {VK_LSHIFT, 0}}, {WM_KEYUP, {VK_LSHIFT, 0}}});
        // Lost: the platform reports the button up at a late move there, and a move follows.
        if (bLost)
            Feed({{WM_MOUSEMOVE, ptLast, 500}, {WM_MOUSEMOVE, {ptLast.x + 40, ptLast.y + 40}}});
        else
            Feed({{WM_LBUTTONUP, ptLast}});
        TakeInput(Notify());
        aResult[bLost] = rcSelection;
    }
    SetWindowLongPtrA(Overlay(), GWLP_WNDPROC, pfnOld);
    EXPECT_NE(aResult[0], kSelection) << "the handle drag resized the selection";
    EXPECT_EQ(aResult[1], aResult[0]);
    EXPECT_EQ(aResult[2], aResult[0]);
    EXPECT_EQ(g_nOverlayKeys, 0) << "keys handed to the drag as messages";
}

TEST_F(LowLevelInputTest, TheFirstKeyOfAnyKindShowsTheInitialSelection) {
    TurnOff();
    UseMode(MODE_RECTANGLE, 1);
    ASSERT_EQ(SetMouseHook(Notify(), &Record(), 1, &kSelection, Overlay()), 1);
    Feed({{WM_KEYDOWN, {'A', 0}}});
    TakeInput(Notify());
    EXPECT_NE(pResizingBox, nullptr);
}

// Shift let go while the keyboard hook was away: the hook comes back, the drag after it is
// plain.
TEST_F(LowLevelInputTest, AKeyLetGoWhileTheHookWasAwayIsNotHeld) {
    SendKey(VK_SHIFT, false);
    MoveTheRealMouse(2, 50);
    UnhookWindowsHookEx(hMouseKeyHook);
    SendKey(VK_SHIFT, true);
    Sleep(400);
    SetCursorPos(100, 100);
    INPUT aDrag[3] = {};
    for (INPUT &in : aDrag)
        in.type = INPUT_MOUSE;
    aDrag[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    aDrag[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    aDrag[1].mi.dx =
        (150 * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    aDrag[1].mi.dy =
        (130 * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    aDrag[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, aDrag, sizeof(INPUT));
    Sleep(100);
    EXPECT_EQ(TakeInput(Notify()).size(), 1u);
    EXPECT_EQ(rcSelection, (RECT{100, 100, 150, 130}));
}

TEST_F(LowLevelInputTest, EveryEndingOfABandIsTheOneThePersonMade) {
    const int nRight = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int nTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    struct Case {
        const char *pszWhat;
        std::vector<FedEvent> events;
        size_t nCommits;
        RECT rcLast; // the last selection committed
    } cases[] = {
        {"the release never came: the button is reported up at a late move, and another follows",
         {{WM_LBUTTONDOWN, {100, 100}},
          {WM_MOUSEMOVE, {150, 140}},
          {WM_MOUSEMOVE, {180, 160}},
          {WM_MOUSEMOVE, {400, 300}, 500},
          {WM_MOUSEMOVE, {410, 310}}},
         1,
         {100, 100, 400, 300}},
        {"the button is reported up at a late move and its release follows: it ends the band",
         {{WM_LBUTTONDOWN, {100, 100}},
          {WM_MOUSEMOVE, {180, 160}},
          {WM_MOUSEMOVE, {300, 200}, 500},
          {WM_LBUTTONUP, {300, 200}}},
         1,
         {100, 100, 300, 200}},
        {"the release never came: the same button is pressed again",
         {{WM_LBUTTONDOWN, {100, 100}},
          {WM_MOUSEMOVE, {180, 160}},
          {WM_LBUTTONDOWN, {300, 300}},
          {WM_MOUSEMOVE, {340, 330}},
          {WM_LBUTTONUP, {340, 330}}},
         2,
         {300, 300, 340, 330}},
        {"events were lost behind a full queue: the band is discarded",
         {{WM_LBUTTONDOWN, {100, 100}},
          {WM_MOUSEMOVE, {180, 160}},
          {WM_KEYDOWN, {VK_LEFT, 0}, 0, 5000},
          {WM_LBUTTONUP, {180, 160}}},
         0,
         {}},
        {"keys the selection does not act on are not kept: typing fills nothing",
         {{WM_LBUTTONDOWN, {100, 100}},
          {WM_MOUSEMOVE, {180, 160}},
          {WM_KEYDOWN, {'A', 0}, 0, 5000},
          {WM_LBUTTONUP, {180, 160}}},
         1,
         {100, 100, 180, 160}},
        {"points beyond the screens are held at their edge",
         {{WM_LBUTTONDOWN, {100, 100}},
          {WM_MOUSEMOVE, {100000, -100000}},
          {WM_LBUTTONUP, {100000, -100000}}},
         1,
         {100, nTop, nRight - 1, 100}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pszWhat);
        // The real button is up: a stall of the machine between two events fed (100 ms) makes
        // the band's release look unseen. Such a run is fed again.
        std::vector<Notice> posted;
        for (int nTry = 0; nTry < 5; ++nTry) {
            const DWORD dwLongest = Feed(c.events);
            posted = TakeInput(Notify());
            if (dwLongest < 90)
                break;
        }
        EXPECT_EQ(posted.size(), c.nCommits);
        if (c.nCommits)
            EXPECT_EQ(rcSelection, c.rcLast);
        EXPECT_EQ(bButtonDown, 0);
        EXPECT_TRUE(ShowsNothing());
        // The next band is whole.
        Feed(
            {{WM_LBUTTONDOWN, {200, 200}}, {WM_MOUSEMOVE, {260, 250}}, {WM_LBUTTONUP, {260, 250}}});
        EXPECT_EQ(TakeInput(Notify()).size(), 1u);
        EXPECT_EQ(rcSelection, (RECT{200, 200, 260, 250}));
    }
}

TEST_F(SetMouseHookTest, TurningOnAgainInstallsNothingAndOnlyRenamesTheHost) {
    HWND hwndSecond = CreateMessageWindow("SpxTestNotify", NotifyWndProc);
    auto pSecond = std::make_unique<HostRecord>();
    pSecond->shape.nMode = MODE_ELLIPSE;
    UseMode(MODE_RECTANGLE, 1);
    ASSERT_TRUE(TurnOn());
    const HHOOK hHook = hMouseHook;

    // Any value but 0 means on.
    for (BOOL bEnable : {1, 2, -1}) {
        SCOPED_TRACE("on as " + std::to_string(bEnable));
        Record().bAdjustable = 0;
        EXPECT_EQ(SetMouseHook(hwndSecond, pSecond.get(), bEnable, &kSelection, hwndSecond), 0);
        EXPECT_EQ(hMouseHook, hHook);
        EXPECT_EQ(bMouseHookOn, 1);
        EXPECT_EQ(hwndNotify, hwndSecond);
        EXPECT_EQ(pHostRecord, pSecond.get());
        EXPECT_EQ(bEllipse, 1);
        EXPECT_EQ(hwndOverlay, Overlay());
        EXPECT_EQ(bAdjustable, 1);
        EXPECT_EQ(rcSelection, (RECT{0, 0, 0, 0}));
        EXPECT_EQ(bSelectionShown, 0);
    }
    EXPECT_NE(SetMouseHook(Notify(), &Record(), 0, nullptr, nullptr), 0);

    // Had a second hook been installed, it would still see this thread's input.
    ptCursor = kNotRead;
    UseMode(2);
    ClickTheRealMouse(Centre(kSelection));
    EXPECT_TRUE(TakeInput(Notify()).empty());
    EXPECT_EQ(ptCursor, kNotRead);
    DestroyWindow(hwndSecond);
}

// The cursor shows while the hook is on, even where the host had hidden it; turning off puts the
// display counter back where the host had it.
TEST_F(SetMouseHookTest, CancelledJournalHooksLeaveACleanScreenAndGoOnAgain) {
    SetEnvironmentVariableA("SPXHK_HOOKS", "journal");
    UseMode(MODE_RECTANGLE, 1);
    // Windows 10 and 11, as Wine 10, refuse journal-record hooks to a program without UI access:
    // the host is told so and nothing is on (allowing both, it gets low-level ones: see above).
    if (JournalHooksRefused()) {
        EXPECT_EQ(SetMouseHook(Notify(), &Record(), 1, &kSelection, Overlay()), 0);
        EXPECT_EQ(SetKeyboardHook(Notify(), 1), 0);
        EXPECT_TRUE(ShowsNothing());
        return;
    }
    ASSERT_EQ(SetMouseHook(Notify(), &Record(), 1, &kSelection, Overlay()), 1);
    ASSERT_EQ(SetKeyboardHook(Notify(), 1), 1);
    Mouse(WM_MOUSEMOVE, Centre(kSelection));
    ASSERT_NE(pResizingBox, nullptr);
    // As Windows does at Ctrl+Esc or Ctrl+Alt+Del.
    UnhookWindowsHookEx(hMouseHook);
    UnhookWindowsHookEx(hKeyHook);
    PostThreadMessageA(GetCurrentThreadId(), WM_CANCELJOURNAL, 0, 0);
    EXPECT_TRUE(TakeInput(Notify()).empty());
    EXPECT_EQ(bMouseHookOn, 0);
    EXPECT_EQ(bKeyHookOn, 0);
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_TRUE(ShowsNothing());
    EXPECT_EQ(SetMouseHook(Notify(), &Record(), 1, nullptr, Overlay()), 1);
    EXPECT_EQ(SetKeyboardHook(Notify(), 1), 1);
    EXPECT_NE(SetKeyboardHook(Notify(), 0), 0);
    EXPECT_NE(TurnOff(), 0);
}

TEST_F(SetMouseHookTest, TurningOffRemovesTheHookAndShowsTheArrow) {
    UseMode(MODE_ELLIPSE, 1);
    ShowCursor(FALSE);
    ShowCursor(FALSE);
    const int nHostsCount = CursorDisplayCount();
    ASSERT_TRUE(TurnOn());
    EXPECT_GE(CursorDisplayCount(), 0) << "the cursor shows";
    // What the last selection left.
    rcSelection = kOtherSelection;
    ptBoxAnchor = POINT{140, 150};
    ptBoxCurrent = POINT{260, 250};
    szBox = SIZE{120, 100};
    bNewPolygon = 0;
    SetCursor(Untouched());

    EXPECT_NE(TurnOff(), 0);

    EXPECT_EQ(hMouseHook, nullptr);
    EXPECT_EQ(bMouseHookOn, 0);
    EXPECT_EQ(hwndOverlay, nullptr);
    EXPECT_EQ(bAdjustable, 0);
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_ARROW));
    EXPECT_EQ(CursorDisplayCount(), nHostsCount);
    EXPECT_EQ(rcSelection, kOtherSelection);
    EXPECT_EQ(ptBoxAnchor, (POINT{140, 150}));
    EXPECT_EQ(ptBoxCurrent, (POINT{260, 250}));
    EXPECT_EQ(szBox.cx, 120);
    EXPECT_EQ(szBox.cy, 100);
    EXPECT_EQ(bNewPolygon, 1) << "the next release begins a new polygon";
    EXPECT_EQ(pHostRecord, &Record());
    EXPECT_TRUE(ShowsNothing());
}

TEST_F(SetMouseHookTest, TurningOffWhileOffReturnsZero) {
    SetCursor(Untouched());
    EXPECT_EQ(TurnOff(), 0);
    EXPECT_EQ(GetCursor(), Untouched());
}

TEST_F(SetMouseHookTest, TakesAnInitialRectangleOnlyWhenItCanBeAdjusted) {
    struct Case {
        const char *pszWhat;
        int nMode;
        BOOL bAdjust;
        UINT nPoints;
        const RECT *pRect;
        bool bTaken;
    } const cases[] = {
        {"a rectangle", MODE_RECTANGLE, 1, 0, &kOtherSelection, true},
        {"an ellipse", MODE_ELLIPSE, 1, 0, &kOtherSelection, true},
        {"a window mode", 0, 1, 0, &kOtherSelection, true},
        {"a polygon with points", MODE_POLYGON, 1, 4, &kOtherSelection, true},
        {"no adjustment", MODE_RECTANGLE, 0, 0, &kOtherSelection, false},
        {"a polygon without points", MODE_POLYGON, 1, 0, &kOtherSelection, false},
        {"no rectangle", MODE_RECTANGLE, 1, 0, nullptr, false},
    };
    const RECT aEmpty[] = {
        {140, 150, 140, 250}, {140, 150, 260, 150}, {260, 150, 140, 250}, {140, 250, 260, 150}};
    auto check = [&](const char *pszWhat, int nMode, BOOL bAdjust, UINT nPoints, const RECT *pRect,
                     bool bTaken) {
        SCOPED_TRACE(pszWhat);
        UseMode(nMode, bAdjust);
        SPXFreePolyPoints(&Record().shape);
        for (UINT i = 0; i < nPoints; ++i)
            SPXAddPolyPoint(&Record().shape, &kPolygon[i]);
        rcSelection = kSelection;
        bSelectionShown = !bTaken;
        ASSERT_TRUE(TurnOn(pRect));
        EXPECT_EQ(rcSelection, (bTaken ? *pRect : RECT{0, 0, 0, 0}));
        EXPECT_EQ(bSelectionShown, bTaken ? 1 : 0);
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_TRUE(ShowsNothing());
        // The box would be shown at the next event; turning off first drops nothing.
        EXPECT_NE(TurnOff(), 0);
    };
    for (const Case &c : cases)
        check(c.pszWhat, c.nMode, c.bAdjust, c.nPoints, c.pRect, c.bTaken);
    for (const RECT &rc : aEmpty)
        check(("empty " + testing::PrintToString(rc)).c_str(), MODE_RECTANGLE, 1, 0, &rc, false);
}

TEST_F(SetMouseHookTest, TurningOffTakesAShownBoxAway) {
    UseMode(MODE_RECTANGLE, 1);
    ASSERT_TRUE(TurnOn());
    ShowInBox(MODE_RECTANGLE);
    ASSERT_FALSE(ScreenSnapshot::Take() == Start());
    EXPECT_NE(TurnOff(), 0);
    EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_TRUE(ShowsNothing());
}

TEST_F(SetMouseHookTest, TurningOffDropsTheBoxOfAnOverlayThatIsGone) {
    auto pOverlay = std::make_unique<PatternWindow>(RECT{560, 100, 760, 300});
    UseMode(MODE_RECTANGLE, 1);
    ASSERT_TRUE(TurnOn(nullptr, pOverlay->hwnd()));
    bSelectionShown = 1;
    rcSelection = RECT{600, 150, 700, 250};
    const POINT ptOffset = ClientOffset(pOverlay->hwnd());
    pResizingBox = new WatchedBox(&rcSelection, ptOffset.x, ptOffset.y, &Record().shape);
    ToggleBox(*pResizingBox, pOverlay->hwnd());
    pOverlay.reset();
    const ScreenSnapshot before = ScreenSnapshot::Take();
    EXPECT_NE(TurnOff(), 0);
    EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_TRUE(ScreenIs(before, "as it was"));
}

TEST_F(SetMouseHookTest, TurningOnDropsABoxLeftFromAnEarlierTimeWithoutDrawing) {
    rcSelection = kSelection;
    pResizingBox = new WatchedBox(&rcSelection, Offset().x, Offset().y, &Record().shape);
    UseMode(MODE_RECTANGLE, 1);
    ASSERT_TRUE(TurnOn());
    EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_TRUE(ShowsNothing());
    EXPECT_NE(TurnOff(), 0);
}

TEST_F(SetMouseHookTest, AnotherHostsClaimKeepsTheHookOffUntilItGoes) {
    {
        AnotherHostsClaim other(CLAIM_SELECTION);
        ASSERT_TRUE(other.Held());
        HostRecord othersRecord = {};
        pHostRecord = &othersRecord;
        UseMode(MODE_ELLIPSE, 1);
        EXPECT_EQ(SetMouseHook(Notify(), &Record(), TRUE, &kSelection, Overlay()), 0);
        EXPECT_EQ(pHostRecord, &othersRecord) << "nothing changed";
        EXPECT_EQ(bMouseHookOn, 0);
        EXPECT_EQ(hMouseHook, nullptr);
    }
    // The other host has ended, and its claim with it.
    ASSERT_TRUE(TurnOn());
    EXPECT_NE(TurnOff(), 0);
    EXPECT_TRUE(AnotherHostsClaim(CLAIM_SELECTION).Held()) << "turning off gives the claim up";
}

// --- The rubber band -----------------------------------------------------------------------------

using RubberBand = SelectionHookTest;

// A band is drawn on one display context for the whole gesture; every way the gesture can end
// gives it back.
TEST_F(RubberBand, EveryEndingOfAGestureReleasesItsDisplayContext) {
    PatternWindow own(RECT{600, 560, 700, 640});
    Record().hwndOwn = own.hwnd();
    const ScreenSnapshot start = ScreenSnapshot::Take();
    const std::pair<const char *, std::function<void()>> endings[] = {
        {"its release",
         [&] {
             Release(POINT{260, 250});
         }},
        {"its release while paused",
         [&] {
             Record().bPaused = 1;
             Release(POINT{260, 250});
             Record().bPaused = 0;
         }},
        {"a press on the panel, then its release",
         [&] {
             Mouse(WM_RBUTTONDOWN, POINT{650, 600}, own.hwnd());
             Release(POINT{260, 250});
         }},
        {"turning the hook off", [&] { EXPECT_NE(TurnOff(), 0); }},
    };
    for (const auto &ending : endings) {
        SCOPED_TRACE(ending.first);
        UseMode(MODE_ELLIPSE);
        ASSERT_TRUE(TurnOn());
        const DWORD dwObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        Press(POINT{150, 150});
        Move(POINT{200, 210});
        Move(POINT{260, 250});
        const HDC hdc = HeldGestureDC();
        ASSERT_NE(hdc, nullptr);
        ending.second();
        EXPECT_EQ(HeldGestureDC(), nullptr);
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), dwObjects);
        EXPECT_TRUE(ScreenIs(start, "as the test found it"));
        if (bMouseHookOn)
            EXPECT_NE(TurnOff(), 0);
        TakePosted();
    }
}

// Thousands of events of every kind leave the cursor display counter where it was.
TEST_F(RubberBand, EventsLeaveTheCursorDisplayCounterAlone) {
    const int nCount = CursorDisplayCount();
    for (int i = 0; i < 400; ++i) {
        UseMode(i % 8, i % 3 == 0);
        const POINT pt = {150 + i % 50, 150 + i % 40};
        Press(pt, i & 1);
        Move(Plus(pt, 30, 20));
        Release(Plus(pt, 30, 20), i & 1);
        Key(i % 5 == 0 ? VK_ESCAPE : 'A');
        Key(VK_ESCAPE);
    }
    EXPECT_EQ(CursorDisplayCount(), nCount);
    TakePosted();
    SPXFreePolyPoints(&Record().shape);
}

TEST_F(RubberBand, APressStartsABandOfNoSizeAtTheCursor) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        for (bool bRight : {false, true}) {
            SCOPED_TRACE("mode " + std::to_string(nMode) + (bRight ? ", right" : ", left"));
            UseMode(nMode);
            ptBoxAnchor = ptBoxCurrent = POINT{1, 2};
            szBox = SIZE{30, 40};
            const POINT pt = {170, 160};
            Press(pt, bRight);
            EXPECT_EQ(bButtonDown, 1);
            EXPECT_EQ(ptBoxAnchor, pt);
            EXPECT_EQ(ptBoxCurrent, pt);
            EXPECT_EQ(szBox.cx, 0);
            EXPECT_EQ(szBox.cy, 0);
            EXPECT_TRUE(ShowsExactly([&] { XorBox(pt.x, pt.y, pt.x, pt.y, bEllipse); }));
            EXPECT_TRUE(NothingToldTheHost());
            Release(pt, bRight);
            EXPECT_TRUE(OneSelectionPosted());
            EXPECT_TRUE(ShowsNothing());
        }
    }
}

TEST_F(RubberBand, TheBandFollowsTheCursorWhileTheButtonIsDown) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        UseMode(nMode);
        const POINT ptAnchor = {300, 260};
        Press(ptAnchor);
        for (const POINT &pt : {POINT{340, 300}, POINT{420, 390}, POINT{250, 200}, POINT{130, 380},
                                POINT{300, 260}, POINT{310, 150}}) {
            SCOPED_TRACE(testing::PrintToString(pt));
            Move(pt);
            EXPECT_EQ(ptBoxCurrent, pt);
            EXPECT_EQ(szBox.cx, pt.x - ptAnchor.x);
            EXPECT_EQ(szBox.cy, pt.y - ptAnchor.y);
            EXPECT_EQ(ptCursor, pt);
            EXPECT_TRUE(ShowsExactly([&] { XorOutline(Rect(ptAnchor, pt), bEllipse); }));
            if (nMode == MODE_RECTANGLE && pt.x > ptAnchor.x && pt.y > ptAnchor.y)
                EXPECT_EQ(ChangedPixels(Start(), ScreenSnapshot::Take()),
                          RectOutline(ptAnchor.x, ptAnchor.y, pt.x, pt.y));
        }
        EXPECT_TRUE(NothingToldTheHost());
        Release(POINT{310, 150});
        EXPECT_TRUE(OneSelectionPosted());
        EXPECT_TRUE(ShowsNothing());
    }
}

TEST_F(RubberBand, AReleaseCommitsTheRectangleOfTheLastMove) {
    struct Case {
        const char *pszWhat;
        POINT ptPress;
        std::vector<POINT> moves;
        POINT ptRelease;
        RECT rcExpected;
    } const cases[] = {
        {"a click", {150, 160}, {}, {150, 160}, {150, 160, 151, 161}},
        {"a drag to the right only",
         {150, 200},
         {{200, 200}, {250, 200}},
         {250, 200},
         {150, 200, 151, 201}},
        {"a drag down only", {150, 200}, {{150, 300}}, {150, 300}, {150, 200, 151, 201}},
        {"a drag up and to the left",
         {350, 360},
         {{330, 330}, {320, 310}},
         {320, 310},
         {320, 310, 350, 360}},
        {"a drag down and to the left", {350, 160}, {{300, 260}}, {300, 260}, {300, 160, 350, 260}},
        {"a release away from the last move",
         {150, 150},
         {{170, 190}},
         {175, 195},
         {150, 150, 170, 190}},
        {"a drag back to the anchor",
         {200, 200},
         {{260, 260}, {200, 200}},
         {200, 200},
         {200, 200, 201, 201}},
    };
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        for (bool bRight : {false, true}) {
            for (const Case &c : cases) {
                SCOPED_TRACE(std::string(c.pszWhat) + ", mode " + std::to_string(nMode) +
                             (bRight ? ", right" : ", left"));
                UseMode(nMode);
                SetCursor(Untouched());
                Press(c.ptPress, bRight);
                for (const POINT &pt : c.moves)
                    Move(pt);
                Release(c.ptRelease, bRight);
                EXPECT_EQ(rcSelection, c.rcExpected);
                EXPECT_TRUE(OneSelectionPosted());
                EXPECT_TRUE(ShowsNothing());
                EXPECT_EQ(bButtonDown, 0);
                EXPECT_EQ(bSelectionShown, 0);
                EXPECT_EQ(pResizingBox, nullptr);
                EXPECT_EQ(nCursorState, CS_DEFAULT);
                EXPECT_EQ(GetCursor(), LibraryCursor(IDC_DRAWCROSS));
            }
        }
    }
}

TEST_F(RubberBand, MovesWithoutAButtonDownOrWithASelectionShownDrawNothing) {
    UseMode(MODE_RECTANGLE);
    ptBoxAnchor = ptBoxCurrent = POINT{150, 150};
    Move(POINT{200, 220});
    EXPECT_TRUE(ShowsNothing());
    EXPECT_EQ(ptBoxCurrent, (POINT{150, 150}));

    ShowInBox(MODE_ELLIPSE);
    const ScreenSnapshot shown = ScreenSnapshot::Take();
    bButtonDown = 1;
    Move(POINT{200, 220});
    Move(kOutsideAll);
    EXPECT_TRUE(ScreenIs(shown, "the selection as shown"));
    EXPECT_EQ(ptBoxCurrent, (POINT{150, 150}));
    bButtonDown = 0;
    Key(VK_ESCAPE);
    EXPECT_TRUE(NothingToldTheHost());
}

TEST_F(RubberBand, WithAdjustmentTheReleaseShowsTheSelectionInABox) {
    PatternWindow own(RECT{600, 560, 700, 640});
    Record().hwndOwn = own.hwnd();
    const ScreenSnapshot start = ScreenSnapshot::Take();
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        UseMode(nMode, 1);
        SetWindowPos(Overlay(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_EQ(GetWindow(Overlay(), GW_HWNDPREV), nullptr);

        Press(POINT{380, 330});
        Move(POINT{200, 180});
        Move(POINT{180, 170});
        Release(POINT{180, 170});

        EXPECT_EQ(rcSelection, kSelection);
        EXPECT_EQ(bSelectionShown, 1);
        ASSERT_NE(pResizingBox, nullptr);
        EXPECT_EQ(pResizingBox->m_pTargetRect, &rcSelection);
        EXPECT_TRUE(NothingToldTheHost());
        EXPECT_TRUE(ShowsExactly(BoxedFigures(nMode, kSelection), start));
        EXPECT_EQ(GetWindow(own.hwnd(), GW_HWNDPREV), nullptr) << "the host's window is on top";
        // The cursor stands on the box's top-left pixel; the handles lie outside the box.
        EXPECT_EQ(nCursorState, CS_INSIDE);
        EXPECT_EQ(GetCursor(), LibraryCursor(IDC_INSIDEBOX));

        Key(VK_ESCAPE);
        EXPECT_TRUE(ScreenIs(start, "as the test found it"));
    }
}

TEST_F(RubberBand, APausedHostIgnoresPressesAndReleasesAndStopsTheBand) {
    UseMode(MODE_RECTANGLE);
    Record().bPaused = 1;
    nCursorState = CS_INSIDE;
    Press(POINT{150, 150});
    EXPECT_EQ(bButtonDown, 0);
    EXPECT_EQ(nCursorState, CS_DEFAULT);
    Move(POINT{200, 200});
    Release(POINT{200, 200});
    EXPECT_TRUE(ShowsNothing());
    EXPECT_TRUE(NothingToldTheHost());

    // A band already drawn stays where it is, and its release ends it: the band is erased and
    // nothing is completed.
    Record().bPaused = 0;
    Press(POINT{150, 150});
    Move(POINT{200, 210});
    Record().bPaused = 1;
    nCursorState = CS_INSIDE;
    Move(POINT{260, 260});
    EXPECT_EQ(nCursorState, CS_DEFAULT);
    EXPECT_EQ(ptBoxCurrent, (POINT{200, 210}));
    EXPECT_TRUE(ShowsExactly([] { XorBox(150, 150, 200, 210, 0); }));
    rcSelection = kOtherSelection;
    nCursorState = CS_INSIDE;
    Release(POINT{260, 260});
    EXPECT_EQ(bButtonDown, 0);
    EXPECT_EQ(nCursorState, CS_DEFAULT);
    EXPECT_EQ(rcSelection, kOtherSelection);
    EXPECT_TRUE(NothingToldTheHost());
    EXPECT_TRUE(ShowsNothing());
}

TEST_F(RubberBand, EscapeAndOtherKeysLeaveADragGoing) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        UseMode(nMode);
        Press(POINT{150, 150});
        Move(POINT{220, 200});
        for (DWORD dwKey : {DWORD(VK_ESCAPE), DWORD(VK_RETURN), DWORD('A'), DWORD(VK_TAB)})
            Key(dwKey);
        EXPECT_EQ(bButtonDown, 1);
        EXPECT_TRUE(ShowsExactly([&] { XorBox(150, 150, 220, 200, bEllipse); }));
        Move(POINT{260, 240});
        EXPECT_TRUE(ShowsExactly([&] { XorBox(150, 150, 260, 240, bEllipse); }));
        Release(POINT{260, 240});
        EXPECT_EQ(rcSelection, (RECT{150, 150, 260, 240}));
        EXPECT_TRUE(OneSelectionPosted());
        EXPECT_TRUE(ShowsNothing());
    }
}

// A move record carries its place: the band follows it even where the cursor cannot be read, and
// a key between two moves changes nothing of the band.
TEST_F(RubberBand, TheBandFollowsThePlaceOfEachMoveRecord) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        UseMode(nMode);
        Press(POINT{150, 150});
        Move(POINT{220, 200});
        SetCursorPos(260, 240);
        Key('A');
        {
            UnreadableCursor unreadable;
            ASSERT_TRUE(unreadable.Active());
            Move(POINT{300, 300});
        }
        EXPECT_TRUE(ShowsExactly([&] { XorBox(150, 150, 300, 300, bEllipse); }));
        Move(POINT{230, 210});
        Release(POINT{230, 210});
        EXPECT_EQ(rcSelection, (RECT{150, 150, 230, 210}));
        EXPECT_TRUE(OneSelectionPosted());
        EXPECT_TRUE(ShowsNothing());
    }
}

TEST_F(RubberBand, AfterADiscardingClickTheDragOfThatClickDrawsNothing) {
    UseMode(MODE_RECTANGLE);
    bSwallowUntilUp = 1;
    rcSelection = kOtherSelection;
    ptBoxAnchor = ptBoxCurrent = POINT{150, 150};
    bButtonDown = 1;
    nGestureButton = WM_LBUTTONDOWN;
    nCursorState = CS_INSIDE;
    Move(POINT{200, 200});
    EXPECT_EQ(nCursorState, CS_DEFAULT);
    EXPECT_TRUE(ShowsNothing());
    Release(POINT{200, 200});
    EXPECT_EQ(bSwallowUntilUp, 0);
    EXPECT_EQ(bButtonDown, 0);
    EXPECT_EQ(rcSelection, kOtherSelection);
    EXPECT_TRUE(NothingToldTheHost());

    // The next press starts a new band.
    Press(POINT{160, 170});
    Move(POINT{210, 230});
    EXPECT_TRUE(ShowsExactly([] { XorBox(160, 170, 210, 230, 0); }));
    Release(POINT{210, 230});
    EXPECT_EQ(rcSelection, (RECT{160, 170, 210, 230}));
    EXPECT_TRUE(OneSelectionPosted());
}

TEST_F(RubberBand, ModesWithoutAShapePostAClickWithoutDrawing) {
    for (int nMode : {0, 1, 2, 6, 7, 8, 100, -1}) {
        for (bool bRight : {false, true}) {
            SCOPED_TRACE("mode " + std::to_string(nMode) + (bRight ? ", right" : ", left"));
            UseMode(nMode);
            // The band words as they are after load.
            ptBoxAnchor = ptBoxCurrent = POINT{0, 0};
            szBox = SIZE{0, 0};
            Press(POINT{200, 200}, bRight);
            EXPECT_EQ(bButtonDown, 1);
            Move(POINT{250, 260});
            Release(POINT{250, 260}, bRight);
            EXPECT_EQ(bButtonDown, 0);
            EXPECT_EQ(rcSelection, (RECT{0, 0, 1, 1}));
            EXPECT_TRUE(OneSelectionPosted());
            EXPECT_TRUE(ShowsNothing());
        }
    }
}

TEST_F(RubberBand, AClickInAWindowModePostsTheRectangleOfTheLastBand) {
    UseMode(MODE_RECTANGLE);
    Press(POINT{10, 10});
    Move(POINT{40, 30});
    Release(POINT{40, 30});
    ASSERT_TRUE(OneSelectionPosted());
    for (int nMode : {0, 2}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        UseMode(nMode);
        rcSelection = kOtherSelection;
        Click(Centre(kSelection));
        EXPECT_EQ(rcSelection, (RECT{10, 10, 40, 30}));
        EXPECT_TRUE(OneSelectionPosted());
        EXPECT_TRUE(ShowsNothing());
    }
}

// --- Adjusting a rectangle or an ellipse in its box ----------------------------------------------

using BoxAdjust = SelectionHookTest;

TEST_F(BoxAdjust, AClickInsideConfirmsTheSelection) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        for (bool bRight : {false, true}) {
            SCOPED_TRACE("mode " + std::to_string(nMode) + (bRight ? ", right" : ", left"));
            WatchedBox::s_nDestroyed = 0;
            ShowInBox(nMode);
            Press(Centre(kSelection), bRight);
            EXPECT_TRUE(OneSelectionPosted());
            EXPECT_EQ(rcSelection, kSelection);
            EXPECT_TRUE(ShowsNothing());
            EXPECT_EQ(pResizingBox, nullptr);
            EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
            EXPECT_EQ(bSelectionShown, 0);
            EXPECT_EQ(nCursorState, CS_DEFAULT);
            Release(Centre(kSelection), bRight);
        }
    }
}

TEST_F(BoxAdjust, TheReleaseOfAConfirmingClickIsSwallowed) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        ShowInBox(nMode);
        // The band words of some earlier band: a completion would turn them into rcSelection.
        ptBoxAnchor = POINT{140, 150};
        ptBoxCurrent = POINT{260, 250};
        szBox = SIZE{120, 100};
        Press(Centre(kSelection));
        ASSERT_TRUE(OneSelectionPosted());
        EXPECT_EQ(bSwallowUntilUp, 1);
        EXPECT_EQ(bButtonDown, 1);
        Move(Plus(Centre(kSelection), 20, 10));
        Release(Plus(Centre(kSelection), 20, 10));
        EXPECT_EQ(rcSelection, kSelection) << "the host reads the confirmed rectangle";
        EXPECT_TRUE(NothingToldTheHost());
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_EQ(bSelectionShown, 0);
        EXPECT_EQ(bSwallowUntilUp, 0);
        EXPECT_EQ(bButtonDown, 0);
        EXPECT_TRUE(ShowsNothing());
    }
}

TEST_F(BoxAdjust, AClickOutsideDiscardsTheSelectionAndTheDragOfThatClick) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        WatchedBox::s_nDestroyed = 0;
        ShowInBox(nMode);
        const POINT ptOutside = {130, 390};
        Press(ptOutside);
        EXPECT_TRUE(ShowsNothing());
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
        EXPECT_EQ(bSelectionShown, 0);
        EXPECT_EQ(bSwallowUntilUp, 1);
        EXPECT_EQ(rcSelection, kSelection);
        Move(POINT{200, 300});
        Move(POINT{250, 260});
        EXPECT_TRUE(ShowsNothing()) << "the drag of the discarding click draws no band";
        Release(POINT{250, 260});
        EXPECT_EQ(bSwallowUntilUp, 0);
        EXPECT_EQ(rcSelection, kSelection);
        EXPECT_TRUE(NothingToldTheHost());

        Press(POINT{150, 140});
        Move(POINT{210, 230});
        EXPECT_TRUE(ShowsExactly([&] { XorBox(150, 140, 210, 230, bEllipse); }))
            << "the next press starts a new band";
        bAdjustable = 0;
        Release(POINT{210, 230});
        EXPECT_TRUE(OneSelectionPosted());
        EXPECT_EQ(rcSelection, (RECT{150, 140, 210, 230}));
        EXPECT_TRUE(ShowsNothing());
    }
}

TEST_F(BoxAdjust, DraggingAHandleMovesTheSelectionsOutlineAndFramesTheNewRectangle) {
    PatternWindow own(RECT{600, 560, 700, 640});
    Record().hwndOwn = own.hwnd();
    const ScreenSnapshot start = ScreenSnapshot::Take();
    const RECT rcNew = {180, 170, 410, 350};
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        WatchedBox::s_nDestroyed = 0;
        g_nProbes = 0;
        WatchedBox &box = ShowInBox(nMode);
        SetWindowPos(Overlay(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const POINT ptHandle = HandleCentre(box, 2); // bottom right
        BOOL bTrackingMidway = 0;
        QueueTrack({Plus(ptHandle, 10, 5), Plus(ptHandle, 30, 20)}, [&] {
            bTrackingMidway = bTracking;
            // Only the selection's own outline is on the screen while it is dragged.
            EXPECT_TRUE(ShowsExactly([&] { XorOutline(rcNew, nMode == MODE_ELLIPSE); }, start));
        });

        Press(ptHandle);

        EXPECT_EQ(g_nProbes, 1);
        EXPECT_EQ(bTrackingMidway, 1);
        EXPECT_EQ(bTracking, 0);
        EXPECT_EQ(bButtonDown, 0);
        EXPECT_EQ(rcSelection, rcNew);
        EXPECT_EQ(pResizingBox, &box);
        EXPECT_EQ(WatchedBox::s_nDestroyed, 0);
        EXPECT_EQ(bSelectionShown, 1);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_TRUE(NothingToldTheHost());
        EXPECT_TRUE(ShowsExactly(BoxedFigures(nMode, rcNew), start))
            << "afterwards the frame is around the new rectangle, and so is an ellipse";
        EXPECT_EQ(GetWindow(own.hwnd(), GW_HWNDPREV), nullptr) << "the host's window is on top";

        // The box goes on with the new rectangle.
        EXPECT_EQ(box.HitTestSelection(400, 340), SEL_HIT_INSIDE);
        Key(VK_RETURN);
        EXPECT_TRUE(OneSelectionPosted());
        EXPECT_EQ(rcSelection, rcNew);
        EXPECT_TRUE(ScreenIs(start, "as the test found it"));
    }
}

TEST_F(BoxAdjust, ATrackThatChangesNothingLeavesTheSelectionAsItWas) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        WatchedBox &box = ShowInBox(nMode);
        const ScreenSnapshot shown = ScreenSnapshot::Take();
        const POINT ptHandle = HandleCentre(box, 0);
        QueueTrack({ptHandle});
        Press(ptHandle);
        EXPECT_EQ(rcSelection, kSelection);
        EXPECT_EQ(pResizingBox, &box);
        EXPECT_TRUE(ScreenIs(shown, "the selection as shown"));
        Key(VK_ESCAPE);
    }
    EXPECT_TRUE(NothingToldTheHost());
}

TEST_F(BoxAdjust, EventsDuringATrackArePassedOnAndAPressOnTheHostsWindowOnlyResetsTheCursor) {
    PatternWindow own(RECT{600, 560, 700, 640});
    Record().hwndOwn = own.hwnd();
    const ScreenSnapshot start = ScreenSnapshot::Take();
    WatchedBox &box = ShowInBox(MODE_ELLIPSE);
    const POINT ptHandle = HandleCentre(box, 2);
    const RECT rcNew = {180, 170, 400, 360};
    QueueTrack({Plus(ptHandle, 20, 30)}, [&] {
        const ScreenSnapshot midway = ScreenSnapshot::Take();
        const POINT ptWas = ptCursor;
        nCursorState = CS_HANDLE;
        Press(Centre(kSelection));
        Release(Centre(kSelection));
        Key(VK_ESCAPE);
        Key(VK_RETURN);
        EXPECT_EQ(nCursorState, CS_HANDLE);
        EXPECT_EQ(ptCursor, ptWas);

        EVENTMSG event = {WM_LBUTTONDOWN, 650, 600, 0, own.hwnd()};
        SelectionHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&event));
        EXPECT_EQ(nCursorState, CS_DEFAULT);
        EXPECT_EQ(pResizingBox, &box);
        EXPECT_EQ(WatchedBox::s_nDestroyed, 0);
        EXPECT_EQ(bSelectionShown, 1);
        EXPECT_TRUE(ScreenIs(midway, "as it was midway"));
        EXPECT_TRUE(NothingToldTheHost());
    });

    Press(ptHandle);

    EXPECT_EQ(g_nProbes, 1);
    EXPECT_EQ(rcSelection, rcNew);
    EXPECT_EQ(pResizingBox, &box);
    EXPECT_TRUE(ShowsExactly(BoxedFigures(MODE_ELLIPSE, rcNew), start));
    Key(VK_ESCAPE);
    EXPECT_TRUE(ScreenIs(start, "as the test found it"));
}

// The host turns the hook off in the middle of a track and then scribbles over its record, as
// a host does that frees it: the box finishes the track on its own copies, erases its outline and
// goes, and never reads or writes the record again.
TEST_F(BoxAdjust, TurningTheHookOffDuringATrackDropsTheBoxWhenTheTrackReturns) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        WatchedBox::s_nDestroyed = 0;
        g_nProbes = 0;
        UseMode(nMode, 1);
        ASSERT_TRUE(TurnOn());
        WatchedBox &box = ShowInBox(nMode);
        const POINT ptHandle = HandleCentre(box, 2);
        HostRecord scribbled;
        std::memset(&scribbled, 0x5A, sizeof scribbled);
        QueueTrack({Plus(ptHandle, 20, 30)},
                   [&] {
                       EXPECT_NE(TurnOff(), 0);
                       EXPECT_EQ(WatchedBox::s_nDestroyed, 0)
                           << "the running track still uses the box";
                       Record() = scribbled;
                   },
                   {Plus(ptHandle, 40, 50)});

        Press(ptHandle);

        EXPECT_EQ(g_nProbes, 1);
        EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_EQ(bTracking, 0);
        EXPECT_EQ(bMouseHookOn, 0);
        EXPECT_EQ(std::memcmp(&Record(), &scribbled, sizeof scribbled), 0)
            << "the box wrote to the host's record after the hook was turned off";
        EXPECT_TRUE(ShowsNothing()) << "no outline and no frame are left";
        EXPECT_TRUE(NothingToldTheHost());
        Record() = HostRecord();
        pHostRecord = &Record();
    }
}

TEST_F(BoxAdjust, TurningTheHookOffAndOnDuringATrackLeavesTheNewSelectionAlone) {
    for (bool bChanged : {true, false}) {
        SCOPED_TRACE(bChanged ? "a track that changes the box" : "a track that changes nothing");
        WatchedBox::s_nDestroyed = 0;
        g_nProbes = 0;
        UseMode(MODE_RECTANGLE, 1);
        ASSERT_TRUE(TurnOn());
        WatchedBox &box = ShowInBox(MODE_RECTANGLE);
        const POINT ptHandle = HandleCentre(box, 2);
        QueueTrack({bChanged ? Plus(ptHandle, 20, 30) : ptHandle}, [&] {
            EXPECT_NE(TurnOff(), 0);
            EXPECT_TRUE(TurnOn(&kOtherSelection));
            EXPECT_EQ(WatchedBox::s_nDestroyed, 0) << "the running track still uses the box";
        });

        Press(ptHandle);

        EXPECT_EQ(g_nProbes, 1);
        EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_EQ(bMouseHookOn, 1);
        EXPECT_TRUE(ShowsNothing()) << "no outline and no frame are left";
        EXPECT_EQ(rcSelection, kOtherSelection) << "the new initial selection";
        EXPECT_EQ(bSelectionShown, 1);

        Move(kOutsideAll);
        ASSERT_NE(pResizingBox, nullptr);
        EXPECT_TRUE(ShowsExactly([] {}, ScreenSnapshot::Take()));
        EXPECT_TRUE(ShowsExactly(BoxedFigures(MODE_RECTANGLE, kOtherSelection)));
        EXPECT_NE(TurnOff(), 0);
        EXPECT_TRUE(NothingToldTheHost());
    }
}

TEST_F(BoxAdjust, EnterConfirmsAShownSelection) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        WatchedBox::s_nDestroyed = 0;
        ShowInBox(nMode);
        bSwallowUntilUp = 1;
        nCursorState = CS_INSIDE;
        Key(VK_RETURN);
        EXPECT_TRUE(OneSelectionPosted());
        EXPECT_EQ(rcSelection, kSelection);
        EXPECT_TRUE(ShowsNothing());
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
        EXPECT_EQ(bSelectionShown, 0);
        EXPECT_EQ(bSwallowUntilUp, 1) << "a click still held keeps its release swallowed";
        bSwallowUntilUp = 0;
        EXPECT_EQ(nCursorState, CS_DEFAULT);
    }
}

TEST_F(BoxAdjust, EnterWithNothingShownDoesNothing) {
    UseMode(MODE_ELLIPSE, 1);
    rcSelection = kSelection;
    bSwallowUntilUp = 1;
    nCursorState = CS_CLOSE;
    Key(VK_RETURN);
    EXPECT_TRUE(NothingToldTheHost());
    EXPECT_EQ(bSwallowUntilUp, 1);
    EXPECT_EQ(nCursorState, CS_CLOSE);
    EXPECT_TRUE(ShowsNothing());
    bSwallowUntilUp = 0;
    nCursorState = CS_DEFAULT;
}

TEST_F(BoxAdjust, EscapeDiscardsAShownSelectionWithoutTellingTheHost) {
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        WatchedBox::s_nDestroyed = 0;
        ShowInBox(nMode);
        bSwallowUntilUp = 1;
        nCursorState = CS_INSIDE;
        Key(VK_ESCAPE);
        EXPECT_TRUE(NothingToldTheHost());
        EXPECT_TRUE(ShowsNothing());
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_EQ(WatchedBox::s_nDestroyed, 1);
        EXPECT_EQ(bSelectionShown, 0);
        EXPECT_EQ(bSwallowUntilUp, 1) << "a click still held keeps its release swallowed";
        bSwallowUntilUp = 0;
        EXPECT_EQ(nCursorState, CS_DEFAULT);
        EXPECT_EQ(rcSelection, kSelection);
    }
}

TEST_F(BoxAdjust, OnlyTheLowByteOfTheKeyRecordNamesTheKey) {
    struct Case {
        DWORD dwParamL;
        bool bConfirms;
        bool bDiscards;
    } const cases[] = {
        {VK_RETURN, true, false}, {0x1C0D, true, false},   {0xFFFFFF0D, true, false},
        {VK_ESCAPE, false, true}, {0x011B, false, true},   {0xABCDEF1B, false, true},
        {0x0D00, false, false},   {0x1B00, false, false},  {0x010D - 0x0D + 'A', false, false},
        {VK_SPACE, false, false}, {VK_BACK, false, false}, {0, false, false},
    };
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        for (const Case &c : cases) {
            SCOPED_TRACE("mode " + std::to_string(nMode) + ", paramL " +
                         std::to_string(c.dwParamL));
            ShowInBox(nMode);
            const ScreenSnapshot shown = ScreenSnapshot::Take();
            Key(c.dwParamL);
            if (c.bConfirms) {
                EXPECT_TRUE(OneSelectionPosted());
            } else {
                EXPECT_TRUE(NothingToldTheHost());
            }
            if (c.bConfirms || c.bDiscards) {
                EXPECT_EQ(pResizingBox, nullptr);
                EXPECT_TRUE(ShowsNothing());
            } else {
                EXPECT_NE(pResizingBox, nullptr);
                EXPECT_EQ(bSelectionShown, 1);
                EXPECT_TRUE(ScreenIs(shown, "the selection as shown"));
                Key(VK_ESCAPE);
            }
        }
    }
}

TEST_F(BoxAdjust, APausedHostOnlyResetsTheCursorStateForPressesReleasesAndKeys) {
    WatchedBox &box = ShowInBox(MODE_ELLIPSE);
    const ScreenSnapshot shown = ScreenSnapshot::Take();
    Record().bPaused = 1;
    const POINT aPlaces[] = {Centre(kSelection), POINT{130, 390}, HandleCentre(box, 2)};
    for (const POINT &pt : aPlaces) {
        SCOPED_TRACE(testing::PrintToString(pt));
        for (bool bRight : {false, true}) {
            nCursorState = CS_INSIDE;
            Press(pt, bRight);
            EXPECT_EQ(nCursorState, CS_DEFAULT);
            EXPECT_EQ(bButtonDown, 0);
            nCursorState = CS_INSIDE;
            Release(pt, bRight);
            EXPECT_EQ(nCursorState, CS_DEFAULT);
        }
    }
    for (DWORD dwKey : {DWORD(VK_RETURN), DWORD(VK_ESCAPE), DWORD('A')}) {
        nCursorState = CS_INSIDE;
        Key(dwKey);
        EXPECT_EQ(nCursorState, CS_DEFAULT);
    }
    EXPECT_EQ(pResizingBox, &box);
    EXPECT_EQ(bSelectionShown, 1);
    EXPECT_EQ(rcSelection, kSelection);
    EXPECT_TRUE(ScreenIs(shown, "the selection as shown"));
    EXPECT_TRUE(NothingToldTheHost());
    Record().bPaused = 0;
    Key(VK_ESCAPE);
}

// A press acts on the place its record carries, even where the cursor cannot be read: outside the
// box it discards, and its release does nothing more.
TEST_F(BoxAdjust, APressActsOnThePlaceOfItsRecord) {
    ShowInBox(MODE_ELLIPSE);
    SetCursorPos(Centre(kSelection).x, Centre(kSelection).y);
    {
        UnreadableCursor unreadable;
        ASSERT_TRUE(unreadable.Active());
        EVENTMSG event = {WM_LBUTTONDOWN, 130, 390, 0, nullptr};
        SelectionHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&event));
    }
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_EQ(bSwallowUntilUp, 1);
    Release(POINT{130, 390});
    EXPECT_EQ(bButtonDown, 0);
    EXPECT_TRUE(ShowsNothing());
    EXPECT_TRUE(NothingToldTheHost());
}

TEST_F(BoxAdjust, AFinishedSelectionThatCannotBeBoxedIsCommittedAtOnce) {
    HWND hwndGone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    DestroyWindow(hwndGone);
    struct Case {
        const char *pszWhat;
        HWND hwndOverlayGiven;
        int nFailAllocation;
    } const cases[] = {{"no overlay window", nullptr, 0},
                       {"an overlay window that is gone", hwndGone, 0},
                       {"no memory for the box", Overlay(), 1}};
    for (int nMode : {MODE_RECTANGLE, MODE_ELLIPSE}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.pszWhat) + ", mode " + std::to_string(nMode));
            UseMode(nMode, 1);
            hwndOverlay = c.hwndOverlayGiven;
            Press(POINT{150, 140});
            Move(POINT{210, 230});
            g_nFailNothrowAllocation = c.nFailAllocation;
            Release(POINT{210, 230});
            g_nFailNothrowAllocation = 0;
            EXPECT_TRUE(OneSelectionPosted());
            EXPECT_EQ(rcSelection, (RECT{150, 140, 210, 230}));
            EXPECT_EQ(pResizingBox, nullptr);
            EXPECT_EQ(bSelectionShown, 0);
            EXPECT_EQ(nCursorState, CS_DEFAULT);
            EXPECT_TRUE(ShowsNothing());
        }
    }
}

// --- Window highlight ----------------------------------------------------------------------------

// Two striped windows beside the overlay, one above the other, and the window modes with
// highlighting on.
class WindowHighlight : public SelectionHookTest {
protected:
    static constexpr RECT kUpperRect = {560, 100, 760, 300};
    static constexpr RECT kLowerRect = {560, 320, 760, 520};

    void SetUp() override {
        SelectionHookTest::SetUp();
        m_pUpper = std::make_unique<PatternWindow>(kUpperRect);
        m_pLower = std::make_unique<PatternWindow>(kLowerRect);
        UseMode(0);
        Record().bHighlightWindows = 1;
        SettleScreen();
        m_startWithWindows = ScreenSnapshot::Take();
    }
    void TearDown() override {
        EXPECT_TRUE(ScreenIs(m_startWithWindows, "as the test found it"));
        m_pUpper.reset();
        m_pLower.reset();
        SelectionHookTest::TearDown();
    }

    HWND Upper() const { return m_pUpper->hwnd(); }
    HWND Lower() const { return m_pLower->hwnd(); }
    const ScreenSnapshot &StartWithWindows() const { return m_startWithWindows; }

    // The screen is as the test found it but for the frame of hwnd.
    testing::AssertionResult FramesOnly(HWND hwnd) {
        return ShowsExactly([hwnd] { SPXXORWindow(hwnd); }, m_startWithWindows);
    }

    // The host takes the frame off, as it does when the selection ends.
    void Unframe() {
        if (IsWindow(Record().hwndFramed))
            SPXXORWindow(Record().hwndFramed);
        Record().hwndFramed = Record().hwndUnderCursor = nullptr;
    }

    // Exactly one UM_SELECTION was sent, naming hwnd, and nothing was posted.
    testing::AssertionResult OneWindowReported(HWND hwnd) {
        const std::vector<Notice> posted = TakePosted();
        std::vector<Notice> sent;
        sent.swap(g_arrived);
        if (!posted.empty())
            return testing::AssertionFailure() << posted.size() << " UM_SELECTION were posted";
        if (sent.size() != 1)
            return testing::AssertionFailure() << sent.size() << " UM_SELECTION were sent";
        if (sent[0].wParam != reinterpret_cast<WPARAM>(hwnd) || sent[0].lParam != 0)
            return testing::AssertionFailure()
                   << "UM_SELECTION was sent with wParam " << sent[0].wParam << " and lParam "
                   << sent[0].lParam << ", not the window and 0";
        return testing::AssertionSuccess();
    }

private:
    std::unique_ptr<PatternWindow> m_pUpper;
    std::unique_ptr<PatternWindow> m_pLower;
    ScreenSnapshot m_startWithWindows;
};

TEST_F(WindowHighlight, MovingOntoAWindowFramesItAndTellsTheHostAtOnce) {
    for (int nMode : {0, 1, 6}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        UseMode(nMode);
        Move(Centre(kUpperRect));
        EXPECT_TRUE(OneWindowReported(Upper()));
        EXPECT_EQ(Record().hwndUnderCursor, Upper());
        EXPECT_EQ(Record().hwndFramed, Upper());
        EXPECT_TRUE(FramesOnly(Upper()));
        EXPECT_EQ(GetCursor(), HostsCursor());
        Unframe();
    }
}

TEST_F(WindowHighlight, MovingWithinTheFramedWindowSendsAndDrawsNothing) {
    Move(Centre(kUpperRect));
    ASSERT_TRUE(OneWindowReported(Upper()));
    PaintCounter paints(Upper());
    for (const POINT &pt : {POINT{570, 110}, POINT{750, 290}, POINT{600, 200}})
        Move(pt);
    EXPECT_TRUE(NothingToldTheHost());
    EXPECT_EQ(paints.Paints(), 0);
    EXPECT_TRUE(FramesOnly(Upper()));
    Unframe();
}

TEST_F(WindowHighlight, MovingToAnotherWindowMovesTheFrame) {
    Move(Centre(kUpperRect));
    ASSERT_TRUE(OneWindowReported(Upper()));
    {
        PaintCounter paints(Upper());
        Move(Centre(kLowerRect));
        EXPECT_GE(paints.Paints(), 1) << "the window that loses the frame repaints at once";
    }
    EXPECT_TRUE(OneWindowReported(Lower()));
    EXPECT_EQ(Record().hwndUnderCursor, Lower());
    EXPECT_EQ(Record().hwndFramed, Lower());
    EXPECT_TRUE(FramesOnly(Lower()));

    Move(Centre(kOverlayRect));
    EXPECT_TRUE(OneWindowReported(Overlay()));
    EXPECT_TRUE(FramesOnly(Overlay()));
    Unframe();
}

TEST_F(WindowHighlight, MovingOntoAChildWindowReportsTheChild) {
    // A static control would let WindowFromPoint see through it; a striped child does not.
    HWND hwndChild = CreateWindowExA(0, "SpxTestPattern", "", WS_CHILD | WS_VISIBLE, 20, 20, 80, 60,
                                     Upper(), nullptr, GetModuleHandleA(nullptr), nullptr);
    SettleScreen();
    const ScreenSnapshot start = ScreenSnapshot::Take();
    Move(POINT{kUpperRect.left + 150, kUpperRect.top + 150});
    ASSERT_TRUE(OneWindowReported(Upper()));
    Move(POINT{kUpperRect.left + 50, kUpperRect.top + 50});
    EXPECT_TRUE(OneWindowReported(hwndChild));
    EXPECT_EQ(Record().hwndFramed, hwndChild);
    EXPECT_TRUE(ShowsExactly([&] { SPXXORWindow(hwndChild); }, start));
    Unframe();
    DestroyWindow(hwndChild);
    SettleScreen();
}

TEST_F(WindowHighlight, WithoutHighlightingMovesDoNothingAndAClickIsStillPosted) {
    Record().bHighlightWindows = 0;
    Move(Centre(kUpperRect));
    Move(Centre(kLowerRect));
    EXPECT_TRUE(NothingToldTheHost());
    EXPECT_EQ(Record().hwndUnderCursor, nullptr);
    EXPECT_EQ(Record().hwndFramed, nullptr);
    EXPECT_TRUE(ScreenIs(StartWithWindows(), "as the test found it"));
    Click(Centre(kLowerRect));
    EXPECT_TRUE(OneSelectionPosted());
}

TEST_F(WindowHighlight, APausedHostStillSeesWindowsFramedButNoClicks) {
    UseMode(1);
    Record().bPaused = 1;
    Move(Centre(kUpperRect));
    EXPECT_TRUE(OneWindowReported(Upper()));
    EXPECT_TRUE(FramesOnly(Upper()));
    Press(Centre(kUpperRect));
    EXPECT_EQ(bButtonDown, 0);
    Key(VK_RETURN);
    Release(Centre(kUpperRect));
    EXPECT_EQ(bButtonDown, 0);
    EXPECT_EQ(nCursorState, CS_DEFAULT);
    EXPECT_TRUE(NothingToldTheHost());
    Move(Centre(kLowerRect));
    EXPECT_TRUE(OneWindowReported(Lower()));
    EXPECT_TRUE(FramesOnly(Lower()));
    Unframe();
}

TEST_F(WindowHighlight, AClickReportsTheWindowLastFramed) {
    Move(Centre(kLowerRect));
    ASSERT_TRUE(OneWindowReported(Lower()));
    Click(Centre(kLowerRect));
    EXPECT_TRUE(OneSelectionPosted());
    EXPECT_EQ(Record().hwndUnderCursor, Lower());
    EXPECT_TRUE(FramesOnly(Lower())) << "the click leaves the frame to the host";
    Unframe();
}

TEST_F(WindowHighlight, AFramedWindowThatIsGoneIsNotErased) {
    HWND hwndGone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    DestroyWindow(hwndGone);
    Record().hwndUnderCursor = Record().hwndFramed = hwndGone;
    Move(Centre(kUpperRect));
    EXPECT_TRUE(OneWindowReported(Upper()));
    EXPECT_EQ(Record().hwndUnderCursor, Upper());
    EXPECT_EQ(Record().hwndFramed, Upper());
    EXPECT_TRUE(FramesOnly(Upper()));
    Unframe();
}

TEST_F(WindowHighlight, TheWindowAlreadyReportedIsNotFramedAgain) {
    Record().hwndUnderCursor = Upper();
    Move(Centre(kUpperRect));
    EXPECT_TRUE(NothingToldTheHost());
    EXPECT_EQ(Record().hwndFramed, nullptr);
    EXPECT_TRUE(ScreenIs(StartWithWindows(), "as the test found it"));
    Move(Centre(kLowerRect));
    EXPECT_TRUE(OneWindowReported(Lower()));
    EXPECT_TRUE(FramesOnly(Lower()));
    Unframe();
}

TEST_F(WindowHighlight, TheOtherModesFollowNoWindow) {
    for (int nMode : {2, 7, 8, MODE_POLYGON, -1}) {
        SCOPED_TRACE("mode " + std::to_string(nMode));
        UseMode(nMode);
        Move(Centre(kUpperRect));
        Move(Centre(kLowerRect));
        EXPECT_TRUE(NothingToldTheHost());
        EXPECT_EQ(Record().hwndUnderCursor, nullptr);
        EXPECT_EQ(Record().hwndFramed, nullptr);
        EXPECT_TRUE(ScreenIs(StartWithWindows(), "as the test found it"));
        EXPECT_EQ(GetCursor(), IsDrawingMode(nMode) ? LibraryCursor(IDC_DRAWCROSS) : HostsCursor());
        Record().bPaused = 1;
        nCursorState = CS_INSIDE;
        Move(Centre(kUpperRect));
        EXPECT_EQ(nCursorState, CS_DEFAULT);
        Record().bPaused = 0;
    }
}

// --- Polygon mode --------------------------------------------------------------------------------

class PolygonMode : public SelectionHookTest {
protected:
    // Exactly one UM_SELECTION was posted, with the address of the host's shape, which holds
    // nCount vertices and their bounds.
    testing::AssertionResult OnePolygonPosted(UINT nCount) {
        const std::vector<Notice> posted = TakePosted();
        const SelectionShape &shape = Record().shape;
        if (posted.size() != 1 || posted[0].lParam != reinterpret_cast<LPARAM>(&shape))
            return testing::AssertionFailure() << posted.size() << " UM_SELECTION, not the shape";
        RECT rc;
        SPXCalcPolygonRect(&Record().shape, &rc);
        if (shape.nCount != nCount || !EqualRect(&shape.rcBounds, &rc) ||
            shape.ptCorner.x != rc.left || shape.ptCorner.y != rc.bottom)
            return testing::AssertionFailure() << shape.nCount << " vertices, bounds "
                                               << testing::PrintToString(shape.rcBounds);
        return testing::AssertionSuccess();
    }
    void ClickAll(const std::vector<POINT> &points) {
        for (const POINT &pt : points)
            Click(pt);
    }
    // kPolygon closed into its box, as a person does it.
    void CloseIntoBox() {
        UseMode(MODE_POLYGON, 1);
        ClickAll({kPolygon[0], kPolygon[1], kPolygon[2], kPolygon[3], kPolygon[0]});
        ASSERT_NE(pResizingBox, nullptr);
    }
    std::function<void()> ClosedPolygon() {
        return [this] { SPXXorPolyPoints(&Record().shape); };
    }
};

TEST_F(PolygonMode, TheOpenOutlineGrowsClickByClick) {
    UseMode(MODE_POLYGON);
    Click(kPolygon[0]);
    EXPECT_TRUE(ShowsExactly([] { SPXXorPoint(&kPolygon[0]); })) << "a marker, no edge";
    Click(kPolygon[1]);
    EXPECT_TRUE(ShowsExactly([] {
        SPXXorPoint(&kPolygon[0]);
        SPXXorLine(&kPolygon[0], &kPolygon[1]);
        SPXXorPoint(&kPolygon[1]);
    }));
    Move(Plus(kPolygon[1], 40, 40));
    EXPECT_EQ(Record().shape.nCount, 2u) << "moves place nothing";
    Key(VK_ESCAPE);
    EXPECT_EQ(Record().shape.nCount, 0u);
    EXPECT_TRUE(ShowsNothing());
    EXPECT_TRUE(NothingToldTheHost());
}

TEST_F(PolygonMode, ClosesNearTheFirstOrLastVertexAtTheFiftiethOrByEnter) {
    std::vector<POINT> fortyNine;
    for (int i = 0; i < 49; ++i)
        fortyNine.push_back(POINT{150 + 6 * (i % 7), 150 + 6 * (i / 7) + (i % 7 == 6 ? 0 : 3)});
    struct Case {
        const char *pszWhat;
        std::vector<POINT> clicks;
        bool bEnter;
        bool bCloses;
        UINT nCount;
    } const cases[] = {
        {"3 pixels from the first",
         {kPolygon[0], kPolygon[1], kPolygon[2], Plus(kPolygon[0], 3, -3)},
         false,
         true,
         3},
        {"4 pixels from the first",
         {kPolygon[0], kPolygon[1], kPolygon[2], Plus(kPolygon[0], 4, 0)},
         false,
         false,
         4},
        {"again on the last", {kPolygon[0], kPolygon[1], Plus(kPolygon[1], 1, 1)}, false, true, 2},
        {"near the only vertex", {kPolygon[0], Plus(kPolygon[0], 1, 1)}, false, false, 2},
        {"two on the first", {kPolygon[0], kPolygon[1], kPolygon[0]}, false, true, 2},
        {"Enter after two", {kPolygon[0], kPolygon[1]}, true, false, 2},
        {"Enter after three", {kPolygon[0], kPolygon[1], kPolygon[2]}, true, true, 3},
        {"the fiftieth on the first", fortyNine, false, false, 49},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pszWhat);
        UseMode(MODE_POLYGON);
        ClickAll(c.clicks);
        if (c.bEnter)
            Key(VK_RETURN);
        if (c.clicks.size() == 49) {
            Click(fortyNine[0]);
            EXPECT_TRUE(OnePolygonPosted(50));
        } else if (c.bCloses) {
            EXPECT_TRUE(OnePolygonPosted(c.nCount));
        } else {
            EXPECT_EQ(Record().shape.nCount, c.nCount);
            EXPECT_TRUE(NothingToldTheHost());
            Key(VK_ESCAPE);
            EXPECT_EQ(Record().shape.nCount, 0u);
        }
        EXPECT_TRUE(ShowsNothing());
        EXPECT_TRUE(NothingToldTheHost());
    }
}

TEST_F(PolygonMode, EscapeAtEveryPhaseLeavesNothing) {
    for (int nPhase = 0; nPhase < 4; ++nPhase) {
        SCOPED_TRACE("phase " + std::to_string(nPhase));
        UseMode(MODE_POLYGON, 1);
        if (nPhase == 1)
            Click(kPolygon[0]);
        if (nPhase == 2)
            ClickAll({kPolygon[0], kPolygon[1], kPolygon[2]});
        if (nPhase == 3) {
            CloseIntoBox();
            Move(kPolygon[1]); // with a hover marker
        }
        Key(VK_ESCAPE);
        EXPECT_EQ(Record().shape.nCount, 0u);
        EXPECT_EQ(pResizingBox, nullptr);
        EXPECT_TRUE(ShowsNothing());
        EXPECT_TRUE(NothingToldTheHost());
    }
}

// A polygon in its box: one hover marker at a time, a marked vertex dragged beyond the box grows
// the box, a handle stretches every vertex, and a click inside confirms with nothing left behind.
TEST_F(PolygonMode, InItsBoxAVertexIsMarkedDraggedAndStretched) {
    CloseIntoBox();
    Move(kOutsideAll);
    const RECT rcBox = kPolygonBounds;
    const auto boxed = [&] {
        XorFrame(rcSelection);
        SPXXorPolyPoints(&Record().shape);
    };
    EXPECT_TRUE(ShowsExactly(boxed));
    Move(Plus(kPolygon[1], 2, -2));
    EXPECT_TRUE(ShowsExactly([&] {
        boxed();
        XorVertexMarker(kPolygon[1]);
    }));
    Move(kPolygon[2]);
    EXPECT_EQ(nMarkedVertex, 1) << "the marker stays until the cursor leaves every vertex";
    Move(Centre(rcBox));
    EXPECT_EQ(bVertexMarked, 0);
    EXPECT_TRUE(ShowsExactly(boxed));

    Move(kPolygon[1]);
    const POINT ptBeyond = {rcBox.right + 30, kPolygon[1].y - 10};
    QueueTrack({ptBeyond});
    Press(kPolygon[1]);
    EXPECT_EQ(Record().shape.aPoints[1], ptBeyond);
    EXPECT_EQ(rcSelection.right, ptBeyond.x);
    EXPECT_EQ(Record().shape.rcBounds, rcSelection);
    EXPECT_EQ(Record().shape.ptCorner, (POINT{rcSelection.left, rcSelection.bottom}));
    EXPECT_EQ(bButtonDown, 0);

    Move(Centre(rcBox));
    const RECT rcBefore = rcSelection;
    const POINT ptHandle = HandleCentre(*pResizingBox, 2);
    QueueTrack({Plus(ptHandle, 20, 30)});
    Press(ptHandle);
    EXPECT_EQ(rcSelection.right, rcBefore.right + 20);
    EXPECT_EQ(rcSelection.bottom, rcBefore.bottom + 30);
    EXPECT_EQ(Record().shape.aPoints[0], kPolygon[0]) << "the top-left stays";
    EXPECT_EQ(Record().shape.aPoints[1].x, rcSelection.right) << "the right-most follows";
    EXPECT_EQ(Record().shape.aPoints[2].y, rcSelection.bottom) << "the lowest follows";
    EXPECT_EQ(Record().shape.rcBounds, rcSelection);
    EXPECT_TRUE(ShowsExactly(boxed));

    Click(Centre(rcBox));
    EXPECT_TRUE(OnePolygonPosted(4));
    EXPECT_EQ(Record().shape.nCount, 4u) << "the confirming release adds no vertex";
    EXPECT_EQ(pResizingBox, nullptr);
    EXPECT_TRUE(ShowsNothing());
}

} // namespace
