// Low-level hooks held by a thread of the library's own. The platform calls a low-level hook on
// the thread that installed it, and every program's mouse and keyboard wait until the call
// returns: on the host's thread they would wait whenever the host is busy. The thread does
// nothing but take its messages, which is where the platform calls the hooks; the callbacks only
// note what they saw for the host's thread.
#pragma once

#include <windows.h>

struct HookThread {
    HANDLE hThread;
    DWORD dwThreadId;
    HANDLE hReady;
    int aIdHook[2];
    HOOKPROC apfnHook[2];
    HHOOK ahHook[2]; // written by the thread before it sets hReady, read after
    BOOL bUnhooked;  // the first hook's removal, written by the thread as it ends
};

// Starts a thread that installs one or two low-level hooks (idSecond 0: one) and waits until they
// are on. False, with nothing left running, when the thread could not start or a hook was
// refused.
bool StartHookThread(HookThread &thread, int idFirst, HOOKPROC pfnFirst, int idSecond = 0,
                     HOOKPROC pfnSecond = nullptr);
// Removes the hooks and ends the thread: the result of removing the first hook.
BOOL StopHookThread(HookThread &thread);
