#include "demo_host.h"

#include "host_screen.h"
#include "live_size.h"
#include "png_file.h"
#include "selection_json.h"
#include "utf8_text.h"

#include <cstdio>
#include <cstring>

namespace {

// The demo's own messages to its notification window.
const UINT WM_SCRIPT_DONE = WM_APP + 1;    // wParam 1: every step played; 0: one failed
const UINT WM_PANEL_CHANGED = WM_APP + 2;  // a control of the panel changed
const UINT WM_PANEL_QUIT = WM_APP + 3;     // the Quit button
const UINT WM_LIVE_RECT = WM_APP + 4;      // the library's live rectangle (SetTrackingNotify)
const UINT WM_STEP_SETTLE = WM_APP + 5;    // the script player waits for it (InputArrival)
const UINT WM_PANEL_BOX_SIZE = WM_APP + 6; // the panel's box size: MAKEWPARAM(width, height)
// After the script's last step the host waits this long for messages still under way.
const UINT kSettleMs = 300;
// Before the first step, the platform gets this long to put the painted windows on the screen.
const DWORD kFirstPaintMs = 150;

DemoHost *g_pHost = nullptr;

bool IsWindowMode(int nMode) {
    return nMode != MODE_RECTANGLE && nMode != MODE_ELLIPSE && nMode != MODE_POLYGON;
}

bool SamePair(const long a[2], const long b[2]) {
    return a[0] == b[0] && a[1] == b[1];
}

// The JSON line's name for a kind of target; null for none, and for a kind this host does not
// know.
const char *TargetKindName(DWORD dwKind) {
    switch (dwKind) {
    case SPX_TARGET_ELEMENT:
        return "element";
    case SPX_TARGET_WINDOW:
        return "window";
    case SPX_TARGET_MONITOR:
        return "monitor";
    default:
        return nullptr;
    }
}

} // namespace

DemoHost::DemoHost(const DemoOptions &options, std::vector<ScriptStep> steps)
    : m_options(options), m_steps(std::move(steps)) {
    std::memset(&m_record, 0, sizeof(m_record));
    g_pHost = this;
}

DemoHost::~DemoHost() {
    Disarm();
    SetTrackingNotify(nullptr, 0);
    SetKeyboardHook(m_hwndNotify, FALSE);
    m_player.reset();
    for (HWND hwnd : {m_panel.Window(), m_hwndOverlay, m_hwndNotify})
        if (hwnd)
            DestroyWindow(hwnd);
    g_pHost = nullptr;
}

LRESULT CALLBACK DemoHost::NotifyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DemoHost *self = g_pHost;
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case UM_SELECTION:
        self->OnSelection(lParam);
        return 0;
    case UM_ESCAPE:
        // Escape in a size field of the panel only leaves the field.
        if (self->m_panel.Settings().bTyping) {
            self->m_panel.LeaveField();
            return 0;
        }
        self->Finish(0);
        return 0;
    case WM_PANEL_QUIT:
        self->Finish(0);
        return 0;
    case WM_PANEL_CHANGED:
        self->ApplyPanelSettings();
        return 0;
    case WM_LIVE_RECT:
        self->m_panel.ShowLiveSize(LiveSizeText(wParam, lParam));
        // The end of a selection comes as all four 0: the box's last place stays.
        if (wParam || lParam) {
            self->m_ptBoxTopLeft = POINT{short(LOWORD(wParam)), short(HIWORD(wParam))};
            self->m_bHasBoxTopLeft = true;
        }
        return 0;
    case WM_PANEL_BOX_SIZE:
        self->ResizeBox(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_STEP_SETTLE:
        self->m_arrival.Settled(wParam);
        return 0;
    case WM_SCRIPT_DONE:
        if (!wParam) {
            self->m_player->Stop();
            std::fprintf(stderr, "spxdemo: %s: %s\n", self->m_options.scriptFile.c_str(),
                         self->m_player->Error().c_str());
            self->Finish(3);
        } else {
            // Messages posted by the last steps are still on their way.
            SetTimer(hwnd, 1, kSettleMs, nullptr);
        }
        return 0;
    case WM_TIMER:
        KillTimer(hwnd, 1);
        if (!self->m_options.bRepeat && self->m_nSelections == 0) {
            std::fprintf(stderr, "spxdemo: %s: the script ended before a selection was made\n",
                         self->m_options.scriptFile.c_str());
            self->Finish(1);
        } else {
            self->Finish(0);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK DemoHost::OverlayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DemoHost *self = g_pHost;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC hdc = BeginPaint(hwnd, &ps);
        if (self)
            PaintImage(hdc, self->m_frozen);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        // The library sets the cursor itself.
        return TRUE;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool DemoHost::CreateWindows() {
    const HINSTANCE hInst = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.hInstance = hInst;
    wc.lpfnWndProc = OverlayProc;
    wc.lpszClassName = "SpxDemoOverlay"; // no class cursor: the library's cursors stay
    RegisterClassA(&wc);
    wc.lpfnWndProc = NotifyProc;
    wc.lpszClassName = "SpxDemoNotify";
    RegisterClassA(&wc);

    m_hwndNotify = CreateWindowExA(0, "SpxDemoNotify", "spxdemo", WS_POPUP, 0, 0, 1, 1, nullptr,
                                   nullptr, hInst, nullptr);
    // The overlay covers every monitor, as the frozen screen does.
    m_hwndOverlay = CreateWindowExA(WS_EX_TOPMOST, "SpxDemoOverlay", "spxdemo overlay", WS_POPUP,
                                    m_frozen.nLeft, m_frozen.nTop, m_frozen.nWidth,
                                    m_frozen.nHeight, nullptr, nullptr, hInst, nullptr);
    const PanelSettings settings = {m_options.nMode,
                                    m_options.bAdjustable,
                                    m_options.bHighlightWindows,
                                    m_options.bRubberEdge,
                                    m_options.bSnapEdges,
                                    m_options.bLoupe,
                                    m_options.bPickElements,
                                    m_options.bLastRegion,
                                    {m_options.ratio[0], m_options.ratio[1]},
                                    {m_options.fixedSize[0], m_options.fixedSize[1]},
                                    false};
    if (!m_hwndNotify || !m_hwndOverlay ||
        !m_panel.Create(settings, m_hwndNotify, WM_PANEL_CHANGED, WM_PANEL_QUIT, WM_PANEL_BOX_SIZE))
        return false;
    if (IsWindowMode(m_options.nMode))
        m_standIns.Show(m_hwndOverlay, &m_frozen);
    ShowWindow(m_hwndOverlay, SW_SHOW);
    UpdateWindow(m_hwndOverlay);
    SetForegroundWindow(m_hwndOverlay);
    // Showing the overlay raised it; the panel goes back on top without taking the keyboard.
    SetWindowPos(m_panel.Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

// Writes the record from the settings and turns the selection hook on.
bool DemoHost::Arm(const RECT *pInitialRect) {
    m_record.shape.nMode = m_options.nMode;
    // A picked window has nothing to adjust: with a box, the click would show the box of the
    // last rubber band instead of reporting the window.
    m_record.bAdjustable = m_options.bAdjustable && !IsWindowMode(m_options.nMode);
    m_record.bHighlightWindows = m_options.bHighlightWindows;
    m_record.hwndOwn = m_panel.Window();
    // Asked for before the hook goes on, so that the first change already reaches the panel.
    SetTrackingNotify(m_hwndNotify, WM_LIVE_RECT);
    m_bArmed = SetMouseHook(m_hwndNotify, &m_record, TRUE, pInitialRect, m_hwndOverlay) == 1;
    return m_bArmed;
}

void DemoHost::Disarm() {
    if (!m_bArmed)
        return;
    SetMouseHook(m_hwndNotify, &m_record, FALSE, nullptr, nullptr);
    m_bArmed = false;
    EraseWindowFrame();
    SPXFreePolyPoints(&m_record.shape);
}

// The library leaves the frame of the highlighted window on the screen; drawing it again
// removes it, and the next move frames a window afresh.
void DemoHost::EraseWindowFrame() {
    if (m_record.hwndFramed)
        SPXXORWindow(m_record.hwndFramed);
    m_record.hwndFramed = nullptr;
    m_record.hwndUnderCursor = nullptr;
}

// A change on the panel. The rubber edge, snapping, the loupe, picking elements, the ratio and the
// fixed size are set at once, and the selection pauses while a size field has the keyboard; for any
// other change the hook goes off, the record takes the new settings, the hook goes on. Window mode
// puts the stand-ins of the frozen windows on the overlay.
void DemoHost::ApplyPanelSettings() {
    const PanelSettings settings = m_panel.Settings();
    // The keys typed into a field are no arrows, Space or Enter of the selection's.
    m_record.bPaused = settings.bTyping;
    if (!SamePair(settings.ratio, m_options.ratio)) {
        m_options.ratio[0] = settings.ratio[0];
        m_options.ratio[1] = settings.ratio[1];
        SetShape(SPX_SET_RATIO, 0);
    }
    if (!SamePair(settings.fixedSize, m_options.fixedSize)) {
        m_options.fixedSize[0] = settings.fixedSize[0];
        m_options.fixedSize[1] = settings.fixedSize[1];
        if (!SetShape(SPX_SET_FIXED, 0))
            m_panel.ShowLiveSize("fixed size refused");
    }
    if (settings.bRubberEdge != m_options.bRubberEdge) {
        m_options.bRubberEdge = settings.bRubberEdge;
        SetSelectionOption(SPX_OPT_POLYGON_RUBBER_EDGE, settings.bRubberEdge);
    }
    if (settings.bSnapEdges != m_options.bSnapEdges) {
        m_options.bSnapEdges = settings.bSnapEdges;
        SetSelectionOption(SPX_OPT_SNAP_EDGES, settings.bSnapEdges);
    }
    if (settings.bLoupe != m_options.bLoupe) {
        m_options.bLoupe = settings.bLoupe;
        SetSelectionOption(SPX_OPT_LOUPE, settings.bLoupe);
    }
    if (settings.bPickElements != m_options.bPickElements) {
        m_options.bPickElements = settings.bPickElements;
        SetSelectionOption(SPX_OPT_PICK_ELEMENTS, settings.bPickElements);
    }
    // Options of the library's own take effect as they are set: the hook need not go off and on
    // for them.
    if (settings.nMode == m_options.nMode && settings.bAdjustable == m_options.bAdjustable &&
        settings.bHighlightWindows == m_options.bHighlightWindows &&
        settings.bLastRegion == m_options.bLastRegion)
        return;
    Disarm();
    if (settings.bLastRegion != m_options.bLastRegion) {
        m_options.bLastRegion = settings.bLastRegion;
        SetShape(SPX_SET_START, settings.bLastRegion ? SPX_START_LAST : SPX_START_NONE);
    }
    m_options.nMode = settings.nMode;
    m_options.bAdjustable = settings.bAdjustable;
    m_options.bHighlightWindows = settings.bHighlightWindows;
    if (IsWindowMode(settings.nMode))
        m_standIns.Show(m_hwndOverlay, &m_frozen);
    else
        m_standIns.Hide();
    SetWindowPos(m_panel.Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!Arm(nullptr)) {
        std::fprintf(stderr, "spxdemo: the selection hook could not be turned on again\n");
        Finish(1);
    }
}

// Sets or clears one bit of SetSelectionOptions and leaves the library's other options as they
// are.
void DemoHost::SetSelectionOption(DWORD dwOption, bool bOn) {
    auto with = [dwOption, bOn](DWORD dwOptions) {
        return bOn ? dwOptions | dwOption : dwOptions & ~dwOption;
    };
    const DWORD dwWanted = with(m_dwSelectionOptions);
    // The library answers with what was set before: options set elsewhere in the process since
    // this host last set them are put back.
    m_dwSelectionOptions = with(SetSelectionOptions(dwWanted));
    if (m_dwSelectionOptions != dwWanted)
        SetSelectionOptions(m_dwSelectionOptions);
}

// Hands the library the settings dwSet names, as the options hold them: the starting region
// (dwStart, with the vertices of --vertices), the ratio, the fixed size, and pBox for the box.
// Returns the library's answer.
int DemoHost::SetShape(DWORD dwSet, DWORD dwStart, const RECT *pBox) {
    SelectionSettings s;
    std::memset(&s, 0, sizeof(s));
    s.cbSize = sizeof(s);
    s.dwSet = dwSet;
    s.dwStart = dwStart;
    if (dwStart == SPX_START_REGION) {
        const size_t nCount = m_options.vertices.size() / 2;
        s.nVertices = UINT(nCount < MAX_POLY_POINTS ? nCount : MAX_POLY_POINTS);
        for (UINT i = 0; i < s.nVertices; ++i)
            s.aVertices[i] = POINT{m_options.vertices[2 * i], m_options.vertices[2 * i + 1]};
    }
    if (pBox)
        s.rcStart = *pBox;
    s.szRatio = SIZE{m_options.ratio[0], m_options.ratio[1]};
    s.szFixed = SIZE{m_options.fixedSize[0], m_options.fixedSize[1]};
    return SetSelectionShape(&s);
}

// The ratio, the fixed size and the starting region of the command line, before the hook first
// goes on: false, with a line on standard error, when the library refuses one.
bool DemoHost::ApplyStartingShape() {
    if (m_options.ratio[0] && !SetShape(SPX_SET_RATIO, 0)) {
        std::fprintf(stderr, "spxdemo: --ratio: the library refused %ld:%ld\n", m_options.ratio[0],
                     m_options.ratio[1]);
        return false;
    }
    if (m_options.fixedSize[0] && !SetShape(SPX_SET_FIXED, 0)) {
        std::fprintf(stderr, "spxdemo: --fixed: %ldx%ld is larger than the screen\n",
                     m_options.fixedSize[0], m_options.fixedSize[1]);
        return false;
    }
    if (!m_options.vertices.empty()) {
        const int nResult = SetShape(SPX_SET_START, SPX_START_REGION);
        if (nResult == 0 || nResult == SPX_SHAPE_DROPPED) {
            std::fprintf(stderr, "spxdemo: --vertices: the region lies off the screen\n");
            return false;
        }
    } else if (m_options.bLastRegion) {
        SetShape(SPX_SET_START, SPX_START_LAST);
    }
    return true;
}

// The panel's box size: the box being adjusted keeps its top left and takes the size. A press on
// the panel puts the box away, so that the library refuses the change when no box is left: the
// hook then goes on again with the new box as its initial rectangle, shown at the next event.
void DemoHost::ResizeBox(int nWidth, int nHeight) {
    if (!m_bHasBoxTopLeft || nWidth <= 0 || nHeight <= 0) {
        m_panel.ShowLiveSize("no box to resize yet");
        return;
    }
    const RECT rc = {m_ptBoxTopLeft.x, m_ptBoxTopLeft.y, m_ptBoxTopLeft.x + nWidth,
                     m_ptBoxTopLeft.y + nHeight};
    if (SetShape(SPX_SET_BOX, 0, &rc) || !m_bArmed || !m_record.bAdjustable ||
        (m_options.nMode != MODE_RECTANGLE && m_options.nMode != MODE_ELLIPSE))
        return;
    Disarm();
    if (!Arm(&rc)) {
        std::fprintf(stderr, "spxdemo: the selection hook could not be turned on again\n");
        Finish(1);
    }
}

void DemoHost::OnSelection(LPARAM lParam) {
    if (!lParam)
        return; // the window under the cursor changed (window mode): the record names it
    if (!WriteSelection(lParam)) {
        Finish(1);
        return;
    }
    if (!m_options.bRepeat) {
        Finish(0);
        return;
    }
    // The library appends the next polygon to what the list holds: empty it once it is read.
    if (lParam == LPARAM(&m_record.shape))
        SPXFreePolyPoints(&m_record.shape);
    if (IsWindowMode(m_options.nMode))
        EraseWindowFrame();
    // A starting region shows when the hook goes on: for the next selection to start from this
    // one, the hook goes off and on again.
    if (m_options.bLastRegion && !IsWindowMode(m_options.nMode)) {
        SetShape(SPX_SET_START, SPX_START_LAST);
        Disarm();
        if (!Arm(nullptr)) {
            std::fprintf(stderr, "spxdemo: the selection hook could not be turned on again\n");
            Finish(1);
        }
    }
}

// Cuts the selection out of the frozen screen, writes it and prints its line. The library posts
// physical pixels, which the line keeps; the crop is cut from this host's own picture of the
// screen, with the rectangle and the vertices carried into this thread's coordinates (the same
// for a per-monitor aware host, scaled for an unaware one on a scaled monitor).
bool DemoHost::WriteSelection(LPARAM lParam) {
    SelectionReport report;
    RECT rc, rcHost;
    bool bHostRectKnown = false;
    CutShape shape = CutShape::Rectangle;
    std::vector<POINT> vertices;
    PickedTarget picked;
    std::memset(&picked, 0, sizeof(picked));
    picked.cbSize = sizeof(picked);
    // The library picks only with highlighting on: without it, what it holds is no pick of this
    // selection's.
    const bool bPicked = IsWindowMode(m_options.nMode) && m_options.bPickElements &&
                         m_options.bHighlightWindows && GetPickedTarget(&picked) &&
                         TargetKindName(picked.dwKind);
    if (lParam == LPARAM(&m_record.shape)) {
        const SelectionShape &polygon = m_record.shape;
        report.mode = "polygon";
        const UINT nCount = polygon.nCount < MAX_POLY_POINTS ? polygon.nCount : MAX_POLY_POINTS;
        vertices.assign(polygon.aPoints, polygon.aPoints + nCount);
        for (const POINT &pt : vertices)
            report.vertices.emplace_back(pt.x, pt.y);
        // The bounds hold the largest coordinates themselves; the image includes them.
        rc = polygon.rcBounds;
        ++rc.right;
        ++rc.bottom;
        shape = CutShape::Polygon;
    } else if (bPicked) {
        // The library looks through the overlay and the stand-ins to the windows beneath them:
        // its target is one of those windows, a control or an element in one, or a monitor, and
        // its rectangle (physical pixels) what of the target shows. The crop is what lay there
        // when the screen was frozen.
        report.mode = "window";
        rc = picked.rcTarget;
        report.bHasWindow = picked.dwKind != SPX_TARGET_MONITOR && picked.hwnd;
        report.window = static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(picked.hwnd));
        report.targetKind = TargetKindName(picked.dwKind);
        report.targetName = Utf8FromWide(std::wstring(picked.szName, wcsnlen(picked.szName, 256)));
        report.nTargetType = picked.nControlType;
    } else if (IsWindowMode(m_options.nMode)) {
        // The posted rectangle is the last rubber band's. The pick is the window the library framed
        // and reported under the cursor or, without highlighting, the window under the click's
        // press as this thread saw it: the cursor may be elsewhere by the time this is read.
        // Off every window, the pick is the whole screen, every monitor.
        HWND hwnd = m_options.bHighlightWindows ? m_record.hwndUnderCursor : nullptr;
        if (!hwnd)
            hwnd = WindowFromPoint(m_arrival.LastPress());
        report.mode = "window";
        HWND hwndOriginal = nullptr;
        report.bHasWindow = m_standIns.Original(hwnd, hwndOriginal, rcHost, rc);
        report.window = static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwndOriginal));
        if (!report.bHasWindow) {
            rcHost = ImageRect(m_frozen);
            rc = PhysicalScreenRect();
        }
        bHostRectKnown = true;
    } else {
        rc = *reinterpret_cast<const RECT *>(lParam);
        report.mode = ModeName(m_options.nMode);
        if (m_options.nMode == MODE_ELLIPSE)
            shape = CutShape::Ellipse;
    }
    m_ptBoxTopLeft = POINT{rc.left, rc.top};
    m_bHasBoxTopLeft = true;
    report.left = rc.left;
    report.top = rc.top;
    report.right = rc.right;
    report.bottom = rc.bottom;

    ++m_nSelections;
    report.file = NextCropFile(report.mode);
    std::vector<POINT> hostVertices = vertices;
    if (!bHostRectKnown)
        rcHost = rc;
    std::string problem;
    if ((!bHostRectKnown && !PhysicalToHostRect(&rcHost)) ||
        (!hostVertices.empty() &&
         !PhysicalToHostPoints(hostVertices.data(), int(hostVertices.size())))) {
        problem = "the selection could not be carried into this host's coordinates";
    } else {
        report.bHasHostRect = !EqualRect(&rc, &rcHost);
        report.hostLeft = rcHost.left;
        report.hostTop = rcHost.top;
        report.hostRight = rcHost.right;
        report.hostBottom = rcHost.bottom;
        const PixelImage image = CutOut(m_frozen, rcHost, shape, hostVertices);
        problem = image.aPixels.empty() ? "the selection lies off the screen"
                                        : SavePng(image, report.file);
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "spxdemo: %s: %s\n", report.file.c_str(), problem.c_str());
        return false;
    }
    std::printf("%s\n", SelectionJson(report).c_str());
    std::fflush(stdout);
    return true;
}

// The path of the next crop: the lowest number after the last one written that no crop in the
// folder has yet, whatever its shape, so that the crops of an earlier run stay.
std::string DemoHost::NextCropFile(const std::string &mode) {
    for (;;) {
        const std::string prefix = "selection-" + std::to_string(++m_nLastCrop) + "-";
        WIN32_FIND_DATAW found;
        const HANDLE hFind = FindFirstFileW(
            WideFromUtf8(JoinPath(m_options.outDir, prefix + "*.png")).c_str(), &found);
        if (hFind == INVALID_HANDLE_VALUE)
            return JoinPath(m_options.outDir, prefix + mode + ".png");
        FindClose(hFind);
    }
}

// Paints the overlay and the panel now and runs the loop for a moment, so that the first snapshot
// shows them whole: the platform puts what was painted on the screen a little later.
void DemoHost::SettleBeforeScript() {
    for (HWND hwnd : {m_hwndOverlay, m_panel.Window()})
        RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    const DWORD dwStart = GetTickCount();
    for (DWORD dwElapsed = 0; dwElapsed < kFirstPaintMs && !m_bFinished;
         dwElapsed = GetTickCount() - dwStart) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kFirstPaintMs - dwElapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // For the host's own loop, which ends at once.
                PostQuitMessage(int(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// Ends the session: hooks off, the script stopped after the step under way, the loop left.
void DemoHost::Finish(int nExitCode) {
    if (m_bFinished)
        return;
    m_bFinished = true;
    m_nExitCode = nExitCode;
    Disarm();
    // Where a window of the library's stood (the loupe) the overlay is painted again now: the loop
    // ends before its paint would come, and the last snapshots would keep the window's picture.
    if (m_hwndOverlay)
        UpdateWindow(m_hwndOverlay);
    SetTrackingNotify(nullptr, 0);
    SetKeyboardHook(m_hwndNotify, FALSE);
    if (m_player) {
        m_player->Stop();
        m_player->ReleaseHeld();
    }
    PostQuitMessage(nExitCode);
}

int DemoHost::Run() {
    // The screen as it is before any window of ours appears.
    m_frozen = GrabScreenAsSeen();
    m_standIns.Capture();
    if (m_frozen.aPixels.empty()) {
        std::fprintf(stderr, "spxdemo: the screen could not be read\n");
        return 1;
    }
    if (!CreateWindows()) {
        std::fprintf(stderr, "spxdemo: the windows could not be made\n");
        return 1;
    }
    if (m_options.bRubberEdge)
        SetSelectionOption(SPX_OPT_POLYGON_RUBBER_EDGE, true);
    if (m_options.bSnapEdges)
        SetSelectionOption(SPX_OPT_SNAP_EDGES, true);
    if (m_options.bLoupe)
        SetSelectionOption(SPX_OPT_LOUPE, true);
    if (m_options.bPickElements)
        SetSelectionOption(SPX_OPT_PICK_ELEMENTS, true);
    if (!ApplyStartingShape())
        return 2;
    const RECT rcInitial = {m_options.initialRect[0], m_options.initialRect[1],
                            m_options.initialRect[2], m_options.initialRect[3]};
    if (!SetKeyboardHook(m_hwndNotify, TRUE) ||
        !Arm(m_options.bHasInitialRect ? &rcInitial : nullptr)) {
        std::fprintf(stderr, "spxdemo: the hooks could not be turned on (another host has them, "
                             "or the platform refused journal hooks)\n");
        return 1;
    }
    if (!m_arrival.Watch(m_hwndNotify, WM_STEP_SETTLE)) {
        std::fprintf(stderr, "spxdemo: the host's input could not be watched\n");
        return 1;
    }
    if (!m_options.scriptFile.empty()) {
        SettleBeforeScript();
        if (!m_bFinished) {
            m_player = std::make_unique<ScriptPlayer>(std::move(m_steps), m_options.nStepDelayMs,
                                                      m_options.snapshotDir, m_arrival,
                                                      m_hwndNotify, WM_SCRIPT_DONE);
            m_player->Start();
        }
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return m_nExitCode;
}
