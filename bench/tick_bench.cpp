// One poll tick, Poll then Update, against the stand-in with its recording
// off, and a count of heap allocations made on the way.
#include <benchmark/benchmark.h>

#include "allocation_counter.h"
#include "gun/gun_device.h"
#include "pointer/mouse_emulator.h"
#include "standin.h"
#include "tick_cases.h"

namespace {

// `busy`: what the gun does (QueueTickTrace); `choice`: the play choice (TickPlay).
void RunTicks(benchmark::State& state, int busy, int choice) {
    standin::Reset();
    standin::SetRecording(false);
    standin::SetScreenSize(1920, 1080);
    QueueTickTrace(busy);
    standin::SetReadLooping(true);

    CMouseEmulator emulator;
    emulator.SetAssignments(3, 0, 1);
    emulator.UsePlaySettings(TickPlay(choice));
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

void BM_PollTick(benchmark::State& state) {
    RunTicks(state, static_cast<int>(state.range(0)), 0);
}
BENCHMARK(BM_PollTick)->Arg(0)->Arg(1)->ArgName("busy");

// Each play choice beside it, under its own name so the plain one reads as before.
void BM_PollTickPlay(benchmark::State& state) {
    RunTicks(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    state.SetLabel(kTickPlayNames[state.range(1)]);
}
BENCHMARK(BM_PollTickPlay)->ArgsProduct({{0, 1, 2}, benchmark::CreateDenseRange(0, kTickPlayCount - 1, 1)})
    ->ArgNames({"busy", "play"});

}  // namespace

BENCHMARK_MAIN();
