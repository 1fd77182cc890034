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

// The block moves the compiler asks for (copying a record, a loop it recognizes), without a C
// runtime behind them. Built so that the compiler does not turn these loops into calls to
// themselves.
#define SPX_NO_LIBCALLS __attribute__((optimize("no-tree-loop-distribute-patterns")))

extern "C" SPX_NO_LIBCALLS void *memmove(void *pTo, const void *pFrom, size_t nBytes) {
    unsigned char *pDst = static_cast<unsigned char *>(pTo);
    const unsigned char *pSrc = static_cast<const unsigned char *>(pFrom);
    if (pDst < pSrc) {
        for (size_t i = 0; i < nBytes; ++i)
            pDst[i] = pSrc[i];
    } else {
        for (size_t i = nBytes; i > 0; --i)
            pDst[i - 1] = pSrc[i - 1];
    }
    return pTo;
}

extern "C" SPX_NO_LIBCALLS void *memcpy(void *pTo, const void *pFrom, size_t nBytes) {
    return memmove(pTo, pFrom, nBytes);
}

extern "C" SPX_NO_LIBCALLS void *memset(void *pTo, int nByte, size_t nBytes) {
    unsigned char *pDst = static_cast<unsigned char *>(pTo);
    for (size_t i = 0; i < nBytes; ++i)
        pDst[i] = static_cast<unsigned char>(nByte);
    return pTo;
}
