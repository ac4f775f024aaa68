#include <gtest/gtest.h>

#include "cpu/Cpu.h"
#include "core/Def.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MemoryImage.h"

namespace {

constexpr uint16_t WAIT = 0000001;
constexpr uint16_t HALT = 0000000;
constexpr uint16_t ILLEGAL = 0000007;

class Processor : public ::testing::Test {
protected:
    void SetUp() override {
        MakeCleanMachine();
        SetWordAt(0x0000, 0x8001);  // reset: PC (odd on purpose) ...
        SetWordAt(0x0002, 0x00E0);  // ... and PSW
        SetWordAt(0x0008, 0x0401);  // illegal instruction
        SetWordAt(0x000A, 0x0003);
        SetWordAt(0x000C, 0x0500);  // trace and BPT
        SetWordAt(0x000E, 0x0000);
        SetWordAt(0x0078, 0x0601);  // halt-mode entry
        SetWordAt(0x007A, 0x0004);
        SetWordAt(0x0600, WAIT);
        CpuReset();
        Mk.Reg[SP] = 0x8400;
    }
};

TEST_F(Processor, ResetLoadsPcAndPswFromRomAndKeepsTheRest) {
    for (int r = 0; r < 7; ++r) Mk.Reg[r] = uint16_t(0x100 * r + 1);
    Mk.Cpc = 0x1235;
    Mk.Cps = 0x4444;
    Mk.KeyOut = 0x000E;
    Mk.Waiting = Mk.HaltRequest = Mk.StepFlag = Mk.TraceInhibit = true;
    CpuReset();
    EXPECT_EQ(Mk.Reg[PC], 0x8000);
    EXPECT_EQ(Mk.Psw, 0x00E0);
    EXPECT_EQ(Mk.CtrlPort, 0x0500);
    EXPECT_EQ(Mk.Cpc, 0x1234);
    EXPECT_EQ(Mk.Cps, 0x4444);
    EXPECT_EQ(Mk.KeyOut, 0x000E);
    EXPECT_FALSE(Mk.Waiting || Mk.HaltRequest || Mk.StepFlag || Mk.TraceInhibit);
    for (int r = 0; r < 7; ++r) EXPECT_EQ(Mk.Reg[r], 0x100 * r + 1);
}

TEST_F(Processor, StoppedProcessorDoesNothingAndCostsBySpeedBit) {
    SetWordAt(0x8000, ILLEGAL);
    for (uint16_t ctrl : {0x0000, 0x0800}) {
        Mk.CtrlPort = ctrl;
        EXPECT_EQ(CpuStep(), ctrl ? 1 : 8);
        EXPECT_EQ(Mk.Reg[PC], 0x8000);
        EXPECT_EQ(Mk.Reg[SP], 0x8400);
        EXPECT_EQ(Mk.CtrlPort, ctrl);
    }
}

TEST_F(Processor, HeldKeyWakesTheProcessorInTheSameStep) {
    SetWordAt(0x8000, WAIT);
    Mk.CtrlPort = 0x0000;
    for (int which = 0; which < 2; ++which) {
        (which ? Mk.MouseKey : Mk.PcKey) = 20;
        Mk.Reg[PC] = 0x8000;
        Mk.Waiting = false;
        Mk.CtrlPort = 0;
        EXPECT_EQ(CpuStep(), 8);
        EXPECT_EQ(Mk.CtrlPort, 0x0400);
        EXPECT_TRUE(Mk.Waiting) << "the WAIT ran in the waking step";
        EXPECT_EQ(Mk.Reg[PC], 0x8002);
        Mk.PcKey = Mk.MouseKey = 0;
    }
}

TEST_F(Processor, WaitIdlesUntilAHaltRequest) {
    SetWordAt(0x8000, WAIT);
    CpuStep();
    ASSERT_TRUE(Mk.Waiting);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(CpuStep(), 8);
        EXPECT_EQ(Mk.Reg[PC], 0x8002);
    }
    Mk.HaltRequest = true;
    CpuStep();
    EXPECT_FALSE(Mk.Waiting);
    EXPECT_FALSE(Mk.HaltRequest);
    EXPECT_EQ(Mk.Cpc, 0x8002);
    EXPECT_EQ(Mk.Cps, 0x00E0);
    EXPECT_EQ(Mk.Reg[PC], 0x0600);
    EXPECT_EQ(Mk.Psw, 0x0104);
}

// The two answers about the next step against what the step does, in every
// state of the run bit, a held key, waiting, the halt request, the step flag
// and halt mode: no instruction leaves the registers and PSW alone, and an
// idle step the whole machine.
TEST_F(Processor, IdleAndNoInstructionSayWhatTheStepDoes) {
    SetWordAt(0x8000, 0005200);  // inc r0
    for (int state = 0; state < 64; ++state) {
        Mk.Reg[PC] = 0x8000;
        Mk.Reg[0] = 0;
        Mk.CtrlPort = state & 1 ? 0x0500 : 0x0100;
        Mk.PcKey = state & 2 ? 20 : 0;
        Mk.Waiting = state & 4;
        Mk.HaltRequest = state & 8;
        Mk.StepFlag = state & 16;
        Mk.Psw = state & 32 ? 0x0100 : 0x0000;
        const bool noInstruction = CpuRunsNoInstruction();
        const bool idle = CpuIdle();
        const Machine before = Mk;
        CpuStep();
        EXPECT_EQ(noInstruction, Mk.Reg == before.Reg && Mk.Psw == before.Psw) << "state " << state;
        EXPECT_EQ(idle, Mk == before) << "state " << state;
    }
}

TEST_F(Processor, HaltRequestHaltsBeforeTheNextInstruction) {
    SetWordAt(0x8000, ILLEGAL);
    Mk.HaltRequest = true;
    CpuStep();
    EXPECT_EQ(Mk.Cpc, 0x8000) << "nothing was fetched";
    EXPECT_EQ(Mk.Reg[PC], 0x0600);
    EXPECT_EQ(Mk.Reg[SP], 0x8400);
    EXPECT_EQ(Mk.Psw & HaltModeBit, HaltModeBit);
}

TEST_F(Processor, HaltInstructionSavesTheAddressAfterIt) {
    SetWordAt(0x8000, HALT);
    Mk.Psw = 0x0004;
    CpuStep();
    EXPECT_EQ(Mk.Cpc, 0x8002);
    EXPECT_EQ(Mk.Cps, 0x0004);
    EXPECT_EQ(Mk.Reg[PC], 0x0600);
    EXPECT_EQ(Mk.Psw, 0x0104);
}

TEST_F(Processor, HaltRequestIsDroppedInHaltModeAndAfterStep) {
    Mk.Reg[PC] = 0x0600;  // a WAIT in halt mode
    Mk.Psw = HaltModeBit;
    Mk.HaltRequest = true;
    CpuStep();
    EXPECT_FALSE(Mk.HaltRequest);
    EXPECT_TRUE(Mk.Waiting) << "the next instruction ran";

    Mk.Waiting = false;
    Mk.Psw = 0;
    Mk.Reg[PC] = 0x8000;
    SetWordAt(0x8000, WAIT);
    Mk.StepFlag = true;
    Mk.HaltRequest = true;
    CpuStep();
    EXPECT_FALSE(Mk.HaltRequest);
    EXPECT_FALSE(Mk.StepFlag);
    EXPECT_EQ(Mk.Reg[PC], 0x8002);
}

TEST_F(Processor, HaltRequestWhileStoppedWaitsForTheProcessorToRun) {
    SetWordAt(0x8000, WAIT);
    Mk.CtrlPort = 0;
    Mk.HaltRequest = true;
    CpuStep();
    EXPECT_TRUE(Mk.HaltRequest);
    EXPECT_EQ(Mk.Reg[PC], 0x8000);
    Mk.PcKey = 39;  // the halt key wakes the processor like any key
    CpuStep();
    EXPECT_FALSE(Mk.HaltRequest);
    EXPECT_EQ(Mk.Cpc, 0x8000);
    EXPECT_EQ(Mk.Reg[PC], 0x0600);
}

TEST_F(Processor, TrapEntryPushesPswThenPcAndLoadsTheVector) {
    Mk.Reg[PC] = 0x8100;
    SetWordAt(0x8100, ILLEGAL);
    Mk.Psw = 0x00E5;
    CpuStep();
    EXPECT_EQ(Mk.Reg[SP], 0x83FC);
    EXPECT_EQ(WordAt(0x83FE), 0x00E5);
    EXPECT_EQ(WordAt(0x83FC), 0x8102);
    EXPECT_EQ(Mk.Reg[PC], 0x0400);
    EXPECT_EQ(Mk.Psw, 0x0003);
}

TEST_F(Processor, TrapWithAnOddStackPointerSplitsTheSavedPc) {
    Mk.Reg[SP] = 0x8401;
    Mk.Reg[PC] = 0x8100;
    SetWordAt(0x8100, ILLEGAL);
    Mk.Psw = 0x00E5;
    CpuStep();
    // PSW goes to the even word below, the PC word straight to the odd
    // address under it, so the high byte of PC overwrites PSW's low byte.
    EXPECT_EQ(Mk.Reg[SP], 0x83FD);
    EXPECT_EQ(Mk.Memory[0x83FD], 0x02);
    EXPECT_EQ(Mk.Memory[0x83FE], 0x81);
    EXPECT_EQ(Mk.Memory[0x83FF], 0x00);
}

TEST_F(Processor, TrapIntoRomStackStillLoadsTheVector) {
    Mk.Reg[SP] = 0x1000;
    SetWordAt(0x8000, ILLEGAL);
    const uint16_t romWord = WordAt(0x0FFE);
    CpuStep();
    EXPECT_EQ(WordAt(0x0FFE), romWord);
    EXPECT_EQ(Mk.Reg[SP], 0x0FFC);
    EXPECT_EQ(Mk.Reg[PC], 0x0400);
}

TEST_F(Processor, TraceBitTrapsAfterAnInstructionThatCompleted) {
    SetWordAt(0x8000, WAIT);
    Mk.Psw = FlagT;
    CpuStep();
    EXPECT_EQ(Mk.Reg[PC], 0x0500);
    EXPECT_EQ(WordAt(0x83FE), FlagT);
    EXPECT_EQ(WordAt(0x83FC), 0x8002);
}

TEST_F(Processor, TraceInhibitSkipsOneTraceTrapAndIsCleared) {
    SetWordAt(0x8000, WAIT);
    Mk.Psw = FlagT;
    Mk.TraceInhibit = true;
    CpuStep();
    EXPECT_EQ(Mk.Reg[PC], 0x8002);
    EXPECT_FALSE(Mk.TraceInhibit);
}

TEST_F(Processor, TrapRequestedByTheInstructionWinsOverTrace) {
    SetWordAt(0x8000, ILLEGAL);
    Mk.Psw = FlagT;
    CpuStep();
    EXPECT_EQ(Mk.Reg[PC], 0x0400) << "one trap only, through the instruction's vector";
    EXPECT_EQ(Mk.Reg[SP], 0x83FC);
}

TEST_F(Processor, OddProgramCounterIsMadeEvenAfterEveryInstruction) {
    SetWordAt(0x8000, ILLEGAL);
    SetWordAt(0x0008, 0x0403);
    CpuStep();
    EXPECT_EQ(Mk.Reg[PC], 0x0402);
}

TEST_F(Processor, SpeedBitIsSampledBeforeTheStep) {
    // Setting the speed bit by key wake-up does not change this step's cost,
    // and the run bit survives a step that finds a key held.
    Mk.CtrlPort = 0x0800;
    SetWordAt(0x8000, WAIT);
    EXPECT_EQ(CpuStep(), 1) << "stopped: bit 10 clear";
    Mk.PcKey = 5;
    EXPECT_EQ(CpuStep(), 1);
    EXPECT_EQ(Mk.CtrlPort, 0x0C00);
}

}  // namespace
