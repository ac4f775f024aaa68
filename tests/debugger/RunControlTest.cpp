// The debugger's run control: step over and out across calls and traps,
// watchpoints on the ports, the display and RAM, breakpoints by label, and
// runs with breakpoints and watchpoints against single steps that check the
// same conditions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "DebugEngine.h"
#include "debugger/ListingStart.h"
#include "debugger/TraceLog.h"
#include "cpu/Cpu.h"
#include "cpu/Exec.h"
#include "tests/cpu/TestMachine.h"
#include "tests/support/MachineDifference.h"

namespace {

// As many instructions as the debug window lists before PC.
constexpr int TraceContextLines = 3;

// Every trap handler returns at once.
void HandlersReturn() {
    for (uint16_t vector : {VectorIot, VectorEmt, VectorTrap, VectorBreakpoint, VectorIllegal})
        SetWordAt(HandlerOf(vector), 0000002);  // RTI
}

enum class Action { Over, Out, StepInThenOut };

struct CallCase {
    const char* name;
    std::vector<uint16_t> code;  // at CodeStart
    Action action;
    uint16_t wantPc;
    StopReason wantReason;
    uint16_t breakAt = 0;  // a breakpoint, when not 0
};

// The code at CodeStart; sub at 0x8100, which calls sub2 at 0x8200.
void LoadCallProgram(const std::vector<uint16_t>& code) {
    PrepareMachine();
    HandlersReturn();
    uint16_t at = CodeStart;
    for (uint16_t word : code) {
        SetWordAt(at, word);
        at += 2;
    }
    LoadWords(0x8100, {0005201, 0004737, 0x8200, 0005201, 0000207});  // INC R1; JSR PC,@#sub2; INC R1; RTS PC
    LoadWords(0x8200, {0005202, 0000207});                           // INC R2; RTS PC
    // A routine that calls itself R3 times (JSR R5 keeps its link in R5).
    LoadWords(0x8300, {0005303, 0001402, 0004537, 0x8300, 0000205});  // DEC R3; BEQ +2; JSR R5,@#rec; RTS R5
    Mk.Reg[3] = 4;
}

TEST(RunControl, StepOverAndOut) {
    const CallCase cases[] = {
        {"over jsr", {0004737, 0x8100, 0005000}, Action::Over, 0x8004, StopReason::Returned},
        {"over jsr with the target in a word", {0004767, 0x8100 - 0x8004, 0005000}, Action::Over, 0x8004,
         StopReason::Returned},
        {"over a recursive jsr r5", {0004537, 0x8300, 0005000}, Action::Over, 0x8004, StopReason::Returned},
        {"over emt", {0104007, 0005000}, Action::Over, 0x8002, StopReason::Returned},
        {"over trap", {0104407, 0005000}, Action::Over, 0x8002, StopReason::Returned},
        {"over iot", {0000004, 0005000}, Action::Over, 0x8002, StopReason::Returned},
        {"over bpt", {0000003, 0005000}, Action::Over, 0x8002, StopReason::Returned},
        {"over an instruction that calls nothing", {0005000, 0005000}, Action::Over, 0x8002, StopReason::Steps},
        {"over a call that meets a breakpoint", {0004737, 0x8100, 0005000}, Action::Over, 0x8200,
         StopReason::Breakpoint, 0x8200},
        {"out of a routine, stepped into", {0004737, 0x8100, 0005000}, Action::StepInThenOut, 0x8004,
         StopReason::Returned},
        {"out of a trap handler", {0104407, 0005000}, Action::StepInThenOut, 0x8002, StopReason::Returned},
    };
    for (const CallCase& row : cases) {
        LoadCallProgram(row.code);
        BeginHistory();
        if (row.breakAt) Debugger.SetBreakpoint(row.breakAt);
        if (row.action == Action::StepInThenOut) {
            Debugger.Step(1);
            RunToStop();
            Debugger.StepOut();
        } else {
            Debugger.StepOver();
        }
        const Advanced run = RunToStop();
        EXPECT_TRUE(run.Stopped) << row.name;
        EXPECT_EQ(Debugger.LastStop().Reason, row.wantReason) << row.name;
        EXPECT_EQ(Mk.Reg[PC], row.wantPc) << row.name;
        if (row.wantReason == StopReason::Returned) {
            EXPECT_EQ(Mk.Reg[SP], StackTop) << row.name;
        }
    }
}

// Out of the inner of two nested routines comes back into the outer one,
// after its call.
TEST(RunControl, StepOutOfNestedRoutines) {
    LoadCallProgram({0004737, 0x8100, 0005000});
    BeginHistory();
    Debugger.SetBreakpoint(0x8200);
    Debugger.Continue();
    RunToStop();
    ASSERT_EQ(Mk.Reg[PC], 0x8200);
    Debugger.StepOut();
    RunToStop();
    EXPECT_EQ(Debugger.LastStop().Reason, StopReason::Returned);
    EXPECT_EQ(Mk.Reg[PC], 0x8106);
    Debugger.StepOut();
    RunToStop();
    EXPECT_EQ(Mk.Reg[PC], 0x8004);
    EXPECT_EQ(Mk.Reg[1], 2);
    EXPECT_EQ(Mk.Reg[2], 1);
}

struct WatchCase {
    const char* name;
    std::vector<uint16_t> code;  // at CodeStart, after two plain instructions
    Watchpoint watch;
    const char* wantText;  // the stop, in radix 16
};

TEST(RunControl, WatchpointsSayWhatChanged) {
    const WatchCase cases[] = {
        {"a word written to the control port",
         {0012737, 0x0C00, CtrlPortAddress},
         {CtrlPortAddress, CtrlPortAddress + 1, WatchAccess::Write},
         "watch w 0104: 0500 -> 0C00 at 8004"},
        {"a byte written to the control port's high byte",
         {0112737, 0x000D, CtrlPortAddress + 1},
         {CtrlPortAddress, CtrlPortAddress + 1, WatchAccess::Write},
         "watch w 0105: 00 -> 00 at 8004"},
        {"a byte written to the display",
         {0112737, 0x00AA, 0x0090},
         {0x0090, 0x0090, WatchAccess::Write},
         "watch w 0090: 00 -> AA at 8004"},
        {"a word in RAM written one byte below the range",
         {0012737, 0x1234, 0x8500},
         {0x8501, 0x8501, WatchAccess::Write},
         "watch w 8500: 0000 -> 1234 at 8004"},
        {"a word read from RAM", {0013700, 0x8600}, {0x8600, 0x8601, WatchAccess::Read}, "watch r 8600: 0000 at 8004"},
        {"a word read from ROM", {0013700, 0x0200}, {0x0200, 0x0201, WatchAccess::ReadWrite},
         "watch r 0200: 0000 at 8004"},
        {"a push onto a watched stack", {0010046}, {0x83FE, 0x83FF, WatchAccess::Write},
         "watch w 83FE: 0000 -> 0007 at 8004"},
    };
    for (const WatchCase& row : cases) {
        PrepareMachine();
        Mk.CtrlPort = 0x0500;
        Mk.Reg[0] = 7;
        LoadWords(CodeStart, {0005001, 0005001});  // INC R1; INC R1
        uint16_t at = CodeStart + 4;
        for (uint16_t word : row.code) {
            SetWordAt(at, word);
            at += 2;
        }
        BeginHistory();
        ASSERT_TRUE(Debugger.SetWatch(row.watch)) << row.name;
        const Advanced run = RunToStop(100);
        EXPECT_TRUE(run.Stopped) << row.name;
        EXPECT_EQ(StopText(Debugger.LastStop(), 16), row.wantText) << row.name;
        EXPECT_EQ(Mk.Reg[PC], at) << row.name;
        EXPECT_EQ(Debugger.StepCount(), 3u) << row.name;
    }
}

// Breakpoints are set by the names of the symbol table.
TEST(RunControl, BreakpointByLabel) {
    LoadCallProgram({0004737, 0x8100, 0005000});
    BeginHistory();
    Symbols.Parse("8100 sub\n8200 Inner\n", "test.sym");
    const std::optional<uint16_t> inner = ParseAddress("inner", 16, Symbols);
    ASSERT_TRUE(inner);
    Debugger.SetBreakpoint(*inner);
    RunToStop();
    EXPECT_EQ(StopText(Debugger.LastStop(), 16), "break 8200 (Inner)");
    EXPECT_EQ(ParseAddress("8200", 16, Symbols), 0x8200);
    EXPECT_EQ(ParseAddress("nowhere", 16, Symbols), std::nullopt);
}

// A processor asleep on a breakpoint does not stop there again at each run:
// only an instruction that arrives at a breakpoint stops.
TEST(RunControl, AsleepOnABreakpointDoesNotStop) {
    PrepareMachine();
    LoadWords(CodeStart, {0012737, 0x0000, CtrlPortAddress, 0005000});  // MOV #0,@#CtrlPort; CLR R0
    BeginHistory();
    Debugger.SetBreakpoint(0x8006);
    EXPECT_TRUE(RunToStop().Stopped);
    EXPECT_EQ(Debugger.LastStop().Reason, StopReason::Breakpoint);
    EXPECT_FALSE(RunToStop(1000).Stopped);
    EXPECT_EQ(StateOf(Mk), ProcessorState::Asleep);
}

// The previous stop is found back in the history: each hit of a breakpoint in
// a loop, newest first, with the machine as it was there.
TEST(RunControl, RunBackFindsEachEarlierHit) {
    PrepareMachine();
    LoadWords(CodeStart, {0005200, 0005201, 0000775});  // 1$: INC R0; INC R1; BR 1$
    BeginHistory();
    Debugger.SetBreakpoint(0x8002);
    std::vector<Machine> hits;
    for (int i = 0; i < 5; ++i) {
        RunToStop();
        hits.push_back(Mk);
    }
    Debugger.Advance(UnlimitedBudget, 3 * CheckpointInterval + 7);
    for (size_t i = hits.size(); i-- > 0;) {
        const Stop stop = Debugger.RunBack();
        EXPECT_EQ(stop.Reason, StopReason::Breakpoint);
        ASSERT_EQ(FirstDifference(Mk, hits[i]), "") << "hit " << i;
    }
    EXPECT_EQ(Debugger.RunBack().Reason, StopReason::HistoryStart);
}

TEST(RunControl, OptionalStopsOnTrapsAndHaltMode) {
    const struct {
        bool onTrap, onHaltMode;
        StopReason want;
        uint16_t wantPc;
    } cases[] = {
        {true, false, StopReason::Trap, HandlerOf(VectorEmt)},
        {false, true, StopReason::HaltMode, HaltEntryWord & 0xFFFE},
        {false, false, StopReason::None, 0},
    };
    for (const auto& row : cases) {
        PrepareMachine();
        HandlersReturn();
        LoadWords(CodeStart, {0005200, 0104007, 0005200, 0000000, 0000777});  // INC R0; EMT 7; INC R0; HALT
        SetWordAt(HaltEntryWord & 0xFFFE, 0000777);
        BeginHistory();
        Debugger.StopOnTrap = row.onTrap;
        Debugger.StopOnHaltMode = row.onHaltMode;
        const Advanced run = RunToStop(50);
        EXPECT_EQ(run.Stopped, row.want != StopReason::None);
        if (!run.Stopped) continue;
        EXPECT_EQ(Debugger.LastStop().Reason, row.want);
        EXPECT_EQ(Mk.Reg[PC], row.wantPc);
        if (row.want == StopReason::Trap) {
            EXPECT_EQ(StopText(Debugger.LastStop(), 16), "trap 0018 to 4030");
        }
    }
}

// The trace log's steps are the single steps from as far back.
TEST(TraceLog, StepsAsSingleStepsMakeThem) {
    std::mt19937 rng(3);
    RandomizeMachine(rng);
    Mk.Psw &= ~FlagT;
    BeginHistory();
    Debugger.Advance(UnlimitedBudget, 2000);
    const Machine end = Mk;
    const std::vector<TraceEntry> entries = RecentSteps(Debugger.Past(), 300);
    ASSERT_EQ(FirstDifference(Mk, end), "") << "the trace leaves the machine as it was";
    ASSERT_EQ(entries.size(), 300u);
    Debugger.StepBack(300);
    for (const TraceEntry& entry : entries) {
        const uint16_t pc = Mk.Reg[PC] & 0xFFFE;
        CpuStep();
        ASSERT_EQ(entry.Address, pc);
        ASSERT_EQ(entry.Reg, Mk.Reg) << "step " << entry.Step;
        ASSERT_EQ(entry.Psw, uint16_t(Mk.Psw)) << "step " << entry.Step;
    }
    EXPECT_EQ(entries.back().Step, 2000u);
    EXPECT_EQ(FirstDifference(Mk, end), "");
}

// Before any run (as after only edits) the history holds no step, and no
// checkpoint either.
TEST(TraceLog, NoStepsBeforeTheFirstRun) {
    std::mt19937 rng(4);
    RandomizeMachine(rng);
    const Machine start = Mk;
    History fresh;
    for (const size_t count : {size_t(0), size_t(5)}) EXPECT_TRUE(RecentSteps(fresh, count).empty()) << count;
    EXPECT_EQ(FirstDifference(Mk, start), "");
    fresh.Begin(7);
    EXPECT_TRUE(RecentSteps(fresh, 5).empty());
    EXPECT_EQ(FirstDifference(Mk, start), "");
}

// The listing around PC starts at an instruction that ran: straight-line
// code of one-, two- and three-word instructions whose operand words decode
// as instructions too, so that a start guessed inside one would also run on
// into PC.
TEST(ListingStart, StartsWhereInstructionsRan) {
    const struct {
        const char* name;
        std::vector<int> sizes;  // in words, of the instructions run from CodeStart up to PC
    } mixes[] = {
        {"one one-word", {1}},
        {"three one-word", {1, 1, 1}},
        {"two-word, then three one-word", {2, 1, 1, 1}},
        {"one, two, three words", {1, 2, 3}},
        {"three, two, one words", {3, 2, 1}},
        {"three two-word", {2, 2, 2}},
        {"four three-word", {3, 3, 3, 3}},
        {"two, three, one, two words", {2, 3, 1, 2}},
    };
    for (const auto& mix : mixes) {
        PrepareMachine();
        uint16_t at = CodeStart;
        for (const int size : mix.sizes) {
            // INC R1; MOV #RTS PC,R1; MOV #JMP @#,@#8400 (BVC).
            if (size == 1) LoadWords(at, {0005201});
            if (size == 2) LoadWords(at, {0012701, 0000207});
            if (size == 3) LoadWords(at, {0012737, 0000137, 0102000});
            at = uint16_t(at + 2 * size);
        }
        LoadWords(at, {0005202});  // INC R2 at PC
        BeginHistory();
        Debugger.Advance(UnlimitedBudget, mix.sizes.size());
        ASSERT_EQ(Mk.Reg[PC], at) << mix.name;
        uint16_t want = at;
        for (size_t i = mix.sizes.size(); i > 0 && mix.sizes.size() - i < size_t(TraceContextLines); --i)
            want = uint16_t(want - 2 * mix.sizes[i - 1]);
        const Machine before = Mk;
        const std::vector<uint16_t> ran = RecentInstructionStarts(Debugger.Past(), TraceContextLines);
        EXPECT_EQ(FirstDifference(Mk, before), "") << mix.name;
        EXPECT_EQ(ListingStart(at, ran, CodeStart, MachineReader(Mk), TraceContextLines), want) << mix.name;

        // After an edit the past no longer leads here: a label is a start,
        // and without one PC itself.
        Mk.Reg[5] ^= 1;
        EXPECT_TRUE(RecentInstructionStarts(Debugger.Past(), TraceContextLines).empty()) << mix.name;
        const std::vector<uint16_t> label = {CodeStart};
        const uint16_t fromLabel = mix.sizes.size() <= size_t(TraceContextLines) ? CodeStart : at;
        EXPECT_EQ(ListingStart(at, label, CodeStart, MachineReader(Mk), TraceContextLines), fromLabel) << mix.name;
        EXPECT_EQ(ListingStart(at, {}, CodeStart, MachineReader(Mk), TraceContextLines), at) << mix.name;
        // Nothing below the region's start.
        EXPECT_EQ(ListingStart(at, label, uint16_t(CodeStart + 2), MachineReader(Mk), TraceContextLines), at)
            << mix.name;
    }
}

// The same stops, on random programs, as single steps find them with every
// access going out of line to a check of its own.
std::vector<Watchpoint> Watches;
bool ReferenceTripped = false;

void ReferenceHook(bool write) {
    const uint32_t first = Mk.Addr, last = first + (Mk.AddrMask == 0xFFFE ? 1 : 0);
    for (const Watchpoint& watch : Watches)
        if ((uint8_t(watch.Access) & (write ? 1 : 2)) && first <= watch.Last && last >= watch.First)
            ReferenceTripped = true;
}

TEST(RunControl, StopsAsSingleStepsFindThem) {
    std::mt19937 rng(77);
    for (int program = 0; program < 150; ++program) {
        RandomizeMachine(rng);
        Mk.Psw &= ~FlagT;
        Mk.HaltRequest = false;
        Mk.Waiting = false;
        BeginHistory();
        std::vector<uint16_t> breaks;
        for (int i = 0; i < 64; ++i) breaks.push_back(uint16_t(0x8000 + (rng() & 0x7FE)));
        Watches.clear();
        for (int i = 0; i < 4; ++i) {
            const uint16_t first = uint16_t(rng() % 3 == 0 ? rng() & 0x1FF : 0x8000 + (rng() & 0x7FF));
            Watches.push_back({first, uint16_t(first + rng() % 16), WatchAccess(1 + rng() % 3)});
        }
        for (uint16_t address : breaks) Debugger.SetBreakpoint(address);
        for (const Watchpoint& watch : Watches) Debugger.SetWatch(watch);
        const Machine start = Mk;

        const Advanced run = RunToStop(5000);
        const Machine fast = Mk;

        Mk = start;
        // Every access out of line: all of ROM in the hole, no spans.
        Watch = BusWatch{0, RamStart, 0, 0, 0, ReferenceHook};
        uint64_t steps = 0;
        bool stopped = false;
        while (steps < 5000 && !stopped) {
            const bool idle = Mk.CtrlPort & CtrlRunBit ? Mk.Waiting && !Mk.HaltRequest
                                                       : Mk.MouseKey == 0 && Mk.PcKey == 0;
            ReferenceTripped = false;
            CpuStep();
            ++steps;
            const bool atBreak = !idle && std::find(breaks.begin(), breaks.end(), Mk.Reg[PC]) != breaks.end();
            stopped = ReferenceTripped || atBreak;
        }
        Watch = BusWatch{};
        ASSERT_EQ(run.Steps, steps) << "program " << program;
        ASSERT_EQ(run.Stopped, stopped) << "program " << program;
        ASSERT_EQ(FirstDifference(fast, Mk), "") << "program " << program;
    }
}

}  // namespace
