/* minimal_host.c - the smallest complete host of SPXHK110: it loads the DLL, lets the person drag
 * one rectangle anywhere on the screen, prints it and unloads. Escape cancels; after a minute
 * without a selection it gives up.
 * Build (MinGW, from the package folder, SPXHK110.dll then beside minimal_host.exe):
 *   i686-w64-mingw32-gcc -Iinclude docs/minimal_host.c -o minimal_host.exe -luser32
 * Under Wine it asks for the library's low-level hooks: there a journal-record hook sees only input
 * aimed at this program's own windows, and it shows none. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "spxhk110.h"

typedef int(WINAPI *SetMouseHookFn)(HWND, HostRecord *, BOOL, const RECT *, HWND);
typedef int(WINAPI *SetKeyboardHookFn)(HWND, BOOL);

static HostRecord record; /* the library keeps its address: it must outlive the hook */
static int done;

static LRESULT CALLBACK NotifyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == UM_SELECTION && lParam != 0) {
        /* Posted at the commit: lParam is the library's rectangle (or, in polygon mode,
         * &record.shape). Read it now: the next selection overwrites it. */
        const RECT *rc = (const RECT *)lParam;
        printf("selected %ld,%ld to %ld,%ld\n", rc->left, rc->top, rc->right, rc->bottom);
        done = 1;
        return 0;
    }
    if (msg == UM_SELECTION) /* sent in highlight modes: wParam is the window under the cursor */
        return 0;
    if (msg == UM_ESCAPE) {
        printf("cancelled\n");
        done = 1;
        return 0;
    }
    if (msg == WM_TIMER) {
        printf("nothing selected within a minute\n");
        done = 1;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int main(void) {
    HMODULE dll;
    SetMouseHookFn pSetMouseHook;
    SetKeyboardHookFn pSetKeyboardHook;
    WNDCLASSA wc;
    HWND hwndNotify;
    MSG msg;

    /* 1. Load the library and find the exports by their undecorated names. Under Wine (whose
     * ntdll tells its version) the low-level hooks see the whole desktop's input. */
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        SetEnvironmentVariableA("SPXHK_HOOKS", "lowlevel");
    dll = LoadLibraryA("SPXHK110.dll");
    if (!dll) {
        fprintf(stderr, "SPXHK110.dll not found\n");
        return 1;
    }
    pSetMouseHook = (SetMouseHookFn)(void (*)(void))GetProcAddress(dll, "SetMouseHook");
    pSetKeyboardHook = (SetKeyboardHookFn)(void (*)(void))GetProcAddress(dll, "SetKeyboardHook");
    if (!pSetMouseHook || !pSetKeyboardHook) {
        FreeLibrary(dll);
        return 1;
    }

    /* 2. A window of this thread to hear from the library. */
    memset(&wc, 0, sizeof(wc));
    wc.lpfnWndProc = NotifyProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "MinimalHostNotify";
    RegisterClassA(&wc);
    hwndNotify = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                                 wc.hInstance, NULL);

    /* 3. Fill the record: the mode and the options. Without bAdjustable the rectangle is
     * committed at the release, so no overlay window is needed for a resizing box. */
    memset(&record, 0, sizeof(record));
    record.shape.nMode = MODE_RECTANGLE;
    record.bAdjustable = FALSE;
    record.hwndOwn = NULL;

    /* 4. Turn the hooks on: Escape first, then the selection. */
    pSetKeyboardHook(hwndNotify, TRUE);
    if (pSetMouseHook(hwndNotify, &record, TRUE, NULL, NULL) != 1) {
        fprintf(stderr, "the selection hook was refused\n");
        pSetKeyboardHook(hwndNotify, FALSE);
        FreeLibrary(dll);
        return 1;
    }
    printf("Drag a rectangle with the mouse, or press Escape.\n");
    SetTimer(hwndNotify, 1, 60000, NULL);

    /* 5. The hooks run inside this thread's message loop. */
    while (!done && GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    /* 6. Turn everything off before the record goes away, then unload. */
    pSetMouseHook(hwndNotify, &record, FALSE, NULL, NULL);
    pSetKeyboardHook(hwndNotify, FALSE);
    DestroyWindow(hwndNotify);
    FreeLibrary(dll);
    return 0;
}
