#include "test_host.h"

#include "element_provider.h"
#include "screen_snapshot.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace {

const DWORD kStepDelayMs = 40;
const UINT WM_HOST_ACTION = WM_APP + 40;
const UINT WM_BE_BUSY = WM_APP + 41;
const UINT WM_OVERLAYS = WM_APP + 42;
const UINT WM_PALETTE = WM_APP + 43;

// The palette of another program: no child windows, a group of two swatches that it serves as UI
// Automation elements.
const ElementPart kPaletteParts[] = {{{10, 10, 130, 50}, L"Warm", 50026, -1},
                                     {{14, 14, 64, 46}, L"Red", 50007, 0},
                                     {{74, 14, 124, 46}, L"Orange", 50007, 0}};

LRESULT CALLBACK PaletteProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (msg == WM_GETOBJECT && ServeElements(hwnd, wParam, lParam, kPaletteParts, 3, lResult))
        return lResult;
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        static const COLORREF colours[] = {RGB(200, 200, 200), RGB(230, 40, 40), RGB(240, 130, 30)};
        for (int i = 0; i < 3; ++i) {
            HBRUSH brush = CreateSolidBrush(colours[i]);
            FillRect(hdc, &kPaletteParts[i].rcClient, brush);
            DeleteObject(brush);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
TestHost *g_pHost = nullptr;
HWND g_hwndNotify = nullptr;
HANDLE g_hActionTaken = CreateEventA(nullptr, FALSE, FALSE, nullptr);
HostAction g_action = HostAction::Look;
int g_nActionNumber = 0;

// A host that stalls does so while the person's input goes on: the sender waits for the stall to
// begin, not to end.
bool IsStall(HostAction action) {
    return action == HostAction::BusySending || action == HostAction::BusyPeeking ||
           action == HostAction::Asleep;
}

// The calling thread's DPI awareness (0 unaware, 1 system, 2 per-monitor); -1 where the platform
// cannot say.
int AwarenessNow() {
    using GetContextFn = HANDLE(WINAPI *)();
    using AwarenessFn = int(WINAPI *)(HANDLE);
    const HMODULE hUser = GetModuleHandleA("user32.dll");
    const auto pfnContext = reinterpret_cast<GetContextFn>(
        reinterpret_cast<void *>(GetProcAddress(hUser, "GetThreadDpiAwarenessContext")));
    const auto pfnAwareness = reinterpret_cast<AwarenessFn>(
        reinterpret_cast<void *>(GetProcAddress(hUser, "GetAwarenessFromDpiAwarenessContext")));
    return pfnContext && pfnAwareness ? pfnAwareness(pfnContext()) : -1;
}

POINT ptLastMove = {0, 0};

INPUT MouseInput(DWORD dwFlags, int x = 0, int y = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = dwFlags;
    if (dwFlags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute coordinates run from 0 to 65535 over the virtual screen, every monitor; round
        // up so that the conversion back lands on the intended pixel.
        const int cx = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        const int cy = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        in.mi.dx = ((x - GetSystemMetrics(SM_XVIRTUALSCREEN)) * 65536 + cx - 1) / cx;
        in.mi.dy = ((y - GetSystemMetrics(SM_YVIRTUALSCREEN)) * 65536 + cy - 1) / cy;
        in.mi.dwFlags |= MOUSEEVENTF_VIRTUALDESK;
    }
    return in;
}

// A key as a keyboard sends it: with its scan code, which tells the right Shift from the left.
INPUT KeyInput(WORD nVk, DWORD dwFlags) {
    INPUT key = {};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = nVk;
    key.ki.wScan = WORD(MapVirtualKeyA(nVk, MAPVK_VK_TO_VSC));
    key.ki.dwFlags = dwFlags;
    return key;
}

// The settings of SetSelectionShape the rows use: 0 clears them all; 1 a 16:9 ratio; 2 a fixed
// 640 by 360; 3 a rectangle (300, 200, 500, 350) to start from, 4 one half off the primary's
// bottom right, 5 one wholly off every monitor; 6 a triangle to start a polygon from; 7 the last
// region; 8 the box shown moved to (100, 100, 420, 280); 9 a fixed 360 by 360 (the same on a bed
// whose second monitor is above as on one whose second monitor is left).
const SelectionSettings &ShapePreset(int nPreset) {
    static SelectionSettings settings;
    settings = SelectionSettings();
    settings.cbSize = sizeof(settings);
    switch (nPreset) {
    case 0:
        settings.dwSet = SPX_SET_START | SPX_SET_RATIO | SPX_SET_FIXED | SPX_SET_MINIMUM;
        break;
    case 1:
        settings.dwSet = SPX_SET_RATIO;
        settings.szRatio = SIZE{16, 9};
        break;
    case 2:
    case 9:
        settings.dwSet = SPX_SET_FIXED;
        settings.szFixed = nPreset == 2 ? SIZE{640, 360} : SIZE{360, 360};
        break;
    case 3:
    case 4:
    case 5: {
        static const RECT arc[] = {
            {300, 200, 500, 350}, {900, 700, 1200, 900}, {5000, 5000, 5100, 5100}};
        settings.dwSet = SPX_SET_START;
        settings.dwStart = SPX_START_REGION;
        settings.rcStart = arc[nPreset - 3];
        break;
    }
    case 6:
        settings.dwSet = SPX_SET_START;
        settings.dwStart = SPX_START_REGION;
        settings.nVertices = 3;
        settings.aVertices[0] = POINT{200, 200};
        settings.aVertices[1] = POINT{300, 210};
        settings.aVertices[2] = POINT{260, 300};
        break;
    case 7:
        settings.dwSet = SPX_SET_START;
        settings.dwStart = SPX_START_LAST;
        break;
    case 8:
        settings.dwSet = SPX_SET_BOX;
        settings.rcStart = RECT{100, 100, 420, 280};
        break;
    }
    return settings;
}

void Send(const InputStep &step) {
    switch (step.kind) {
    case InputStep::Move: {
        ptLastMove = POINT{step.x, step.y};
        INPUT in = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, step.x, step.y);
        SendInput(1, &in, sizeof(in));
        break;
    }
    case InputStep::Wheel: {
        // Where the last move went: Wine 10 puts a wheel sent without a place at the screen's
        // centre.
        INPUT in = MouseInput(MOUSEEVENTF_WHEEL | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                              ptLastMove.x, ptLastMove.y);
        in.mi.mouseData = DWORD(step.x * WHEEL_DELTA);
        SendInput(1, &in, sizeof(in));
        break;
    }
    case InputStep::LeftDown:
    case InputStep::LeftUp:
    case InputStep::RightDown:
    case InputStep::RightUp: {
        static const DWORD flags[] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                                      MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
        // A button goes down or up where the last move went, as a mouse reports it with its
        // place. Without a host's low-level hook, Wine moves the X pointer after each move and
        // may hand a late echo of an earlier move back as input: a button sent without a place
        // would then be pressed or let go at the earlier point.
        INPUT in = MouseInput(flags[step.kind] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                              ptLastMove.x, ptLastMove.y);
        SendInput(1, &in, sizeof(in));
        break;
    }
    case InputStep::KeyDown:
    case InputStep::KeyUp: {
        INPUT in = KeyInput(step.nVk, step.kind == InputStep::KeyUp ? KEYEVENTF_KEYUP : 0);
        SendInput(1, &in, sizeof(in));
        break;
    }
    case InputStep::Key: {
        // Modifiers down, the key down and up, the modifiers up again.
        const WORD aDown[] = {WORD(step.x), WORD(step.y), step.nVk};
        std::vector<INPUT> in;
        const auto add = [&in](WORD nVk, DWORD dwFlags) {
            if (nVk)
                in.push_back(KeyInput(nVk, dwFlags));
        };
        for (WORD nVk : aDown)
            add(nVk, 0);
        for (int i = 2; i >= 0; --i)
            add(aDown[i], KEYEVENTF_KEYUP);
        if (step.bAtOnce) {
            SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
            Sleep(kStepDelayMs);
            break;
        }
        for (INPUT &key : in) {
            SendInput(1, &key, sizeof(INPUT));
            const bool bMainDown = key.ki.wVk == step.nVk && !(key.ki.dwFlags & KEYEVENTF_KEYUP);
            Sleep(bMainDown ? kStepDelayMs : 1);
        }
        break;
    }
    case InputStep::Host:
        // The host acts where the step stands among the input: after all sent before it, before
        // anything sent after it, however slow a loaded machine makes the host.
        PostMessageA(g_hwndNotify, WM_HOST_ACTION, WPARAM(step.action), step.x);
        WaitForSingleObject(g_hActionTaken, 5000);
        break;
    case InputStep::Wait:
        Sleep(DWORD(step.x));
        break;
    }
}

ATOM RegisterHostClass(const char *name, WNDPROC proc, bool bPattern, LPCSTR pszCursor) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    wc.hCursor = pszCursor ? LoadCursorA(nullptr, pszCursor) : nullptr;
    wc.hbrBackground = bPattern ? nullptr : reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    return RegisterClassA(&wc);
}

void PaintStripes(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    FillStripes(hdc, ps.rcPaint, 8);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK BusyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_BE_BUSY) {
        Sleep(DWORD(lParam));
        return 0;
    }
    if (msg == WM_PALETTE) {
        static HWND hwndPalette = nullptr;
        DelayElements(DWORD(lParam));
        if (!wParam && hwndPalette)
            DestroyWindow(hwndPalette);
        if (!wParam)
            hwndPalette = nullptr;
        if (wParam && !hwndPalette)
            hwndPalette = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, "SpxHostPalette", "",
                                          WS_POPUP | WS_VISIBLE, 100, 600, 140, 60, nullptr,
                                          nullptr, GetModuleHandleA(nullptr), nullptr);
        return LRESULT(hwndPalette);
    }
    if (msg == WM_OVERLAYS) {
        // Another program's overlays over the witness: one the pointer passes through, one it
        // would hit but that shows nothing.
        static HWND ahwnd[2] = {};
        for (int i = 0; i < 2; ++i) {
            if (ahwnd[i])
                DestroyWindow(ahwnd[i]);
            ahwnd[i] = nullptr;
            if (!wParam)
                continue;
            ahwnd[i] = CreateWindowExA(WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TOOLWINDOW |
                                           WS_EX_NOACTIVATE | (i == 0 ? WS_EX_TRANSPARENT : 0),
                                       "STATIC", "", WS_POPUP, 800, 600, 200, 120, nullptr, nullptr,
                                       nullptr, nullptr);
            SetLayeredWindowAttributes(ahwnd[i], 0, i == 0 ? 128 : 0, LWA_ALPHA);
            ShowWindow(ahwnd[i], SW_SHOWNA);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND g_hwndWitness = nullptr;
HWND g_hwndCover = nullptr;
HWND g_hwndDesktop = nullptr; // as the desktop's own "WorkerW" covers every monitor
LONG g_nWitnessMoves = 0;
DWORD g_dwWitnessWorstMs = 0;

LRESULT CALLBACK WitnessProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MOUSEMOVE) {
        // The message's time is when the input was sent.
        const DWORD dwLate = GetTickCount() - GetMessageTime();
        g_dwWitnessWorstMs = std::max(g_dwWitnessWorstMs, dwLate);
        InterlockedIncrement(&g_nWitnessMoves);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The thread a busy host waits on: its window takes as long as it is asked to. It also holds the
// witness, a window of another program for the person's input to reach while the host stalls.
DWORD WINAPI ElsewhereThread(LPVOID pWindow) {
    g_hwndWitness =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, "SpxHostWitness", "",
                        WS_POPUP | WS_VISIBLE, TestHost::kWitnessX - 50, TestHost::kWitnessY - 40,
                        100, 80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    // Edges to snap to: a control of the witness at (910, 670, 940, 690), clear of the points the
    // sleeping-host rows pass over, and a window above the witness that covers its right edge
    // from the top down to y 650.
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 60, 50, 30, 20, g_hwndWitness, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
    g_hwndCover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, "SpxHostWitness", "",
                                  WS_POPUP | WS_VISIBLE, 930, 580, 70, 70, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    g_hwndDesktop = CreateWindowExA(WS_EX_NOACTIVATE, "WorkerW", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND hwnd = CreateWindowExA(0, "SpxHostBusy", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    InterlockedExchangePointer(static_cast<PVOID *>(pWindow), hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    DestroyWindow(hwnd);
    return 0;
}

} // namespace

InputStep WheelNotches(int n) {
    return InputStep{InputStep::Wheel, n, 0, 0, {}};
}
InputStep MoveTo(int x, int y) {
    return InputStep{InputStep::Move, x, y, 0, {}};
}
InputStep LeftDown() {
    return InputStep{InputStep::LeftDown, 0, 0, 0, {}};
}
InputStep LeftUp() {
    return InputStep{InputStep::LeftUp, 0, 0, 0, {}};
}
InputStep RightDown() {
    return InputStep{InputStep::RightDown, 0, 0, 0, {}};
}
InputStep RightUp() {
    return InputStep{InputStep::RightUp, 0, 0, 0, {}};
}
InputStep KeyPress(WORD nVk) {
    return InputStep{InputStep::Key, 0, 0, nVk, {}};
}
InputStep KeyWith(WORD nModifier, WORD nVk, WORD nSecondModifier) {
    return InputStep{InputStep::Key, nModifier, nSecondModifier, nVk, {}};
}
InputStep KeysAtOnce(WORD nModifier, WORD nVk, WORD nSecondModifier) {
    return InputStep{InputStep::Key, nModifier, nSecondModifier, nVk, {}, false, true};
}
InputStep HoldKey(WORD nVk) {
    return InputStep{InputStep::KeyDown, 0, 0, nVk, {}};
}
InputStep LetGoKey(WORD nVk) {
    return InputStep{InputStep::KeyUp, 0, 0, nVk, {}};
}
InputStep WaitFor(int nMilliseconds) {
    return InputStep{InputStep::Wait, nMilliseconds, 0, 0, {}};
}
InputStep HostDoes(HostAction action, int nMilliseconds) {
    return InputStep{InputStep::Host, nMilliseconds, 0, 0, action};
}

std::vector<InputStep> Drag(POINT ptFrom, std::initializer_list<POINT> moves) {
    std::vector<InputStep> steps = {MoveTo(ptFrom.x, ptFrom.y), LeftDown()};
    for (const POINT &pt : moves)
        steps.push_back(MoveTo(pt.x, pt.y));
    steps.push_back(LeftUp());
    return steps;
}

std::vector<InputStep> Click(int x, int y) {
    return {MoveTo(x, y), LeftDown(), LeftUp()};
}

int OtherMonitor() {
    if (GetSystemMetrics(SM_XVIRTUALSCREEN) < 0)
        return MONITOR_LEFT;
    return GetSystemMetrics(SM_YVIRTUALSCREEN) < 0 ? MONITOR_ABOVE : MONITOR_NONE;
}

POINT OnBed(POINT pt) {
    return OtherMonitor() == MONITOR_ABOVE ? POINT{pt.y, pt.x} : pt;
}

RECT OnBed(const RECT &rc) {
    return OtherMonitor() == MONITOR_ABOVE ? RECT{rc.top, rc.left, rc.bottom, rc.right} : rc;
}

RECT OtherMonitorChild() {
    return OtherMonitor() == MONITOR_NONE ? RECT{} : OnBed(RECT{-450, 250, -300, 350});
}

std::vector<InputStep> Sweep(POINT ptFrom, POINT ptTo, int n) {
    std::vector<InputStep> steps;
    for (int i = 1; i <= n; ++i)
        steps.push_back(
            MoveTo(ptFrom.x + (ptTo.x - ptFrom.x) * i / n, ptFrom.y + (ptTo.y - ptFrom.y) * i / n));
    return Quickly(steps);
}

std::vector<InputStep> Quickly(std::vector<InputStep> steps) {
    for (InputStep &step : steps)
        step.bQuick = true;
    return steps;
}

LRESULT CALLBACK TestHost::NotifyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kLiveRectMessage && g_pHost) {
        HostMessage m = {msg, wParam, lParam, RECT{}, true, 0};
        m.rcAtArrival = RECT{SHORT(LOWORD(wParam)), SHORT(HIWORD(wParam)), SHORT(LOWORD(lParam)),
                             SHORT(HIWORD(lParam))};
        g_pHost->m_messages.push_back(m);
        return 0;
    }
    if ((msg == UM_SELECTION || msg == UM_ESCAPE) && g_pHost) {
        HostMessage m = {msg, wParam, lParam, RECT{}, false, 0};
        if (AwarenessNow() != g_pHost->m_nAwareness)
            ++g_pHost->m_nForeignAwareness;
        // A host reads the selection when the message arrives: so does this one. It leaves a
        // polygon in its record.
        const SelectionShape &shape = g_pHost->m_record.shape;
        if (msg == UM_SELECTION && lParam == LPARAM(&shape)) {
            m.rcAtArrival = shape.rcBounds;
            m.nVertices = shape.nCount;
        } else if (msg == UM_SELECTION && lParam) {
            m.rcAtArrival = *reinterpret_cast<const RECT *>(lParam);
            m.bHasRect = true;
        }
        g_pHost->m_messages.push_back(m);
        if (msg == UM_SELECTION && lParam && g_pHost->m_bStopOnSelection)
            g_pHost->StopSelection();
        return 0;
    }
    // A posted message comes ahead of the input queued before it, a timer after it: the host
    // acts at a timer, once it has taken that input.
    if (msg == WM_HOST_ACTION) {
        g_action = HostAction(wParam);
        g_nActionNumber = int(lParam);
        SetTimer(hwnd, WM_HOST_ACTION, USER_TIMER_MINIMUM, nullptr);
        return 0;
    }
    if (msg == WM_TIMER && wParam == WM_HOST_ACTION) {
        KillTimer(hwnd, WM_HOST_ACTION);
        if (IsStall(g_action))
            SetEvent(g_hActionTaken);
        if (g_pHost)
            g_pHost->Do(g_action, g_nActionNumber);
        if (!IsStall(g_action))
            SetEvent(g_hActionTaken);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void TestHost::Do(HostAction action, int nMilliseconds) {
    switch (action) {
    case HostAction::Look: {
        Looked look = {ScreenSnapshot::Take(), RECT{}};
        m_seen.push_back(BoundsOf(ChangedPixels(m_baseline, look.screen)));
        PhysicalView physical;
        const HWND hwndLoupe = FindWindowA("SPXHK110Loupe", nullptr);
        if (hwndLoupe && IsWindowVisible(hwndLoupe))
            GetWindowRect(hwndLoupe, &look.rcLoupe);
        m_looks.push_back(std::move(look));
        break;
    }
    case HostAction::BusySending:
        SendMessageA(m_hwndElsewhere, WM_BE_BUSY, 0, nMilliseconds);
        break;
    case HostAction::Asleep:
        Sleep(DWORD(nMilliseconds));
        break;
    case HostAction::BusyPeeking: {
        const DWORD dwStart = GetTickCount();
        MSG msg;
        while (GetTickCount() - dwStart < DWORD(nMilliseconds))
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        break;
    }
    case HostAction::Pause:
    case HostAction::Unpause:
        m_record.bPaused = action == HostAction::Pause;
        break;
    case HostAction::HookOff:
        StopSelection();
        break;
    case HostAction::HookOn:
        StartSelection(m_nMode, m_bAdjustable, m_record.bHighlightWindows);
        break;
    case HostAction::Options:
        pfnSetSelectionOptions(DWORD(nMilliseconds));
        break;
    case HostAction::EscapeHookOn:
        pfnSetKeyboardHook(m_hwndNotify, TRUE);
        break;
    case HostAction::Shape:
        nShapeResult = pfnSetSelectionShape(&ShapePreset(nMilliseconds));
        break;
    case HostAction::Windows: {
        if (!m_hwndReadOut)
            m_hwndReadOut =
                CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, "SpxHostOwn", "", WS_POPUP, 600,
                                400, 100, 50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(m_hwndReadOut, (nMilliseconds & 1) ? SW_SHOWNOACTIVATE : SW_HIDE);
        const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        SetWindowPos(g_hwndDesktop, HWND_BOTTOM, x, y, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     GetSystemMetrics(SM_CYVIRTUALSCREEN),
                     SWP_NOACTIVATE | ((nMilliseconds & 2) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        Pump(50);
        break;
    }
    }
}

LRESULT CALLBACK TestHost::OverlayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PaintStripes(hwnd);
        return 0;
    }
    if (msg == WM_ERASEBKGND)
        return 1;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int PhysicalDpi() {
    PhysicalView physical;
    HDC hdc = GetDC(nullptr);
    const int nDpi = GetDeviceCaps(hdc, LOGPIXELSX);
    ReleaseDC(nullptr, hdc);
    return nDpi;
}

HWND PerMonitorWindow(const RECT &rcPhysical, DWORD dwStyle) {
    PhysicalView physical;
    return CreateWindowExA(WS_EX_TOPMOST, "SpxHostOwn", "", dwStyle, rcPhysical.left,
                           rcPhysical.top, rcPhysical.right - rcPhysical.left,
                           rcPhysical.bottom - rcPhysical.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

RECT HostViewOf(const RECT &rcPhysical) {
    // A per-monitor aware window stands there; the host asks where it is.
    const HWND hwnd = PerMonitorWindow(rcPhysical, WS_POPUP);
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    DestroyWindow(hwnd);
    return rc;
}

TestHost::TestHost() {
    g_pHost = this;
    // SPX_HOST_DPI=permonitor: a host that declares per-monitor (v2) awareness; otherwise one
    // that declares none.
    char szDpi[16] = "";
    GetEnvironmentVariableA("SPX_HOST_DPI", szDpi, sizeof(szDpi));
    if (std::strcmp(szDpi, "permonitor") == 0) {
        using SetProcessFn = BOOL(WINAPI *)(HANDLE);
        if (const auto pfnSet = reinterpret_cast<SetProcessFn>(reinterpret_cast<void *>(
                GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext"))))
            pfnSet(reinterpret_cast<HANDLE>(LONG_PTR(-4)));
    }
    m_nAwareness = AwarenessNow();
    std::memset(&m_record, 0, sizeof(m_record));
    m_hDll = LoadLibraryA("SPXHK110.dll");
    if (!m_hDll)
        return;
    pfnSetMouseHook =
        reinterpret_cast<decltype(&SetMouseHook)>(GetProcAddress(m_hDll, "SetMouseHook"));
    pfnSetKeyboardHook =
        reinterpret_cast<decltype(&SetKeyboardHook)>(GetProcAddress(m_hDll, "SetKeyboardHook"));
    pfnXorWindow =
        reinterpret_cast<decltype(&SPXXORWindow)>(GetProcAddress(m_hDll, "SPXXORWindow"));
    pfnSetTrackingNotify =
        reinterpret_cast<decltype(&SetTrackingNotify)>(GetProcAddress(m_hDll, "SetTrackingNotify"));
    pfnSetSelectionOptions = reinterpret_cast<decltype(&SetSelectionOptions)>(
        GetProcAddress(m_hDll, "SetSelectionOptions"));
    pfnSetSelectionShape =
        reinterpret_cast<decltype(&SetSelectionShape)>(GetProcAddress(m_hDll, "SetSelectionShape"));
    pfnPhysicalToHostRect = reinterpret_cast<decltype(&PhysicalToHostRect)>(
        GetProcAddress(m_hDll, "PhysicalToHostRect"));

    // The overlay has no class cursor, as the guide advises: the library's cursor shows there.
    static ATOM atoms[] = {RegisterHostClass("SpxHostOverlay", OverlayProc, true, nullptr),
                           RegisterHostClass("SpxHostNotify", NotifyProc, false, IDC_ARROW),
                           RegisterHostClass("SpxHostOwn", DefWindowProcA, false, IDC_ARROW),
                           RegisterHostClass("SpxHostBusy", BusyProc, false, nullptr),
                           RegisterHostClass("SpxHostPalette", PaletteProc, false, IDC_ARROW),
                           RegisterHostClass("SpxHostWitness", WitnessProc, false, IDC_ARROW),
                           RegisterHostClass("WorkerW", DefWindowProcA, false, IDC_ARROW)};
    (void)atoms;
    m_hElsewhere = CreateThread(nullptr, 0, ElsewhereThread, &m_hwndElsewhere, 0, nullptr);
    while (!InterlockedCompareExchangePointer(reinterpret_cast<PVOID *>(&m_hwndElsewhere), nullptr,
                                              nullptr))
        Sleep(1);
    const HINSTANCE hInst = GetModuleHandleA(nullptr);
    // The overlay covers every monitor; its children stand at fixed screen places.
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    m_hwndOverlay =
        CreateWindowExA(WS_EX_TOPMOST, "SpxHostOverlay", "overlay", WS_POPUP | WS_VISIBLE, vx, vy,
                        GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                        nullptr, nullptr, hInst, nullptr);
    const RECT aChildren[] = {{600, 420, 800, 570}, {820, 420, 970, 570}, OtherMonitorChild()};
    for (int i = 0; i < 3; ++i) {
        const RECT &rc = aChildren[i];
        if (IsRectEmpty(&rc))
            continue;
        m_hwndChild[i] = CreateWindowExA(
            0, "SpxHostOverlay", "child", WS_CHILD | WS_VISIBLE, rc.left - vx, rc.top - vy,
            rc.right - rc.left, rc.bottom - rc.top, m_hwndOverlay, nullptr, hInst, nullptr);
    }
    m_hwndNotify = CreateWindowExA(0, "SpxHostNotify", "notify", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, hInst, nullptr);
    g_hwndNotify = m_hwndNotify;
    m_hwndOwn = CreateWindowExA(WS_EX_TOPMOST, "SpxHostOwn", "own", WS_POPUP | WS_VISIBLE, 900, 20,
                                100, 60, nullptr, nullptr, hInst, nullptr);
    // A control on the panel, as hosts have them.
    m_hwndOwnButton = CreateWindowExA(0, "BUTTON", "ok", WS_CHILD | WS_VISIBLE, 10, 10, 50, 30,
                                      m_hwndOwn, nullptr, hInst, nullptr);
    // Wine moves the X server's pointer with input sent while no low-level hook is on, and leaves
    // it where it was while one is: a window that appears over where it was left gets a move
    // there, as if the person had moved. The pointer starts each test in the primary monitor's
    // corner, where no test puts a window.
    {
        PhysicalView physical;
        SetCursorPos(0, 0);
        ptLastMove = POINT{0, 0};
    }
    SetForegroundWindow(m_hwndOverlay);
    SetFocus(m_hwndOverlay);
    Pump(0);
    // Activating the overlay raised it; the panel and the witness go back on top of it.
    for (HWND hwnd : {m_hwndOwn, g_hwndWitness, g_hwndCover})
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND hwnd : {m_hwndOverlay, m_hwndOwn})
        RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    SettleScreen();
    // On a loaded machine Wine can apply the overlay's activation after the windows went back
    // on top of it: they are put there again until the platform finds each at its place.
    const auto onTop = [](HWND hwnd, POINT pt) {
        const HWND hwndThere = WindowFromPoint(pt);
        return hwndThere == hwnd || IsChild(hwnd, hwndThere);
    };
    for (int i = 0; i < 50; ++i) {
        PhysicalView physical;
        if (onTop(m_hwndOwn, POINT{950, 50}) && onTop(g_hwndCover, POINT{965, 615}) &&
            onTop(g_hwndWitness, POINT{860, 660}))
            break;
        for (HWND hwnd : {m_hwndOwn, g_hwndWitness, g_hwndCover})
            SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SettleScreen();
    }
}

TestHost::~TestHost() {
    if (pfnSetMouseHook)
        pfnSetMouseHook(m_hwndNotify, &m_record, FALSE, nullptr, nullptr);
    if (pfnSetKeyboardHook)
        pfnSetKeyboardHook(m_hwndNotify, FALSE);
    if (pfnSetTrackingNotify)
        pfnSetTrackingNotify(nullptr, 0);
    if (pfnSetSelectionOptions)
        pfnSetSelectionOptions(0);
    if (pfnSetSelectionShape)
        pfnSetSelectionShape(&ShapePreset(0));
    for (HWND hwnd : {m_hwndOwn, m_hwndNotify, m_hwndOverlay, m_hwndReadOut})
        if (hwnd)
            DestroyWindow(hwnd);
    if (m_hElsewhere) {
        PostMessageA(m_hwndElsewhere, WM_QUIT, 0, 0);
        WaitForSingleObject(m_hElsewhere, 5000);
        CloseHandle(m_hElsewhere);
    }
    if (m_hDll)
        FreeLibrary(m_hDll);
    g_pHost = nullptr;
    // The next host waits for the screen to settle before it looks.
}

bool TestHost::OverlayDrawingShows() {
    const ScreenSnapshot before = ScreenSnapshot::Take();
    // The primary monitor's middle, where the rows draw.
    POINT pt = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    ScreenToClient(m_hwndOverlay, &pt);
    auto invert = [this, pt] {
        HDC hdc = GetDC(m_hwndOverlay);
        PatBlt(hdc, pt.x, pt.y, 4, 4, DSTINVERT);
        ReleaseDC(m_hwndOverlay, hdc);
        GdiFlush();
    };
    invert();
    const bool bShows = !(ScreenSnapshot::Take() == before);
    invert();
    return bShows;
}

int TestHost::StartSelection(int nMode, BOOL bAdjustable, BOOL bHighlight,
                             const RECT *pInitialRect) {
    m_nMode = nMode;
    m_bAdjustable = bAdjustable;
    m_record.shape.nMode = nMode;
    m_record.bAdjustable = bAdjustable;
    m_record.bHighlightWindows = bHighlight;
    m_record.hwndOwn = m_hwndOwn;
    return pfnSetMouseHook(m_hwndNotify, &m_record, TRUE, pInitialRect, m_hwndOverlay);
}

int TestHost::StopSelection() {
    return pfnSetMouseHook(m_hwndNotify, &m_record, FALSE, nullptr, nullptr);
}

void TestHost::Pump(DWORD nMilliseconds) {
    const DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= nMilliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, nMilliseconds - dwElapsed, QS_ALLINPUT);
    }
}

void TestHost::Play(const std::vector<InputStep> &steps) {
    g_nWitnessMoves = 0;
    g_dwWitnessWorstMs = 0;
    HANDLE hDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread sender([&steps, hDone] {
        // The person's input lands on physical pixels, whatever the host declares.
        PhysicalView physical;
        for (const InputStep &step : steps) {
            Send(step);
            Sleep(step.bQuick ? 1 : kStepDelayMs);
        }
        SetEvent(hDone);
    });
    // The loop runs until the sender is done; a track started by the input runs its own loop
    // inside this one and returns when the gesture ends.
    m_dwWorstDispatchMs = 0;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const DWORD dwStart = GetTickCount();
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            m_dwWorstDispatchMs = std::max(m_dwWorstDispatchMs, GetTickCount() - dwStart);
        }
        if (MsgWaitForMultipleObjects(1, &hDone, FALSE, 1000, QS_ALLINPUT) == WAIT_OBJECT_0)
            break;
    }
    sender.join();
    CloseHandle(hDone);
    Pump(2 * kStepDelayMs);
}

HWND TestHost::Witness() const {
    return g_hwndWitness;
}

HWND TestHost::PaletteElsewhere(bool bShown, DWORD dwDelayMs) {
    const HWND hwnd =
        reinterpret_cast<HWND>(SendMessageA(m_hwndElsewhere, WM_PALETTE, bShown, dwDelayMs));
    SettleScreen();
    return hwnd;
}

void TestHost::OverlaysElsewhere(bool bShown) {
    SendMessageA(m_hwndElsewhere, WM_OVERLAYS, bShown, 0);
    SettleScreen();
}

LONG TestHost::WitnessMoves() const {
    return g_nWitnessMoves;
}

DWORD TestHost::WitnessWorstMs() const {
    return g_dwWitnessWorstMs;
}

std::vector<RECT> TestHost::LiveRects() const {
    std::vector<RECT> rects;
    for (const HostMessage &m : m_messages)
        if (m.nMessage == kLiveRectMessage)
            rects.push_back(m.rcAtArrival);
    return rects;
}

int TestHost::Escapes() const {
    int n = 0;
    for (const HostMessage &m : m_messages)
        n += m.nMessage == UM_ESCAPE;
    return n;
}

std::vector<UINT> TestHost::Notices() const {
    std::vector<UINT> notices;
    for (const HostMessage &m : m_messages)
        if (m.nMessage == UM_ESCAPE || (m.nMessage == UM_SELECTION && m.lParam != 0))
            notices.push_back(m.nMessage);
    return notices;
}

std::vector<HostMessage> TestHost::Commits() const {
    std::vector<HostMessage> commits;
    for (const HostMessage &m : m_messages)
        if (m.nMessage == UM_SELECTION && m.lParam != 0)
            commits.push_back(m);
    return commits;
}
