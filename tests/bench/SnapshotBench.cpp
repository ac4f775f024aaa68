// Snapshots of a whole machine to bytes and back, as a history of
// checkpoints would take them, one after another.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/Snapshot.h"
#include "tests/support/RandomMachine.h"

namespace {

void BM_EncodeSnapshot(benchmark::State& state) {
    std::mt19937 rng(1);
    const Machine machine = RandomMachine(rng);
    for (auto _ : state) benchmark::DoNotOptimize(EncodeSnapshot(machine));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(EncodeSnapshot(machine).size()));
}
BENCHMARK(BM_EncodeSnapshot);

void BM_DecodeSnapshot(benchmark::State& state) {
    std::mt19937 rng(2);
    const std::vector<uint8_t> bytes = EncodeSnapshot(RandomMachine(rng));
    Machine machine{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeSnapshot(bytes, machine));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_DecodeSnapshot);

}  // namespace
