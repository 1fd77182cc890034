// What the mouse-move path costs, beside its floor: each event of the selection hook as the
// platform delivers it, and what the same event cannot do without (handing the event on, and the
// outlines it moves drawn on a context already held). Medians over many repetitions, with the
// cursor put in place outside the timed call; figures only, nothing is asserted. Both hook paths:
// the journal-record procedure, and the low-level callback with the delivery of its message.
// Last, what the low-level hooks cost other programs: their mouse moves timed with and without.
#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "input/hook_paths.h"
#include "input/journal_input.h"
#include "input/lowlevel_input.h"
#include "selection/gesture.h"
#include "selection/shown_box.h"
#include "shape/polygon_list.h"
#include "tracker/resizing_box.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const int kRuns = 1500;

double Now() {
    LARGE_INTEGER freq, t;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1e6 / double(freq.QuadPart);
}

double MedianOf(std::vector<double> &samples) {
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

// Median microseconds of an event and of its floor, timed in turns so that both see the same
// load of the machine.
struct Timing {
    double dEvent;
    double dFloor;
};
Timing Median(const std::function<void(int)> &fnEvent, const std::function<void(int)> &fnFloor) {
    std::vector<double> events, floors;
    for (int i = 0; i < kRuns; ++i) {
        double t0 = Now();
        fnEvent(i);
        events.push_back(Now() - t0);
        t0 = Now();
        fnFloor(i);
        floors.push_back(Now() - t0);
    }
    return Timing{MedianOf(events), MedianOf(floors)};
}

HostRecord g_record;
bool g_bLowLevel = false;

// One event through the selection hook on the path being measured. On the low-level path the
// callback posts the event and the message is delivered as the host's loop would.
void Deliver(UINT nMessage, POINT pt) {
    if (!g_bLowLevel) {
        EVENTMSG event = {nMessage, UINT(pt.x), UINT(pt.y), 0, nullptr};
        SelectionHookProc(HC_ACTION, nMessage, reinterpret_cast<LPARAM>(&event));
        return;
    }
    MSLLHOOKSTRUCT mouse = {};
    mouse.pt = pt;
    mouse.time = GetTickCount();
    SelectionMouseProc(HC_ACTION, nMessage, reinterpret_cast<LPARAM>(&mouse));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// A key going down or up through the selection hook, as Shift does before a move with it held.
void DeliverKey(UINT nMessage, UINT nVk) {
    if (g_bLowLevel) {
        KBDLLHOOKSTRUCT key = {};
        key.vkCode = nVk == VK_SHIFT ? VK_LSHIFT : nVk;
        SelectionKeyProc(HC_ACTION, nMessage, reinterpret_cast<LPARAM>(&key));
        return;
    }
    EVENTMSG event = {nMessage, nVk, 1, 0, nullptr};
    SelectionHookProc(HC_ACTION, nMessage, reinterpret_cast<LPARAM>(&event));
}

void DeliverKeyUp() {
    if (g_bLowLevel) {
        KBDLLHOOKSTRUCT key = {};
        key.vkCode = 'A';
        SelectionKeyProc(HC_ACTION, WM_KEYUP, reinterpret_cast<LPARAM>(&key));
        return;
    }
    EVENTMSG event = {WM_KEYUP, 'A', 1, 0, nullptr};
    SelectionHookProc(HC_ACTION, WM_KEYUP, reinterpret_cast<LPARAM>(&event));
}

POINT Wiggle(int i, POINT pt) {
    return POINT{pt.x + (i & 7), pt.y + ((i >> 3) & 3)};
}

struct Row {
    const char *pszName;
    Timing timing;
};

void Print(const char *pszPath, const std::vector<Row> &rows) {
    std::printf("\n%s path                     event us   floor us   ratio\n", pszPath);
    for (const Row &row : rows)
        std::printf("  %-32s %8.2f   %8.2f   %5.2f\n", row.pszName, row.timing.dEvent,
                    row.timing.dFloor, row.timing.dEvent / row.timing.dFloor);
}

std::vector<Row> MeasurePath(HWND hwndOverlayWindow) {
    std::vector<Row> rows;
    EVENTMSG bare = {WM_MOUSEMOVE, 0, 0, 0, nullptr};
    const auto passOn = [&] {
        CallNextHookEx(nullptr, HC_ACTION, 0, reinterpret_cast<LPARAM>(&bare));
    };
    // The low-level path cannot do without posting the event and taking it from the queue.
    HWND hwndRoundTrip =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Taking messages after drawing hands what was drawn to the display, which costs as much as
    // the drawing: whatever an event draws, its floor draws before the round trip.
    const auto roundTrip = [&] {
        if (!g_bLowLevel)
            return;
        PostMessageA(hwndRoundTrip, WM_NULL, 0, 0);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    };
    const auto floor = [&](int) {
        passOn();
        roundTrip();
    };
    ScreenDC dc = CreateXorDisplayDC();
    const auto move = [](int i) { Deliver(WM_MOUSEMOVE, Wiggle(i, {300, 300})); };

    // Moves that draw nothing and look nothing up, and one that looks up the window.
    g_record.shape.nMode = 2;
    rows.push_back({"move, mode 2", Median(move, floor)});
    g_record.shape.nMode = MODE_RECTANGLE;
    rows.push_back({"move, rectangle, no button", Median(move, floor)});
    g_record.shape.nMode = 0;
    g_record.bHighlightWindows = 1;
    rows.push_back({"move, window mode, same window", Median(move, floor)});
    g_record.bHighlightWindows = 0;
    rows.push_back(
        {"key-up, passed through", Median([](int) { DeliverKeyUp(); }, [&](int) { passOn(); })});

    // The rubber band: two outlines per move; once more with the live rectangle posted to a
    // window of the host, and with Shift held (a square: the floor draws the same squares).
    const struct {
        const char *pszName;
        int nMode;
        bool bLive;
        bool bShift;
        DWORD dwOptions;
    } bands[] = {
        {"band move, rectangle", MODE_RECTANGLE, false, false, 0},
        {"band move, ellipse", MODE_ELLIPSE, false, false, 0},
        {"band move, rectangle, live rect", MODE_RECTANGLE, true, false, 0},
        {"band move, rectangle, Shift held", MODE_RECTANGLE, false, true, 0},
        {"band move, rectangle, snapping", MODE_RECTANGLE, false, false, SPX_OPT_SNAP_EDGES},
        {"band move, rectangle, loupe", MODE_RECTANGLE, false, false, SPX_OPT_LOUPE}};
    for (const auto &band : bands) {
        g_record.shape.nMode = band.nMode;
        bEllipse = band.nMode == MODE_ELLIPSE;
        if (band.bLive)
            SetTrackingNotify(hwndRoundTrip, WM_APP + 1);
        SetSelectionOptions(band.dwOptions);
        Deliver(WM_LBUTTONDOWN, POINT{200, 200});
        if (band.bShift)
            DeliverKey(WM_KEYDOWN, VK_SHIFT);
        Deliver(WM_MOUSEMOVE, POINT{421, 330});
        const auto bottom = [&](int x) { return band.bShift ? x : 330; };
        const Timing timing = Median(
            [](int i) {
                Deliver(WM_MOUSEMOVE, POINT{420 + (i & 1), 330});
            },
            [&](int i) {
                passOn();
                DrawBoxShape(dc.get(), 200, 200, 420 + (i & 1), bottom(420 + (i & 1)), bEllipse);
                DrawBoxShape(dc.get(), 200, 200, 421 - (i & 1), bottom(421 - (i & 1)), bEllipse);
                roundTrip();
            });
        Deliver(WM_LBUTTONUP, POINT{420, 330});
        if (band.bShift)
            DeliverKey(WM_KEYUP, VK_SHIFT);
        SetSelectionOptions(0);
        SetTrackingNotify(nullptr, 0);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, UM_SELECTION, UM_SELECTION, PM_REMOVE)) {
        }
        rows.push_back({band.pszName, timing});
    }

    // A closed polygon of eight vertices in its box: hover moves, and a stretch step.
    g_record.shape.nMode = MODE_POLYGON;
    SPXFreePolyPoints(&g_record.shape);
    const POINT aPolygon[] = {{200, 200}, {300, 180}, {420, 220}, {440, 320},
                              {380, 400}, {280, 420}, {210, 380}, {190, 300}};
    for (const POINT &pt : aPolygon)
        SPXAddPolyPoint(&g_record.shape, &pt);
    SPXCalcPolygonRect(&g_record.shape, &rcSelection);
    bSelectionShown = 1;
    bAdjustable = 1;
    hwndOverlay = hwndOverlayWindow;
    ShowResizingBox();
    SPXXorPolyPoints(&g_record.shape);
    rows.push_back(
        {"hover move over a boxed polygon", Median(
                                                [](int i) {
                                                    Deliver(WM_MOUSEMOVE, Wiggle(i, {320, 300}));
                                                },
                                                floor)});
    SnapixResizingBox &box = *pResizingBox;
    box.SetOutlineDC(dc.get());
    const RECT rcBox = box.m_rect;
    rows.push_back({"polygon stretch step", Median(
                                                [&](int i) {
                                                    RECT rc = rcBox;
                                                    rc.right += 10 + (i & 1);
                                                    box.DrawTrackerRect(&rc, nullptr, nullptr,
                                                                        nullptr);
                                                },
                                                [&](int) {
                                                    XorPolygonOn(dc.get(), *box.m_pShapeCopy, true);
                                                    XorPolygonOn(dc.get(), *box.m_pShapeCopy, true);
                                                })});
    RECT rcBack = rcBox;
    box.DrawTrackerRect(&rcBack, nullptr, nullptr, nullptr);
    box.SetOutlineDC(nullptr);
    EraseDrawn(MODE_POLYGON);
    DestroyWindow(hwndRoundTrip);
    return rows;
}

// The low-level callbacks by themselves, on the hooks' thread as the platform calls them, beside
// what any low-level hook must do (hand the event on). Moves merge in the queue, so it does not
// grow; what waits is taken afterwards.
std::vector<Row> MeasureCallbacks() {
    std::vector<Row> rows;
    MSLLHOOKSTRUCT mouse = {};
    KBDLLHOOKSTRUCT key = {};
    key.vkCode = 'A';
    const auto passOn = [](WPARAM wParam, const void *p) {
        CallNextHookEx(nullptr, HC_ACTION, wParam, reinterpret_cast<LPARAM>(p));
    };
    rows.push_back({"move noted", Median(
                                      [&](int i) {
                                          mouse.pt = Wiggle(i, {300, 300});
                                          mouse.time = GetTickCount();
                                          SelectionMouseProc(HC_ACTION, WM_MOUSEMOVE,
                                                             reinterpret_cast<LPARAM>(&mouse));
                                      },
                                      [&](int) { passOn(WM_MOUSEMOVE, &mouse); })});
    rows.push_back(
        {"another program's key, passed on",
         Median(
             [&](int) { SelectionKeyProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&key)); },
             [&](int) { passOn(WM_KEYDOWN, &key); })});
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    return rows;
}

// Another program's input while the host's thread pumps or sleeps: a window of a thread of its
// own times each mouse move from SendInput to its window procedure. A thread of its own sends
// the moves, one every 50 ms, each after the last has arrived.
const int kTimedMoves = 30;
HANDLE g_hMoveSeen = nullptr;
volatile double g_dSent = 0;
volatile double g_dArrived = 0;

LRESULT CALLBACK TimedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MOUSEMOVE) {
        g_dArrived = Now();
        SetEvent(g_hMoveSeen);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

DWORD WINAPI TimedWindowThread(LPVOID pReady) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TimedWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SpxBenchOtherProgram";
    RegisterClassA(&wc);
    CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                    600, 400, 200, 150, nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(HANDLE(pReady));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}

DWORD WINAPI SendTimedMoves(LPVOID pDelays) {
    auto &delays = *static_cast<std::vector<double> *>(pDelays);
    const int cx = GetSystemMetrics(SM_CXVIRTUALSCREEN), cy = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    for (int i = 0; i < kTimedMoves; ++i) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx =
            ((650 + 20 * (i & 1) - GetSystemMetrics(SM_XVIRTUALSCREEN)) * 65536 + cx - 1) / cx;
        in.mi.dy = ((450 - GetSystemMetrics(SM_YVIRTUALSCREEN)) * 65536 + cy - 1) / cy;
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
        ResetEvent(g_hMoveSeen);
        g_dSent = Now();
        SendInput(1, &in, sizeof(in));
        const bool bSeen = WaitForSingleObject(g_hMoveSeen, 5000) == WAIT_OBJECT_0;
        delays.push_back(bSeen ? (g_dArrived - g_dSent) / 1000 : 5000);
        Sleep(50);
    }
    return 0;
}

// The moves' delays in milliseconds, this thread asleep for nSleepMs as they begin, pumping
// otherwise.
std::vector<double> TimeOtherProgramsMoves(DWORD nSleepMs) {
    std::vector<double> delays;
    HANDLE hSender = CreateThread(nullptr, 0, SendTimedMoves, &delays, 0, nullptr);
    if (nSleepMs)
        Sleep(nSleepMs);
    while (MsgWaitForMultipleObjects(1, &hSender, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    CloseHandle(hSender);
    return delays;
}

void PrintOtherProgramsMoves() {
    g_hMoveSeen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE hReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD dwWindowThread = 0;
    HANDLE hWindowThread = CreateThread(nullptr, 0, TimedWindowThread, hReady, 0, &dwWindowThread);
    WaitForSingleObject(hReady, 5000);
    std::printf(
        "\nanother program's mouse moves, SendInput to its window   median ms   worst ms\n");
    const auto print = [](const char *pszName, std::vector<double> delays) {
        const double dWorst = *std::max_element(delays.begin(), delays.end());
        std::printf("  %-52s %8.2f   %8.2f\n", pszName, MedianOf(delays), dWorst);
    };
    print("no hook", TimeOtherProgramsMoves(0));
    g_record.shape.nMode = MODE_RECTANGLE;
    if (InstallSelectionHook()) {
        print("low-level hook, host pumping", TimeOtherProgramsMoves(0));
        print("low-level hook, host asleep 1.5 s", TimeOtherProgramsMoves(1500));
        RemoveSelectionHook();
    }
    PostThreadMessageA(dwWindowThread, WM_QUIT, 0, 0);
    WaitForSingleObject(hWindowThread, 5000);
    CloseHandle(hWindowThread);
    CloseHandle(hReady);
    CloseHandle(g_hMoveSeen);
}

} // namespace

int main() {
    hResourceModule = GetModuleHandleA(nullptr);
    pHostRecord = &g_record;
    bMouseHookOn = 1;
    hwndNotify =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HWND hwndOverlayWindow =
        CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                        GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    const int nCursorCount = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);

    Print("journal-record", MeasurePath(hwndOverlayWindow));

    SetEnvironmentVariableA("SPXHK_HOOKS", "lowlevel");
    if (InstallSelectionHook()) {
        // The callback is called here by hand: the platform's own calls, for the input that
        // other programs make meanwhile, are not to be timed with it.
        UnhookWindowsHookEx(hMouseHook);
        UnhookWindowsHookEx(hMouseKeyHook);
        g_bLowLevel = true;
        Print("low-level", MeasurePath(hwndOverlayWindow));
        Print("low-level callback alone (what every program's input waits for)",
              MeasureCallbacks());
        RemoveSelectionHook();
    } else {
        std::printf("\nlow-level path: the hooks could not be installed\n");
    }
    PrintOtherProgramsMoves();

    const int nAfter = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    std::printf("\ncursor display counter: %d before, %d after %d events\n", nCursorCount, nAfter,
                2 * 8 * kRuns);
    DestroyWindow(hwndOverlayWindow);
    DestroyWindow(hwndNotify);
    return 0;
}
