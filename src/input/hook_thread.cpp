#include "input/hook_thread.h"

#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "host/library_windows.h"

namespace {

// The platform's input time may be a little later than the time of the event a hook saw.
const DWORD kUnseenSlackMs = 20;
const DWORD kUnseenGraceMs = 100;

// The keys whose being held the watchdog compares with what the keyboard hook saw: those the
// selection acts on.
const int kFollowedKeys[] = {VK_RETURN, VK_ESCAPE, VK_BACK,   VK_SPACE,  VK_LEFT,     VK_UP,
                             VK_RIGHT,  VK_DOWN,   VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL};
const UINT kFollowedCount = sizeof kFollowedKeys / sizeof kFollowedKeys[0];

// The followed keys' bits for nVk: a Shift or Ctrl that does not say its side stands for both.
UINT FollowedBits(UINT nVk) {
    if (nVk == VK_SHIFT)
        return FollowedBits(VK_LSHIFT) | FollowedBits(VK_RSHIFT);
    if (nVk == VK_CONTROL)
        return FollowedBits(VK_LCONTROL) | FollowedBits(VK_RCONTROL);
    for (UINT i = 0; i < kFollowedCount; ++i)
        if (UINT(kFollowedKeys[i]) == nVk)
            return 1u << i;
    return 0;
}

void Unhook(HookThread &thread, int i) {
    const BOOL bResult = thread.ahHook[i] ? UnhookWindowsHookEx(thread.ahHook[i]) : FALSE;
    if (i == 0)
        thread.bUnhooked = bResult;
    thread.ahHook[i] = nullptr;
}

bool HookOne(HookThread &thread, int i) {
    thread.ahHook[i] = SetWindowsHookExA(thread.aIdHook[i], thread.apfnHook[i], hResourceModule, 0);
    if (thread.ahHook[i])
        InterlockedIncrement(&thread.nInstalls);
    return thread.ahHook[i] != nullptr;
}

bool Hook(HookThread &thread) {
    bool bOn = true;
    for (int i = 0; i < 2 && thread.aIdHook[i]; ++i) {
        bOn = HookOne(thread, i) && bOn;
        thread.abMayReinstall[i] = true;
    }
    // Input before the install was no hook's to see; anything after it was.
    InterlockedExchange(&thread.nLastSeen, LONG(GetTickCount() - kUnseenSlackMs));
    if (!bOn) {
        Unhook(thread, 0);
        Unhook(thread, 1);
    }
    return bOn;
}

// The keys followed that the platform reports down and the keyboard hook did not see go down.
bool KeyDownUnseen(const HookThread &thread) {
    for (UINT i = 0; i < kFollowedCount; ++i)
        if (GetAsyncKeyState(kFollowedKeys[i]) < 0 && !(thread.fKeysSeenDown & (1u << i)))
            return true;
    return false;
}

// Puts back a hook that missed input.
void Watch(HookThread &thread) {
    LASTINPUTINFO info = {sizeof(info), 0};
    POINT ptCursor;
    if (!GetLastInputInfo(&info) || !GetCursorPos(&ptCursor))
        return;
    const WatchLook look = {GetTickCount(), info.dwTime, DWORD(thread.nLastSeen),
                            ptCursor.x != thread.ptMouseSeen.x ||
                                ptCursor.y != thread.ptMouseSeen.y,
                            KeyDownUnseen(thread)};
    const UINT fMissed = HooksToReinstall(thread.watch, look);
    bool bBack = false;
    for (int i = 0; i < 2; ++i) {
        if (!(fMissed & (i == 0 ? WATCH_MOUSE : WATCH_KEYBOARD)) || !thread.abMayReinstall[i])
            continue;
        Unhook(thread, i);
        // Refused now (a desktop switch), tried again at the next look that finds it missing.
        if (HookOne(thread, i)) {
            thread.abMayReinstall[i] = false;
            bBack = true;
        }
    }
    if (bBack && thread.pfnHooksBack)
        thread.pfnHooksBack();
}

struct ThreadStart {
    HookThread *pThread;
    HMODULE hModule;
};

DWORD WINAPI HookThreadMain(LPVOID pv) {
    HookThread &thread = *static_cast<HookThread *>(pv);
    // A host may unload the library with the hooks still on.
    const HMODULE hModule = HoldLibraryForThread();
    // The hooks' points are physical; so is everything this thread asks of the platform.
    UsePhysicalPixelsOnThisThread();
    MSG msg;
    // The thread's queue exists before anyone posts to it.
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    const bool bOn = Hook(thread);
    SetEvent(thread.hReady);
    // Taking messages is what lets the platform call the hooks.
    while (bOn) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, thread.bWatch ? kWatchPeriodMs : INFINITE,
                                  QS_ALLINPUT);
        bool bQuit = false;
        while (!bQuit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            bQuit = msg.message == WM_QUIT;
            if (!bQuit)
                DispatchMessageA(&msg);
        }
        if (bQuit)
            break;
        if (thread.bWatch)
            Watch(thread);
    }
    if (bOn) {
        Unhook(thread, 1);
        Unhook(thread, 0);
        // From here on the thread touches nothing of the library's but its own locals.
        SetEvent(thread.hDone);
    }
    if (hModule)
        FreeLibraryAndExitThread(hModule, bOn ? 0 : 1);
    return bOn ? 0 : 1;
}

void Close(HookThread &thread) {
    if (thread.hThread)
        CloseHandle(thread.hThread);
    if (thread.hReady)
        CloseHandle(thread.hReady);
    if (thread.hDone)
        CloseHandle(thread.hDone);
    thread = HookThread();
}

} // namespace

UINT HooksToReinstall(WatchState &state, const WatchLook &look) {
    UINT fMissed = 0;
    if (look.bKeyUnseen && state.bKeyUnseenBefore)
        fMissed |= WATCH_KEYBOARD;
    state.bKeyUnseenBefore = look.bKeyUnseen && !fMissed;
    // Differences of tick counts, which wrap after 49 days.
    const bool bUnseen = LONG(look.dwLastInput - look.dwLastSeen) > LONG(kUnseenSlackMs);
    if (!bUnseen) {
        state.bInputPending = false;
    } else if (!state.bInputPending) {
        state.bInputPending = true;
        state.dwPendingSince = look.dwNow;
        state.dwPendingInput = look.dwLastInput;
    } else if (look.dwNow - state.dwPendingSince >= kUnseenGraceMs &&
               look.dwLastInput != state.dwPendingInput) {
        fMissed |= look.bCursorMoved ? WATCH_MOUSE : WATCH_KEYBOARD;
        state.bInputPending = false;
    }
    return fMissed;
}

// An event's time is later than the last seen unless the tick count wrapped between.
void NoteSeenAt(HookThread &thread, DWORD dwTime) {
    if (LONG(dwTime - DWORD(thread.nLastSeen)) > 0)
        InterlockedExchange(&thread.nLastSeen, LONG(dwTime));
}

void NoteMouseSeen(HookThread &thread, POINT pt, DWORD dwTime) {
    thread.ptMouseSeen = pt;
    thread.abMayReinstall[0] = true;
    NoteSeenAt(thread, dwTime);
}

void NoteKeySeen(HookThread &thread, UINT nVk, bool bDown, DWORD dwTime) {
    const UINT fBits = FollowedBits(nVk);
    thread.fKeysSeenDown = bDown ? thread.fKeysSeenDown | fBits : thread.fKeysSeenDown & ~fBits;
    thread.abMayReinstall[1] = true;
    NoteSeenAt(thread, dwTime);
}

bool StartHookThread(HookThread &thread, int idFirst, HOOKPROC pfnFirst, int idSecond,
                     HOOKPROC pfnSecond, bool bWatch, void (*pfnHooksBack)()) {
    thread = HookThread();
    thread.aIdHook[0] = idFirst;
    thread.apfnHook[0] = pfnFirst;
    thread.aIdHook[1] = idSecond;
    thread.apfnHook[1] = pfnSecond;
    thread.bWatch = bWatch;
    thread.pfnHooksBack = pfnHooksBack;
    GetCursorPos(&thread.ptMouseSeen);
    thread.hReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread.hDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (thread.hReady && thread.hDone)
        thread.hThread = CreateThread(nullptr, 0, HookThreadMain, &thread, 0, &thread.dwThreadId);
    // Installing takes the thread a moment; it ends at once when a hook was refused.
    if (!thread.hThread || WaitForSingleObject(thread.hReady, INFINITE) != WAIT_OBJECT_0 ||
        !thread.ahHook[0]) {
        Close(thread);
        return false;
    }
    return true;
}

BOOL StopHookThread(HookThread &thread) {
    if (!thread.hThread)
        return FALSE;
    // The thread only takes messages and returns from callbacks at once: its hooks are off
    // promptly.
    PostThreadMessageA(thread.dwThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread.hDone, INFINITE);
    const BOOL bResult = thread.bUnhooked;
    Close(thread);
    return bResult;
}
