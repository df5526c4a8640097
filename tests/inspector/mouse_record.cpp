// record MS [N] [moves]: every mouse button event (X buttons as x1down ...) the system sees for MS ms
// (or until N of them), through a low-level hook, with its time and the cursor
// position; with "moves", every move too (a program that must send no mouse
// input at all is watched with it).
// "ready" comes first, so a test can start acting only once the hook is in.
#include <windows.h>

#include "commands.h"
#include "output.h"

namespace {

struct ButtonEvent {
    UINT message;
    POINT point;
    DWORD time;
    WORD xbutton;  // XBUTTON1 or XBUTTON2 for an X button's event
    bool injected;
};

const int kMaxEvents = 4096;
ButtonEvent g_events[kMaxEvents];
int g_eventCount = 0;
long g_moves = 0;
bool g_listMoves = false;

const char* EventName(UINT message, WORD xbutton = 0)
{
    switch (message) {
    case WM_XBUTTONDOWN: return xbutton == XBUTTON1 ? "x1down" : "x2down";
    case WM_XBUTTONUP: return xbutton == XBUTTON1 ? "x1up" : "x2up";
    case WM_LBUTTONDOWN: return "leftdown";
    case WM_LBUTTONUP: return "leftup";
    case WM_MBUTTONDOWN: return "middledown";
    case WM_MBUTTONUP: return "middleup";
    case WM_RBUTTONDOWN: return "rightdown";
    case WM_RBUTTONUP: return "rightup";
    case WM_MOUSEMOVE: return "move";
    default: return nullptr;
    }
}

// The hook runs while the sender waits, so it only stores.
LRESULT CALLBACK RecordMouse(int code, WPARAM message, LPARAM param)
{
    if (code == HC_ACTION) {
        const MSLLHOOKSTRUCT& data = *reinterpret_cast<const MSLLHOOKSTRUCT*>(param);
        if (message == WM_MOUSEMOVE)
            ++g_moves;
        if ((message != WM_MOUSEMOVE || g_listMoves) && EventName(static_cast<UINT>(message)) != nullptr &&
            g_eventCount < kMaxEvents) {
            g_events[g_eventCount++] = {static_cast<UINT>(message), data.pt, data.time, HIWORD(data.mouseData),
                                        (data.flags & LLMHF_INJECTED) != 0};
        }
    }
    return ::CallNextHookEx(nullptr, code, message, param);
}

} // namespace

bool CmdRecord(Session&, const Args& args)
{
    long duration = 0;
    long limit = kMaxEvents;
    Args numbers = args;
    g_listMoves = !numbers.empty() && numbers.back() == "moves";
    if (g_listMoves)
        numbers.pop_back();
    if (numbers.empty() || numbers.size() > 2 || !ParseLong(numbers[0], duration) ||
        (numbers.size() == 2 && !ParseLong(numbers[1], limit)))
        return Fail("usage: record MS [EVENTS] [moves]");
    g_eventCount = 0;
    g_moves = 0;
    ScopedHook hook(::SetWindowsHookExA(WH_MOUSE_LL, RecordMouse, ::GetModuleHandleA(nullptr), 0));
    if (hook.get() == nullptr)
        return Fail("cannot hook the mouse");
    const DWORD start = ::GetTickCount();
    PrintLine("ready t=0");
    int printed = 0;
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= static_cast<DWORD>(duration) || printed >= limit)
            break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(duration) - elapsed, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        for (; printed < g_eventCount; ++printed) {
            const ButtonEvent& event = g_events[printed];
            PrintLine(std::string("event t=") + std::to_string(static_cast<long>(event.time - start)) +
                      " name=" + EventName(event.message, event.xbutton) + " x=" + std::to_string(event.point.x) +
                      " y=" + std::to_string(event.point.y) + " injected=" + (event.injected ? "1" : "0") +
                      " tick=" + std::to_string(event.time));
        }
    }
    PrintLine("recorded events=" + std::to_string(g_eventCount) + " moves=" + std::to_string(g_moves) +
              " ms=" + std::to_string(::GetTickCount() - start));
    return true;
}
