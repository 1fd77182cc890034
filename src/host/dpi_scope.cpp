#include "host/dpi_scope.h"

namespace {

using SetContextFn = HANDLE(WINAPI *)(HANDLE);
using DpiForWindowFn = UINT(WINAPI *)(HWND);
using DpiForSystemFn = UINT(WINAPI *)();
using DpiForMonitorFn = HRESULT(WINAPI *)(HMONITOR, int, UINT *, UINT *);
using GetContextFn = HANDLE(WINAPI *)();
using DpiFromContextFn = UINT(WINAPI *)(HANDLE);
using MetricForDpiFn = int(WINAPI *)(int, UINT);

// The platform's per-monitor awareness contexts (v2, then v1), as the SDK defines them.
const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));
const HANDLE kPerMonitor = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-3));
const int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

template <typename Fn> Fn Resolve(HMODULE hModule, const char *pszName) {
    return hModule
               ? reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(hModule, pszName)))
               : nullptr;
}

// Found once, at the first use: the platform's calls where it has them (Windows 10 1607 and
// later, the thread's DPI from 1803; per-monitor DPI of a monitor from Windows 8.1), nothing where
// it does not.
struct DpiCalls {
    bool bResolved;
    SetContextFn pfnSetThreadContext;
    DpiForWindowFn pfnDpiForWindow;
    DpiForSystemFn pfnDpiForSystem;
    DpiForMonitorFn pfnDpiForMonitor;
    GetContextFn pfnGetThreadContext;
    DpiFromContextFn pfnDpiFromContext;
    MetricForDpiFn pfnMetricForDpi;
};
DpiCalls calls;

const DpiCalls &Calls() noexcept {
    if (!calls.bResolved) {
        const HMODULE hUser = GetModuleHandleA("user32.dll");
        calls.pfnSetThreadContext = Resolve<SetContextFn>(hUser, "SetThreadDpiAwarenessContext");
        calls.pfnDpiForWindow = Resolve<DpiForWindowFn>(hUser, "GetDpiForWindow");
        calls.pfnDpiForSystem = Resolve<DpiForSystemFn>(hUser, "GetDpiForSystem");
        calls.pfnGetThreadContext = Resolve<GetContextFn>(hUser, "GetThreadDpiAwarenessContext");
        calls.pfnDpiFromContext = Resolve<DpiFromContextFn>(hUser, "GetDpiFromDpiAwarenessContext");
        calls.pfnMetricForDpi = Resolve<MetricForDpiFn>(hUser, "GetSystemMetricsForDpi");
        // The per-monitor DPI lives in the shell's scaling library, a part of the system since
        // Windows 8.1; loaded from the system folder only.
        HMODULE hScaling = GetModuleHandleA("shcore.dll");
        if (!hScaling && calls.pfnSetThreadContext)
            hScaling = LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        calls.pfnDpiForMonitor = Resolve<DpiForMonitorFn>(hScaling, "GetDpiForMonitor");
        calls.bResolved = true;
    }
    return calls;
}

HANDLE SetThreadContext(HANDLE hContext) noexcept {
    const SetContextFn pfnSet = Calls().pfnSetThreadContext;
    return pfnSet ? pfnSet(hContext) : nullptr;
}

HANDLE SetPerMonitor() noexcept {
    const HANDLE hOld = SetThreadContext(kPerMonitorV2);
    return hOld ? hOld : SetThreadContext(kPerMonitor);
}

// The host's thread, while a scope of the library's runs on it, and what it had declared.
DWORD dwHostThread = 0;
HANDLE hHostContext = nullptr;
int nHostScopes = 0;

} // namespace

PhysicalPixels::PhysicalPixels() noexcept : m_hOld(SetPerMonitor()), m_bOutermost(false) {
    const DWORD dwThread = GetCurrentThreadId();
    if (nHostScopes == 0) {
        dwHostThread = dwThread;
        hHostContext = m_hOld;
        m_bOutermost = true;
    }
    if (dwHostThread == dwThread)
        ++nHostScopes;
}

PhysicalPixels::~PhysicalPixels() {
    if (dwHostThread == GetCurrentThreadId() && nHostScopes > 0)
        --nHostScopes;
    if (m_bOutermost)
        hHostContext = nullptr;
    if (m_hOld)
        SetThreadContext(m_hOld);
}

HostPixels::HostPixels() noexcept : m_hOld(nullptr) {
    if (nHostScopes > 0 && dwHostThread == GetCurrentThreadId() && hHostContext)
        m_hOld = SetThreadContext(hHostContext);
}

HostPixels::~HostPixels() {
    if (m_hOld)
        SetThreadContext(m_hOld);
}

void UsePhysicalPixelsOnThisThread() noexcept {
    SetPerMonitor();
}

int ScaledForDpi(int n, UINT nDpi) noexcept {
    if (nDpi == 0 || nDpi == 96)
        return n;
    const int nScaled = MulDiv(n, int(nDpi), 96);
    return n > 0 && nScaled < 1 ? 1 : nScaled;
}

namespace {

UINT MonitorDpi(HMONITOR hMonitor) noexcept {
    const DpiCalls &platform = Calls();
    UINT nDpiX = 0, nDpiY = 0;
    if (hMonitor && platform.pfnDpiForMonitor &&
        SUCCEEDED(platform.pfnDpiForMonitor(hMonitor, kEffectiveDpi, &nDpiX, &nDpiY)) && nDpiX)
        return nDpiX;
    if (platform.pfnDpiForSystem)
        if (const UINT nDpi = platform.pfnDpiForSystem())
            return nDpi;
    return 96;
}

// The last monitor asked about, for half a second: a polygon's markers and vertices ask once per
// vertex, and the platform answers each question with a call into its server.
struct LastMonitor {
    bool bValid;
    RECT rc;
    UINT nDpi;
    DWORD dwAsked;
};
LastMonitor lastMonitor;
const DWORD kMonitorFreshMs = 500;

} // namespace

UINT DpiAt(POINT pt) noexcept {
    const DWORD dwNow = GetTickCount();
    if (lastMonitor.bValid && dwNow - lastMonitor.dwAsked < kMonitorFreshMs &&
        PtInRect(&lastMonitor.rc, pt))
        return lastMonitor.nDpi;
    const HMONITOR hMonitor = MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {sizeof(info), {}, {}, 0};
    const UINT nDpi = MonitorDpi(hMonitor);
    lastMonitor.bValid = hMonitor && GetMonitorInfoA(hMonitor, &info);
    lastMonitor.rc = info.rcMonitor;
    lastMonitor.nDpi = nDpi;
    lastMonitor.dwAsked = dwNow;
    return nDpi;
}

UINT DpiAt(const RECT &rc) noexcept {
    return MonitorDpi(MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST));
}

UINT DpiOfWindowMonitor(HWND hwnd) noexcept {
    return MonitorDpi(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

int SystemMetricAt96(int nIndex) noexcept {
    const MetricForDpiFn pfnMetric = Calls().pfnMetricForDpi;
    return pfnMetric ? pfnMetric(nIndex, 96) : GetSystemMetrics(nIndex);
}

UINT DpiOfWindow(HWND hwnd) noexcept {
    const DpiForWindowFn pfnDpi = Calls().pfnDpiForWindow;
    const UINT nDpi = pfnDpi && hwnd ? pfnDpi(hwnd) : 0;
    return nDpi ? nDpi : DpiOfWindowMonitor(hwnd);
}

LONG ScaledCoordinate(LONG v, LONG nFromStart, LONG nToStart, LONG nNumerator, LONG nDenominator,
                      bool bUp) noexcept {
    if (nDenominator <= 0 || nNumerator <= 0 || nNumerator == nDenominator)
        return static_cast<LONG>(v - static_cast<long long>(nFromStart) + nToStart);
    const long long nScaled = (static_cast<long long>(v) - nFromStart) * nNumerator;
    // Floor or ceiling of nScaled / nDenominator, for either sign.
    long long nQuotient = nScaled / nDenominator;
    const long long nRest = nScaled % nDenominator;
    if (nRest != 0 && (nRest < 0) != bUp)
        nQuotient += bUp ? 1 : -1;
    return static_cast<LONG>(nQuotient + nToStart);
}

namespace {

// The DPI the calling thread is told for a monitor of nMonitorDpi: its own for an unaware or a
// system-aware thread, the monitor's for a per-monitor aware one; 0 where the platform cannot
// say (before Windows 10 1803).
UINT ThreadDpiFor(UINT nMonitorDpi) noexcept {
    const DpiCalls &platform = Calls();
    if (!platform.pfnGetThreadContext || !platform.pfnDpiFromContext)
        return 0;
    const UINT nDpi = platform.pfnDpiFromContext(platform.pfnGetThreadContext());
    return nDpi ? nDpi : nMonitorDpi;
}

} // namespace

bool PhysicalToHost(POINT &pt, bool bUp) noexcept {
    MONITORINFO physical = {sizeof(physical), {}, {}, 0};
    HMONITOR hMonitor;
    UINT nMonitorDpi;
    {
        PhysicalPixels physicalPixels;
        // A right or bottom edge belongs to the pixel before it.
        const POINT ptPixel = {bUp ? pt.x - 1 : pt.x, bUp ? pt.y - 1 : pt.y};
        hMonitor = MonitorFromPoint(ptPixel, MONITOR_DEFAULTTONEAREST);
        if (!hMonitor || !GetMonitorInfoA(hMonitor, &physical))
            return false;
        nMonitorDpi = MonitorDpi(hMonitor);
    }
    MONITORINFO seen = {sizeof(seen), {}, {}, 0};
    if (!GetMonitorInfoA(hMonitor, &seen))
        return false;
    const RECT &rcFrom = physical.rcMonitor;
    const RECT &rcTo = seen.rcMonitor;
    // Scaled by the ratio of the two DPIs (where the platform cannot tell the thread's DPI, of the
    // monitor's two sizes) about the monitor's corner, or about the virtual screen's origin where
    // the platform scales the monitors' places too (Wine does; Windows keeps each monitor's
    // corner in place).
    const UINT nThreadDpi = ThreadDpiFor(nMonitorDpi);
    const bool bByDpi = nThreadDpi != 0;
    const LONG nNumX = bByDpi ? LONG(nThreadDpi) : rcTo.right - rcTo.left;
    const LONG nDenX = bByDpi ? LONG(nMonitorDpi) : rcFrom.right - rcFrom.left;
    const LONG nNumY = bByDpi ? LONG(nThreadDpi) : rcTo.bottom - rcTo.top;
    const LONG nDenY = bByDpi ? LONG(nMonitorDpi) : rcFrom.bottom - rcFrom.top;
    const bool bOriginX =
        rcFrom.left != rcTo.left && rcTo.left == MulDiv(rcFrom.left, nNumX, nDenX);
    const bool bOriginY = rcFrom.top != rcTo.top && rcTo.top == MulDiv(rcFrom.top, nNumY, nDenY);
    pt.x = bOriginX ? ScaledCoordinate(pt.x, 0, 0, nNumX, nDenX, bUp)
                    : ScaledCoordinate(pt.x, rcFrom.left, rcTo.left, nNumX, nDenX, bUp);
    pt.y = bOriginY ? ScaledCoordinate(pt.y, 0, 0, nNumY, nDenY, bUp)
                    : ScaledCoordinate(pt.y, rcFrom.top, rcTo.top, nNumY, nDenY, bUp);
    return true;
}
