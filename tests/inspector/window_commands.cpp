// What the window and its controls look like from outside.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "commands.h"
#include "dialog_units.h"
#include "output.h"
#include "remote_query.h"

namespace {

std::string Flag(bool value)
{
    return value ? "1" : "0";
}

// A rectangle of the control in the dialog's client coordinates.
RECT ClientRect(HWND dialog, HWND control)
{
    RECT rect = {};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Units(const RECT& rect, const DialogBase& base)
{
    return UnitsFromPixels(rect.left, base.x, 4) + "," + UnitsFromPixels(rect.top, base.y, 8) + "," +
           UnitsFromPixels(rect.right - rect.left, base.x, 4) + "," +
           UnitsFromPixels(rect.bottom - rect.top, base.y, 8);
}

// The list's full height, dropped down, in the dialog's client coordinates.
bool DroppedRect(Session& session, HWND combo, RECT& rect)
{
    std::string answer;
    return AskDialog(session, kQueryDroppedRect, ::GetDlgCtrlID(combo), 0, answer) &&
           // NOLINTNEXTLINE(cert-err34-c): our hook wrote these numbers; the count of fields is checked
           std::sscanf(answer.c_str(), "%ld,%ld,%ld,%ld", &rect.left, &rect.top, &rect.right, &rect.bottom) == 4 &&
           rect.bottom > rect.top;
}

bool ComboItemText(Session& session, HWND combo, int index, std::string& text)
{
    return AskDialog(session, kQueryComboItem, ::GetDlgCtrlID(combo), index, text);
}

// The dialog's own base units, measured inside it.
DialogBase BaseOf(Session& session)
{
    DialogBase base;
    std::string answer;
    if (!AskDialog(session, kQueryBaseUnits, 0, 0, answer) ||
        // NOLINTNEXTLINE(cert-err34-c): as in DroppedRect
        std::sscanf(answer.c_str(), "%d,%d", &base.x, &base.y) != 2)
        Fail("cannot measure dialog units");
    return base;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
}

struct PidWindows {
    DWORD pid;
    int count;
};

BOOL CALLBACK PrintPidWindow(HWND window, LPARAM param)
{
    PidWindows& list = *reinterpret_cast<PidWindows*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != list.pid)
        return TRUE;
    ++list.count;
    PrintLine("toplevel hwnd=" + Hex(reinterpret_cast<DWORD_PTR>(window)) + " class=" +
              Quoted(WindowClass(window)) + " visible=" + Flag(::IsWindowVisible(window)) +
              " text=" + Quoted(WindowText(window)));
    return TRUE;
}

} // namespace

bool CmdWindow(Session& session, const Args&)
{
    if (!session.ResolveWindow())
        return false;
    HWND window = session.window();
    const DialogBase base = BaseOf(session);
    RECT rect = {};
    RECT client = {};
    ::GetWindowRect(window, &rect);
    ::GetClientRect(window, &client);
    PrintLine("window hwnd=" + Hex(reinterpret_cast<DWORD_PTR>(window)) + " pid=" + std::to_string(session.pid()) +
              " class=" + Quoted(WindowClass(window)) +
              " style=" + Hex(::GetWindowLongA(window, GWL_STYLE)) +
              " exstyle=" + Hex(::GetWindowLongA(window, GWL_EXSTYLE)) +
              " visible=" + Flag(::IsWindowVisible(window)) + " enabled=" + Flag(::IsWindowEnabled(window)) +
              " iconic=" + Flag(::IsIconic(window)) +
              " foreground=" + Flag(::GetForegroundWindow() == window) + " rect=" + RectText(rect) +
              " client=" + std::to_string(client.right) + "," + std::to_string(client.bottom) +
              " clientdu=" + UnitsFromPixels(client.right, base.x, 4) + "," +
              UnitsFromPixels(client.bottom, base.y, 8) +
              " base=" + std::to_string(base.x) + "," + std::to_string(base.y) +
              " screen=" + std::to_string(::GetSystemMetrics(SM_CXSCREEN)) + "," +
              std::to_string(::GetSystemMetrics(SM_CYSCREEN)) + " image=" + Quoted(session.ImagePath()) +
              " text=" + Quoted(WindowText(window)));
    return true;
}

bool CmdControls(Session& session, const Args&)
{
    if (!session.ResolveWindow())
        return false;
    HWND dialog = session.window();
    const DialogBase base = BaseOf(session);
    int index = 0;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const RECT rect = ClientRect(dialog, child);
        const std::string className = WindowClass(child);
        std::string line = "control index=" + std::to_string(index++) +
                           " id=" + std::to_string(static_cast<short>(::GetDlgCtrlID(child))) +
                           " class=" + Quoted(className) +
                           " style=" + Hex(::GetWindowLongA(child, GWL_STYLE)) +
                           " exstyle=" + Hex(::GetWindowLongA(child, GWL_EXSTYLE)) +
                           " visible=" + Flag(::IsWindowVisible(child)) +
                           " enabled=" + Flag(::IsWindowEnabled(child)) + " px=" + RectText(rect) +
                           " du=" + Units(rect, base);
        RECT dropped = {};
        if (lstrcmpiA(className.c_str(), "ComboBoxEx32") == 0) {
            // The extended list keeps the list's own styles on its inner combo box.
            HWND inner = ::FindWindowExA(child, nullptr, "ComboBox", nullptr);
            line += " innerstyle=" + Hex(inner ? ::GetWindowLongA(inner, GWL_STYLE) : 0);
            if (DroppedRect(session, child, dropped))
                line += " dropdu=" + Units(dropped, base);
        }
        PrintLine(line + " text=" + Quoted(WindowText(child)));
    }
    return true;
}

bool CmdFocus(Session& session, const Args&)
{
    if (!session.ResolveWindow())
        return false;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(session.thread(), &info))
        return Fail("GetGUIThreadInfo failed");
    HWND control = DialogChildOf(session.window(), info.hwndFocus);
    if (control == nullptr) {
        PrintLine("focus id=none hwnd=" + Hex(reinterpret_cast<DWORD_PTR>(info.hwndFocus)) +
                  " active=" + Hex(reinterpret_cast<DWORD_PTR>(info.hwndActive)));
        return true;
    }
    PrintLine("focus id=" + std::to_string(::GetDlgCtrlID(control)) + " class=" + Quoted(WindowClass(control)) +
              " hwnd=" + Hex(reinterpret_cast<DWORD_PTR>(info.hwndFocus)) +
              " active=" + Hex(reinterpret_cast<DWORD_PTR>(info.hwndActive)));
    return true;
}

bool CmdCombo(Session& session, const Args& args)
{
    if (args.size() != 1)
        return Fail("usage: combo ID");
    HWND combo = DialogControl(session, args[0]);
    if (combo == nullptr)
        return false;
    const int count = static_cast<int>(Ask(combo, CB_GETCOUNT));
    const int selection = static_cast<int>(Ask(combo, CB_GETCURSEL));
    std::string selected;
    if (selection >= 0 && !ComboItemText(session, combo, selection, selected))
        return Fail("cannot read item " + std::to_string(selection));
    PrintLine("combo id=" + args[0] + " count=" + std::to_string(count) + " sel=" + std::to_string(selection) +
              " text=" + Quoted(selected));
    for (int index = 0; index < count; ++index) {
        std::string text;
        if (!ComboItemText(session, combo, index, text))
            return Fail("cannot read item " + std::to_string(index));
        PrintLine("item index=" + std::to_string(index) + " text=" + Quoted(text));
    }
    return true;
}

bool CmdSlider(Session& session, const Args& args)
{
    if (args.size() != 1)
        return Fail("usage: slider ID");
    HWND slider = DialogControl(session, args[0]);
    if (slider == nullptr)
        return false;
    PrintLine("slider id=" + args[0] + " pos=" + std::to_string(Ask(slider, TBM_GETPOS)) +
              " min=" + std::to_string(Ask(slider, TBM_GETRANGEMIN)) +
              " max=" + std::to_string(Ask(slider, TBM_GETRANGEMAX)));
    return true;
}

bool CmdText(Session& session, const Args& args)
{
    if (args.empty())
        return Fail("usage: text ID...");
    for (const std::string& id : args) {
        HWND control = DialogControl(session, id);
        if (control == nullptr)
            return false;
        RECT rect = {};
        ::GetWindowRect(control, &rect);
        PrintLine("text id=" + id + " visible=" + Flag(::IsWindowVisible(control)) + " rect=" + RectText(rect) +
                  " text=" + Quoted(WindowText(control)));
    }
    return true;
}

// Works after the process has gone too, given --pid.
bool CmdWindows(Session& session, const Args&)
{
    DWORD pid = session.options().pid;
    if (pid == 0) {
        if (!session.ResolveWindow())
            return false;
        pid = session.pid();
    }
    PidWindows list = {pid, 0};
    ::EnumWindows(PrintPidWindow, reinterpret_cast<LPARAM>(&list));
    PrintLine("toplevels pid=" + std::to_string(pid) + " count=" + std::to_string(list.count));
    return true;
}

// wait WHAT ... MS: polls a condition of the window, failing when time runs out.
bool CmdWait(Session& session, const Args& args)
{
    long timeout = 0;
    if (args.size() < 2 || !ParseLong(args.back(), timeout))
        return Fail("usage: wait enabled|shown ID 0|1 MS | text|textstart ID TEXT MS | focus ID MS | visible|iconic|foreground 0|1 MS | cursor X Y MS | gone MS | tick T MS");
    const std::string& what = args[0];
    long a = 0;
    long b = 0;
    if (what == "gone") {
        if (!session.ResolveWindow())
            return false;
        HWND window = session.window();
        return WaitUntil(timeout, [&] { return !::IsWindow(window); }) || Fail("window still there");
    }
    // The system clock past T, as clickat prints it: beyond a long after 25 days up.
    if (what == "tick" && args.size() == 3) {
        char* end = nullptr;
        const DWORD target = std::strtoul(args[1].c_str(), &end, 10);
        if (args[1].empty() || *end != '\0')
            return Fail("bad tick " + Quoted(args[1]));
        return WaitUntil(timeout, [&] { return static_cast<LONG>(::GetTickCount() - target) > 0; }) ||
               Fail("the tick count is " + std::to_string(::GetTickCount()));
    }
    if (what == "cursor" && args.size() == 4 && ParseLong(args[1], a) && ParseLong(args[2], b)) {
        POINT point = {};
        const bool reached = WaitUntil(timeout, [&] {
            return ::GetCursorPos(&point) && point.x == a && point.y == b;
        });
        return reached || Fail("cursor at " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    if (!session.ResolveWindow())
        return false;
    HWND window = session.window();
    if ((what == "visible" || what == "iconic" || what == "foreground") && args.size() == 3 && ParseLong(args[1], a)) {
        const bool reached = WaitUntil(timeout, [&] {
            const bool state = what == "visible"  ? ::IsWindowVisible(window) != FALSE
                               : what == "iconic" ? ::IsIconic(window) != FALSE
                                                  : ::GetForegroundWindow() == window;
            return state == (a != 0);
        });
        return reached || Fail(what + " is not " + args[1]);
    }
    if (what == "focus" && args.size() == 3) {
        HWND control = DialogControl(session, args[1]);
        if (control == nullptr)
            return false;
        HWND focus = nullptr;
        const bool reached = WaitUntil(timeout, [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            focus = ::GetGUIThreadInfo(session.thread(), &info) ? DialogChildOf(window, info.hwndFocus) : nullptr;
            return focus == control;
        });
        return reached || Fail("focus is on " + std::to_string(focus ? ::GetDlgCtrlID(focus) : 0));
    }
    if ((what == "enabled" || what == "shown") && args.size() == 4 && ParseLong(args[2], a)) {
        HWND control = DialogControl(session, args[1]);
        if (control == nullptr)
            return false;
        const bool reached = WaitUntil(timeout, [&] {
            const BOOL state = what == "enabled" ? ::IsWindowEnabled(control) : ::IsWindowVisible(control);
            return (state != FALSE) == (a != 0);
        });
        return reached || Fail("control " + args[1] + " " + what + " is not " + args[2]);
    }
    // "textstart" for a line that ends in something the test cannot know (a
    // device path, a count).
    if ((what == "text" || what == "textstart") && args.size() == 4) {
        HWND control = DialogControl(session, args[1]);
        if (control == nullptr)
            return false;
        const std::string& want = args[2];
        std::string text;
        const bool reached = WaitUntil(timeout, [&] {
            text = WindowText(control);
            return what == "text" ? text == want : text.compare(0, want.size(), want) == 0;
        });
        return reached || Fail("control " + args[1] + " says " + Quoted(text));
    }
    return Fail("bad wait " + Quoted(what));
}
