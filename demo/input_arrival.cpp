#include "input_arrival.h"

#include "thread_dpi.h"

#include "spxhk110.h"

#include <initializer_list>

namespace {

InputArrival *g_pWatching = nullptr;

// The kind of input a message brings, the non-client mouse messages of a caption or frame
// included; -1 for a message that no input of a step brings.
int KindOf(UINT nMessage) {
    switch (nMessage) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        return InputArrival::Move;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        return InputArrival::LeftDown;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        return InputArrival::LeftUp;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
        return InputArrival::RightDown;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
        return InputArrival::RightUp;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return InputArrival::KeyDown;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return InputArrival::KeyUp;
    default:
        return -1;
    }
}

bool SamePoint(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

InputArrival::InputArrival() : m_hArrived(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    InitializeCriticalSection(&m_lock);
}

InputArrival::~InputArrival() {
    if (m_hHook)
        UnhookWindowsHookEx(m_hHook);
    if (g_pWatching == this)
        g_pWatching = nullptr;
    if (m_hArrived)
        CloseHandle(m_hArrived);
    DeleteCriticalSection(&m_lock);
}

bool InputArrival::Watch(HWND hwndHost, UINT nSettleMessage) {
    m_hwndHost = hwndHost;
    m_nSettleMessage = nSettleMessage;
    // Before any mouse message, the platform's word is the best there is; no input is under way.
    POINT pt = {};
    GetCursorPos(&pt);
    m_ptLast = m_ptPress = pt;
    m_hHostDpi = CurrentThreadDpi();
    {
        const ThreadDpi perMonitor;
        m_bLastPhysicalKnown = GetCursorPos(&m_ptLastPhysical) != FALSE;
    }
    g_pWatching = this;
    m_hHook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageProc, nullptr, GetCurrentThreadId());
    return m_hHook != nullptr;
}

LRESULT CALLBACK InputArrival::GetMessageProc(int nCode, WPARAM wParam, LPARAM lParam) {
    // A message only looked at is taken again later; the taking is what counts.
    if (nCode == HC_ACTION && wParam == PM_REMOVE && lParam && g_pWatching)
        g_pWatching->Note(*reinterpret_cast<const MSG *>(lParam));
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void InputArrival::Note(const MSG &msg) {
    const int nKind = KindOf(msg.message);
    if (nKind < 0)
        return;
    const bool bKey = nKind == KeyDown || nKind == KeyUp;
    EnterCriticalSection(&m_lock);
    // Any mouse message at the point shows that the cursor got there.
    const bool bAtExpected = !bKey && m_kind == Move && Shows(msg.pt, m_ptExpected);
    if (!bKey) {
        if (bAtExpected) {
            m_ptLastPhysical = m_ptExpected;
            m_bLastPhysicalKnown = true;
        } else if (!SamePoint(msg.pt, m_ptLast)) {
            m_bLastPhysicalKnown = false;
        }
        m_ptLast = msg.pt;
        if (nKind == LeftDown || nKind == RightDown)
            m_ptPress = msg.pt;
    }
    const bool bMatch = m_kind == Move ? bAtExpected
                        : bKey         ? nKind == m_kind && LOWORD(msg.wParam) == m_nVkExpected
                                       : nKind == m_kind;
    if (bMatch && !m_bArrived) {
        m_bArrived = true;
        SetEvent(m_hArrived);
    }
    LeaveCriticalSection(&m_lock);
}

void InputArrival::Expect(Kind kind, POINT pt, WORD nVk) {
    EnterCriticalSection(&m_lock);
    m_kind = kind;
    m_ptExpected = pt;
    m_nVkExpected = nVk;
    m_bArrived = kind == Move && m_bLastPhysicalKnown && SamePoint(pt, m_ptLastPhysical);
    LeaveCriticalSection(&m_lock);
}

// Whether the host's point ptSeen shows the physical pixel pt. Where the host is told a scaled
// screen, one of its points covers a pixel and a part of the next, and the platform rounds either
// way: the pixel's host rectangle, its far edges included.
bool InputArrival::Shows(POINT ptSeen, POINT pt) const {
    if (!m_hHostDpi)
        return SamePoint(ptSeen, pt);
    RECT rc = {pt.x, pt.y, pt.x + 1, pt.y + 1};
    {
        const ThreadDpi host(m_hHostDpi);
        if (!PhysicalToHostRect(&rc))
            return SamePoint(ptSeen, pt);
    }
    const RECT rcPixel = {pt.x, pt.y, pt.x + 1, pt.y + 1};
    const LONG nFar = EqualRect(&rc, &rcPixel) ? 1 : 0;
    return ptSeen.x >= rc.left && ptSeen.x <= rc.right - nFar && ptSeen.y >= rc.top &&
           ptSeen.y <= rc.bottom - nFar;
}

InputArrival::Outcome InputArrival::Wait(HANDLE hStop, DWORD nTimeoutMs) {
    return WaitUntil(false, 0, hStop, nTimeoutMs);
}

InputArrival::Outcome InputArrival::WaitForHost(HANDLE hStop, DWORD nTimeoutMs) {
    EnterCriticalSection(&m_lock);
    const unsigned long nSettle = ++m_nSettlePosted;
    LeaveCriticalSection(&m_lock);
    // Posted messages are handled in the order they were posted: when this one is, so are those
    // before it.
    if (!PostMessageW(m_hwndHost, m_nSettleMessage, WPARAM(nSettle), 0))
        return Arrived;
    return WaitUntil(true, nSettle, hStop, nTimeoutMs);
}

void InputArrival::Settled(WPARAM wParam) {
    EnterCriticalSection(&m_lock);
    m_nSettled = static_cast<unsigned long>(wParam);
    SetEvent(m_hArrived);
    LeaveCriticalSection(&m_lock);
}

bool InputArrival::Done(bool bSettle, unsigned long nSettle) const {
    EnterCriticalSection(&m_lock);
    // Numbers only grow: a later settle handled covers an earlier one.
    const bool bDone = bSettle ? long(m_nSettled - nSettle) >= 0 : m_bArrived;
    LeaveCriticalSection(&m_lock);
    return bDone;
}

InputArrival::Outcome InputArrival::WaitUntil(bool bSettle, unsigned long nSettle, HANDLE hStop,
                                              DWORD nTimeoutMs) {
    const DWORD dwStart = GetTickCount();
    for (;;) {
        if (Done(bSettle, nSettle))
            return Arrived;
        const DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= nTimeoutMs)
            return TimedOut;
        HANDLE handles[2];
        DWORD nHandles = 0;
        for (HANDLE h : {hStop, m_hArrived})
            if (h)
                handles[nHandles++] = h;
        // Without events to wait on, the state is looked at again after a short sleep.
        const DWORD dwWait =
            nHandles ? WaitForMultipleObjects(nHandles, handles, FALSE, nTimeoutMs - dwElapsed)
                     : (Sleep(5), WAIT_TIMEOUT);
        if (hStop && dwWait == WAIT_OBJECT_0)
            return Stopped;
    }
}

POINT InputArrival::LastPoint() const {
    EnterCriticalSection(&m_lock);
    const POINT pt = m_ptLast;
    LeaveCriticalSection(&m_lock);
    return pt;
}

POINT InputArrival::LastPress() const {
    EnterCriticalSection(&m_lock);
    const POINT pt = m_ptPress;
    LeaveCriticalSection(&m_lock);
    return pt;
}
