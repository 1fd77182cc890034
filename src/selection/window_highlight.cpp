#include "selection/window_highlight.h"

#include "host/dpi_scope.h"
#include "host/hook_state.h"

void HighlightWindowUnderCursor() {
    HostRecord &record = *pHostRecord;
    if (!record.bHighlightWindows)
        return;
    const HWND hwnd = WindowFromPoint(ptCursor);
    if (!IsWindow(hwnd) || hwnd == record.hwndUnderCursor)
        return;
    if (IsWindow(record.hwndFramed)) {
        SPXXORWindow(record.hwndFramed);
        // What was under the frame's pixels repaints at once, children and frame included.
        RedrawWindow(record.hwndFramed, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    }
    record.hwndUnderCursor = hwnd;
    record.hwndFramed = hwnd;
    SPXXORWindow(hwnd);
    HostPixels hostPixels;
    SendMessageA(hwndNotify, UM_SELECTION, reinterpret_cast<WPARAM>(hwnd), 0);
}
