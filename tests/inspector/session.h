// The program under inspection: its top-level window, found by caption (and
// process id when given), and a handle to its process opened the moment the
// window is found, so that a later wait for its end cannot miss it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "handles.h"

using Args = std::vector<std::string>;

struct Options {
    std::string caption = "VEY Glimmerdot V1.0";
    DWORD pid = 0;
    DWORD timeoutMs = 10000;
};

class Session {
public:
    explicit Session(const Options& options) : m_options(options) {}

    // Waits up to the time-out for the window; false (with a message) if none.
    bool ResolveWindow();
    // The process alone: by --pid, or through its window.
    bool ResolveProcess();

    const Options& options() const { return m_options; }
    HWND window() const { return m_window; }
    DWORD pid() const { return m_pid; }
    DWORD thread() const { return m_thread; }
    HANDLE process() const { return m_process.get(); }

    // The program's own file, for reading its resources.
    std::string ImagePath() const;

private:
    Options m_options;
    HWND m_window = nullptr;
    DWORD m_pid = 0;
    DWORD m_thread = 0;
    ScopedHandle m_process;
};

// Polls every 20 ms until the condition holds or the time is up.
template <typename Condition>
bool WaitUntil(DWORD timeoutMs, Condition condition)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(20);
    }
}

bool ParseLong(const std::string& text, long& value);
// A control of the dialog by id, or nothing (with a message).
HWND DialogControl(Session& session, const std::string& idText);
std::string WindowClass(HWND window);
std::string WindowText(HWND window);
// The direct child of the dialog that holds or is the given window.
HWND DialogChildOf(HWND dialog, HWND window);
