#include "remote_query.h"

#include "output.h"

namespace {

struct Answer {
    bool received = false;
    bool answered = false;
    std::string text;
};

Answer g_answer;

LRESULT CALLBACK ReceiveAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA)
        return ::DefWindowProcA(window, message, wParam, lParam);
    const COPYDATASTRUCT& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    g_answer.received = true;
    g_answer.answered = data.dwData == 1;
    g_answer.text.assign(static_cast<const char*>(data.lpData), data.cbData ? data.cbData - 1 : 0);
    return TRUE;
}

HWND ReplyWindow()
{
    static HWND window = nullptr;
    if (window == nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ReceiveAnswer;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "InspectorReply";
        ::RegisterClassA(&windowClass);
        window = ::CreateWindowExA(0, "InspectorReply", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   windowClass.hInstance, nullptr);
    }
    return window;
}

std::string HookLibraryPath()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    const size_t slash = text.find_last_of("\\/");
    return text.substr(0, slash + 1) + "inspector_hook.dll";
}

// The hook stays for the life of the inspector; the system removes it then.
bool HookTarget(Session& session)
{
    static DWORD hookedThread = 0;
    static HHOOK hook = nullptr;
    if (hook != nullptr && hookedThread == session.thread())
        return true;
    HMODULE library = ::LoadLibraryA(HookLibraryPath().c_str());
    HOOKPROC proc = library ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                  ::GetProcAddress(library, INSPECTOR_HOOK_PROC)))
                            : nullptr;
    if (proc == nullptr)
        return Fail("cannot load " + HookLibraryPath());
    hook = ::SetWindowsHookExA(WH_CALLWNDPROC, proc, library, session.thread());
    hookedThread = session.thread();
    return hook != nullptr || Fail("cannot hook the program's thread");
}

} // namespace

bool AskDialog(Session& session, QueryKind kind, int control, int index, std::string& answer)
{
    static const UINT query = ::RegisterWindowMessageA(INSPECTOR_QUERY_MESSAGE);
    if (!session.ResolveWindow() || !HookTarget(session))
        return false;
    HWND reply = ReplyWindow();
    if (reply == nullptr)
        return Fail("cannot make a reply window");
    g_answer = Answer();
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(session.window(), query, reinterpret_cast<WPARAM>(reply),
                          QueryParam(kind, control, index), SMTO_NORMAL, 10000, &result);
    if (!g_answer.received)
        return Fail("no answer from inside the program");
    answer = g_answer.text;
    return g_answer.answered;
}
