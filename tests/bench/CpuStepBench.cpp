// Processor steps per second on a tight loop of ordinary instructions in RAM,
// one CpuStep call at a time and in runs of steps, as the run loop and the
// console take them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <initializer_list>

#include "cpu/Cpu.h"
#include "core/Def.h"
#include "tests/bench/BenchLoop.h"

namespace {

constexpr int StepsPerIteration = 1000;

void BM_CpuStep(benchmark::State& state) {
    LoadLoop();
    for (auto _ : state) {
        for (int i = 0; i < StepsPerIteration; ++i) benchmark::DoNotOptimize(CpuStep());
    }
    state.SetItemsProcessed(state.iterations() * StepsPerIteration);
}
BENCHMARK(BM_CpuStep);

void BM_CpuRun(benchmark::State& state) {
    LoadLoop();
    for (auto _ : state) benchmark::DoNotOptimize(CpuRun(UnlimitedBudget, StepsPerIteration, -1));
    state.SetItemsProcessed(state.iterations() * StepsPerIteration);
}
BENCHMARK(BM_CpuRun);

}  // namespace
