#include "session.h"

#include <psapi.h>

#include <cstdlib>

#include "output.h"

namespace {

struct Search {
    const Options* options;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param)
{
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (search.options->pid != 0 && pid != search.options->pid)
        return TRUE;
    if (WindowText(window) != search.options->caption)
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND FindTopLevel(const Options& options)
{
    Search search = {&options, nullptr};
    ::EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

const DWORD kProcessAccess = SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE | PROCESS_VM_OPERATION |
                             PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_DUP_HANDLE;

} // namespace

bool Session::ResolveWindow()
{
    if (m_window != nullptr && ::IsWindow(m_window))
        return true;
    HWND found = nullptr;
    WaitUntil(m_options.timeoutMs, [&] { return (found = FindTopLevel(m_options)) != nullptr; });
    if (found == nullptr)
        return Fail("no window " + Quoted(m_options.caption));
    m_window = found;
    m_thread = ::GetWindowThreadProcessId(found, &m_pid);
    if (!m_process)
        m_process = ScopedHandle(::OpenProcess(kProcessAccess, FALSE, m_pid));
    return true;
}

bool Session::ResolveProcess()
{
    if (m_process)
        return true;
    if (m_options.pid == 0)
        return ResolveWindow() && (m_process || Fail("cannot open the process"));
    m_pid = m_options.pid;
    m_process = ScopedHandle(::OpenProcess(kProcessAccess, FALSE, m_pid));
    return m_process || Fail("cannot open process " + std::to_string(m_pid));
}

std::string Session::ImagePath() const
{
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (::QueryFullProcessImageNameA(process(), 0, path, &size))
        return path;
    if (::GetModuleFileNameExA(process(), nullptr, path, sizeof path) != 0)
        return path;
    return std::string();
}

bool ParseLong(const std::string& text, long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return *end == '\0';
}

HWND DialogControl(Session& session, const std::string& idText)
{
    long id = 0;
    if (!ParseLong(idText, id)) {
        Fail("bad control id " + Quoted(idText));
        return nullptr;
    }
    if (!session.ResolveWindow())
        return nullptr;
    HWND control = ::GetDlgItem(session.window(), static_cast<int>(id));
    if (control == nullptr)
        Fail("no control " + idText);
    return control;
}

std::string WindowClass(HWND window)
{
    char name[256] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowText(HWND window)
{
    char text[512] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND DialogChildOf(HWND dialog, HWND window)
{
    while (window != nullptr) {
        HWND parent = ::GetParent(window);
        if (parent == dialog)
            return window;
        window = parent;
    }
    return nullptr;
}
