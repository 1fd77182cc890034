#include "hook/hook_thread.h"

#include "host/hook_state.h"

namespace {

void Unhook(HookThread &thread) {
    thread.bUnhooked = thread.ahHook[0] ? UnhookWindowsHookEx(thread.ahHook[0]) : FALSE;
    if (thread.ahHook[1])
        UnhookWindowsHookEx(thread.ahHook[1]);
}

DWORD WINAPI HookThreadMain(LPVOID pv) {
    HookThread &thread = *static_cast<HookThread *>(pv);
    MSG msg;
    // The thread's queue exists before anyone posts to it.
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    for (int i = 0; i < 2 && thread.aIdHook[i]; ++i)
        thread.ahHook[i] =
            SetWindowsHookExA(thread.aIdHook[i], thread.apfnHook[i], hResourceModule, 0);
    const bool bOn = thread.ahHook[0] && (!thread.aIdHook[1] || thread.ahHook[1]);
    if (!bOn) {
        Unhook(thread);
        thread.ahHook[0] = thread.ahHook[1] = nullptr;
    }
    SetEvent(thread.hReady);
    if (!bOn)
        return 1;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    Unhook(thread);
    return 0;
}

void Close(HookThread &thread) {
    if (thread.hThread)
        CloseHandle(thread.hThread);
    if (thread.hReady)
        CloseHandle(thread.hReady);
    thread = HookThread();
}

} // namespace

bool StartHookThread(HookThread &thread, int idFirst, HOOKPROC pfnFirst, int idSecond,
                     HOOKPROC pfnSecond) {
    thread = HookThread();
    thread.aIdHook[0] = idFirst;
    thread.apfnHook[0] = pfnFirst;
    thread.aIdHook[1] = idSecond;
    thread.apfnHook[1] = pfnSecond;
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
