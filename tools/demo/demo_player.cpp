// Plays a trace on the simulated gun and shows, step by step, what Glimmerdot
// made of it: the gun's report, where the cursor went, the clicks a low-level
// mouse hook saw and the reads the gun served; then a summary.
//   demo_player TRACE [SAMPLES]
// TRACE is gunsimctl's trace format (one "B0 B1 X Y MS" report per line).
// SAMPLES, if given, receives the cursor's path for the animation:
//   step N MS B0 B1 X Y     a step begins, MS after the start
//   at MS X Y               the cursor, whenever it moved
//   click MS NAME X Y       a button event (left-down, left-up, middle-down, ...)
#include <windows.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "../gunsim/ctl/control_device.h"
#include "../gunsim/ctl/trace.h"
#include "../gunsim/ctl/utf8.h"

namespace {

const DWORD kSampleMs = 20;

struct ButtonEvent {
    DWORD atMs;
    WPARAM message;
    POINT point;
};

// The hook runs on its own thread, which only pumps messages for it.
class ClickRecorder {
public:
    ClickRecorder() { InitializeCriticalSection(&m_lock); }
    ~ClickRecorder()
    {
        if (m_thread) {
            PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
            WaitForSingleObject(m_thread, 5000);
            CloseHandle(m_thread);
        }
        // A hook thread that outlived the wait must not reach this object.
        s_self = nullptr;
        DeleteCriticalSection(&m_lock);
    }
    ClickRecorder(const ClickRecorder&) = delete;
    ClickRecorder& operator=(const ClickRecorder&) = delete;

    bool Start(DWORD originMs)
    {
        s_self = this;
        m_originMs = originMs;
        m_ready = CreateEventA(NULL, TRUE, FALSE, NULL);
        m_thread = CreateThread(NULL, 0, &ClickRecorder::Pump, this, 0, &m_threadId);
        const bool ok = m_thread && WaitForSingleObject(m_ready, 10000) == WAIT_OBJECT_0 && m_hooked;
        CloseHandle(m_ready);
        return ok;
    }

    // Events recorded since the last call.
    std::vector<ButtonEvent> Take()
    {
        EnterCriticalSection(&m_lock);
        std::vector<ButtonEvent> taken;
        taken.swap(m_events);
        LeaveCriticalSection(&m_lock);
        return taken;
    }

private:
    static DWORD WINAPI Pump(LPVOID param)
    {
        ClickRecorder* self = static_cast<ClickRecorder*>(param);
        HHOOK hook = SetWindowsHookExA(WH_MOUSE_LL, &ClickRecorder::Hook, GetModuleHandleA(NULL), 0);
        self->m_hooked = hook != NULL;
        SetEvent(self->m_ready);
        MSG msg;
        while (hook && GetMessageA(&msg, NULL, 0, 0) > 0)
            DispatchMessageA(&msg);
        if (hook)
            UnhookWindowsHookEx(hook);
        return 0;
    }

    static LRESULT CALLBACK Hook(int code, WPARAM message, LPARAM param)
    {
        if (code == HC_ACTION && message != WM_MOUSEMOVE && message != WM_MOUSEWHEEL) {
            const MSLLHOOKSTRUCT* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(param);
            ClickRecorder* self = s_self;
            if (!self)
                return CallNextHookEx(NULL, code, message, param);
            EnterCriticalSection(&self->m_lock);
            self->m_events.push_back(ButtonEvent{GetTickCount() - self->m_originMs, message, info->pt});
            LeaveCriticalSection(&self->m_lock);
        }
        return CallNextHookEx(NULL, code, message, param);
    }

    static ClickRecorder* s_self;
    CRITICAL_SECTION m_lock;
    std::vector<ButtonEvent> m_events;
    HANDLE m_thread = NULL;
    DWORD m_threadId = 0;
    HANDLE m_ready = NULL;
    bool m_hooked = false;
    DWORD m_originMs = 0;
};

ClickRecorder* ClickRecorder::s_self = nullptr;

const char* EventName(WPARAM message)
{
    switch (message) {
    case WM_LBUTTONDOWN: return "left-down";
    case WM_LBUTTONUP: return "left-up";
    case WM_MBUTTONDOWN: return "middle-down";
    case WM_MBUTTONUP: return "middle-up";
    case WM_RBUTTONDOWN: return "right-down";
    case WM_RBUTTONUP: return "right-up";
    default: return "other";
    }
}

// The labels under which the gun's buttons are offered, by their bytes.
const char* ButtonLabel(const GunsimReport& report)
{
    struct Label { BYTE b0, b1; const char* text; };
    static const Label kLabels[] = {
        {0xFF, 0xFF, ""}, {0xFF, 0x7F, "Start"}, {0xFF, 0xBF, "Select"}, {0xFB, 0xFF, "A"},
        {0xF7, 0xFF, "B"}, {0xFD, 0xFF, "C"}, {0xFF, 0xDF, "D"}};
    for (const Label& label : kLabels)
        if (report[0] == label.b0 && report[1] == label.b1)
            return label.text;
    return "?";
}

WORD RawX(const GunsimReport& report) { return static_cast<WORD>(report[2] | report[3] << 8); }
WORD RawY(const GunsimReport& report) { return static_cast<WORD>(report[4] | report[5] << 8); }

struct Totals {
    unsigned long reads = 0;
    int downs[3] = {0, 0, 0};  // left, middle, right
    int ups[3] = {0, 0, 0};
    LONG minX = LONG_MAX, minY = LONG_MAX, maxX = LONG_MIN, maxY = LONG_MIN;
    int offScreenSteps = 0, offScreenStill = 0;
};

void Tally(Totals& totals, const ButtonEvent& event)
{
    switch (event.message) {
    case WM_LBUTTONDOWN: ++totals.downs[0]; break;
    case WM_LBUTTONUP: ++totals.ups[0]; break;
    case WM_MBUTTONDOWN: ++totals.downs[1]; break;
    case WM_MBUTTONUP: ++totals.ups[1]; break;
    case WM_RBUTTONDOWN: ++totals.downs[2]; break;
    case WM_RBUTTONUP: ++totals.ups[2]; break;
    }
}

}  // namespace

int main()
{
    // Paths in UTF-8 from the wide command line: any path a user may have.
    const std::vector<std::string> args = Utf8Arguments();
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: demo_player TRACE [SAMPLES]\n");
        return 2;
    }
    std::vector<TraceStep> steps;
    std::string error;
    if (!LoadTrace(args[0], steps, error)) {
        std::fprintf(stderr, "demo_player: %s\n", error.c_str());
        return 2;
    }
    FILE* samples = args.size() == 2 ? _wfopen(WideFromUtf8(args[1]).c_str(), L"w") : nullptr;
    if (args.size() == 2 && !samples) {
        std::fprintf(stderr, "demo_player: cannot write %s\n", args[1].c_str());
        return 2;
    }
    GunsimControl gun;
    GunsimStatus status = {};
    if (!gun.Connect(10000) || !gun.Query(status, true)) {
        std::fprintf(stderr, "demo_player: the simulated gun does not answer; is it installed (gunsimctl install)?\n");
        return 1;
    }
    const DWORD origin = GetTickCount();
    ClickRecorder clicks;
    if (!clicks.Start(origin)) {
        std::fprintf(stderr, "demo_player: no low-level mouse hook\n");
        return 1;
    }
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::printf("screen %dx%d; the cursor can reach 0..%d, 0..%d\n\n", width, height, width - 4, height - 4);
    std::printf("step   time  gun report        button  |  cursor       | clicks seen (hook)              | reads\n");

    Totals totals;
    POINT cursor = {};
    GetCursorPos(&cursor);
    for (size_t i = 0; i < steps.size(); ++i) {
        const TraceStep& step = steps[i];
        const DWORD startMs = GetTickCount() - origin;
        if (!gun.SetState(step.report)) {
            std::fprintf(stderr, "demo_player: the simulated gun refused its state\n");
            return 1;
        }
        if (samples)
            std::fprintf(samples, "step %u %lu %02X %02X %u %u\n", unsigned(i + 1), startMs, step.report[0],
                         step.report[1], RawX(step.report), RawY(step.report));
        const POINT before = cursor;
        // Watch the cursor while the step holds.
        const DWORD endMs = startMs + step.holdMs;
        for (;;) {
            POINT now;
            if (GetCursorPos(&now) && (now.x != cursor.x || now.y != cursor.y)) {
                cursor = now;
                if (samples)
                    std::fprintf(samples, "at %lu %ld %ld\n", GetTickCount() - origin, cursor.x, cursor.y);
            }
            const DWORD elapsed = GetTickCount() - origin;
            if (elapsed >= endMs)
                break;
            Sleep(endMs - elapsed < kSampleMs ? endMs - elapsed : kSampleMs);
        }
        unsigned long reads = 0;
        if (gun.Query(status, true))
            reads = status.reads;
        totals.reads += reads;

        // "left-down left-up @500,501": the events, then where they landed.
        std::string seen, where;
        for (const ButtonEvent& event : clicks.Take()) {
            Tally(totals, event);
            char at[32];
            std::snprintf(at, sizeof at, " @%ld,%ld", event.point.x, event.point.y);
            if (!where.empty() && where != at)
                seen += where;
            where = at;
            seen += std::string(seen.empty() ? "" : " ") + EventName(event.message);
            if (samples)
                std::fprintf(samples, "click %lu %s %ld %ld\n", event.atMs, EventName(event.message), event.point.x,
                             event.point.y);
        }
        seen += where;
        const bool offScreen = RawX(step.report) == 1 || RawY(step.report) == 5;
        if (offScreen) {
            ++totals.offScreenSteps;
            if (cursor.x == before.x && cursor.y == before.y)
                ++totals.offScreenStill;
        }
        if (cursor.x < totals.minX) totals.minX = cursor.x;
        if (cursor.y < totals.minY) totals.minY = cursor.y;
        if (cursor.x > totals.maxX) totals.maxX = cursor.x;
        if (cursor.y > totals.maxY) totals.maxY = cursor.y;

        char gunText[40];
        std::snprintf(gunText, sizeof gunText, "%02X %02X %5u,%5u", step.report[0], step.report[1],
                      RawX(step.report), RawY(step.report));
        std::printf("%4u %5.1fs  %-16s  %-6s  | %5ld,%5ld   | %-31s | %4lu%s\n", unsigned(i + 1), startMs / 1000.0,
                    gunText, ButtonLabel(step.report), cursor.x, cursor.y, seen.c_str(), reads,
                    offScreen ? (cursor.x == before.x && cursor.y == before.y ? "  (aimed off screen: cursor stays)"
                                                                              : "  (aimed off screen: cursor MOVED)")
                              : "");
        std::fflush(stdout);
    }
    const double seconds = (GetTickCount() - origin) / 1000.0;
    if (samples)
        std::fclose(samples);

    std::printf("\nsummary\n");
    std::printf("  %u reports in %.1f s; the gun served %lu reads, %.1f a second (one per 60 ms tick: %.1f)\n",
                unsigned(steps.size()), seconds, totals.reads, totals.reads / seconds, 1000.0 / 60);
    std::printf("  cursor went over x %ld..%ld, y %ld..%ld of 0..%d, 0..%d\n", totals.minX, totals.maxX, totals.minY,
                totals.maxY, width - 4, height - 4);
    if (totals.offScreenSteps)
        std::printf("  aimed off screen (raw X 1 or raw Y 5) %d time(s): the cursor stayed %d time(s)\n",
                    totals.offScreenSteps, totals.offScreenStill);
    std::printf("  clicks seen: left %d down / %d up, middle %d / %d, right %d / %d\n", totals.downs[0], totals.ups[0],
                totals.downs[1], totals.ups[1], totals.downs[2], totals.ups[2]);
    return 0;
}
