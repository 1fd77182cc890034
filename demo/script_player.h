// Plays a script's steps with SendInput from a thread of its own, one event at a time, each sent
// once the one before has reached the host and followed by the step's pause, while the host's
// thread runs its message loop and the hooks.
#pragma once

#include "input_arrival.h"
#include "script.h"

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

class ScriptPlayer {
public:
    // When the last step has been played, or a step could not be delivered, nDoneMessage is
    // posted to hwndNotify (wParam 1: all played, 0: see Error()). With a snapshot folder, the
    // screen is saved there before the first step (step-000.png) and after each step. arrival
    // watches the host's thread; it outlives the player.
    ScriptPlayer(std::vector<ScriptStep> steps, int nDelayMs, std::string snapshotDir,
                 InputArrival &arrival, HWND hwndNotify, UINT nDoneMessage);
    ~ScriptPlayer();
    ScriptPlayer(const ScriptPlayer &) = delete;
    ScriptPlayer &operator=(const ScriptPlayer &) = delete;

    void Start();
    // Lets the step under way finish, with its snapshot, plays no more and waits for the thread.
    void Stop();
    // Releases the mouse buttons the script pressed and the keys it held and left down, so that
    // they do not stay held after the program; call it after Stop(), once the selection hook is
    // off.
    void ReleaseHeld();
    // What stopped the script early; empty when nothing did. Read it after Stop().
    const std::string &Error() const { return m_error; }
    int SnapshotCount() const { return m_nSnapshots; }

private:
    void Run();
    std::string Deliver(const ScriptStep &step);
    std::string Send(INPUT in, InputArrival::Kind kind, POINT pt = {}, WORD nVk = 0);
    std::string Snapshot();
    void Pause(int nMilliseconds);

    std::vector<ScriptStep> m_steps;
    int m_nDelayMs;
    std::string m_snapshotDir;
    InputArrival &m_arrival;
    HWND m_hwndNotify;
    UINT m_nDoneMessage;
    HANDLE m_hStop;
    std::thread m_thread;
    std::string m_error;
    int m_nSnapshots = 0;
    bool m_bLeftHeld = false; // pressed by a step and not released since
    bool m_bRightHeld = false;
    std::vector<WORD> m_heldKeys; // held by a step and not let go since
};
