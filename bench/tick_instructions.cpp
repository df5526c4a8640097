// Instructions per poll tick, counted by callgrind over a fixed number of
// ticks (bench/run-bench.sh runs it under valgrind --tool=callgrind
// --instr-atstart=no). Counting instructions, unlike timing, repeats exactly.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>

#include "gun/gun_device.h"
#include "pointer/mouse_emulator.h"
#include "standin.h"

int main(int argc, char** argv) {
    const bool busy = argc > 1 && std::strcmp(argv[1], "busy") == 0;
    const int ticks = 100000;
    standin::Reset();
    standin::SetRecording(false);
    standin::SetScreenSize(1920, 1080);
    if (busy) {  // moves and clicks every tick
        standin::QueueReport(0xFB, 0xFF, 300, 100);
        standin::QueueReport(0xFF, 0xFF, 420, 140);
        standin::QueueReport(0xFF, 0x7F, 520, 180);
        standin::QueueReport(0xFF, 0xFF, 620, 200);
    } else {  // the gun rests: same report every tick
        standin::QueueReport(0xFF, 0xFF, 400, 128);
    }
    standin::SetReadLooping(true);
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 0, 1);
    CGunDevice gun;
    if (!gun.Open()) return 1;

    int failed = 0;
    CALLGRIND_ZERO_STATS;
    CALLGRIND_START_INSTRUMENTATION;
    for (int i = 0; i < ticks; ++i) {
        WORD rawX = 0, rawY = 0;
        ButtonEdges edges;
        if (gun.Poll(rawX, rawY, edges))
            emulator.Update(rawX, rawY, edges);
        else
            ++failed;
    }
    CALLGRIND_STOP_INSTRUMENTATION;
    std::printf("ticks %d failed %d\n", ticks, failed);
    return failed == 0 ? 0 : 1;
}
