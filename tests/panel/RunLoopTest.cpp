#include "panel/RunLoop.h"

#include "cpu/Cpu.h"
#include "core/Def.h"
#include "debugger/RunControl.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MemoryImage.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr uint16_t LoopAddress = 0x1000;
constexpr uint16_t NeverReached = 0x2000;
constexpr int32_t ManySteps = 1000000;

// A program every step of which is one instruction that traps through vector
// 0x0008 back to its own address: the program counter is the same after every
// step, and each step costs 8 cycle units at reset (speed bit clear).
class RunLoop : public ::testing::Test {
protected:
    void SetUp() override {
        MakeCleanMachine();
        SetWordAt(0x0000, LoopAddress);  // reset: PC
        SetWordAt(0x0008, LoopAddress);  // illegal-instruction vector
        SetWordAt(LoopAddress, 0170000);  // an opcode that no routine claims
        CpuReset();
        Mk.Reg[SP] = 0x8800;
        CpuSpeed = 250;
        shown = 0;
    }

    // Runs one tick with a trace far too long to end, so that the steps can
    // be counted by how far it went down.
    int32_t StepsOfOneTick() {
        TraceCount = ManySteps;
        RunTick(show);
        return ManySteps - TraceCount;
    }

    int shown = 0;
    std::function<void()> show = [this] { ++shown; };
};

TEST_F(RunLoop, TheBudgetIsSpentInWholeStepsAndTheExcessIsLost) {
    struct Case {
        int32_t speed;
        bool fast;
        int32_t steps;
    };
    const Case cases[] = {
        {250, false, 32},  // 31 steps spend 248, the 32nd overspends to 256
        {250, true, 250},  {8, false, 1}, {9, false, 2}, {1, false, 1}, {0, false, 0}, {-5, false, 0},
    };
    for (const Case& c : cases) {
        CpuSpeed = c.speed;
        Mk.CtrlPort = c.fast ? (Mk.CtrlPort | CtrlSpeedBit) : (Mk.CtrlPort & ~CtrlSpeedBit);
        EXPECT_EQ(StepsOfOneTick(), c.steps) << "CpuSpeed " << c.speed << (c.fast ? " fast" : " slow");
        EXPECT_EQ(StepsOfOneTick(), c.steps) << "second tick, CpuSpeed " << c.speed;
    }
    EXPECT_EQ(shown, 0);
}

// The sum of the costs must not overflow on the way to the largest budget.
TEST_F(RunLoop, EvenTheLargestBudgetEndsAfterTheStepThatReachesIt) {
    CpuSpeed = std::numeric_limits<int32_t>::max();
    Mk.CtrlPort &= ~CtrlRunBit;  // a stopped processor: quick steps of 8 units
    const int32_t steps = CpuSpeed / 8 + 1;
    const int32_t spare = 1000;
    TraceCount = steps + spare;
    RunTick(show);
    EXPECT_EQ(TraceCount, spare);
    EXPECT_EQ(shown, 0);
}

TEST_F(RunLoop, PausedRunsNothing) {
    Paused = true;
    EXPECT_EQ(StepsOfOneTick(), 0);
    Paused = false;
    EXPECT_EQ(StepsOfOneTick(), 32);
}

TEST_F(RunLoop, AfterTheDebugWindowHidesExecutionResumesOnThe31stTick) {
    RunDelay = 30;
    for (int tick = 1; tick <= 30; ++tick) ASSERT_EQ(StepsOfOneTick(), 0) << "tick " << tick;
    EXPECT_EQ(RunDelay, 0);
    EXPECT_EQ(StepsOfOneTick(), 32) << "tick 31";
}

TEST_F(RunLoop, ATraceRunsExactlyItsStepsAcrossTicksThenShowsTheDebugWindow) {
    TraceCount = 1;
    RunTick(show);
    EXPECT_EQ(TraceCount, 0);
    EXPECT_EQ(shown, 1);

    TraceCount = 70;  // two whole ticks of 32 steps and 6 of the third
    RunTick(show);
    RunTick(show);
    EXPECT_EQ(TraceCount, 6);
    EXPECT_EQ(shown, 1);
    RunTick(show);
    EXPECT_EQ(TraceCount, 0);
    EXPECT_EQ(shown, 2);

    // Ended traces do not count on.
    RunTick(show);
    EXPECT_EQ(TraceCount, 0);
    EXPECT_EQ(shown, 2);
}

TEST_F(RunLoop, TheBreakpointIsComparedAfterEachStep) {
    ASSERT_EQ(Mk.Reg[PC], LoopAddress);
    BreakPoint = NeverReached;
    EXPECT_EQ(StepsOfOneTick(), 32);
    EXPECT_EQ(shown, 0);

    // Starting on the breakpoint, one step is made before the counter comes
    // back to it.
    BreakPoint = LoopAddress;
    EXPECT_EQ(StepsOfOneTick(), 1);
    EXPECT_EQ(shown, 1);
}

TEST_F(RunLoop, TheTraceIsTestedBeforeTheBreakpoint) {
    BreakPoint = LoopAddress;
    TraceCount = 1;
    RunTick(show);
    EXPECT_EQ(shown, 1) << "one stop, not two";
    EXPECT_EQ(TraceCount, 0);
}

TEST_F(RunLoop, AMissingHookStillStops) {
    BreakPoint = LoopAddress;
    TraceCount = ManySteps;
    RunTick(nullptr);
    EXPECT_EQ(ManySteps - TraceCount, 1);
}

const RunSpeed Speeds[] = {RunSpeed::Normal, RunSpeed::Twice, RunSpeed::TenTimes, RunSpeed::Fastest};

TEST_F(RunLoop, TheFasterSpeedsRunMultiplesOfTheNormalTick) {
    // A branch to itself: the trap loop's stack would run into the ports.
    SetWordAt(LoopAddress, 0000777);
    CpuSpeed = 800;  // 100 steps of 8 units
    const int32_t normal = StepsOfOneTick();
    ASSERT_EQ(normal, 100);
    struct Case {
        RunSpeed speed;
        int32_t times;
    };
    for (const Case c : {Case{RunSpeed::Twice, 2}, Case{RunSpeed::TenTimes, 10}}) {
        TraceCount = ManySteps;
        RunTick(show, c.speed);
        EXPECT_EQ(ManySteps - TraceCount, c.times * normal) << "speed " << int(c.speed);
    }
    // As fast as the host allows, a busy processor runs for the tick's whole
    // slice of host time, far longer than ten normal ticks take.
    TraceCount = std::numeric_limits<int32_t>::max();
    RunTick(show, RunSpeed::Fastest);
    EXPECT_GT(std::numeric_limits<int32_t>::max() - TraceCount, 10 * normal);
    EXPECT_EQ(shown, 0);
}

// Whatever the speed, a trace ends on its very step, which leaves the machine
// as that many single steps do, and the breakpoint stops the tick.
TEST_F(RunLoop, EverySpeedKeepsTheRunControl) {
    const Machine start = Mk;
    constexpr int32_t TraceSteps = 12345;
    CpuRun(UnlimitedBudget, TraceSteps, -1);
    const Machine traced = Mk;
    for (const RunSpeed speed : Speeds) {
        Mk = start;
        shown = 0;
        TraceCount = TraceSteps;
        for (int tick = 0; tick < 1000 && shown == 0; ++tick) RunTick(show, speed);
        EXPECT_EQ(shown, 1) << "speed " << int(speed);
        EXPECT_EQ(TraceCount, 0) << "speed " << int(speed);
        EXPECT_TRUE(Mk == traced) << "speed " << int(speed);

        TraceCount = -1;
        BreakPoint = LoopAddress;
        RunTick(show, speed);
        EXPECT_EQ(shown, 2) << "speed " << int(speed);
        BreakPoint = -1;
    }
}

TEST_F(RunLoop, AsFastAsTheHostAllowsATickEndsWhenTheProcessorIdles) {
    Mk.CtrlPort &= ~CtrlRunBit;  // stopped, and no key to wake it
    TraceCount = ManySteps;
    RunTick(show, RunSpeed::Fastest);
    // Counted on for the whole slice, the idle steps would run to hundreds
    // of millions; the tick ends after its first round instead.
    EXPECT_GT(ManySteps - TraceCount, 0);
    EXPECT_LT(ManySteps - TraceCount, 100000);
}

TEST_F(RunLoop, ThePlainBudgetLoopIgnoresRunControl) {
    Paused = true;
    BreakPoint = LoopAddress;
    EXPECT_EQ(RunBudget(250), 256);
    EXPECT_EQ(RunBudget(0), 0);
}

// The debugger's breakpoints, watchpoints and commands stop the run loop and
// open the debug window as the breakpoint field does, and stay set.
TEST_F(RunLoop, TheDebuggersStopsOpenTheDebugWindow) {
    Debugger.SetBreakpoint(LoopAddress);
    EXPECT_EQ(StepsOfOneTick(), 1);
    EXPECT_EQ(StepsOfOneTick(), 1);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(Debugger.LastStop().Reason, StopReason::Breakpoint);
    Debugger.ClearBreakpoints();

    // Each step's trap pushes the status word and PC below SP.
    Debugger.SetWatch({0x8700, 0x87FF, WatchAccess::Write});
    EXPECT_EQ(StepsOfOneTick(), 1);
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(Debugger.LastStop().Reason, StopReason::Watch);
    Debugger.ClearWatches();

    Debugger.Step(40);
    EXPECT_EQ(StepsOfOneTick(), 32);
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(StepsOfOneTick(), 8);
    EXPECT_EQ(shown, 4);
    EXPECT_EQ(StepsOfOneTick(), 32) << "then it runs freely again";
}

}  // namespace
