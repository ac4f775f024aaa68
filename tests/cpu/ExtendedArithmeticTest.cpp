#include <gtest/gtest.h>

#include "TestMachine.h"
#include "cpu/Cpu.h"
#include "cpu/Exec.h"

namespace {

// Rows for an instruction on the pair R0/R1 with its operand in R2:
// {opcode, R0, R1, R2, PSW before, R0 after, R1 after, PSW after}.
struct PairRow {
    uint16_t opcode, r0, r1, r2, psw, wantR0, wantR1, wantPsw;
};

void RunPairRows(std::initializer_list<PairRow> rows) {
    for (const PairRow& r : rows)
        RunCase({.code = {r.opcode},
                 .regs = {{0, r.r0}, {1, r.r1}, {2, r.r2}},
                 .psw = r.psw,
                 .changedRegs = {{0, r.wantR0}, {1, r.wantR1}},
                 .wantPsw = r.wantPsw});
}

TEST(ExtendedArithmetic, Mul) {
    RunPairRows({
        {070002, 300, 0x5555, 200, N | Z | V, 0x0000, 0xEA60, C},
        {070002, 0xFFFF, 0, 0xFFFF, C, 0x0000, 0x0001, 0},
        {070002, 0x8000, 0, 0x0002, 0, 0xFFFF, 0x0000, N | C},
        {070002, 0x8000, 0, 0x8000, 0, 0x4000, 0x0000, C},
        {070002, 0x0000, 7, 0x1234, 0, 0x0000, 0x0000, Z},
        {070002, 0xFFFF, 7, 0x7FFF, 0, 0xFFFF, 0x8001, N},
        // An odd register keeps the low word; R0 takes no part.
        {070102, 0x1111, 3, 4, 0, 0x1111, 12, 0},
    });
}

TEST(ExtendedArithmetic, Div) {
    RunPairRows({
        {071002, 1, 2, 0, N | Z, 1, 2, V | C},
        {071002, 0xFFFF, 0xFFF9, 2, 0, 0xFFFD, 0xFFFF, N},
        {071002, 0, 100, 7, C, 14, 2, 0},
        {071002, 0, 100, 0xFFF9, 0, 0xFFF2, 2, N},
        {071002, 0, 3, 7, 0, 0, 3, Z},
        // A quotient outside 16 bits sets V and is stored all the same.
        {071002, 1, 0, 1, 0, 0, 0, V},
        {071002, 0x8000, 0, 1, 0, 0, 0, N | V},
        // -2^31 / -1: the true quotient 2^31 does not fit even 32 bits.
        {071002, 0x8000, 0, 0xFFFF, 0, 0, 0, V},
        {071002, 0x7FFF, 0xFFFF, 0xFFFF, 0, 1, 0, N | V},
        // An odd register is both halves of the dividend and keeps the quotient.
        {071102, 0x2222, 1, 0x0100, 0, 0x2222, 0x0100, 0},
    });
}

TEST(ExtendedArithmetic, Ash) {
    RunPairRows({
        {072002, 0x4000, 0, 1, 0, 0x8000, 0, N | V},
        {072002, 0x8001, 0, 077, 0, 0xC000, 0, N | C},
        {072002, 0x0001, 0, 16, 0, 0x0000, 0, Z | V | C},
        {072002, 0x0003, 0, 17, 0, 0x0000, 0, Z | V},
        {072002, 0x0000, 0, 20, 0, 0x0000, 0, Z},
        {072002, 0x8000, 0, 040, 0, 0xFFFF, 0, N | C},
        {072002, 0x7FFF, 0, 040, 0, 0x0000, 0, Z},
        {072002, 0x7FFF, 0, 061, 0, 0x0000, 0, Z | C},
        {072002, 0x1234, 0, 0, N | Z | V | C, 0x1234, 0, 0},
        {072002, 0x0001, 0, 15, 0, 0x8000, 0, N | V},
        {072002, 0x0003, 0, 15, 0, 0x8000, 0, N | V | C},
        {072002, 0xFFFF, 0, 4, 0, 0xFFF0, 0, N | C},
        {072002, 0x7FFF, 0, 0xFFFF, 0, 0x3FFF, 0, C},
        {072002, 0x4000, 0, 062, 0, 0x0001, 0, 0},
        {072002, 0x2000, 0, 0x7FC2, 0, 0x8000, 0, N | V},
    });
}

TEST(ExtendedArithmetic, Ashc) {
    RunPairRows({
        {073002, 0x4000, 0x0000, 1, 0, 0x8000, 0x0000, N | V},
        {073002, 0x1234, 0x5678, 040, 0, 0x0000, 0x0000, Z},
        {073002, 0x8000, 0x0000, 040, 0, 0xFFFF, 0xFFFF, N | C},
        {073002, 0x0000, 0x8000, 1, 0, 0x0001, 0x0000, 0},
        {073002, 0x0001, 0x0000, 077, 0, 0x0000, 0x8000, 0},
        {073002, 0x0000, 0x0003, 077, 0, 0x0000, 0x0001, C},
        {073002, 0x0000, 0x0001, 31, 0, 0x8000, 0x0000, N | V},
        {073002, 0x0000, 0x0003, 31, 0, 0x8000, 0x0000, N | V | C},
        {073002, 0xFFFF, 0xFFFF, 8, 0, 0xFFFF, 0xFF00, N | C},
        {073002, 0x1234, 0x5678, 0, N | Z | V | C, 0x1234, 0x5678, 0},
        // An odd register: the pair is R1:R1 and R1 keeps the low word.
        {073102, 0x7777, 0x0003, 1, 0, 0x7777, 0x0006, 0},
    });
}

TEST(ExtendedArithmetic, Xor) {
    RunCases({
        {.code = {074001},
         .regs = {{0, 0xFF00}, {1, 0x0FF0}},
         .psw = C | V,
         .changedRegs = {{1, 0xF0F0}},
         .wantPsw = N | C},
        {.code = {074001}, .regs = {{0, 0x1234}, {1, 0x1234}}, .changedRegs = {{1, 0}}, .wantPsw = Z},
        // XOR R2,(R2)+ combines the word with R2 as already incremented.
        {.code = {074222},
         .regs = {{2, 0x8100}},
         .memory = {{0x8100, 0xFFFF}},
         .changedRegs = {{2, 0x8102}},
         .changedMemory = {{0x8100, 0x7EFD}}},
    });
}

// ASH and ASHC read their register before the count, and the result
// overwrites a register that the count's addressing stepped.
TEST(ExtendedArithmetic, ShiftCountThatStepsItsOwnRegister) {
    RunCases({
        {.code = {072020},
         .regs = {{0, 0x8100}},
         .memory = {{0x8100, 1}},
         .changedRegs = {{0, 0x0200}},
         .wantPsw = V | C},
        {.code = {073021}, .regs = {{0, 0}, {1, 0x8100}}, .memory = {{0x8100, 077}}, .changedRegs = {{1, 0x4080}}},
        // MUL and DIV read their operand first: MUL (R0)+,R0 multiplies R0 as incremented.
        {.code = {070020},
         .regs = {{0, 0x8100}},
         .memory = {{0x8100, 2}},
         .changedRegs = {{0, 0xFFFF}, {1, 0x0204}},
         .wantPsw = N | C},
    });
}

TEST(ExtendedArithmetic, FloatingPointGroupTrapsWithItsStatusWord) {
    const struct {
        uint16_t opcode, savedPsw;
    } rows[] = {{075000, 0x0103}, {075012, 0x0103}, {075037, 0x0103}, {075040, 0x0003}, {075377, 0x0003}};
    for (const auto& row : rows) {
        PrepareMachine();
        LoadWords(CodeStart, {row.opcode});
        Mk.Psw = V | C;
        Mk.Reg[0] = 0x1234;
        CpuStep();
        SCOPED_TRACE(Octal(row.opcode));
        ExpectTrapEntered(VectorIllegal, row.savedPsw, 0x8002);
        EXPECT_EQ(Mk.Reg[0], 0x1234);
    }
}

}  // namespace
