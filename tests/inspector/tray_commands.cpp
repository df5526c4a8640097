// The notification area: Wine shows it as its own "Wine System Tray" window
// when no desktop shell has one, each icon a child window that passes mouse
// messages on to the icon's owner. And the popup menu an icon opens.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "commands.h"
#include "mouse_input.h"
#include "output.h"

namespace {

HWND FindTray()
{
    HWND tray = ::FindWindowA(nullptr, "Wine System Tray");
    return tray != nullptr ? tray : ::FindWindowA("Shell_TrayWnd", nullptr);
}

std::vector<HWND> TrayIcons(HWND tray)
{
    std::vector<HWND> icons;
    if (tray == nullptr)
        return icons;
    for (HWND child = ::GetWindow(tray, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::IsWindowVisible(child))
            icons.push_back(child);
    }
    return icons;
}

void PostMouse(HWND window, UINT message, WPARAM keys)
{
    RECT client = {};
    ::GetClientRect(window, &client);
    ::PostMessageA(window, message, keys, MAKELPARAM(client.right / 2, client.bottom / 2));
}

HWND FindMenuWindow()
{
    for (HWND window = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); window != nullptr;
         window = ::FindWindowExA(nullptr, window, "#32768", nullptr)) {
        if (::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

struct MenuItem {
    int resource;
    int popup;
    int index;
    UINT id;
    std::string text;
};

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(param)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// The popup items of every menu resource in the program's file.
std::vector<MenuItem> ResourceMenuItems(const std::string& imagePath)
{
    std::vector<MenuItem> items;
    ScopedModule module(::LoadLibraryExA(imagePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (module.get() == nullptr)
        return items;
    std::vector<int> names;
    ::EnumResourceNamesA(module.get(), MAKEINTRESOURCEA(4), CollectName, reinterpret_cast<LONG_PTR>(&names));
    for (int name : names) {
        HMENU menu = ::LoadMenuA(module.get(), MAKEINTRESOURCEA(name));
        if (menu == nullptr)
            continue;
        for (int popup = 0; popup < ::GetMenuItemCount(menu); ++popup) {
            HMENU sub = ::GetSubMenu(menu, popup);
            for (int index = 0; sub != nullptr && index < ::GetMenuItemCount(sub); ++index) {
                char text[256] = "";
                ::GetMenuStringA(sub, index, text, sizeof text, MF_BYPOSITION);
                items.push_back({name, popup, index, ::GetMenuItemID(sub, index), text});
            }
        }
        ::DestroyMenu(menu);
    }
    return items;
}

void PostKey(HWND window, WORD key)
{
    ::PostMessageA(window, WM_KEYDOWN, key, 1);
    ::PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

} // namespace

// tray [wait N MS]: the tray window and its icons, optionally once there are N.
bool CmdTray(Session& session, const Args& args)
{
    long wanted = -1;
    long timeout = 0;
    if (!args.empty() &&
        (args.size() != 3 || args[0] != "wait" || !ParseLong(args[1], wanted) || !ParseLong(args[2], timeout)))
        return Fail("usage: tray [wait COUNT MS]");
    (void)session;
    HWND tray = nullptr;
    std::vector<HWND> icons;
    const bool reached = WaitUntil(static_cast<DWORD>(timeout), [&] {
        tray = FindTray();
        icons = TrayIcons(tray);
        return wanted < 0 || static_cast<long>(icons.size()) == wanted;
    });
    PrintLine("tray hwnd=" + Hex(reinterpret_cast<DWORD_PTR>(tray)) +
              " visible=" + std::string(tray && ::IsWindowVisible(tray) ? "1" : "0") +
              " icons=" + std::to_string(icons.size()));
    for (size_t index = 0; index < icons.size(); ++index) {
        RECT rect = {};
        ::GetWindowRect(icons[index], &rect);
        PrintLine("icon index=" + std::to_string(index) + " hwnd=" + Hex(reinterpret_cast<DWORD_PTR>(icons[index])) +
                  " rect=" + RectText(rect) + " class=" + Quoted(WindowClass(icons[index])));
    }
    return reached || Fail("the tray holds " + std::to_string(icons.size()) + " icons");
}

// trayclick left|right|double [post]: clicks the first icon, with real input at
// its centre, or with "post" by posting the mouse messages to the icon's window
// (the cursor stays where it is, which is where a menu then opens). Real input
// prints "tick", as clickat does.
bool CmdTrayClick(Session& session, const Args& args)
{
    (void)session;
    if (args.empty() || args.size() > 2 || (args.size() == 2 && args[1] != "post"))
        return Fail("usage: trayclick left|right|double [post]");
    ClickKind kind = ClickKind::Left;
    if (!ParseClickKind(args[0], kind))
        return Fail("bad click " + Quoted(args[0]));
    std::vector<HWND> icons = TrayIcons(FindTray());
    if (icons.empty())
        return Fail("no tray icon");
    HWND icon = icons.front();
    if (args.size() == 2) {
        if (kind == ClickKind::Right) {
            PostMouse(icon, WM_RBUTTONDOWN, MK_RBUTTON);
            PostMouse(icon, WM_RBUTTONUP, 0);
        } else {
            PostMouse(icon, WM_LBUTTONDOWN, MK_LBUTTON);
            PostMouse(icon, WM_LBUTTONUP, 0);
            if (kind == ClickKind::Double) {
                PostMouse(icon, WM_LBUTTONDBLCLK, MK_LBUTTON);
                PostMouse(icon, WM_LBUTTONUP, 0);
            }
        }
        return true;
    }
    RECT rect = {};
    ::GetWindowRect(icon, &rect);
    ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PrintLine("clicked icon=" + Hex(reinterpret_cast<DWORD_PTR>(icon)) + " kind=" + args[0] +
              " tick=" + std::to_string(SendClicks(kind)));
    return true;
}

// trayforget: drops every icon of the window from the tray, as a restarted
// shell would have lost them.
bool CmdTrayForget(Session& session, const Args&)
{
    if (!session.ResolveWindow())
        return false;
    for (UINT id = 0; id < 64; ++id) {
        NOTIFYICONDATAA record = {};
        record.cbSize = NOTIFYICONDATAA_V2_SIZE;
        record.hWnd = session.window();
        record.uID = id;
        ::Shell_NotifyIconA(NIM_DELETE, &record);
    }
    return true;
}

// taskbarcreated: what a shell broadcasts when its notification area is new;
// prints the message's registered number.
bool CmdTaskbarCreated(Session&, const Args&)
{
    const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    DWORD_PTR result = 0;
    if (message == 0 || !::SendMessageTimeoutA(HWND_BROADCAST, message, 0, 0, SMTO_NORMAL, 5000, &result))
        return Fail("broadcast failed");
    PrintLine("taskbarcreated message=" + Hex(message));
    return true;
}

// menu: waits for an open popup menu; prints it and the program's menu items.
bool CmdMenu(Session& session, const Args&)
{
    HWND menu = nullptr;
    if (!WaitUntil(session.options().timeoutMs, [&] { return (menu = FindMenuWindow()) != nullptr; }))
        return Fail("no popup menu");
    RECT rect = {};
    ::GetWindowRect(menu, &rect);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(menu, &pid);
    PrintLine("menu hwnd=" + Hex(reinterpret_cast<DWORD_PTR>(menu)) + " pid=" + std::to_string(pid) +
              " rect=" + RectText(rect));
    if (!session.ResolveProcess())
        return false;
    for (const MenuItem& item : ResourceMenuItems(session.ImagePath()))
        PrintLine("menuitem menu=" + std::to_string(item.resource) + " popup=" + std::to_string(item.popup) +
                  " index=" + std::to_string(item.index) + " id=" + std::to_string(item.id) +
                  " text=" + Quoted(item.text));
    return true;
}

// menupick TEXT: chooses the item of the open popup by keyboard, finding its
// place from the program's menu resources.
bool CmdMenuPick(Session& session, const Args& args)
{
    if (args.size() != 1)
        return Fail("usage: menupick TEXT");
    HWND menu = nullptr;
    if (!WaitUntil(session.options().timeoutMs, [&] { return (menu = FindMenuWindow()) != nullptr; }))
        return Fail("no popup menu");
    if (!session.ResolveProcess())
        return false;
    for (const MenuItem& item : ResourceMenuItems(session.ImagePath())) {
        if (item.text != args[0])
            continue;
        for (int step = 0; step <= item.index; ++step)
            PostKey(menu, VK_DOWN);
        PostKey(menu, VK_RETURN);
        return WaitUntil(session.options().timeoutMs, [&] { return !::IsWindowVisible(menu); }) ||
               Fail("the menu stays open");
    }
    return Fail("no menu item " + Quoted(args[0]));
}

// menuclose: closes the open popup menu as Esc does, choosing nothing.
bool CmdMenuClose(Session& session, const Args&)
{
    HWND menu = nullptr;
    if (!WaitUntil(session.options().timeoutMs, [&] { return (menu = FindMenuWindow()) != nullptr; }))
        return Fail("no popup menu");
    PostKey(menu, VK_ESCAPE);
    return WaitUntil(session.options().timeoutMs, [&] { return !::IsWindowVisible(menu); }) ||
           Fail("the menu stays open");
}
