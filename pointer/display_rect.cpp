#include "pointer/display_rect.h"

#include <cstring>

namespace {

// The desktop's device context, released however the reading ends.
class DesktopDC {
public:
    DesktopDC() : m_window(GetDesktopWindow()), m_dc(GetDC(m_window)) {}
    ~DesktopDC() {
        if (m_dc != NULL) ReleaseDC(m_window, m_dc);
    }
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;

    DesktopDC(const DesktopDC&) = delete;
    DesktopDC& operator=(const DesktopDC&) = delete;
};

struct DisplaySearch {
    const char* monitor;
    const char* device;
    RECT rect;
    bool found;
};

// The monitor's name decides; a device name that matches is kept until the
// search ends without one.
BOOL CALLBACK CompareDisplay(HMONITOR handle, HDC, LPRECT, LPARAM data) {
    DisplaySearch& search = *reinterpret_cast<DisplaySearch*>(data);
    MONITORINFOEXA info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(handle, &info)) return TRUE;
    if (search.monitor[0] != '\0') {
        char monitor[kMonitorNameSize];
        ReadMonitorName(info.szDevice, monitor);
        if (std::strncmp(monitor, search.monitor, sizeof monitor) == 0) {
            search.rect = info.rcMonitor;
            search.found = true;
            return FALSE;
        }
    }
    if (search.found || std::strncmp(info.szDevice, search.device, sizeof info.szDevice) != 0) return TRUE;
    search.rect = info.rcMonitor;
    search.found = true;
    return search.monitor[0] != '\0';
}

}  // namespace

RECT ReadPrimaryDisplayRect() {
    DesktopDC screen;
    const RECT rect = {0, 0, GetDeviceCaps(screen.Get(), HORZRES), GetDeviceCaps(screen.Get(), VERTRES)};
    return rect;
}

void ReadMonitorName(const char* device, char (&monitor)[kMonitorNameSize]) {
    DISPLAY_DEVICEA info;
    std::memset(&info, 0, sizeof info);
    info.cb = sizeof info;
    static_assert(sizeof info.DeviceID == kMonitorNameSize, "the interface name's field");
    if (!EnumDisplayDevicesA(device, 0, &info, EDD_GET_DEVICE_INTERFACE_NAME)) info.DeviceID[0] = '\0';
    std::memcpy(monitor, info.DeviceID, sizeof monitor);
    monitor[kMonitorNameSize - 1] = '\0';
}

bool FindDisplayRect(const char* monitor, const char* device, RECT& rect) {
    DisplaySearch search = {monitor, device, {0, 0, 0, 0}, false};
    EnumDisplayMonitors(NULL, NULL, CompareDisplay, reinterpret_cast<LPARAM>(&search));
    if (search.found) rect = search.rect;
    return search.found;
}
