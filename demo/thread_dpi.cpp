#include "thread_dpi.h"

namespace {

using SetContextFn = HANDLE(WINAPI *)(HANDLE);
using GetContextFn = HANDLE(WINAPI *)();

// The platform's awareness contexts, as the SDK defines them.
const HANDLE kUnaware = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
const HANDLE kPerMonitor = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-3));
const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));

template <typename Fn> Fn UserCall(const char *pszName) {
    const HMODULE hUser = GetModuleHandleA("user32.dll");
    return hUser ? reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(hUser, pszName)))
                 : nullptr;
}

HANDLE SetContext(HANDLE hContext) {
    static const SetContextFn pfnSet = UserCall<SetContextFn>("SetThreadDpiAwarenessContext");
    return pfnSet ? pfnSet(hContext) : nullptr;
}

// Per-monitor v2 where the platform has it, v1 where not; the context before, or null.
HANDLE SetPerMonitor() {
    const HANDLE hOld = SetContext(kPerMonitorV2);
    return hOld ? hOld : SetContext(kPerMonitor);
}

} // namespace

bool MakeThreadDpiUnaware() {
    return SetContext(kUnaware) != nullptr;
}

void MakeThreadPerMonitorAware() {
    SetPerMonitor();
}

HANDLE CurrentThreadDpi() {
    static const GetContextFn pfnGet = UserCall<GetContextFn>("GetThreadDpiAwarenessContext");
    return pfnGet ? pfnGet() : nullptr;
}

ThreadDpi::ThreadDpi(HANDLE hContext) noexcept
    : m_hOld(hContext ? SetContext(hContext) : SetPerMonitor()) {}

ThreadDpi::~ThreadDpi() {
    if (m_hOld)
        SetContext(m_hOld);
}
