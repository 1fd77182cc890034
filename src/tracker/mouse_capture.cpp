#include "tracker/mouse_capture.h"

namespace {

DragInputFn pfnDragInput = nullptr;

bool IsInputMessage(UINT nMessage) {
    return (nMessage >= WM_MOUSEFIRST && nMessage <= WM_MOUSELAST) ||
           (nMessage >= WM_KEYFIRST && nMessage <= WM_KEYLAST);
}

} // namespace

void SetDragInput(DragInputFn pfnInput) noexcept {
    pfnDragInput = pfnInput;
}

bool IsFromDragInput(const MSG &msg) noexcept {
    // With a source set, the thread's own input messages never reach the drag's loop.
    return pfnDragInput && IsInputMessage(msg.message);
}

bool GetCapturedMessage(HWND hwnd, MSG &msg) noexcept {
    for (;;) {
        if (pfnDragInput) {
            if (GetCapture() != hwnd)
                return false;
            const int nInput = pfnDragInput(hwnd, msg);
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
            DispatchMessageA(&msg);
            return false;
        }
        if (pfnDragInput && IsInputMessage(msg.message)) {
            // The source has this event already. Keys still reach the host's windows; the
            // mouse is the drag's.
            if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
                DispatchMessageA(&msg);
            continue;
        }
        return true;
    }
}
