#include "host/hook_state.h"
#include "input/hook_paths.h"

// The module is its own resource module: the cursors are loaded through its handle. A host that
// unloads it with a hook still on loses that hook: a journal-record hook is removed here (its
// procedure goes with the module); low-level hooks keep the module loaded while their thread
// runs, so it is never unloaded under them.
extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID pvReserved) {
    if (fdwReason == DLL_PROCESS_ATTACH) {
        hResourceModule = hinstDLL;
        DisableThreadLibraryCalls(hinstDLL);
    } else if (fdwReason == DLL_PROCESS_DETACH && !pvReserved) {
        RemoveJournalHooksAtUnload();
    }
    return TRUE;
}
