#include "input/hook_thread.h"

#include "host/hook_state.h"

namespace {

// How often the thread looks whether its hooks are still on, and how long input may wait for a
// callback before they count as removed: a callback on this thread runs within microseconds.
const DWORD kWatchPeriodMs = 250;
const DWORD kCallbackGraceMs = 200;

void Unhook(HookThread &thread) {
    thread.bUnhooked = thread.ahHook[0] ? UnhookWindowsHookEx(thread.ahHook[0]) : FALSE;
    if (thread.ahHook[1])
        UnhookWindowsHookEx(thread.ahHook[1]);
}

bool Hook(HookThread &thread) {
    for (int i = 0; i < 2 && thread.aIdHook[i]; ++i)
        thread.ahHook[i] =
            SetWindowsHookExA(thread.aIdHook[i], thread.apfnHook[i], hResourceModule, 0);
    NoteHookCall(thread);
    const bool bOn = thread.ahHook[0] && (!thread.aIdHook[1] || thread.ahHook[1]);
    if (!bOn) {
        Unhook(thread);
        thread.ahHook[0] = thread.ahHook[1] = nullptr;
    }
    return bOn;
}

// Puts the hooks back when input came and no callback did.
void Watch(HookThread &thread) {
    LASTINPUTINFO info = {sizeof(info), 0};
    if (!GetLastInputInfo(&info) ||
        !HooksLookRemoved(GetTickCount(), info.dwTime, DWORD(thread.nLastCall)))
        return;
    Unhook(thread);
    // Refused now (a desktop switch), tried again at the next look.
    Hook(thread);
    InterlockedIncrement(&thread.nReinstalls);
}

DWORD WINAPI HookThreadMain(LPVOID pv) {
    HookThread &thread = *static_cast<HookThread *>(pv);
    MSG msg;
    // The thread's queue exists before anyone posts to it.
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    const bool bOn = Hook(thread);
    SetEvent(thread.hReady);
    if (!bOn)
        return 1;
    // Taking messages is what lets the platform call the hooks.
    for (;;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, thread.bWatch ? kWatchPeriodMs : INFINITE,
                                  QS_ALLINPUT);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                Unhook(thread);
                return 0;
            }
            DispatchMessageA(&msg);
        }
        if (thread.bWatch)
            Watch(thread);
    }
}

void Close(HookThread &thread) {
    if (thread.hThread)
        CloseHandle(thread.hThread);
    if (thread.hReady)
        CloseHandle(thread.hReady);
    thread = HookThread();
}

} // namespace

bool HooksLookRemoved(DWORD dwNow, DWORD dwLastInput, DWORD dwLastCall) {
    // Differences of tick counts, which wrap after 49 days.
    return LONG(dwLastInput - dwLastCall) > 0 && dwNow - dwLastInput >= kCallbackGraceMs;
}

bool StartHookThread(HookThread &thread, int idFirst, HOOKPROC pfnFirst, int idSecond,
                     HOOKPROC pfnSecond, bool bWatch) {
    thread = HookThread();
    thread.aIdHook[0] = idFirst;
    thread.apfnHook[0] = pfnFirst;
    thread.aIdHook[1] = idSecond;
    thread.apfnHook[1] = pfnSecond;
    thread.bWatch = bWatch;
    thread.hReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (thread.hReady)
        thread.hThread = CreateThread(nullptr, 0, HookThreadMain, &thread, 0, &thread.dwThreadId);
    // Installing takes the thread a moment; it ends at once when a hook was refused.
    if (!thread.hThread || WaitForSingleObject(thread.hReady, INFINITE) != WAIT_OBJECT_0 ||
        !thread.ahHook[0]) {
        if (thread.hThread)
            WaitForSingleObject(thread.hThread, INFINITE);
        Close(thread);
        return false;
    }
    return true;
}

BOOL StopHookThread(HookThread &thread) {
    if (!thread.hThread)
        return FALSE;
    // The thread only takes messages and returns from callbacks at once: it ends promptly.
    PostThreadMessageA(thread.dwThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread.hThread, INFINITE);
    const BOOL bResult = thread.bUnhooked;
    Close(thread);
    return bResult;
}
