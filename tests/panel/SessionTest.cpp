#include "panel/Session.h"

#include "core/Def.h"
#include "cpu/Cpu.h"
#include "debugger/History.h"
#include "debugger/RunControl.h"
#include "debugger/Symbols.h"
#include "panel/RunLoop.h"
#include "panel/Settings.h"
#include "tests/support/MachineDifference.h"
#include "tests/support/RandomMachine.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Every global used as a session uses it, then reset: what is left equals
// what the program starts with, a run control made afresh included.
TEST(Session, ResetGivesTheSessionOfProgramStart) {
    std::mt19937 rng(5);
    Mk = RandomMachine(rng);
    Mk.Psw &= ~FlagT;
    Debugger.Past().Begin(0);
    Debugger.SetBreakpoint(0x8010);
    Debugger.SetWatch({0x8000, 0x87FF, WatchAccess::ReadWrite});
    Debugger.StopOnHaltMode = Debugger.StopOnTrap = true;
    Debugger.Advance(UnlimitedBudget, 5000);
    Debugger.RunTo(0x1234);
    Debugger.Advance(8, 1);
    Symbols.Parse("8100 sub\n", "test.sym");
    Watch.Hook = [](bool) {};
    Watch.RamReadSpan = 0;
    TrapsTaken = {3, 030};
    BreakAt(0x8010);
    TraceSteps(7);
    PauseRun();
    ResumeRun(30);
    SetCpuSpeed(1);

    ResetSession();

    EXPECT_EQ(FirstDifference(Mk, Machine{}), "");
    const BusWatch off;
    EXPECT_EQ(Watch.Hook, nullptr);
    EXPECT_EQ(Watch.RomReadHole, off.RomReadHole);
    EXPECT_EQ(Watch.RomReadHoleSize, off.RomReadHoleSize);
    EXPECT_EQ(Watch.RamReadSpan, off.RamReadSpan);
    EXPECT_EQ(Watch.RamWriteSpan, off.RamWriteSpan);
    EXPECT_EQ(Watch.LcdWriteSpan, off.LcdWriteSpan);
    EXPECT_EQ(TrapsTaken.Count, 0u);
    EXPECT_EQ(TrapsTaken.LastVector, 0);

    const RunControl fresh;
    EXPECT_EQ(Debugger.Breakpoints(), fresh.Breakpoints());
    EXPECT_EQ(Debugger.Watches(), fresh.Watches());
    EXPECT_EQ(Debugger.StopOnHaltMode, fresh.StopOnHaltMode);
    EXPECT_EQ(Debugger.StopOnTrap, fresh.StopOnTrap);
    EXPECT_EQ(Debugger.CommandActive(), fresh.CommandActive());
    EXPECT_EQ(Debugger.LastStop(), fresh.LastStop());
    EXPECT_EQ(Debugger.StepCount(), fresh.StepCount());
    EXPECT_EQ(Debugger.Past().Newest(), fresh.Past().Newest());
    EXPECT_EQ(Debugger.Past().MemoryUsed(), fresh.Past().MemoryUsed());
    EXPECT_TRUE(Symbols.Empty());

    EXPECT_FALSE(Paused);
    EXPECT_EQ(RunDelay, 0);
    EXPECT_EQ(TraceCount, -1);
    EXPECT_EQ(BreakPoint, -1);
    EXPECT_EQ(CpuSpeed, DefaultCpuSpeed);
}

}  // namespace
