// Starts two or more programs in turn, times each from CreateProcessA to its
// dialog being visible, reads its peak working set from outside, then closes it.
// Usage: startup_probe ROUNDS PROGRAM_A PROGRAM_B [PROGRAM_C ...]
// Every round starts each program once, in an order that rotates from round to
// round. Prints one "run" line per start, a "median" line per program, and for
// A against each other program a "ratio" line: the ratio of the medians, then
// the quartiles and extremes of the ratios within each round, whose starts lie
// close together in time and so share the machine's load of the moment.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = NULL) : m_handle(handle) {}
    ~ScopedHandle() { if (m_handle) CloseHandle(m_handle); }
    HANDLE get() const { return m_handle; }
private:
    HANDLE m_handle;
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
};

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindShownDialog(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (owner == search->processId && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct Sample {
    double startupMs;
    double peakKiB;
    DWORD createdTick;  // Wine stamps its debug traces with this clock
    DWORD shownTick;
};

bool Measure(const char* program, Sample& sample)
{
    LARGE_INTEGER frequency, started, shown;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::vector<char> commandLine(program, program + lstrlenA(program) + 1);
    sample.createdTick = GetTickCount();
    QueryPerformanceCounter(&started);
    if (!CreateProcessA(program, commandLine.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info))
        return false;
    ScopedHandle process(info.hProcess), thread(info.hThread);

    WindowSearch search = { info.dwProcessId, NULL };
    // Bounded by the clock, not by rounds: one round may take long on a slow machine.
    const DWORD searchStart = GetTickCount();
    while (!search.found && GetTickCount() - searchStart < 120000) {
        EnumWindows(FindShownDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(1);
    }
    QueryPerformanceCounter(&shown);
    sample.shownTick = GetTickCount();
    bool ok = search.found != NULL;
    if (ok) {
        // Let the start-up finish its work before reading the peak.
        WaitForInputIdle(process.get(), 5000);
        Sleep(300);
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        ok = GetProcessMemoryInfo(process.get(), &counters, sizeof(counters)) != 0;
        sample.startupMs = 1000.0 * static_cast<double>(shown.QuadPart - started.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
        sample.peakKiB = counters.PeakWorkingSetSize / 1024.0;
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        ok = false;
    }
    return ok;
}

// Linear between the two nearest ranks; fraction 0.5 is the median.
double Quantile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const double rank = fraction * static_cast<double>(values.size() - 1);
    const size_t below = static_cast<size_t>(rank);
    if (below + 1 >= values.size())
        return values.back();
    return values[below] + (rank - static_cast<double>(below)) * (values[below + 1] - values[below]);
}

double Median(const std::vector<double>& values)
{
    return Quantile(values, 0.5);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: startup_probe ROUNDS PROGRAM_A PROGRAM_B [PROGRAM_C ...]\n");
        return 2;
    }
    int rounds = atoi(argv[1]);  // NOLINT(cert-err34-c): run-bench.sh passes the count
    if (rounds < 1) {
        fprintf(stderr, "startup_probe: ROUNDS must be 1 or more\n");
        return 2;
    }
    const int count = argc - 2;
    char** programs = argv + 2;
    std::vector<std::vector<double>> startup(count), peak(count);
    // One unrecorded start of each warms the file cache and the prefix.
    for (int round = -1; round < rounds; ++round) {
        for (int turn = 0; turn < count; ++turn) {
            const int which = round < 0 ? turn : (round + turn) % count;
            Sample sample;
            if (!Measure(programs[which], sample)) {
                fprintf(stderr, "startup_probe: %s did not show its window\n", programs[which]);
                return 1;
            }
            if (round < 0) continue;
            printf("run %c startup_ms=%.1f peak_kib=%.0f created_tick=%lu shown_tick=%lu\n", 'A' + which,
                   sample.startupMs, sample.peakKiB, sample.createdTick, sample.shownTick);
            fflush(stdout);
            startup[which].push_back(sample.startupMs);
            peak[which].push_back(sample.peakKiB);
        }
    }
    for (int which = 0; which < count; ++which) {
        printf("median %c startup_ms=%.1f peak_kib=%.0f fastest_ms=%.1f slowest_ms=%.1f\n", 'A' + which,
               Median(startup[which]), Median(peak[which]), Quantile(startup[which], 0), Quantile(startup[which], 1));
    }
    for (int other = 1; other < count; ++other) {
        std::vector<double> perRound;
        perRound.reserve(static_cast<size_t>(rounds));
        for (int round = 0; round < rounds; ++round)
            perRound.push_back(startup[0][round] / startup[other][round]);
        printf("ratio A/%c startup=%.3f memory=%.3f rounds_p25=%.3f rounds_median=%.3f rounds_p75=%.3f "
               "rounds_min=%.3f rounds_max=%.3f\n",
               'A' + other, Median(startup[0]) / Median(startup[other]), Median(peak[0]) / Median(peak[other]),
               Quantile(perRound, 0.25), Quantile(perRound, 0.5), Quantile(perRound, 0.75),
               Quantile(perRound, 0), Quantile(perRound, 1));
    }
    return 0;
}
