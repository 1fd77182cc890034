#include "tracker/mouse_capture.h"

#include "host/dpi_scope.h"

namespace {

bool IsInputMessage(UINT nMessage) {
    return (nMessage >= WM_MOUSEFIRST && nMessage <= WM_MOUSELAST) ||
           (nMessage >= WM_KEYFIRST && nMessage <= WM_KEYLAST);
}

} // namespace

void DispatchPassedOn(const MSG &msg) noexcept {
    HostPixels hostPixels;
    DispatchMessageA(&msg);
}

bool IsFromDragInput(const MSG &msg, const DragInput *pInput) noexcept {
    // While the source takes the input, the thread's own input messages never reach the loop.
    return pInput && pInput->TakesInput() && IsInputMessage(msg.message);
}

bool GetCapturedMessage(HWND hwnd, MSG &msg, DragInput *pInput) noexcept {
    for (;;) {
        const bool bSource = pInput && pInput->TakesInput();
        if (bSource) {
            if (GetCapture() != hwnd)
                return false;
            const int nInput = pInput->Next(hwnd, msg);
            if (nInput == DRAG_INPUT_EVENT)
                return true;
            if (nInput == DRAG_INPUT_END)
                return false;
        }
        const BOOL bGot = GetMessageA(&msg, nullptr, 0, 0);
        if (bGot <= 0) {
            if (bGot == 0)
                PostQuitMessage(int(msg.wParam));
            return false;
        }
        if (GetCapture() != hwnd) {
            DispatchPassedOn(msg);
            return false;
        }
        if (bSource && IsInputMessage(msg.message)) {
            // The source has this event already. Keys still reach the host's windows; the
            // mouse is the drag's.
            if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
                DispatchPassedOn(msg);
            continue;
        }
        return true;
    }
}
