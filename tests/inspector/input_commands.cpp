// Input given to the program as a user gives it: clicks, keys, the caption's
// buttons. Keys and mouse buttons go through the system's input queue, so
// they reach whichever window is in front, as a person's would.
#include <windows.h>

#include <cstring>

#include "commands.h"
#include "mouse_input.h"
#include "output.h"

namespace {

struct KeyName {
    const char* name;
    WORD key;
};

const KeyName kKeys[] = {
    {"esc", VK_ESCAPE}, {"enter", VK_RETURN}, {"tab", VK_TAB}, {"space", VK_SPACE},
    {"up", VK_UP},      {"down", VK_DOWN},    {"home", VK_HOME}, {"end", VK_END},
    {"backspace", VK_BACK},
};

bool KeyCode(const std::string& name, WORD& key, bool& shifted)
{
    std::string plain = name;
    shifted = plain.compare(0, 6, "shift+") == 0;
    if (shifted)
        plain = plain.substr(6);
    for (const KeyName& entry : kKeys) {
        if (plain == entry.name) {
            key = entry.key;
            return true;
        }
    }
    return false;
}

void SendKey(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(key, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
}

void Press(WORD key, bool shifted)
{
    if (shifted)
        SendKey(VK_SHIFT, false);
    SendKey(key, false);
    SendKey(key, true);
    if (shifted)
        SendKey(VK_SHIFT, true);
}

// Keys go to the foreground window, so it must be ours first.
bool BringToFront(Session& session)
{
    if (!session.ResolveWindow())
        return false;
    HWND window = session.window();
    const bool front = WaitUntil(2000, [&] {
        if (::GetForegroundWindow() == window)
            return true;
        ::SetForegroundWindow(window);
        return false;
    });
    return front || Fail("cannot bring the window to the front");
}

HWND FocusOf(Session& session)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(session.thread(), &info) ? info.hwndFocus : nullptr;
}

LRESULT Ask(HWND window, UINT message)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
}

bool Post(Session& session, UINT message, WPARAM wParam)
{
    if (!session.ResolveWindow())
        return false;
    return ::PostMessageA(session.window(), message, wParam, 0) || Fail("PostMessage failed");
}

} // namespace

bool CmdClick(Session& session, const Args& args)
{
    if (args.size() != 1)
        return Fail("usage: click ID");
    HWND button = DialogControl(session, args[0]);
    if (button == nullptr)
        return false;
    // The tick lets a test order the click against recorded input events.
    const DWORD tick = ::GetTickCount();
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result))
        return Fail("BM_CLICK was not answered");
    PrintLine("clicked id=" + args[0] + " tick=" + std::to_string(tick));
    return true;
}

// select ID INDEX: focuses the list and steps to the item with arrow keys, so
// the list tells the dialog of each new selection.
bool CmdSelect(Session& session, const Args& args)
{
    long target = 0;
    if (args.size() != 2 || !ParseLong(args[1], target) || target < 0)
        return Fail("usage: select ID INDEX");
    HWND combo = DialogControl(session, args[0]);
    if (combo == nullptr || !BringToFront(session))
        return false;
    ::SendMessageA(session.window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), TRUE);
    if (!WaitUntil(2000, [&] { return DialogChildOf(session.window(), FocusOf(session)) == combo; }))
        return Fail("the list does not take the focus");
    long current = static_cast<long>(Ask(combo, CB_GETCURSEL));
    if (current < 0) {
        Press(VK_HOME, false);
        current = 0;
    }
    for (; current < target; ++current)
        Press(VK_DOWN, false);
    for (; current > target; --current)
        Press(VK_UP, false);
    const bool selected = WaitUntil(session.options().timeoutMs, [&] { return Ask(combo, CB_GETCURSEL) == target; });
    if (!selected)
        return Fail("selection is " + std::to_string(Ask(combo, CB_GETCURSEL)));
    PrintLine("selected id=" + args[0] + " sel=" + std::to_string(target));
    return true;
}

bool CmdKey(Session& session, const Args& args)
{
    if (args.empty())
        return Fail("usage: key NAME... (esc enter tab shift+tab space up down home end backspace)");
    for (const std::string& name : args) {
        WORD key = 0;
        bool shifted = false;
        if (!KeyCode(name, key, shifted))
            return Fail("unknown key " + Quoted(name));
    }
    if (!BringToFront(session))
        return false;
    for (const std::string& name : args) {
        WORD key = 0;
        bool shifted = false;
        KeyCode(name, key, shifted);
        Press(key, shifted);
    }
    return true;
}

// clickat ID|X,Y [left|right|double]: a real click at a control's centre or
// at a screen point. "tick" is when its last press was stamped, at the latest.
bool CmdClickAt(Session& session, const Args& args)
{
    if (args.empty() || args.size() > 2)
        return Fail("usage: clickat ID|X,Y [left|right|double]");
    POINT point = {};
    long x = 0;
    long y = 0;
    const size_t comma = args[0].find(',');
    if (comma != std::string::npos && ParseLong(args[0].substr(0, comma), x) &&
        ParseLong(args[0].substr(comma + 1), y)) {
        point.x = x;
        point.y = y;
    } else {
        HWND control = DialogControl(session, args[0]);
        if (control == nullptr)
            return false;
        RECT rect = {};
        ::GetWindowRect(control, &rect);
        point.x = (rect.left + rect.right) / 2;
        point.y = (rect.top + rect.bottom) / 2;
    }
    const std::string kindText = args.size() == 2 ? args[1] : "left";
    ClickKind kind = ClickKind::Left;
    if (!ParseClickKind(kindText, kind))
        return Fail("bad click " + Quoted(kindText));
    ::SetCursorPos(point.x, point.y);
    if (!WaitUntil(2000, [&] {
            POINT now = {};
            return ::GetCursorPos(&now) && now.x == point.x && now.y == point.y;
        }))
        return Fail("the cursor does not move");
    const DWORD tick = SendClicks(kind);
    PrintLine("clicked x=" + std::to_string(point.x) + " y=" + std::to_string(point.y) + " kind=" + kindText +
              " tick=" + std::to_string(tick));
    return true;
}

bool CmdClose(Session& session, const Args&)
{
    return Post(session, WM_SYSCOMMAND, SC_CLOSE);
}

bool CmdOk(Session& session, const Args&)
{
    return Post(session, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
}

bool CmdMinimize(Session& session, const Args&)
{
    return Post(session, WM_SYSCOMMAND, SC_MINIMIZE);
}

bool CmdRestore(Session& session, const Args&)
{
    return Post(session, WM_SYSCOMMAND, SC_RESTORE);
}

bool CmdCursor(Session&, const Args&)
{
    POINT point = {};
    if (!::GetCursorPos(&point))
        return Fail("GetCursorPos failed");
    PrintLine("cursor x=" + std::to_string(point.x) + " y=" + std::to_string(point.y));
    return true;
}

// With "input", the move also goes through the input queue as a mouse's
// would, so a low-level hook sees it (a bare SetCursorPos it may not).
bool CmdMoveCursor(Session&, const Args& args)
{
    long x = 0;
    long y = 0;
    if (args.size() < 2 || args.size() > 3 || !ParseLong(args[0], x) || !ParseLong(args[1], y) ||
        (args.size() == 3 && args[2] != "input"))
        return Fail("usage: movecursor X Y [input]");
    if (!::SetCursorPos(x, y))
        return Fail("SetCursorPos failed");
    if (args.size() == 3)
        SendMove();
    return true;
}

// What makes two clicks one double-click: within "time" ms of each other and
// closer than the area. "tick" is the clock the clicks are stamped with.
bool CmdDoubleClick(Session&, const Args&)
{
    PrintLine("doubleclick time=" + std::to_string(::GetDoubleClickTime()) +
              " cx=" + std::to_string(::GetSystemMetrics(SM_CXDOUBLECLK)) +
              " cy=" + std::to_string(::GetSystemMetrics(SM_CYDOUBLECLK)) + " tick=" + std::to_string(::GetTickCount()));
    return true;
}

// The pointer's acceleration (SPI_GETMOUSE: two thresholds and a level, 0
// off), after setting it for this session when given.
bool CmdMouseAccel(Session&, const Args& args)
{
    int accel[3] = {};
    if (!args.empty()) {
        long value = 0;
        for (size_t i = 0; i < 3; ++i) {
            if (args.size() != 3 || !ParseLong(args[i], value))
                return Fail("usage: mouseaccel [THRESHOLD1 THRESHOLD2 LEVEL]");
            accel[i] = static_cast<int>(value);
        }
        if (!::SystemParametersInfoA(SPI_SETMOUSE, 0, accel, 0))
            return Fail("SPI_SETMOUSE error " + std::to_string(::GetLastError()));
    }
    if (!::SystemParametersInfoA(SPI_GETMOUSE, 0, accel, 0))
        return Fail("SPI_GETMOUSE error " + std::to_string(::GetLastError()));
    PrintLine("mouseaccel thresholds=" + std::to_string(accel[0]) + "," + std::to_string(accel[1]) +
              " level=" + std::to_string(accel[2]));
    return true;
}
