// The DLL's own allocation: the process heap, with no C++ runtime library behind it, so that
// loading the library brings nothing into the host's process but this code and Windows' own DLLs.
// The library allocates only with new (std::nothrow); a failed allocation gives null.
#include <windows.h>

#include <new>

void *operator new(size_t nSize, const std::nothrow_t &) noexcept {
    return HeapAlloc(GetProcessHeap(), 0, nSize ? nSize : 1);
}

void *operator new(size_t nSize) {
    return operator new(nSize, std::nothrow);
}

void operator delete(void *p) noexcept {
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}

void operator delete(void *p, size_t) noexcept {
    operator delete(p);
}

// Called only if a pure virtual function were called through a half-made object; none is.
extern "C" void __cxa_pure_virtual() {
    RaiseException(STATUS_NONCONTINUABLE_EXCEPTION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}
