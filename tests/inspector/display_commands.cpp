// The display mode, as a program reads it from the screen, and a change of it
// as a game makes one.
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
    PrintLine("display width=" + std::to_string(::GetDeviceCaps(screen.get(), HORZRES)) +
              " height=" + std::to_string(::GetDeviceCaps(screen.get(), VERTRES)));
    return true;
}
