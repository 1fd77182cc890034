// The input the host's thread takes in: every mouse and key message for its windows, noted as the
// thread takes it from its queue, whichever loop takes it (the host's own, or a drag's inside the
// library). The script player waits on it, so that a step is played only once the step before it
// has reached the host and the library has acted on it, and the host has handled what that posted.
#pragma once

#include <windows.h>

class InputArrival {
public:
    // What a step's input brings to the host.
    enum Kind { Move, LeftDown, LeftUp, RightDown, RightUp, KeyDown, KeyUp };
    enum Outcome { Arrived, Stopped, TimedOut };

    InputArrival();
    ~InputArrival();
    InputArrival(const InputArrival &) = delete;
    InputArrival &operator=(const InputArrival &) = delete;

    // Starts noting the messages the calling thread takes from its queue; false when the
    // platform refused. One watcher at a time in a process. WaitForHost posts nSettleMessage to
    // hwndHost, a window of that thread, whose procedure passes it on to Settled.
    bool Watch(HWND hwndHost, UINT nSettleMessage);
    // Notes what the next input must bring (a move's point pt in physical pixels, a key's code
    // nVk) and forgets what came before; call it before the input is sent. A move to where the
    // host saw the cursor last has arrived already: the platform need not report a move that goes
    // nowhere.
    void Expect(Kind kind, POINT pt, WORD nVk);
    // Waits until the host has taken in what Expect named, hStop is set or nTimeoutMs pass.
    Outcome Wait(HANDLE hStop, DWORD nTimeoutMs);
    // Waits until the host has handled every message posted to its thread so far (what the
    // library or the host's windows posted for the input taken in last), within the same bounds.
    Outcome WaitForHost(HANDLE hStop, DWORD nTimeoutMs);
    // The host's side of WaitForHost, with the settle message's wParam.
    void Settled(WPARAM wParam);
    // Where the host saw the cursor last, and where a button went down last (the cursor's place
    // when Watch began until one does), in the host's coordinates.
    POINT LastPoint() const;
    POINT LastPress() const;

private:
    static LRESULT CALLBACK GetMessageProc(int nCode, WPARAM wParam, LPARAM lParam);
    void Note(const MSG &msg);
    bool Shows(POINT ptSeen, POINT pt) const;
    bool Done(bool bSettle, unsigned long nSettle) const;
    Outcome WaitUntil(bool bSettle, unsigned long nSettle, HANDLE hStop, DWORD nTimeoutMs);

    mutable CRITICAL_SECTION m_lock;
    HANDLE m_hArrived; // set at each message that may be the awaited one
    HHOOK m_hHook = nullptr;
    HWND m_hwndHost = nullptr;
    UINT m_nSettleMessage = 0;
    unsigned long m_nSettlePosted = 0; // the last settle message posted, by number
    unsigned long m_nSettled = 0;      // the last one handled
    Kind m_kind = Move;
    POINT m_ptExpected = {};
    WORD m_nVkExpected = 0;
    bool m_bArrived = true;
    POINT m_ptLast = {};
    POINT m_ptPress = {};
    // The host's thread may be told a scaled screen (a DPI-unaware host): its points are carried
    // from physical pixels in the awareness it had when Watch began, which its windows have.
    HANDLE m_hHostDpi = nullptr;
    // The physical point the host's last mouse message showed, while that is known.
    POINT m_ptLastPhysical = {};
    bool m_bLastPhysicalKnown = false;
};
