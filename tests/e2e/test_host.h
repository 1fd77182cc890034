// A host program as the library's users write one: it loads SPXHK110.dll by name, owns a
// full-screen overlay window (with two child windows), a notification window and a small window
// of its own, and hears of everything through window messages. Input comes from SendInput on a
// second thread, one event at a time, while this thread runs the message loop.
#pragma once

#include "spxhk110.h"

#include "screen_snapshot.h"

#include <functional>
#include <initializer_list>
#include <vector>

// What the notification window received.
struct HostMessage {
    UINT nMessage;
    WPARAM wParam;
    LPARAM lParam;
    RECT rcAtArrival; // for a UM_SELECTION with an address: the rectangle read on arrival (a
                      // polygon's rcBounds)
    bool bHasRect;
    UINT nVertices; // for a polygon: nCount on arrival
};

// What the host does between two input events, on its own thread.
// BusySending and BusyPeeking stall the host's thread for the step's milliseconds: waiting in a
// SendMessage to a window of another thread, or peeking at its queue without taking anything.
// Either way the low-level hooks' callbacks still run, and nothing posted is delivered. Asleep
// stalls it without taking anything at all (a plain Sleep). Look notes where the screen differs
// from the baseline now (Seen()), and keeps the screen (Looks()).
enum class HostAction {
    Pause,
    Unpause,
    HookOff,
    HookOn,
    EscapeHookOn,
    BusySending,
    BusyPeeking,
    Asleep,
    Look,
    Options, // SetSelectionOptions with the step's number
    Windows, // shows (bit 1) a read-out of the host's thread at (600, 400, 700, 450), (bit 2) a
             // desktop window of another thread behind everything; 0 hides both
    Shape    // SetSelectionShape with the preset of the step's number (test_host.cpp)
};

// One step of a gesture, in screen coordinates, or something the host does in its middle.
struct InputStep {
    enum Kind {
        Move,
        LeftDown,
        LeftUp,
        RightDown,
        RightUp,
        Key,
        Host,
        Wait,
        KeyDown,
        KeyUp,
        Wheel
    } kind;
    int x, y; // Move; x: the milliseconds of a Wait or of a busy host; Key: modifiers held; Wheel:
              // notches away from the person
    WORD nVk; // Key: pressed and released; KeyDown, KeyUp: held down, let go
    HostAction action;
    bool bQuick;  // the next step follows after a millisecond, as fast as a person moves
    bool bAtOnce; // Key: every key event in one SendInput, as macro and automation tools send them
};

InputStep MoveTo(int x, int y);
InputStep LeftDown();
InputStep LeftUp();
InputStep RightDown();
InputStep RightUp();
InputStep KeyPress(WORD nVk);
// nVk pressed and released while the modifier keys (VK_SHIFT, VK_CONTROL; 0: none) are held.
InputStep KeyWith(WORD nModifier, WORD nVk, WORD nSecondModifier = 0);
// The same, sent in one batch.
InputStep KeysAtOnce(WORD nModifier, WORD nVk, WORD nSecondModifier = 0);
InputStep HoldKey(WORD nVk);
InputStep LetGoKey(WORD nVk);
InputStep HostDoes(HostAction action, int nMilliseconds = 0);
InputStep WheelNotches(int n);
InputStep WaitFor(int nMilliseconds);
// Press at (x, y), move through the points, release at the last one.
std::vector<InputStep> Drag(POINT ptFrom, std::initializer_list<POINT> moves);
std::vector<InputStep> Click(int x, int y);
// The second monitor of the test bed, if any: left of the primary (the virtual screen starts at
// x -800) or above it (at y -600).
enum { MONITOR_NONE, MONITOR_LEFT, MONITOR_ABOVE };
int OtherMonitor();
// Places for gestures written for a monitor left of the primary, put where they belong on this
// bed: unchanged where the second monitor is on the left, x and y swapped where it is above (so
// that x -500 lies 500 pixels up on the monitor above).
POINT OnBed(POINT pt);
RECT OnBed(const RECT &rc);
// Where the overlay's third child stands: on the second monitor; empty where there is none.
RECT OtherMonitorChild();

// A top-level window made per-monitor DPI aware, at a physical place.
HWND PerMonitorWindow(const RECT &rcPhysical, DWORD dwStyle);
// Where this thread sees the physical screen rectangle: its own coordinates for it.
RECT HostViewOf(const RECT &rcPhysical);
// The primary monitor's DPI, as a per-monitor aware program is told it.
int PhysicalDpi();

// n moves from one point to another, a millisecond apart (the last one at ptTo).
std::vector<InputStep> Sweep(POINT ptFrom, POINT ptTo, int n);
// The steps, each followed at once by the next.
std::vector<InputStep> Quickly(std::vector<InputStep> steps);

class TestHost {
public:
    TestHost();
    ~TestHost();
    TestHost(const TestHost &) = delete;
    TestHost &operator=(const TestHost &) = delete;

    bool Loaded() const { return m_hDll != nullptr; }

    // The exports, as a host resolves them with GetProcAddress.
    decltype(&SetMouseHook) pfnSetMouseHook = nullptr;
    decltype(&SetKeyboardHook) pfnSetKeyboardHook = nullptr;
    decltype(&SPXXORWindow) pfnXorWindow = nullptr;
    decltype(&SetTrackingNotify) pfnSetTrackingNotify = nullptr;
    decltype(&SetSelectionOptions) pfnSetSelectionOptions = nullptr;
    decltype(&SetSelectionShape) pfnSetSelectionShape = nullptr;
    decltype(&PhysicalToHostRect) pfnPhysicalToHostRect = nullptr;
    int nShapeResult = 0; // what SetSelectionShape returned last
    // Messages from the library that found this thread in another DPI awareness than its own.
    int ForeignAwareness() const { return m_nForeignAwareness; }
    // The message the live rectangle comes with, when the host asks for it.
    static const UINT kLiveRectMessage = WM_APP + 60;
    // The live rectangles received, in order (all 0: the selection ended).
    std::vector<RECT> LiveRects() const;

    // Fills the record and turns the selection hook on with this host's windows.
    int StartSelection(int nMode, BOOL bAdjustable, BOOL bHighlight = FALSE,
                       const RECT *pInitialRect = nullptr);
    int StopSelection();

    // Sends the steps from another thread, one every few milliseconds, while this thread runs
    // the message loop; returns when all were sent and the loop has gone idle again.
    void Play(const std::vector<InputStep> &steps);
    // Runs the message loop for a while.
    void Pump(DWORD nMilliseconds);

    HostRecord &Record() { return m_record; }
    HWND Overlay() const { return m_hwndOverlay; }
    HWND Notify() const { return m_hwndNotify; }
    HWND Own() const { return m_hwndOwn; }
    HWND OwnButton() const { return m_hwndOwnButton; }
    // The host turns the selection hook off as soon as a selection reaches it.
    void StopOnSelection(bool bStop) { m_bStopOnSelection = bStop; }
    HWND Child(int i) const { return m_hwndChild[i]; }
    std::vector<HostMessage> &Messages() { return m_messages; }
    // The UM_SELECTION messages posted with an address (commits), in order.
    std::vector<HostMessage> Commits() const;
    int Escapes() const;
    // UM_SELECTION commits and UM_ESCAPE, in the order they came.
    std::vector<UINT> Notices() const;
    // The screen that Look compares with, and the bounds of what differed at each Look.
    void SetBaseline(const ScreenSnapshot &baseline) { m_baseline = baseline; }
    const std::vector<RECT> &Seen() const { return m_seen; }
    // At each Look, the whole screen and where the library's loupe stood (empty: hidden).
    struct Looked {
        ScreenSnapshot screen;
        RECT rcLoupe;
    };
    const std::vector<Looked> &Looks() const { return m_looks; }
    // The longest the host's loop spent on one message during the last Play.
    DWORD WorstDispatchMs() const { return m_dwWorstDispatchMs; }
    // A window of another thread standing in for another program, at (850, 620)-(950, 700) on
    // the primary monitor: the moves it received during the last Play, and the longest
    // any of them took from SendInput to its window procedure.
    static const int kWitnessX = 900, kWitnessY = 660;
    LONG WitnessMoves() const;
    HWND Witness() const;
    // Shows or hides two overlays of the witness's thread over it: one transparent to the
    // pointer, one that shows nothing.
    void OverlaysElsewhere(bool bShown);
    // Shows (with every call into its elements taking dwDelayMs) or hides a palette of the
    // witness's thread at (100, 600, 240, 660): its swatches are UI Automation elements of it
    // (test_host.cpp). The palette's window.
    HWND PaletteElsewhere(bool bShown, DWORD dwDelayMs = 0);
    DWORD WitnessWorstMs() const;
    // The cursor this thread shows now.
    HCURSOR Cursor() const { return GetCursor(); }
    HMODULE Dll() const { return m_hDll; }
    // Whether what is drawn through the overlay's own context reaches the screen. On Windows it
    // does; Wine 10 shows nothing drawn so in a window that spans two monitors.
    bool OverlayDrawingShows();

private:
    static LRESULT CALLBACK NotifyProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK OverlayProc(HWND, UINT, WPARAM, LPARAM);
    void Do(HostAction action, int nMilliseconds);

    HMODULE m_hDll = nullptr;
    HWND m_hwndOverlay = nullptr;
    HWND m_hwndChild[3] = {}; // the third only where there is a second monitor
    HWND m_hwndNotify = nullptr;
    HWND m_hwndOwn = nullptr;
    HWND m_hwndOwnButton = nullptr;
    HWND m_hwndReadOut = nullptr;   // another top-level window of the host's thread
    HWND m_hwndElsewhere = nullptr; // a window of another thread, for a host that waits on it
    HANDLE m_hElsewhere = nullptr;
    bool m_bStopOnSelection = false;
    int m_nAwareness = -1;
    int m_nForeignAwareness = 0;
    int m_nMode = 0;
    BOOL m_bAdjustable = FALSE;
    HostRecord m_record;
    std::vector<HostMessage> m_messages;
    ScreenSnapshot m_baseline;
    std::vector<RECT> m_seen;
    std::vector<Looked> m_looks;
    DWORD m_dwWorstDispatchMs = 0;
};
