// The DPI awareness of the demo's threads. The platform's calls are found at run time: where they
// are missing (before Windows 10 1607) nothing changes, and every thread sees physical pixels as
// the manifest asks.
#pragma once

#include <windows.h>

// Makes the calling thread DPI unaware for good: it sees the screen as the platform scales it
// for a program that knows nothing of DPI. False where the platform cannot.
bool MakeThreadDpiUnaware();
// Makes the calling thread per-monitor aware for good: it sees physical pixels on every monitor.
void MakeThreadPerMonitorAware();
// The calling thread's awareness, to be given to a ThreadDpi later; null where the platform has
// no such call.
HANDLE CurrentThreadDpi();

// For the object's lifetime the calling thread has hContext (null: per-monitor aware); what it
// had before comes back after.
class ThreadDpi {
public:
    explicit ThreadDpi(HANDLE hContext = nullptr) noexcept;
    ~ThreadDpi();
    ThreadDpi(const ThreadDpi &) = delete;
    ThreadDpi &operator=(const ThreadDpi &) = delete;

private:
    HANDLE m_hOld;
};
