/* A plug-in of a host: it turns the low-level selection hook on when asked and off as it is
 * unloaded, in its DllMain, under the loader lock. */
#include <windows.h>

#include "spxhk110.h"

static HostRecord record;
static HWND hwndNotify;

__declspec(dllexport) int PluginHookOn(void) {
    hwndNotify = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    record.shape.nMode = MODE_RECTANGLE;
    return SetMouseHook(hwndNotify, &record, TRUE, NULL, NULL);
}

BOOL WINAPI DllMain(HINSTANCE hinst, DWORD dwReason, LPVOID pReserved) {
    (void)hinst;
    if (dwReason == DLL_PROCESS_DETACH && !pReserved)
        SetMouseHook(hwndNotify, &record, FALSE, NULL, NULL);
    return TRUE;
}
