// The debugger's costs on the benchmark loop: runs with the history kept (as
// every run is) against plain runs of the core, runs with 64 breakpoints and
// 4 watch ranges set, and the way back through a history of 100 million
// steps: one step back at its end, and a run back across all of it.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "cpu/Cpu.h"
#include "core/Def.h"
#include "debugger/History.h"
#include "debugger/RunControl.h"
#include "tests/bench/BenchLoop.h"

namespace {

void StartLoop() {
    LoadLoop();
    ResetDebugger();
    Debugger.Past().Begin(0);
}

void BM_PlainRun(benchmark::State& state) {
    StartLoop();
    const uint64_t steps = uint64_t(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(CpuRun(UnlimitedBudget, steps, -1));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlainRun)->Arg(10'000)->Arg(100'000);

void BM_RunWithHistory(benchmark::State& state) {
    StartLoop();
    const uint64_t steps = uint64_t(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(Debugger.Advance(UnlimitedBudget, steps));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["history_bytes"] = double(Debugger.Past().MemoryUsed());
}
BENCHMARK(BM_RunWithHistory)->Arg(10'000)->Arg(100'000);

// 64 breakpoints on code the loop never reaches, and watches on the control
// port, a display byte and two RAM words, none of which the loop touches.
void BM_RunWithBreakpointsAndWatches(benchmark::State& state) {
    StartLoop();
    for (uint16_t i = 0; i < 64; ++i) Debugger.SetBreakpoint(uint16_t(0x8400 + 4 * i));
    Debugger.SetWatch({CtrlPortAddress, CtrlPortAddress + 1, WatchAccess::Write});
    Debugger.SetWatch({0x0090, 0x0090, WatchAccess::Write});
    Debugger.SetWatch({0x8700, 0x8701, WatchAccess::ReadWrite});
    Debugger.SetWatch({0x8780, 0x8781, WatchAccess::Write});
    const uint64_t steps = uint64_t(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(Debugger.Advance(UnlimitedBudget, steps));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RunWithBreakpointsAndWatches)->Arg(10'000)->Arg(100'000);

constexpr uint64_t LongHistory = 100'000'000;

void MakeLongHistory() {
    StartLoop();
    Debugger.Advance(UnlimitedBudget, LongHistory);
}

void BM_StepBackAtTheEndOfALongHistory(benchmark::State& state) {
    MakeLongHistory();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Debugger.StepBack(1));
        state.PauseTiming();
        Debugger.Step(1);
        Debugger.Advance(UnlimitedBudget);
        state.ResumeTiming();
    }
    state.counters["history_steps"] = double(Debugger.StepCount() - Debugger.Past().Oldest());
    state.counters["history_bytes"] = double(Debugger.Past().MemoryUsed());
}
BENCHMARK(BM_StepBackAtTheEndOfALongHistory)->Unit(benchmark::kMillisecond);

// A breakpoint the loop never reaches: the run back replays all of the
// history and ends at its start.
void BM_RunBackAcrossALongHistory(benchmark::State& state) {
    MakeLongHistory();
    Debugger.SetBreakpoint(0x8400);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Debugger.RunBack());
        state.PauseTiming();
        Debugger.Step(LongHistory);
        Debugger.Advance(UnlimitedBudget);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RunBackAcrossALongHistory)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
