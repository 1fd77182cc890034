#include "host/library_windows.h"

#include "host/hook_state.h"

HWND CreateLibraryMessageWindow(const char *pszClass, WNDPROC pfnProc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = hResourceModule;
    wc.lpszClassName = pszClass;
    RegisterClassA(&wc);
    return CreateWindowExA(0, pszClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, hResourceModule,
                           nullptr);
}

HMODULE HoldLibraryForThread() {
    HMODULE hModule = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCSTR>(&HoldLibraryForThread), &hModule);
    return hModule;
}
