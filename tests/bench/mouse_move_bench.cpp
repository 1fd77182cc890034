// Prints what the mouse-move path costs: one rubber-band step (MoveXorBox, one display context),
// one vertex hover marker, one window frame, and a whole selection-hook event in rectangle mode
// while a band is dragged. Figures only; nothing is asserted.
#include "draw/xor_draw.h"
#include "hook/hook_install.h"
#include "host/hook_state.h"

#include <cstdio>
#include <functional>

namespace {

double MicrosecondsPerCall(int nCalls, const std::function<void(int)> &call) {
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < nCalls; ++i)
        call(i);
    QueryPerformanceCounter(&t1);
    return double(t1.QuadPart - t0.QuadPart) * 1e6 / double(freq.QuadPart) / nCalls;
}

} // namespace

int main() {
    const int n = 2000; // even: every figure is drawn an even number of times and so erased
    std::printf("MoveXorBox (rubber band step):   %8.1f us\n", MicrosecondsPerCall(n, [](int i) {
                    MoveXorBox(100, 100, 200 + (i & 1), 200, 200 + ((i + 1) & 1), 200, 0);
                }));
    std::printf("XorBox (ellipse):                %8.1f us\n",
                MicrosecondsPerCall(n, [](int) { XorBox(100, 100, 300, 250, 1); }));
    const POINT pt = {300, 300};
    std::printf("XorVertexMarker:                 %8.1f us\n",
                MicrosecondsPerCall(n, [&](int) { XorVertexMarker(pt); }));
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 400, 300, 200, 150, nullptr,
                                nullptr, nullptr, nullptr);
    std::printf("SPXXORWindow:                    %8.1f us\n",
                MicrosecondsPerCall(n, [&](int) { SPXXORWindow(hwnd); }));

    // A hook event as the platform delivers it: a move while a band is dragged in rectangle mode.
    static HostRecord record;
    record.shape.nMode = MODE_RECTANGLE;
    hResourceModule = GetModuleHandleA(nullptr);
    pHostRecord = &record;
    bButtonDown = 1;
    SetCursorPos(150, 150);
    GetCursorPos(&ptBoxAnchor);
    ptBoxCurrent = ptBoxAnchor;
    XorBox(ptBoxAnchor.x, ptBoxAnchor.y, ptBoxCurrent.x, ptBoxCurrent.y, 0);
    EVENTMSG ev = {WM_MOUSEMOVE, 150, 150, 0, hwnd};
    std::printf("SelectionHookProc (band move):   %8.1f us\n",
                MicrosecondsPerCall(n / 10, [&](int i) {
                    SetCursorPos(200 + (i & 7), 180);
                    SelectionHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&ev));
                }));
    XorBox(ptBoxAnchor.x, ptBoxAnchor.y, ptBoxCurrent.x, ptBoxCurrent.y, 0);
    DestroyWindow(hwnd);
    return 0;
}
