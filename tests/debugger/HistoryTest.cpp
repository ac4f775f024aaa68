// Stepping back must give the machine exactly as it was: random programs run
// in runs of random length with keys and halt requests changing between runs
// as the front panel changes them, and every machine seen at the start of a
// run must come back, by ==, when the history is taken back to its step, and
// the last one when it is run forward again.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "DebugEngine.h"
#include "cpu/Cpu.h"
#include "tests/cpu/TestMachine.h"
#include "tests/support/MachineDifference.h"

namespace {

struct Seen {
    uint64_t step;
    Machine machine;
};

// Between runs the panel may press or release a key or ask for a halt.
void PanelBetweenRuns(std::mt19937& rng) {
    const uint32_t event = rng() % 8;
    if (event == 0) Mk.PcKey = int32_t(rng() % 57);
    if (event == 1) Mk.PcKey = 0;
    if (event == 2) Mk.MouseKey = int32_t(rng() % 57);
    if (event == 3) Mk.MouseKey = 0;
    if (event == 4) Mk.HaltRequest = true;
}

// Runs a random machine through runs of random length, keeping the machine
// as each run found it.
std::vector<Seen> RunWithKeys(std::mt19937& rng, int runs) {
    std::vector<Seen> seen;
    for (int run = 0; run < runs; ++run) {
        PanelBetweenRuns(rng);
        seen.push_back({Debugger.StepCount(), Mk});
        Debugger.Advance(UnlimitedBudget, 1 + rng() % 6000);
    }
    return seen;
}

TEST(History, BackAndForwardGiveTheSameMachines) {
    for (uint32_t seed : {1u, 7u, 99u, 2024u}) {
        std::mt19937 rng(seed);
        for (int program = 0; program < 6; ++program) {
            RandomizeMachine(rng);
            if (rng() % 2) Mk.Psw &= ~FlagT;
            BeginHistory();
            const std::vector<Seen> seen = RunWithKeys(rng, 12);
            const Machine end = Mk;
            const uint64_t endStep = Debugger.StepCount();
            const std::string where = "seed " + std::to_string(seed) + ", program " + std::to_string(program);

            // Back to where each run began, newest first and then in random
            // order, each time from the end.
            for (size_t i = seen.size(); i-- > 0;) {
                const Stop stop = Debugger.StepBack(Debugger.StepCount() - seen[i].step);
                ASSERT_EQ(stop.Step, seen[i].step) << where;
                ASSERT_EQ(FirstDifference(Mk, seen[i].machine), "") << where << ", run " << i;
            }
            const Seen& some = seen[rng() % seen.size()];
            Debugger.Step(endStep - Debugger.StepCount());
            RunToStop(UINT64_MAX);
            ASSERT_EQ(FirstDifference(Mk, end), "") << where << ": forward again from the start";
            Debugger.StepBack(endStep - some.step);
            ASSERT_EQ(FirstDifference(Mk, some.machine), "") << where;

            // Forward by the same count, in runs the window would make.
            Debugger.Step(endStep - some.step);
            while (!RunToStop(1 + rng() % 3000).Stopped) {
            }
            ASSERT_EQ(Debugger.StepCount(), endStep) << where;
            ASSERT_EQ(FirstDifference(Mk, end), "") << where << ": forward again";
        }
    }
}

TEST(History, OneStepBackAndForwardAtEveryStep) {
    std::mt19937 rng(5);
    RandomizeMachine(rng);
    Mk.Psw &= ~FlagT;
    BeginHistory();
    for (int step = 0; step < 300; ++step) {
        const Machine before = Mk;
        Debugger.Step(1);
        RunToStop();
        const Machine after = Mk;
        Debugger.StepBack(1);
        ASSERT_EQ(FirstDifference(Mk, before), "") << "step " << step;
        Debugger.Step(1);
        RunToStop();
        ASSERT_EQ(FirstDifference(Mk, after), "") << "step " << step;
    }
}

// A key pressed in the past gives a new future: the recorded one is dropped.
TEST(History, KeyChangedInThePastReplacesTheFuture) {
    PrepareMachine();
    LoadWords(CodeStart, {0005200, 0000776});  // 1$: INC R0; BR 1$
    BeginHistory();
    Debugger.Advance(UnlimitedBudget, 1000);
    Debugger.StepBack(500);
    Mk.PcKey = 5;
    Debugger.Advance(UnlimitedBudget, 10);
    EXPECT_EQ(Debugger.Past().Newest(), 510u);
    Debugger.StepBack(15);
    EXPECT_EQ(Mk.PcKey, 0);
    Debugger.Step(15);
    RunToStop();
    EXPECT_EQ(Mk.PcKey, 5);
    EXPECT_EQ(Debugger.StepCount(), 510u);
}

// An edit between runs begins a new history there: there is no way back past
// it.
TEST(History, EditStartsANewHistory) {
    PrepareMachine();
    LoadWords(CodeStart, {0005200, 0000776});
    BeginHistory();
    Debugger.Advance(UnlimitedBudget, 100);
    Mk.Reg[3] = 0x1234;
    Debugger.Advance(UnlimitedBudget, 10);
    const Stop stop = Debugger.StepBack(50);
    EXPECT_EQ(stop.Reason, StopReason::HistoryStart);
    EXPECT_EQ(stop.Step, 100u);
    EXPECT_EQ(Mk.Reg[3], 0x1234);
}

// The history's memory stays within its bound however long the run: the
// oldest checkpoints go, and the way back ends at the oldest kept.
TEST(History, StaysWithinItsMemory) {
    PrepareMachine();
    LoadWords(CodeStart, {0005200, 0000776});
    constexpr size_t Limit = 100'000;
    History history(Limit);
    history.Begin(0);
    for (int stretch = 0; stretch < 200; ++stretch) {
        history.Ran(CpuRun(UnlimitedBudget, history.NextCheckpoint() - history.Now(), -1).steps);
        ASSERT_LE(history.MemoryUsed(), Limit);
    }
    const Machine end = Mk;
    EXPECT_GT(history.Oldest(), 150 * CheckpointInterval);
    EXPECT_EQ(history.MoveTo(0), history.Oldest());
    EXPECT_EQ(Mk.Reg[0], uint16_t(history.Oldest() / 2));
    history.MoveTo(history.Newest());
    EXPECT_EQ(FirstDifference(Mk, end), "");
}

}  // namespace
