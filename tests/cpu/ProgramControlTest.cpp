#include <gtest/gtest.h>

#include "TestMachine.h"
#include "cpu/Cpu.h"
#include "cpu/Exec.h"

namespace {

// After CMP a,b every conditional branch must agree with the comparison it
// stands for, as C++ computes it on the same numbers.
TEST(ProgramControl, BranchesAgreeWithComparisons) {
    struct Branch {
        uint16_t opcode;
        bool (*taken)(uint16_t a, uint16_t b);
    };
    static const Branch branches[] = {
        {000400, [](uint16_t, uint16_t) { return true; }},
        {001000, [](uint16_t a, uint16_t b) { return a != b; }},
        {001400, [](uint16_t a, uint16_t b) { return a == b; }},
        {002000, [](uint16_t a, uint16_t b) { return int16_t(a) >= int16_t(b); }},
        {002400, [](uint16_t a, uint16_t b) { return int16_t(a) < int16_t(b); }},
        {003000, [](uint16_t a, uint16_t b) { return int16_t(a) > int16_t(b); }},
        {003400, [](uint16_t a, uint16_t b) { return int16_t(a) <= int16_t(b); }},
        {0100000, [](uint16_t a, uint16_t b) { return int16_t(a - b) >= 0; }},
        {0100400, [](uint16_t a, uint16_t b) { return int16_t(a - b) < 0; }},
        {0101000, [](uint16_t a, uint16_t b) { return a > b; }},
        {0101400, [](uint16_t a, uint16_t b) { return a <= b; }},
        {0102000, [](uint16_t a, uint16_t b) { return int16_t(a) - int16_t(b) == int16_t(a - b); }},
        {0102400, [](uint16_t a, uint16_t b) { return int16_t(a) - int16_t(b) != int16_t(a - b); }},
        {0103000, [](uint16_t a, uint16_t b) { return a >= b; }},
        {0103400, [](uint16_t a, uint16_t b) { return a < b; }},
    };
    const uint16_t values[] = {0x0000, 0x0001, 0x0002, 0x7FFE, 0x7FFF, 0x8000, 0x8001, 0xFFFE, 0xFFFF};
    for (const Branch& branch : branches) {
        for (uint16_t a : values) {
            for (uint16_t b : values) {
                PrepareMachine();
                // CMP R0,R1; Bxx .+4 (over one word)
                LoadWords(CodeStart, {020001, uint16_t(branch.opcode | 1)});
                Mk.Reg[0] = a;
                Mk.Reg[1] = b;
                CpuStep();
                CpuStep();
                const uint16_t want = branch.taken(a, b) ? 0x8006 : 0x8004;
                ASSERT_EQ(Mk.Reg[PC], want) << Octal(branch.opcode) << " after CMP " << a << "," << b;
            }
        }
    }
}

TEST(ProgramControl, BranchOffsetsAreSignedWords) {
    RunCases({
        {.code = {000777}, .psw = N | Z | V | C, .changedRegs = {{PC, 0x8000}}, .wantPsw = N | Z | V | C},
        {.code = {000600}, .changedRegs = {{PC, 0x7F02}}},
        {.code = {000577}, .changedRegs = {{PC, 0x8100}}},
    });
}

TEST(ProgramControl, JmpAndJsrToARegisterTrapThrough4) {
    for (uint16_t opcode : {uint16_t(000103), uint16_t(004703), uint16_t(004500)}) {
        PrepareMachine();
        LoadWords(CodeStart, {opcode});
        Mk.Reg[3] = 0x8200;
        Mk.Reg[5] = 0x1111;
        Mk.Psw = N | C;
        CpuStep();
        SCOPED_TRACE(Octal(opcode));
        ExpectTrapEntered(VectorBadJump, N | C, 0x8002);
        EXPECT_EQ(Mk.Reg[3], 0x8200);
        EXPECT_EQ(Mk.Reg[5], 0x1111);
    }
}

TEST(ProgramControl, JmpJsrRts) {
    RunCases({
        {.code = {000137, 0x8200}, .changedRegs = {{PC, 0x8200}}},
        // An odd target is made even after the step.
        {.code = {000126}, .regs = {{SP, 0x8101}}, .changedRegs = {{SP, 0x8103}, {PC, 0x8100}}},
        {.code = {004737, 0x8200}, .changedRegs = {{SP, 0x83FE}, {PC, 0x8200}}, .changedMemory = {{0x83FE, 0x8004}}},
        {.code = {004510},
         .regs = {{0, 0x8200}, {5, 0x1234}},
         .changedRegs = {{5, 0x8002}, {SP, 0x83FE}, {PC, 0x8200}},
         .changedMemory = {{0x83FE, 0x1234}}},
        // JSR R5,@(R5)+ pushes R5 as incremented by its own destination.
        {.code = {004535},
         .regs = {{5, 0x8100}},
         .memory = {{0x8100, 0x8200}},
         .changedRegs = {{5, 0x8002}, {SP, 0x83FE}, {PC, 0x8200}},
         .changedMemory = {{0x83FE, 0x8102}}},
        // JSR SP,... pushes the stack pointer already decremented.
        {.code = {004610},
         .regs = {{0, 0x8200}},
         .changedRegs = {{SP, 0x8002}, {PC, 0x8200}},
         .changedMemory = {{0x83FE, 0x83FE}}},
        {.code = {000205},
         .regs = {{5, 0x8101}},
         .memory = {{0x8400, 0x1234}},
         .changedRegs = {{5, 0x1234}, {SP, 0x8402}, {PC, 0x8100}}},
        {.code = {000207}, .memory = {{0x8400, 0x8124}}, .changedRegs = {{SP, 0x8402}, {PC, 0x8124}}},
    });
}

TEST(ProgramControl, Sob) {
    RunCases({
        {.code = {077102}, .regs = {{1, 1}}, .changedRegs = {{1, 0}}},
        {.code = {077102}, .regs = {{1, 5}}, .changedRegs = {{1, 4}, {PC, 0x7FFE}}},
        {.code = {077177}, .regs = {{1, 0}}, .psw = Z, .changedRegs = {{1, 0xFFFF}, {PC, 0x8002 - 0176}}, .wantPsw = Z},
    });
    // From 0 the loop runs 65536 times.
    PrepareMachine();
    LoadWords(CodeStart, {077101});  // SOB R1,.
    int steps = 0;
    do {
        CpuStep();
        ++steps;
    } while (Mk.Reg[PC] == CodeStart && steps < 70000);
    EXPECT_EQ(steps, 65536);
    EXPECT_EQ(Mk.Reg[1], 0);
}

TEST(ProgramControl, TrapInstructions) {
    const struct {
        uint16_t opcode, vector;
    } rows[] = {
        {0104000, VectorEmt}, {0104377, VectorEmt},         {0104400, VectorTrap}, {0104777, VectorTrap},
        {000003, VectorBreakpoint}, {000004, VectorIot},
    };
    for (const auto& row : rows) {
        PrepareMachine();
        LoadWords(CodeStart, {row.opcode});
        Mk.Psw = N | V;
        Mk.Reg[0] = 0x1234;
        CpuStep();
        SCOPED_TRACE(Octal(row.opcode));
        ExpectTrapEntered(row.vector, N | V, 0x8002);
        EXPECT_EQ(Mk.Reg[0], 0x1234);
    }
}

TEST(ProgramControl, IllegalOpcodesTrapThrough8AndChangeNothing) {
    for (uint16_t opcode : {000007, 000040, 000077, 000210, 000230, 000237, 006500, 006677, 007000, 007777, 075400,
                            076777, 0106500, 0106600, 0107000, 0170000, 0177777}) {
        PrepareMachine();
        LoadWords(CodeStart, {opcode, 0x8200});
        Mk.Psw = Z | C;
        Mk.Reg[0] = 0x8300;
        CpuStep();
        SCOPED_TRACE(Octal(opcode));
        ExpectTrapEntered(VectorIllegal, Z | C, 0x8002);
        EXPECT_EQ(Mk.Reg[0], 0x8300);
    }
}

TEST(ProgramControl, ConditionCodeOperations) {
    RunCases({
        {.code = {000240}, .psw = 0x00EF, .wantPsw = 0x00EF},
        {.code = {000241}, .psw = 0x000F, .wantPsw = 0x000E},
        {.code = {000257}, .psw = 0x01EF, .wantPsw = 0x01E0},
        {.code = {000252}, .psw = 0x000F, .wantPsw = 0x0005},
        {.code = {000260}, .psw = 0x0000, .wantPsw = 0x0000},
        {.code = {000261}, .psw = 0x0000, .wantPsw = 0x0001},
        {.code = {000277}, .psw = 0x0100, .wantPsw = 0x010F},
    });
}

TEST(ProgramControl, RtiRestoresAndEntersHaltModeInTheTopRegion) {
    RunCases({
        {.code = {000002},
         .memory = {{0x8400, 0x8123}, {0x8402, 0x00E5}},
         .changedRegs = {{SP, 0x8404}, {PC, 0x8122}},
         .wantPsw = 0x00E5},
        {.code = {000002},
         .memory = {{0x8400, 0xDFFE}, {0x8402, 0x0000}},
         .changedRegs = {{SP, 0x8404}, {PC, 0xDFFE}},
         .wantPsw = 0x0000},
        {.code = {000002},
         .memory = {{0x8400, 0xE000}, {0x8402, 0x0000}},
         .changedRegs = {{SP, 0x8404}, {PC, 0xE000}},
         .wantPsw = 0x0100},
        {.code = {000006},
         .memory = {{0x8400, 0xFFFE}, {0x8402, 0x0003}},
         .changedRegs = {{SP, 0x8404}, {PC, 0xFFFE}},
         .wantPsw = 0x0103},
    });
}

// A T bit loaded by RTI traps at once; loaded by RTT it lets one instruction run.
TEST(ProgramControl, TraceTrapAfterRtiVersusRtt) {
    for (uint16_t opcode : {uint16_t(000002), uint16_t(000006)}) {
        PrepareMachine();
        LoadWords(CodeStart, {opcode});
        LoadWords(0x8200, {005200});  // INC R0
        LoadWords(StackTop - 4, {0x8200, FlagT});
        Mk.Reg[SP] = StackTop - 4;
        CpuStep();
        SCOPED_TRACE(Octal(opcode));
        if (opcode == 000002) {
            ExpectTrapEntered(VectorBreakpoint, FlagT, 0x8200);
            EXPECT_EQ(Mk.Reg[0], 0);
        } else {
            EXPECT_EQ(Mk.Reg[PC], 0x8200);
            CpuStep();
            EXPECT_EQ(Mk.Reg[0], 1);
            ExpectTrapEntered(VectorBreakpoint, FlagT, 0x8202);
        }
    }
}

TEST(ProgramControl, BptWithTraceTakesOneTrap) {
    PrepareMachine();
    LoadWords(CodeStart, {000003});
    Mk.Psw = FlagT;
    CpuStep();
    ExpectTrapEntered(VectorBreakpoint, FlagT, 0x8002);
}

}  // namespace
