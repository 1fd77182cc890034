// The Escape hook: turning it on and off, and what its procedure makes of each input record.
#include "input/escape_input.h"

#include "hook_test_support.h"
#include "journal_hook_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HWND CreateTarget() {
    static const ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SpxTestEscapeTarget";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    return CreateWindowExA(0, "SpxTestEscapeTarget", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The state words saved and put back, the Escape hook off as after load, and two windows that
// can receive UM_ESCAPE.
class EscapeHookTest : public testing::Test {
protected:
    void SetUp() override {
        // The hook is installed for every thread, which takes the module that holds the
        // procedure: here the program itself.
        hResourceModule = GetModuleHandleA(nullptr);
        hKeyHook = nullptr;
        bKeyHookOn = 0;
        hwndEscapeTarget = nullptr;
        bKeyHookFirst = 0;
        m_hwndFirst = CreateTarget();
        m_hwndSecond = CreateTarget();
        ASSERT_NE(m_hwndFirst, nullptr);
        ASSERT_NE(m_hwndSecond, nullptr);
    }
    void TearDown() override {
        if (bKeyHookOn && hKeyHook) {
            ADD_FAILURE() << "the test left the hook installed";
            UnhookWindowsHookEx(hKeyHook);
        }
        DestroyWindow(m_hwndFirst);
        DestroyWindow(m_hwndSecond);
    }

    HWND First() const { return m_hwndFirst; }
    HWND Second() const { return m_hwndSecond; }

    // The UM_ESCAPE messages posted to hwnd, taken from the queue; each must carry wParam 0 and
    // lParam 0.
    static int TakeEscapes(HWND hwnd) {
        int n = 0;
        MSG msg;
        while (PeekMessageA(&msg, hwnd, UM_ESCAPE, UM_ESCAPE, PM_REMOVE)) {
            EXPECT_EQ(msg.wParam, 0u);
            EXPECT_EQ(msg.lParam, 0);
            ++n;
        }
        return n;
    }

    static LRESULT Record(UINT nMessage, DWORD dwParamL, int nCode = HC_ACTION, WPARAM wParam = 0) {
        EVENTMSG event = {nMessage, UINT(dwParamL), 1, GetTickCount(), nullptr};
        return EscapeHookProc(nCode, wParam, reinterpret_cast<LPARAM>(&event));
    }

private:
    // Declared first, so that they are put back last.
    SavedHookState m_state;
    HWND m_hwndFirst = nullptr;
    HWND m_hwndSecond = nullptr;
};

// --- Turning it on and off -----------------------------------------------------------------------

using SetKeyboardHookTest = EscapeHookTest;

TEST_F(SetKeyboardHookTest, TurningOnInstallsTheHookAndNamesTheTarget) {
    EXPECT_EQ(SetKeyboardHook(First(), 1), 1);
    EXPECT_NE(hKeyHook, nullptr);
    EXPECT_EQ(bKeyHookOn, 1);
    EXPECT_EQ(hwndEscapeTarget, First());

    EXPECT_NE(SetKeyboardHook(First(), 0), 0);
    EXPECT_EQ(hKeyHook, nullptr);
    EXPECT_EQ(bKeyHookOn, 0);
}

TEST_F(SetKeyboardHookTest, TurningOnAgainKeepsTheHookButChangesTheTarget) {
    ASSERT_EQ(SetKeyboardHook(First(), 1), 1);
    const HHOOK hHook = hKeyHook;
    for (BOOL bEnable : {1, 2, -1}) {
        SCOPED_TRACE("on as " + std::to_string(bEnable));
        EXPECT_EQ(SetKeyboardHook(Second(), bEnable), 0);
        EXPECT_EQ(hKeyHook, hHook);
        EXPECT_EQ(bKeyHookOn, 1);
        EXPECT_EQ(hwndEscapeTarget, Second());
    }
    EXPECT_EQ(Record(WM_KEYDOWN, VK_ESCAPE), 1);
    EXPECT_EQ(TakeEscapes(Second()), 1);
    EXPECT_EQ(TakeEscapes(First()), 0);
    EXPECT_NE(SetKeyboardHook(Second(), 0), 0);
}

TEST_F(SetKeyboardHookTest, TurningOffWhileOffReturnsZeroAndStillChangesTheTarget) {
    hwndEscapeTarget = First();
    EXPECT_EQ(SetKeyboardHook(Second(), 0), 0);
    EXPECT_EQ(hwndEscapeTarget, Second());
    EXPECT_EQ(hKeyHook, nullptr);
    EXPECT_EQ(bKeyHookOn, 0);
}

TEST_F(SetKeyboardHookTest, TheInstalledHookReportsAnEscapePressOfThisThread) {
    HWND hwndFocus = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "SpxTestEscapeTarget", "",
                                     WS_POPUP | WS_VISIBLE, 900, 700, 20, 20, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(hwndFocus);
    SetFocus(hwndFocus);
    ASSERT_EQ(SetKeyboardHook(First(), 1), 1);

    INPUT aInput[2] = {};
    aInput[0].type = INPUT_KEYBOARD;
    aInput[0].ki.wVk = VK_ESCAPE;
    aInput[1] = aInput[0];
    aInput[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, aInput, sizeof(INPUT));
    int nEscapes = 0;
    for (int nQuiet = 0; nQuiet < 5;) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ++nQuiet;
            Sleep(20);
            continue;
        }
        nQuiet = 0;
        if (msg.message == UM_ESCAPE && msg.hwnd == First())
            ++nEscapes;
        else
            DispatchMessageA(&msg);
    }

    EXPECT_NE(SetKeyboardHook(First(), 0), 0);
    EXPECT_EQ(nEscapes, 1);
    DestroyWindow(hwndFocus);
}

TEST_F(SetKeyboardHookTest, AnotherHostsClaimKeepsTheHookOffUntilItGoes) {
    {
        AnotherHostsClaim other(CLAIM_ESCAPE);
        ASSERT_TRUE(other.Held());
        hwndEscapeTarget = First();
        EXPECT_EQ(SetKeyboardHook(Second(), TRUE), 0);
        EXPECT_EQ(hKeyHook, nullptr);
        EXPECT_EQ(bKeyHookOn, 0);
        EXPECT_EQ(hwndEscapeTarget, First()) << "nothing changed";
    }
    ASSERT_EQ(SetKeyboardHook(Second(), TRUE), 1);
    EXPECT_FALSE(AnotherHostsClaim(CLAIM_ESCAPE).Held());
    EXPECT_NE(SetKeyboardHook(Second(), FALSE), 0);
    EXPECT_TRUE(AnotherHostsClaim(CLAIM_ESCAPE).Held()) << "turning off gives the claim up";
}

// --- The records ---------------------------------------------------------------------------------

using EscapeHookProcTest = EscapeHookTest;

TEST_F(EscapeHookProcTest, AnEscapeKeyDownIsReportedAndKeptFromTheChain) {
    hwndEscapeTarget = First();
    // The other bytes of paramL carry the scan code and whatever else; only the low one counts.
    for (DWORD dwParamL : {DWORD(VK_ESCAPE), DWORD(0x011B), DWORD(0xFFFFFF1B)}) {
        SCOPED_TRACE("paramL " + std::to_string(dwParamL));
        EXPECT_EQ(Record(WM_KEYDOWN, dwParamL), 1);
        EXPECT_EQ(TakeEscapes(First()), 1);
    }
}

TEST_F(EscapeHookProcTest, EveryRepeatedKeyDownPostsItsOwnMessage) {
    hwndEscapeTarget = First();
    for (int i = 0; i < 3; ++i)
        Record(WM_KEYDOWN, 0x4001011B);
    EXPECT_EQ(TakeEscapes(First()), 3);
}

TEST_F(EscapeHookProcTest, OtherRecordsArePassedOnAndPostNothing) {
    hwndEscapeTarget = First();
    struct Case {
        const char *pszWhat;
        int nCode;
        UINT nMessage;
        DWORD dwParamL;
    } const cases[] = {
        {"Escape released", HC_ACTION, WM_KEYUP, VK_ESCAPE},
        {"Escape with Alt held", HC_ACTION, WM_SYSKEYDOWN, VK_ESCAPE},
        {"Escape as a character", HC_ACTION, WM_CHAR, VK_ESCAPE},
        {"Enter", HC_ACTION, WM_KEYDOWN, VK_RETURN},
        {"27 above the low byte", HC_ACTION, WM_KEYDOWN, 0x1B00},
        {"a mouse move at x 27", HC_ACTION, WM_MOUSEMOVE, VK_ESCAPE},
        {"a nonzero code", 1, WM_KEYDOWN, VK_ESCAPE},
        {"the system-modal code", HC_SYSMODALON, WM_KEYDOWN, VK_ESCAPE},
        {"a negative code", -1, WM_KEYDOWN, VK_ESCAPE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pszWhat);
        // Outside a hook chain there is no next hook, and passing on gives 0.
        EXPECT_EQ(Record(c.nMessage, c.dwParamL, c.nCode), 0);
        EXPECT_EQ(TakeEscapes(First()), 0);
    }
}

TEST_F(EscapeHookProcTest, AnAddressWithItsHighBitsSetIsNeverRead) {
    hwndEscapeTarget = First();
    // Reading any of these would fault: above a 32-bit build's records, or beyond user memory.
#ifdef _WIN64
    const ULONG_PTR aAddresses[] = {0x0000800000000000, 0xFFFF800000001000, ~ULONG_PTR(0xFFF)};
#else
    const ULONG_PTR aAddresses[] = {0x20000000, 0x80000000, 0xE0001000};
#endif
    for (ULONG_PTR nAddress : aAddresses) {
        const LPARAM lParam = LPARAM(nAddress);
        SCOPED_TRACE("lParam " + std::to_string(nAddress));
        EXPECT_EQ(EscapeHookProc(HC_ACTION, 0, lParam), 0);
    }
    EXPECT_EQ(EscapeHookProc(HC_ACTION, 0, 0), 0);
    EXPECT_EQ(TakeEscapes(First()), 0);
}

TEST_F(EscapeHookProcTest, AnEscapeIsKeptEvenWhenItCannotBeReported) {
    HWND hwndGone = CreateTarget();
    DestroyWindow(hwndGone);
    for (HWND hwnd : {hwndGone, static_cast<HWND>(nullptr)}) {
        hwndEscapeTarget = hwnd;
        EXPECT_EQ(Record(WM_KEYDOWN, VK_ESCAPE), 1);
    }
}

TEST_F(EscapeHookProcTest, PassesRecordsOnWithTheLow16BitsOfWParamButNeverAnEscape) {
    hwndEscapeTarget = First();
    struct Call {
        const char *pszWhat;
        int nCode;
        UINT nMessage;
        DWORD dwParamL;
        bool bNullEvent;
        bool bHandedOn;
    } const calls[] = {
        {"a key", HC_ACTION, WM_KEYDOWN, 'A', false, true},
        {"Escape released", HC_ACTION, WM_KEYUP, VK_ESCAPE, false, true},
        {"a negative code", -1, WM_KEYDOWN, VK_ESCAPE, false, true},
        {"no record", HC_ACTION, WM_KEYDOWN, 0, true, true},
        {"Escape", HC_ACTION, WM_KEYDOWN, VK_ESCAPE, false, false},
    };
    const WPARAM wParamGiven = 0xABCD1234;
    std::vector<EVENTMSG> events(std::size(calls));
    std::vector<LRESULT> results;
    std::vector<HandedOn> handedOn;

    const bool bCalled = CallInsideJournalChain(
        [&] {
            for (size_t i = 0; i < std::size(calls); ++i) {
                events[i] = EVENTMSG{calls[i].nMessage, calls[i].dwParamL, 1, 0, nullptr};
                const LPARAM lParam =
                    calls[i].bNullEvent ? 0 : reinterpret_cast<LPARAM>(&events[i]);
                const size_t nBefore = handedOn.size();
                results.push_back(EscapeHookProc(calls[i].nCode, wParamGiven, lParam));
                SCOPED_TRACE(calls[i].pszWhat);
                ASSERT_EQ(handedOn.size(), nBefore + (calls[i].bHandedOn ? 1 : 0));
                if (!calls[i].bHandedOn)
                    continue;
                EXPECT_EQ(handedOn.back().nCode, calls[i].nCode);
                EXPECT_EQ(handedOn.back().wParam, WPARAM(0x1234));
                EXPECT_EQ(handedOn.back().lParam, lParam);
            }
        },
        handedOn);

    if (!bCalled && JournalHooksRefused())
        GTEST_SKIP() << "the platform refuses journal-record hooks, as Windows 10 and 11 do";
    ASSERT_TRUE(bCalled) << "the platform never called the journal-record hook";
    ASSERT_EQ(results.size(), std::size(calls));
    for (size_t i = 0; i < std::size(calls); ++i) {
        SCOPED_TRACE(calls[i].pszWhat);
        EXPECT_EQ(results[i], calls[i].bHandedOn ? kNextHookResult : 1);
    }
}

} // namespace

// A 64-bit host's records can lie anywhere in its address space: one above 4 GiB, whose low 32
// bits look like a forbidden 32-bit address, is read and reported.
TEST_F(EscapeHookProcTest, ARecordAbove4GiBIsReported) {
    if (sizeof(void *) < 8)
        GTEST_SKIP() << "32-bit build";
    void *pPage = nullptr;
    for (ULONG_PTR nAt = ULONG_PTR(0x1E0000000ull); !pPage && nAt < ULONG_PTR(0x400000000ull);
         nAt += 0x10000)
        pPage = VirtualAlloc(reinterpret_cast<void *>(nAt), 4096, MEM_RESERVE | MEM_COMMIT,
                             PAGE_READWRITE);
    ASSERT_NE(pPage, nullptr);
    EXPECT_GT(static_cast<unsigned long long>(ULONG_PTR(pPage)), 0xFFFFFFFFull);
    hwndEscapeTarget = First();
    auto *pEvent = static_cast<EVENTMSG *>(pPage);
    *pEvent = EVENTMSG{WM_KEYDOWN, VK_ESCAPE, 1, GetTickCount(), nullptr};
    EXPECT_EQ(EscapeHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(pEvent)), 1);
    EXPECT_EQ(TakeEscapes(First()), 1);
    VirtualFree(pPage, 0, MEM_RELEASE);
}
