// One poll tick, Poll then Update, against the stand-in with its recording
// off, and a count of heap allocations made on the way.
#include <benchmark/benchmark.h>

#include "allocation_counter.h"
#include "gun/gun_device.h"
#include "pointer/mouse_emulator.h"
#include "standin.h"

namespace {

// range(0) == 1: the gun moves and clicks every tick, so every tick places
// the cursor and sends button events; 0: the gun rests, the common case.
void BM_PollTick(benchmark::State& state) {
    const bool busy = state.range(0) == 1;
    standin::Reset();
    standin::SetRecording(false);
    standin::SetScreenSize(1920, 1080);
    if (busy) {
        standin::QueueReport(0xFB, 0xFF, 300, 100);
        standin::QueueReport(0xFF, 0xFF, 420, 140);
        standin::QueueReport(0xFF, 0x7F, 520, 180);
        standin::QueueReport(0xFF, 0xFF, 620, 200);
    } else {
        standin::QueueReport(0xFF, 0xFF, 400, 128);
    }
    standin::SetReadLooping(true);

    CMouseEmulator emulator;
    emulator.SetAssignments(3, 0, 1);
    CGunDevice gun;
    if (!gun.Open()) {
        state.SkipWithError("the stand-in gun did not open");
        return;
    }

    const long before = HeapAllocations();
    long failed = 0;
    for (auto _ : state) {
        WORD rawX = 0, rawY = 0;
        ButtonEdges edges;
        if (gun.Poll(rawX, rawY, edges)) {
            emulator.Update(rawX, rawY, edges);
        } else {
            ++failed;
        }
        benchmark::ClobberMemory();
    }
    const long allocations = HeapAllocations() - before;
    state.counters["allocations"] = static_cast<double>(allocations);
    if (allocations != 0) state.SkipWithError("the tick allocated on the heap");
    if (failed != 0) state.SkipWithError("a poll failed");
}
BENCHMARK(BM_PollTick)->Arg(0)->Arg(1)->ArgName("busy");

}  // namespace

BENCHMARK_MAIN();
