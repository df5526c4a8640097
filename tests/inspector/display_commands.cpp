// The display mode, as a program reads it from the screen, and a change of it
// as a game makes one; the primary display's device name and its first
// monitor's interface name, as the system gives them.
#include "commands.h"
#include "output.h"

bool CmdDisplay(Session&, const Args& args)
{
    long width = 0;
    long height = 0;
    if (!args.empty() && (args.size() != 2 || !ParseLong(args[0], width) || !ParseLong(args[1], height)))
        return Fail("usage: display [WIDTH HEIGHT]");
    if (!args.empty()) {
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = static_cast<DWORD>(width);
        mode.dmPelsHeight = static_cast<DWORD>(height);
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        const LONG result = ::ChangeDisplaySettingsA(&mode, 0);
        if (result != DISP_CHANGE_SUCCESSFUL)
            return Fail("ChangeDisplaySettingsA answered " + std::to_string(result));
    }
    ScopedScreenDC screen;
    if (screen.get() == nullptr)
        return Fail("no screen device context");
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    ::GetMonitorInfoA(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    DISPLAY_DEVICEA monitor = {};
    monitor.cb = sizeof monitor;
    if (!::EnumDisplayDevicesA(info.szDevice, 0, &monitor, EDD_GET_DEVICE_INTERFACE_NAME))
        monitor.DeviceID[0] = '\0';
    PrintLine("display width=" + std::to_string(::GetDeviceCaps(screen.get(), HORZRES)) +
              " height=" + std::to_string(::GetDeviceCaps(screen.get(), VERTRES)) + " device=" + Quoted(info.szDevice) +
              " monitor=" + Quoted(monitor.DeviceID));
    return true;
}
