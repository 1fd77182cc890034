// Low-level hooks held by a thread of the library's own. The platform calls a low-level hook on
// the thread that installed it, and every program's mouse and keyboard wait until the call
// returns: on the host's thread they would wait whenever the host is busy. The thread does
// nothing but take its messages, which is where the platform calls the hooks; the callbacks only
// note what they saw for the host's thread.
#pragma once

#include <windows.h>

// The watchdog of a mouse and keyboard hook pair. Windows removes a low-level hook silently when a
// callback overruns its time limit; the thread looks every kWatchPeriodMs whether input came that
// a hook did not see, and puts back only the hook that missed it.
const DWORD kWatchPeriodMs = 100;
enum { WATCH_MOUSE = 1, WATCH_KEYBOARD = 2 };

// What one look of the watchdog saw.
struct WatchLook {
    DWORD dwNow;
    DWORD dwLastInput; // the platform's time of the last input, any device
    DWORD dwLastSeen;  // the time of the last event either hook saw
    bool bCursorMoved; // the cursor is not where the mouse hook saw it last
    bool bKeyUnseen;   // a key followed is down that the keyboard hook did not see go down
};
// What the watchdog remembers between looks.
struct WatchState {
    bool bInputPending;    // input came that no callback saw
    DWORD dwPendingSince;  // since the look that found it
    DWORD dwPendingInput;  // the time of that input
    bool bKeyUnseenBefore; // the last look found a key down unseen
};
// The hooks (WATCH_ bits) that look removed after this look. Input later than any event the
// hooks saw, found at two looks 100 ms apart with more of it at the second, was missed by
// the mouse hook when the cursor is not where that hook saw it last, else by the keyboard hook
// (one such input alone, the cursor put by a program, is not enough); a key held down unseen at two
// looks in a row was missed by the keyboard hook, even while the mouse keeps moving.
UINT HooksToReinstall(WatchState &state, const WatchLook &look);

struct HookThread {
    HANDLE hThread;
    DWORD dwThreadId;
    HANDLE hReady;
    HANDLE hDone; // set by the thread once its hooks are off: it only ends after that
    int aIdHook[2];
    HOOKPROC apfnHook[2];
    bool bWatch;             // a mouse hook and a keyboard hook that the thread watches
    void (*pfnHooksBack)();  // called on the thread each time the watchdog put a hook back
    HHOOK ahHook[2];         // written by the thread (at the start, and when it puts them back)
    bool abMayReinstall[2];  // put back once, a hook is put back again only after it ran
    BOOL bUnhooked;          // the first hook's removal, written by the thread as it ends
    volatile LONG nLastSeen; // time of the last event a callback saw, or of the install
    volatile LONG nInstalls; // hooks installed, the first time included
    POINT ptMouseSeen;       // where the mouse hook saw the mouse last
    UINT fKeysSeenDown;      // the followed keys the keyboard hook saw go down and not up
    WatchState watch;
};

// Starts a thread that installs one or two low-level hooks (idSecond 0: one) and waits until they
// are on. False, with nothing left running, when the thread could not start or a hook was
// refused. With bWatch (the first hook is the mouse's, the second the keyboard's) the thread puts
// back a hook that the platform removed, and calls pfnHooksBack then. The thread keeps the module
// loaded while it runs.
bool StartHookThread(HookThread &thread, int idFirst, HOOKPROC pfnFirst, int idSecond = 0,
                     HOOKPROC pfnSecond = nullptr, bool bWatch = false,
                     void (*pfnHooksBack)() = nullptr);
// The watched pair's callbacks say what they saw, with the event's time.
void NoteMouseSeen(HookThread &thread, POINT pt, DWORD dwTime);
void NoteKeySeen(HookThread &thread, UINT nVk, bool bDown, DWORD dwTime);
// The library moved the cursor itself (the platform counts that as input): nothing was missed.
inline void NoteCursorSet(HookThread &thread) {
    InterlockedExchange(&thread.nLastSeen, LONG(GetTickCount()));
}
// Removes the hooks and ends the thread: the result of removing the first hook. Waits for the
// hooks to be off, never for the thread's end, which may need the loader lock that a caller in
// DllMain holds.
BOOL StopHookThread(HookThread &thread);
