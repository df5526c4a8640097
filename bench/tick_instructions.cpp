// Instructions per poll tick, counted by callgrind over a fixed number of
// ticks (bench/run-bench.sh runs it under valgrind --tool=callgrind
// --instr-atstart=no). Counting instructions, unlike timing, repeats exactly.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>

#include "gun/gun_device.h"
#include "pointer/mouse_emulator.h"
#include "standin.h"
#include "tick_cases.h"

// tick_instructions [rest|busy|offscreen] [PLAY]: PLAY one of kTickPlayNames.
int main(int argc, char** argv) {
    const char* const traces[] = {"rest", "busy", "offscreen"};
    int busy = 0;
    int choice = 0;
    for (int i = 0; i < 3; ++i)
        if (argc > 1 && std::strcmp(argv[1], traces[i]) == 0) busy = i;
    for (int i = 0; i < kTickPlayCount; ++i)
        if (argc > 2 && std::strcmp(argv[2], kTickPlayNames[i]) == 0) choice = i;
    const int ticks = 100000;
    standin::Reset();
    standin::SetRecording(false);
    standin::SetScreenSize(1920, 1080);
    QueueTickTrace(busy);
    standin::SetReadLooping(true);
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 0, 1);
    emulator.UsePlaySettings(TickPlay(choice));
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
