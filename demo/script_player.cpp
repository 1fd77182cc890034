#include "script_player.h"

#include "demo_options.h"
#include "png_file.h"
#include "screen_image.h"
#include "thread_dpi.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace {

// How long a step may take to reach the host: far beyond what a loaded machine needs, and short
// enough that a step that cannot arrive ends the script soon.
const DWORD kArrivalTimeoutMs = 2000;

INPUT MouseInput(DWORD dwFlags, int x = 0, int y = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = dwFlags;
    if (dwFlags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute coordinates run from 0 to 65535 over the virtual screen, every monitor;
        // rounding up lands the conversion back on the intended pixel.
        const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN),
                  vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
        const int cx = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        const int cy = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        in.mi.dx = ((x - vx) * 65536 + cx - 1) / cx;
        in.mi.dy = ((y - vy) * 65536 + cy - 1) / cy;
        in.mi.dwFlags |= MOUSEEVENTF_VIRTUALDESK;
    }
    return in;
}

// What is wrong with a step that lands on no monitor, with where the screen runs.
std::string NoMonitorText() {
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return "no monitor shows that point (the screen runs from " + std::to_string(vx) + " " +
           std::to_string(vy) + " to " + std::to_string(vx + GetSystemMetrics(SM_CXVIRTUALSCREEN)) +
           " " + std::to_string(vy + GetSystemMetrics(SM_CYVIRTUALSCREEN)) + ")";
}

INPUT KeyInput(WORD nVk, bool bUp) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = nVk;
    in.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    return in;
}

std::string Refused() {
    return "SendInput refused it (error " + std::to_string(GetLastError()) + ")";
}

} // namespace

ScriptPlayer::ScriptPlayer(std::vector<ScriptStep> steps, int nDelayMs, std::string snapshotDir,
                           InputArrival &arrival, HWND hwndNotify, UINT nDoneMessage)
    : m_steps(std::move(steps)), m_nDelayMs(nDelayMs), m_snapshotDir(std::move(snapshotDir)),
      m_arrival(arrival), m_hwndNotify(hwndNotify), m_nDoneMessage(nDoneMessage),
      m_hStop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

ScriptPlayer::~ScriptPlayer() {
    Stop();
    if (m_hStop)
        CloseHandle(m_hStop);
}

void ScriptPlayer::Start() {
    m_thread = std::thread([this] { Run(); });
}

void ScriptPlayer::Stop() {
    if (m_hStop)
        SetEvent(m_hStop);
    if (m_thread.joinable())
        m_thread.join();
}

void ScriptPlayer::Pause(int nMilliseconds) {
    WaitForSingleObject(m_hStop, DWORD(nMilliseconds));
}

void ScriptPlayer::Run() {
    // The script's points, its input and its snapshots are physical pixels, whatever the host's
    // thread is told.
    MakeThreadPerMonitorAware();
    bool bAllPlayed = true;
    if (!m_snapshotDir.empty())
        m_error = Snapshot();
    for (const ScriptStep &step : m_steps) {
        if (!m_error.empty() || WaitForSingleObject(m_hStop, 0) == WAIT_OBJECT_0)
            break;
        std::string problem = Deliver(step);
        if (!problem.empty()) {
            m_error = "line " + std::to_string(step.nLine) + " (" + step.text +
                      "): cannot be delivered: " + problem;
            break;
        }
        if (!m_snapshotDir.empty())
            m_error = Snapshot();
    }
    bAllPlayed = m_error.empty();
    PostMessageA(m_hwndNotify, m_nDoneMessage, bAllPlayed ? 1 : 0, 0);
}

// Sends one step and lets the host take it in; the step's pause is over when this returns.
std::string ScriptPlayer::Deliver(const ScriptStep &step) {
    std::string problem;
    switch (step.kind) {
    case ScriptStep::Move: {
        // The virtual screen's rectangle also holds corners that no monitor shows, where the
        // cursor cannot go.
        const POINT pt = {step.x, step.y};
        if (!MonitorFromPoint(pt, MONITOR_DEFAULTTONULL))
            return NoMonitorText();
        problem = Send(MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, step.x, step.y),
                       InputArrival::Move, pt);
        break;
    }
    case ScriptStep::Press:
    case ScriptStep::Release: {
        const bool bDown = step.kind == ScriptStep::Press;
        const DWORD dwFlags = step.bRight ? (bDown ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                                          : (bDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
        const InputArrival::Kind kind =
            step.bRight ? (bDown ? InputArrival::RightDown : InputArrival::RightUp)
                        : (bDown ? InputArrival::LeftDown : InputArrival::LeftUp);
        problem = Send(MouseInput(dwFlags), kind);
        (step.bRight ? m_bRightHeld : m_bLeftHeld) = bDown;
        break;
    }
    case ScriptStep::Key:
        // Down and up as two events, each taken in on its own. The key goes up whatever became of
        // the down, so that it is not left held.
        problem = Send(KeyInput(step.nVk, false), InputArrival::KeyDown, {}, step.nVk);
        if (!problem.empty()) {
            INPUT up = KeyInput(step.nVk, true);
            SendInput(1, &up, sizeof(up));
            return problem;
        }
        Pause(m_nDelayMs);
        problem = Send(KeyInput(step.nVk, true), InputArrival::KeyUp, {}, step.nVk);
        break;
    case ScriptStep::Hold:
        // Noted before it is sent: whatever became of the down, the key goes up at the end.
        m_heldKeys.push_back(step.nVk);
        problem = Send(KeyInput(step.nVk, false), InputArrival::KeyDown, {}, step.nVk);
        break;
    case ScriptStep::LetGo:
        m_heldKeys.erase(std::remove(m_heldKeys.begin(), m_heldKeys.end(), step.nVk),
                         m_heldKeys.end());
        problem = Send(KeyInput(step.nVk, true), InputArrival::KeyUp, {}, step.nVk);
        break;
    case ScriptStep::Wait:
        Pause(step.nMilliseconds);
        return {};
    }
    if (problem.empty())
        Pause(m_nDelayMs);
    return problem;
}

// Sends one input event and waits, within a bound, until the host has taken it in and handled what
// it brought: the next event is sent only then, whatever the step's pause. Stopping ends the wait.
std::string ScriptPlayer::Send(INPUT in, InputArrival::Kind kind, POINT pt, WORD nVk) {
    m_arrival.Expect(kind, pt, nVk);
    if (!SendInput(1, &in, sizeof(in)))
        return Refused();
    const InputArrival::Outcome outcome = m_arrival.Wait(m_hStop, kArrivalTimeoutMs);
    if (outcome == InputArrival::Arrived) {
        // What the input made the library or the panel post is part of the step too, for the
        // snapshot after it; a host too busy for that within the bound gets the next step anyway.
        m_arrival.WaitForHost(m_hStop, kArrivalTimeoutMs);
        return {};
    }
    if (outcome == InputArrival::Stopped)
        return {};
    if (kind != InputArrival::Move)
        return "the host did not receive it within " + std::to_string(kArrivalTimeoutMs) + " ms";
    const POINT ptLast = m_arrival.LastPoint();
    return "the cursor is at " + std::to_string(ptLast.x) + " " + std::to_string(ptLast.y);
}

void ScriptPlayer::ReleaseHeld() {
    for (bool *pbHeld : {&m_bLeftHeld, &m_bRightHeld})
        if (*pbHeld) {
            INPUT in =
                MouseInput(pbHeld == &m_bLeftHeld ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
            SendInput(1, &in, sizeof(in));
            *pbHeld = false;
        }
    for (const WORD nVk : m_heldKeys) {
        INPUT in = KeyInput(nVk, true);
        SendInput(1, &in, sizeof(in));
    }
    m_heldKeys.clear();
}

std::string ScriptPlayer::Snapshot() {
    char szName[32];
    std::snprintf(szName, sizeof(szName), "step-%03d.png", m_nSnapshots);
    const std::string path = JoinPath(m_snapshotDir, szName);
    const PixelImage screen = GrabScreen(true);
    if (screen.aPixels.empty())
        return "the screen could not be read for " + path;
    std::string problem = SavePng(screen, path);
    ++m_nSnapshots;
    return problem.empty() ? problem : "snapshot: " + problem;
}
