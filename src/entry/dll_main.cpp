#include "host/hook_state.h"

// The module is its own resource module: the cursors are loaded through its handle. Nothing is
// undone at unload; in particular the hooks stay, so the host turns them off first.
extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID) {
    if (fdwReason == DLL_PROCESS_ATTACH) {
        hResourceModule = hinstDLL;
        DisableThreadLibraryCalls(hinstDLL);
    }
    return TRUE;
}
