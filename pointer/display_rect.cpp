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
    const char* name;
    RECT rect;
    bool found;
};

BOOL CALLBACK CompareDisplay(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    DisplaySearch& search = *reinterpret_cast<DisplaySearch*>(data);
    MONITORINFOEXA info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    if (std::strncmp(info.szDevice, search.name, sizeof info.szDevice) != 0) return TRUE;
    search.rect = info.rcMonitor;
    search.found = true;
    return FALSE;
}

}  // namespace

RECT ReadPrimaryDisplayRect() {
    DesktopDC screen;
    const RECT rect = {0, 0, GetDeviceCaps(screen.Get(), HORZRES), GetDeviceCaps(screen.Get(), VERTRES)};
    return rect;
}

bool FindDisplayRect(const char* name, RECT& rect) {
    DisplaySearch search = {name, {0, 0, 0, 0}, false};
    EnumDisplayMonitors(NULL, NULL, CompareDisplay, reinterpret_cast<LPARAM>(&search));
    if (search.found) rect = search.rect;
    return search.found;
}
