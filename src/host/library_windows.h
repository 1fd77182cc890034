// What the library's own threads and windows need of the platform, the same wherever they are.
#pragma once

#include <windows.h>

// A message-only window of the library's on this thread; its class is registered the first time
// (a later registration fails harmlessly). Null when the window cannot be had.
HWND CreateLibraryMessageWindow(const char *pszClass, WNDPROC pfnProc);

// Keeps the library loaded while the calling thread of its own runs in it: a host may unload it
// meanwhile. The thread ends with FreeLibraryAndExitThread on the handle, if there is one.
HMODULE HoldLibraryForThread();
