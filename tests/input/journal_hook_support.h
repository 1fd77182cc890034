// What the tests of the two journal-record hook procedures share besides hook_test_support.h: a
// hook claimed by another host, and a real hook chain to call a hook procedure from, so that what
// it hands on down the chain can be seen.
#pragma once

#include "host/hook_claim.h"
#include "host/hook_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// A hook's claim as another host holds it: its named object, open while this lives. Held() only
// when no one held it before: this process's hooks included.
class AnotherHostsClaim {
public:
    explicit AnotherHostsClaim(HookClaim nClaim)
        : m_hClaim(CreateMutexA(nullptr, FALSE, HookClaimName(nClaim))),
          m_bFirst(m_hClaim && GetLastError() != ERROR_ALREADY_EXISTS) {}
    ~AnotherHostsClaim() {
        if (m_hClaim)
            CloseHandle(m_hClaim);
    }
    AnotherHostsClaim(const AnotherHostsClaim &) = delete;
    AnotherHostsClaim &operator=(const AnotherHostsClaim &) = delete;
    bool Held() const { return m_bFirst; }

private:
    HANDLE m_hClaim;
    bool m_bFirst;
};

// What the hook after ours in the chain was handed.
struct HandedOn {
    int nCode;
    WPARAM wParam;
    LPARAM lParam;
};

// What the recording hook at the end of the chain returns.
constexpr LRESULT kNextHookResult = 0x5A5;

namespace journal_chain {

inline HHOOK g_hRecorder = nullptr;
inline HHOOK g_hCaller = nullptr;
inline std::vector<HandedOn> *g_pHandedOn = nullptr;
inline const std::function<void()> *g_pfnInside = nullptr;
inline bool g_bCalled = false;

inline LRESULT CALLBACK Recorder(int nCode, WPARAM wParam, LPARAM lParam) {
    if (g_pHandedOn)
        g_pHandedOn->push_back({nCode, wParam, lParam});
    return kNextHookResult;
}

// Runs the test's calls once, from inside the first record the platform hands it; records that
// arrive later are passed on as they are.
inline LRESULT CALLBACK Caller(int nCode, WPARAM wParam, LPARAM lParam) {
    if (g_bCalled || !g_pfnInside)
        return CallNextHookEx(g_hCaller, nCode, wParam, lParam);
    g_bCalled = true;
    (*g_pfnInside)();
    return 0;
}

inline LRESULT CALLBACK KeyWndProc(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, nMsg, wParam, lParam);
}

} // namespace journal_chain

// Whether the platform refuses this program journal-record hooks.
inline bool JournalHooksRefused() {
    const HHOOK hHook =
        SetWindowsHookExA(WH_JOURNALRECORD, journal_chain::Recorder, GetModuleHandleA(nullptr), 0);
    if (hHook)
        UnhookWindowsHookEx(hHook);
    return !hHook;
}

// Calls fnInside from inside a journal-record hook procedure that the platform is calling, with a
// recording hook next in the chain. CallNextHookEx passes a record to the hook after the one being
// called, so every record that the calls of fnInside pass on lands in handedOn; each of those
// CallNextHookEx calls returns kNextHookResult. The platform calls the hooks when this thread
// takes a key press from its input queue: one is sent to a window of this thread. False when the
// platform never called the hook.
inline bool CallInsideJournalChain(const std::function<void()> &fnInside,
                                   std::vector<HandedOn> &handedOn) {
    using namespace journal_chain;
    static const ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = KeyWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SpxTestKeyTarget";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "SpxTestKeyTarget", "",
                                WS_POPUP | WS_VISIBLE, 900, 700, 20, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);

    // The recorder goes in first: the hook installed last is called first.
    g_pHandedOn = &handedOn;
    g_pfnInside = &fnInside;
    g_bCalled = false;
    g_hRecorder = SetWindowsHookExA(WH_JOURNALRECORD, Recorder, GetModuleHandleA(nullptr), 0);
    g_hCaller = SetWindowsHookExA(WH_JOURNALRECORD, Caller, GetModuleHandleA(nullptr), 0);

    INPUT aInput[2] = {};
    aInput[0].type = INPUT_KEYBOARD;
    aInput[0].ki.wVk = VK_F24;
    aInput[1] = aInput[0];
    aInput[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, aInput, sizeof(INPUT));
    for (int i = 0; i < 100 && !g_bCalled; ++i) {
        while (!g_bCalled && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (!g_bCalled)
            Sleep(10);
    }

    UnhookWindowsHookEx(g_hCaller);
    UnhookWindowsHookEx(g_hRecorder);
    g_hCaller = g_hRecorder = nullptr;
    g_pHandedOn = nullptr;
    g_pfnInside = nullptr;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    DestroyWindow(hwnd);
    return g_bCalled;
}
