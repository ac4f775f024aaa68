// Small programs of several instructions, run step by step until they halt.
#include <gtest/gtest.h>

#include "TestMachine.h"
#include "cpu/Cpu.h"
#include "cpu/Exec.h"

namespace {

// Runs until the program executes HALT (PC reaches the halt-mode entry).
void RunUntilHalt() {
    for (int steps = 0; steps < 10000; ++steps) {
        CpuStep();
        if (Mk.Psw & HaltModeBit) return;
    }
    FAIL() << "the program did not halt";
}

TEST(Programs, SumWithSob) {
    PrepareMachine();
    LoadWords(CodeStart, {
                             005000,          // CLR R0
                             012701, 10,      // MOV #10,R1
                             060100,          // 1$: ADD R1,R0
                             077102,          // SOB R1,1$
                             010037, 0x8200,  // MOV R0,@#0x8200
                             000000,          // HALT
                         });
    RunUntilHalt();
    EXPECT_EQ(Mk.Reg[0], 55);
    EXPECT_EQ(Mk.Reg[1], 0);
    EXPECT_EQ(WordAt(0x8200), 55);
    EXPECT_EQ(Mk.Cpc, 0x8010);
}

// The classic PDP-11 calling sequence: parameters and a MARK instruction on
// the stack, JSR PC, and RTS R5, which returns through the MARK.
TEST(Programs, SubroutineWithMark) {
    PrepareMachine();
    LoadWords(CodeStart, {
                             010546,          // MOV R5,-(SP)
                             012746, 3,       // MOV #3,-(SP)
                             012746, 4,       // MOV #4,-(SP)
                             012746, 006402,  // MOV #MARK 2,-(SP)
                             010605,          // MOV SP,R5
                             004737, 0x8100,  // JSR PC,@#0x8100
                             010037, 0x8200,  // MOV R0,@#0x8200
                             000000,          // HALT
                         });
    LoadWords(0x8100, {
                          016500, 2,  // MOV 2(R5),R0
                          066500, 4,  // ADD 4(R5),R0
                          000205,     // RTS R5
                      });
    Mk.Reg[5] = 0x5555;
    RunUntilHalt();
    EXPECT_EQ(Mk.Reg[0], 7);
    EXPECT_EQ(Mk.Reg[5], 0x5555);
    EXPECT_EQ(Mk.Reg[SP], StackTop);
    EXPECT_EQ(WordAt(0x8200), 7);
    EXPECT_EQ(Mk.Cpc, 0x801A);
}

// An EMT handler that reads the EMT's low byte through the saved PC and
// returns with RTI, which restores the caller's status word.
TEST(Programs, EmtHandlerReturnsWithRti) {
    PrepareMachine();
    SetWordAt(VectorEmt, 0x8300);
    SetWordAt(VectorEmt + 2, 0x0000);
    LoadWords(CodeStart, {
                             012700, 5,       // MOV #5,R0
                             0104007,          // EMT 7
                             000261,          // SEC
                             0104030,          // EMT 30
                             010037, 0x8200,  // MOV R0,@#0x8200
                             000000,          // HALT
                         });
    LoadWords(0x8300, {
                          011601,          // MOV (SP),R1
                          016101, 0xFFFE,  // MOV -2(R1),R1
                          042701, 0xFF00,  // BIC #0177400,R1
                          060100,          // ADD R1,R0
                          000002,          // RTI
                      });
    RunUntilHalt();
    EXPECT_EQ(Mk.Reg[0], 5 + 7 + 030);
    EXPECT_EQ(Mk.Reg[1], 030);
    EXPECT_EQ(Mk.Reg[SP], StackTop);
    EXPECT_EQ(WordAt(0x8200), 5 + 7 + 030);
    EXPECT_EQ(Mk.Cps, C) << "SEC survived the second EMT";
}

}  // namespace
