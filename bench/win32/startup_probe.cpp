// Starts two programs in turn, times each from CreateProcessA to its dialog
// being visible, reads its peak working set from outside, then closes it.
// Usage: startup_probe ROUNDS PROGRAM_A PROGRAM_B
// Prints one "run" line per start, then "median" lines and "ratio" (A / B).
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
};

bool Measure(const char* program, Sample& sample)
{
    LARGE_INTEGER frequency, started, shown;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::vector<char> commandLine(program, program + lstrlenA(program) + 1);
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

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: startup_probe ROUNDS PROGRAM_A PROGRAM_B\n");
        return 2;
    }
    int rounds = atoi(argv[1]);  // NOLINT(cert-err34-c): run-bench.sh passes the count
    const char* programs[2] = { argv[2], argv[3] };
    std::vector<double> startup[2], peak[2];
    // One unrecorded start of each warms the file cache and the prefix.
    for (int round = -1; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            int which = (round + turn) & 1;  // alternate who goes first
            if (round < 0) which = turn;
            Sample sample;
            if (!Measure(programs[which], sample)) {
                fprintf(stderr, "startup_probe: %s did not show its window\n", programs[which]);
                return 1;
            }
            if (round < 0) continue;
            printf("run %c startup_ms=%.1f peak_kib=%.0f\n", 'A' + which, sample.startupMs, sample.peakKiB);
            fflush(stdout);
            startup[which].push_back(sample.startupMs);
            peak[which].push_back(sample.peakKiB);
        }
    }
    double medianStartup[2], medianPeak[2];
    for (int which = 0; which < 2; ++which) {
        medianStartup[which] = Median(startup[which]);
        medianPeak[which] = Median(peak[which]);
        printf("median %c startup_ms=%.1f peak_kib=%.0f\n", 'A' + which, medianStartup[which], medianPeak[which]);
    }
    printf("ratio startup=%.3f memory=%.3f\n", medianStartup[0] / medianStartup[1], medianPeak[0] / medianPeak[1]);
    return 0;
}
