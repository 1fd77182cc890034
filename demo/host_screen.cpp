#include "host_screen.h"

#include "thread_dpi.h"

#include <utility>

namespace {

BOOL CALLBACK NoteMonitor(HMONITOR hMonitor, HDC, LPRECT prc, LPARAM lParam) {
    reinterpret_cast<std::vector<std::pair<HMONITOR, RECT>> *>(lParam)->push_back({hMonitor, *prc});
    return TRUE;
}

} // namespace

PixelImage GrabScreenAsSeen() {
    std::vector<std::pair<HMONITOR, RECT>> physical;
    PixelImage image;
    {
        const ThreadDpi perMonitor;
        image = GrabScreen(false);
        EnumDisplayMonitors(nullptr, nullptr, NoteMonitor, LPARAM(&physical));
    }
    // The same monitors again, in the coordinates this thread is told.
    std::vector<MonitorPlace> monitors;
    for (const auto &monitor : physical) {
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        if (GetMonitorInfoA(monitor.first, &mi))
            monitors.push_back(MonitorPlace{monitor.second, mi.rcMonitor});
    }
    return SeenFromPhysical(image, monitors, VirtualScreenRect());
}

RECT PhysicalScreenRect() {
    const ThreadDpi perMonitor;
    return VirtualScreenRect();
}
