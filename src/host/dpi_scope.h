// Physical pixels for everything the library does, whatever DPI awareness the host declares.
//
// A host that does not declare per-monitor awareness is told a scaled screen by the platform:
// GetCursorPos, WindowFromPoint, GetWindowRect and the monitors answer in its scaled space, while
// the hooks report physical points. The library's calls run per-monitor aware (v2 where the
// platform has it, per-monitor v1 where not, unchanged where neither exists), so that input,
// hit-testing, window picks, snapping targets and drawing all agree on the same pixels; the
// host's own awareness is put back before its code runs again.
#pragma once

#include <windows.h>

// Makes the calling thread per-monitor aware for the object's lifetime and restores what it had.
// Scopes nest; the outermost one on the host's thread remembers the host's own awareness.
class PhysicalPixels {
public:
    PhysicalPixels() noexcept;
    ~PhysicalPixels();
    PhysicalPixels(const PhysicalPixels &) = delete;
    PhysicalPixels &operator=(const PhysicalPixels &) = delete;

private:
    HANDLE m_hOld;
    bool m_bOutermost;
};

// Inside a PhysicalPixels scope: the host's own awareness for a call into code that is not the
// library's (the next hook in the chain, a message dispatched to the host's windows).
class HostPixels {
public:
    HostPixels() noexcept;
    ~HostPixels();
    HostPixels(const HostPixels &) = delete;
    HostPixels &operator=(const HostPixels &) = delete;

private:
    HANDLE m_hOld;
};

// Sets the calling thread per-monitor aware for good: for the library's own threads.
void UsePhysicalPixelsOnThisThread() noexcept;

// The effective DPI of the monitor under pt, of the monitor that holds most of rc, or of the one
// that holds most of the window; 96 where the platform cannot say. Physical coordinates.
UINT DpiAt(POINT pt) noexcept;
UINT DpiAt(const RECT &rc) noexcept;
UINT DpiOfWindowMonitor(HWND hwnd) noexcept;
// The DPI hwnd draws at: 96 for a window the platform scales as a DPI-unaware one.
UINT DpiOfWindow(HWND hwnd) noexcept;

// A size from GetSystemMetrics as it is at 96 DPI (as the thread is told it where the platform
// cannot say).
int SystemMetricAt96(int nIndex) noexcept;

// n pixels at 96 DPI, at nDpi (rounded to nearest; never less than 1 when n is not).
int ScaledForDpi(int n, UINT nDpi) noexcept;

// v carried from a place where nFromStart lies into one where nToStart lies, scaled by nNumerator
// / nDenominator (a thread's DPI over the monitor's): bUp rounds up (right and bottom edges, so
// that a rectangle keeps every pixel it touches), else down.
LONG ScaledCoordinate(LONG v, LONG nFromStart, LONG nToStart, LONG nNumerator, LONG nDenominator,
                      bool bUp) noexcept;
// Physical screen pixels into the calling thread's own coordinates (which may be the same).
bool PhysicalToHost(POINT &pt, bool bUp) noexcept;
