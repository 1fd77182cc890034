// Plays a script's steps with SendInput from a thread of its own, one event at a time with a
// pause after each, while the host's thread runs its message loop and the hooks.
#pragma once

#include "script.h"

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

class ScriptPlayer {
public:
    // When the last step has been played, or a step could not be delivered, nDoneMessage is
    // posted to hwndNotify (wParam 1: all played, 0: see Error()). With a snapshot folder, the
    // screen is saved there before the first step (step-000.png) and after each step.
    ScriptPlayer(std::vector<ScriptStep> steps, int nDelayMs, std::string snapshotDir,
                 HWND hwndNotify, UINT nDoneMessage);
    ~ScriptPlayer();
    ScriptPlayer(const ScriptPlayer &) = delete;
    ScriptPlayer &operator=(const ScriptPlayer &) = delete;

    void Start();
    // Lets the step under way finish, with its snapshot, plays no more and waits for the thread.
    void Stop();
    // What stopped the script early; empty when nothing did. Read it after Stop().
    const std::string &Error() const { return m_error; }
    int SnapshotCount() const { return m_nSnapshots; }

private:
    void Run();
    std::string Deliver(const ScriptStep &step);
    std::string Snapshot();
    void Pause(int nMilliseconds);

    std::vector<ScriptStep> m_steps;
    int m_nDelayMs;
    std::string m_snapshotDir;
    HWND m_hwndNotify;
    UINT m_nDoneMessage;
    HANDLE m_hStop;
    std::thread m_thread;
    std::string m_error;
    int m_nSnapshots = 0;
};
