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
    bool bWatch;             // the hooks see all input: the thread watches that they are still on
    HHOOK ahHook[2];         // written by the thread (at the start, and when it puts them back)
    BOOL bUnhooked;          // the first hook's removal, written by the thread as it ends
    volatile LONG nLastCall; // tick count of the last callback, written by the callbacks
    volatile LONG nReinstalls;
};

// Starts a thread that installs one or two low-level hooks (idSecond 0: one) and waits until they
// are on. False, with nothing left running, when the thread could not start or a hook was
// refused. With bWatch (the two hooks see every input event, mouse and keyboard) the thread puts
// them back when the platform has removed them: Windows removes a low-level hook silently when a
// callback overruns its time limit.
bool StartHookThread(HookThread &thread, int idFirst, HOOKPROC pfnFirst, int idSecond = 0,
                     HOOKPROC pfnSecond = nullptr, bool bWatch = false);
// Called by each callback of the thread's hooks.
inline void NoteHookCall(HookThread &thread) {
    InterlockedExchange(&thread.nLastCall, LONG(GetTickCount()));
}
// Whether hooks that see all input look removed: input came (dwLastInput, the platform's last
// input time) after their last callback, long enough ago that a callback would have run.
bool HooksLookRemoved(DWORD dwNow, DWORD dwLastInput, DWORD dwLastCall);
// Removes the hooks and ends the thread: the result of removing the first hook.
BOOL StopHookThread(HookThread &thread);
