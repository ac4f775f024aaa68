#include <gtest/gtest.h>

#include "TestMachine.h"
#include "cpu/Cpu.h"
#include "cpu/Exec.h"

namespace {

constexpr uint16_t HaltEntry = HaltEntryWord & 0xFFFE;

TEST(HaltMode, HaltSavesPcAndPswAndEntersThroughTheFixedVector) {
    PrepareMachine();
    LoadWords(0x8122, {000000});
    Mk.Reg[PC] = 0x8122;
    Mk.Psw = Z;
    CpuStep();
    EXPECT_EQ(Mk.Cpc, 0x8124);
    EXPECT_EQ(Mk.Cps, Z);
    EXPECT_EQ(Mk.Reg[PC], HaltEntry);
    EXPECT_EQ(Mk.Psw, HaltEntryStatus | HaltModeBit);
    EXPECT_EQ(Mk.Reg[SP], StackTop) << "nothing is pushed";
}

TEST(HaltMode, HaltRequestHaltsBeforeTheNextInstruction) {
    PrepareMachine();
    LoadWords(CodeStart, {005200});  // INC R0
    Mk.Psw = C;
    Mk.HaltRequest = true;
    CpuStep();
    EXPECT_EQ(Mk.Cpc, CodeStart);
    EXPECT_EQ(Mk.Cps, C);
    EXPECT_EQ(Mk.Reg[PC], HaltEntry);
    EXPECT_EQ(Mk.Reg[0], 0);
    EXPECT_FALSE(Mk.HaltRequest);
}

TEST(HaltMode, HaltRequestInHaltModeIsDropped) {
    PrepareMachine();
    LoadWords(CodeStart, {005200});
    Mk.Psw = HaltModeBit;
    Mk.HaltRequest = true;
    CpuStep();
    EXPECT_EQ(Mk.Reg[0], 1);
    EXPECT_FALSE(Mk.HaltRequest);
}

// go resumes the saved program; a halt request pending at the next step halts
// it again at once. step makes that next step drop the request instead.
TEST(HaltMode, GoAndStepResumeTheSavedProgram) {
    for (uint16_t opcode : {uint16_t(000010), uint16_t(000017)}) {
        SCOPED_TRACE(Octal(opcode));
        PrepareMachine();
        LoadWords(CodeStart, {opcode});
        LoadWords(0x8200, {005200});
        Mk.Psw = HaltModeBit | N;
        Mk.Cpc = 0x8200;
        Mk.Cps = 0x01E3;
        CpuStep();
        EXPECT_EQ(Mk.Reg[PC], 0x8200);
        EXPECT_EQ(Mk.Psw, 0x00E3);
        EXPECT_EQ(Mk.StepFlag, opcode == 000017);

        Mk.HaltRequest = true;
        CpuStep();
        if (opcode == 000017) {
            EXPECT_EQ(Mk.Reg[0], 1) << "the resumed instruction runs";
            EXPECT_EQ(Mk.Reg[PC], 0x8202);
        } else {
            EXPECT_EQ(Mk.Reg[0], 0);
            EXPECT_EQ(Mk.Reg[PC], HaltEntry);
            EXPECT_EQ(Mk.Cpc, 0x8200);
        }
    }
}

TEST(HaltMode, GoWithAnOddCpcResumesAtTheEvenAddress) {
    PrepareMachine();
    LoadWords(CodeStart, {000011});
    Mk.Psw = HaltModeBit;
    Mk.Cpc = 0x8201;
    CpuStep();
    EXPECT_EQ(Mk.Reg[PC], 0x8200);
}

TEST(HaltMode, RegisterTransfers) {
    struct Row {
        uint16_t opcode, wantR0, wantCpc, wantCps;
    };
    const Row rows[] = {
        {000020, 0x0000, 0x8642, 0x0135}, {000030, 0x0000, 0x8642, 0x0135}, {000022, 0x8642, 0x8642, 0x0135},
        {000023, 0x8642, 0x8642, 0x0135}, {000024, 0x0135, 0x8642, 0x0135}, {000027, 0x0135, 0x8642, 0x0135},
        {000032, 0x7531, 0x7531, 0x0135}, {000033, 0x7531, 0x7531, 0x0135}, {000034, 0x7531, 0x8642, 0x7531},
        {000037, 0x7531, 0x8642, 0x7531},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Octal(row.opcode));
        PrepareMachine();
        LoadWords(CodeStart, {row.opcode});
        Mk.Psw = HaltModeBit | Z;
        Mk.Reg[0] = 0x7531;
        Mk.Cpc = 0x8642;
        Mk.Cps = 0x0135;
        CpuStep();
        EXPECT_EQ(Mk.Reg[0], row.wantR0);
        EXPECT_EQ(Mk.Cpc, row.wantCpc);
        EXPECT_EQ(Mk.Cps, row.wantCps);
        EXPECT_EQ(Mk.Psw, HaltModeBit | Z);
        EXPECT_EQ(Mk.Reg[PC], 0x8002);
    }
}

TEST(HaltMode, MfusAndMtusUseR5AndTakeTheSavedStatus) {
    RunCases({
        {.code = {000021},
         .regs = {{5, 0x8201}},
         .psw = HaltModeBit | N,
         .memory = {{0x8200, 0x1234}},
         .changedRegs = {{0, 0x1234}, {5, 0x8203}},
         .wantPsw = 0x0100},
        {.code = {000031},
         .regs = {{0, 0xBEEF}, {5, 0x8202}},
         .psw = HaltModeBit | N,
         .changedRegs = {{5, 0x8200}},
         .wantPsw = 0x0100,
         .changedMemory = {{0x8200, 0xBEEF}}},
        // Into ROM the store is lost, but R5 still drops.
        {.code = {000031},
         .regs = {{0, 0xBEEF}, {5, 0x1002}},
         .psw = HaltModeBit,
         .changedRegs = {{5, 0x1000}},
         .wantPsw = 0x0100},
    });
    PrepareMachine();
    LoadWords(CodeStart, {000021});
    Mk.Psw = HaltModeBit;
    Mk.Cps = 0x00E5;
    CpuStep();
    EXPECT_EQ(Mk.Psw, 0x01E5);
}

TEST(HaltMode, EveryHaltModeInstructionTrapsOutsideHaltMode) {
    for (uint16_t opcode = 000010; opcode <= 000037; ++opcode) {
        SCOPED_TRACE(Octal(opcode));
        PrepareMachine();
        LoadWords(CodeStart, {opcode});
        LoadWords(0x8200, {0x4444});
        Mk.Psw = N | C;
        Mk.Reg[0] = 0x1111;
        Mk.Reg[5] = 0x8202;
        Mk.Cpc = 0x2222;
        Mk.Cps = 0x3333;
        CpuStep();
        ExpectTrapEntered(VectorIllegal, N | C, 0x8002);
        EXPECT_EQ(Mk.Reg[0], 0x1111);
        EXPECT_EQ(Mk.Reg[5], 0x8202);
        EXPECT_EQ(Mk.Cpc, 0x2222);
        EXPECT_EQ(Mk.Cps, 0x3333);
        EXPECT_EQ(WordAt(0x8200), 0x4444);
        EXPECT_FALSE(Mk.StepFlag);
    }
}

TEST(HaltMode, ResetChangesNothingAndWaitIdles) {
    PrepareMachine();
    LoadWords(CodeStart, {000005, 000001, 005200});
    Mk.CtrlPort = 0x0F0F;
    Mk.KeyOut = 0x000E;
    Mk.Psw = V;
    CpuStep();
    EXPECT_EQ(Mk.CtrlPort, 0x0F0F);
    EXPECT_EQ(Mk.KeyOut, 0x000E);
    EXPECT_EQ(Mk.Psw, V);
    CpuStep();
    for (int i = 0; i < 5; ++i) CpuStep();
    EXPECT_EQ(Mk.Reg[PC], 0x8004);
    EXPECT_EQ(Mk.Reg[0], 0);
    Mk.HaltRequest = true;
    CpuStep();
    EXPECT_EQ(Mk.Cpc, 0x8004);
    EXPECT_EQ(Mk.Reg[PC], HaltEntry);
}

}  // namespace
