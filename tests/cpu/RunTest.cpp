// A run of steps must leave the machine exactly as that many single steps
// do. Random machines run both ways, run after run, with keys and halt
// requests coming and going between runs as the panel makes them, and the
// whole machine is compared after every run.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <random>
#include <vector>

#include "TestMachine.h"
#include "cpu/Cpu.h"
#include "tests/support/MachineDifference.h"

namespace {

struct RunLimits {
    int64_t budget;
    uint64_t maxSteps;
    int32_t stopAt;
};

// What CpuRun promises, one CpuStep at a time.
CpuRunResult StepByStep(const RunLimits& limits) {
    CpuRunResult run;
    while (run.spent < limits.budget && run.steps < limits.maxSteps) {
        run.spent += CpuStep();
        ++run.steps;
        if (Mk.Reg[PC] == limits.stopAt) break;
    }
    return run;
}

// A budget of a few hundred steps, sometimes a step limit, and sometimes a
// stop at an address: one the program reaches soon, or any address.
RunLimits RandomLimits(std::mt19937& rng) {
    RunLimits limits{int64_t(rng() % 4000), UINT64_MAX, -1};
    if (rng() % 3 == 0) limits.maxSteps = rng() % 300;
    switch (rng() % 3) {
    case 0: {
        const Machine start = Mk;
        for (uint32_t steps = rng() % 40; steps > 0; --steps) CpuStep();
        limits.stopAt = Mk.Reg[PC];
        Mk = start;
        break;
    }
    case 1:
        limits.stopAt = int32_t(rng() & 0xFFFE);
        break;
    }
    return limits;
}

// Random code seldom holds the instructions that change how the steps after
// them run; these put some in, at random places in RAM.
void SprinkleStateChanges(std::mt19937& rng) {
    const std::vector<uint16_t> changes[] = {
        {0000000}, {0000001}, {0000002}, {0000006},  // HALT, WAIT, RTI, RTT
        {0000012}, {0000016}, {0000021}, {0000031},  // go, step, mfus, mtus
        {0010037, CtrlPortAddress},                  // MOV R0,@#CtrlPort
        {0110137, CtrlPortAddress},                  // MOVB R1,@#CtrlPort
    };
    for (int n = 0; n < 24; ++n) {
        uint16_t at = uint16_t(RamStart + (rng() & 0x7F8));
        for (uint16_t word : changes[rng() % std::size(changes)]) {
            SetWordAt(at, word);
            at += 2;
        }
    }
}

// Between runs the panel may press or release a key or ask for a halt.
void PanelBetweenRuns(std::mt19937& rng) {
    const uint32_t event = rng() % 16;
    if (event == 0) Mk.PcKey = int32_t(rng() % 57);
    if (event == 1) Mk.MouseKey = 0;
    if (event == 2) Mk.HaltRequest = true;
}

TEST(Run, EndsExactlyAsSingleSteps) {
    constexpr uint32_t Seeds[] = {3, 11, 2024, 0xBEEF};
    constexpr int MachinesPerSeed = 60;
    constexpr int RunsPerMachine = 12;
    for (uint32_t seed : Seeds) {
        std::mt19937 rng(seed);
        for (int machine = 0; machine < MachinesPerSeed; ++machine) {
            RandomizeMachine(rng);
            SprinkleStateChanges(rng);
            // Mostly without the trace bit, the case that runs fastest; now and
            // then from an odd PC, as the console or the debugger may leave it.
            if (rng() % 4 != 0) Mk.Psw &= ~FlagT;
            if (rng() % 8 == 0) Mk.Reg[PC] |= 1;
            for (int runIndex = 0; runIndex < RunsPerMachine; ++runIndex) {
                PanelBetweenRuns(rng);
                const RunLimits limits = RandomLimits(rng);
                const Machine start = Mk;
                const CpuRunResult single = StepByStep(limits);
                const Machine expected = Mk;
                Mk = start;
                const CpuRunResult run = CpuRun(limits.budget, limits.maxSteps, limits.stopAt);
                const std::string where = "seed " + std::to_string(seed) + ", machine " + std::to_string(machine) +
                                          ", run " + std::to_string(runIndex);
                ASSERT_EQ(run.steps, single.steps) << where;
                ASSERT_EQ(run.spent, single.spent) << where;
                ASSERT_EQ(FirstDifference(Mk, expected), "") << where;
            }
        }
    }
}

}  // namespace
