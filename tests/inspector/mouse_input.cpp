#include "mouse_input.h"

namespace {

INPUT Button(DWORD flags, DWORD stamp)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.time = stamp;
    return input;
}

} // namespace

bool ParseClickKind(const std::string& text, ClickKind& kind)
{
    if (text == "left")
        kind = ClickKind::Left;
    else if (text == "right")
        kind = ClickKind::Right;
    else if (text == "double")
        kind = ClickKind::Double;
    else
        return false;
    return true;
}

DWORD SendClicks(ClickKind kind)
{
    const DWORD down = kind == ClickKind::Right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const DWORD up = kind == ClickKind::Right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    // A double-click's presses carry one time stamp: however slowly they go
    // out, the system sees them within its double-click time. Zero lets the
    // system stamp a single click itself.
    const DWORD stamp = kind == ClickKind::Double ? ::GetTickCount() : 0;
    INPUT inputs[4] = {Button(down, stamp), Button(up, stamp), Button(down, stamp), Button(up, stamp)};
    ::SendInput(kind == ClickKind::Double ? 4 : 2, inputs, sizeof inputs[0]);
    return ::GetTickCount();
}

void SendMove()
{
    INPUT move = Button(MOUSEEVENTF_MOVE, 0);
    ::SendInput(1, &move, sizeof move);
}
