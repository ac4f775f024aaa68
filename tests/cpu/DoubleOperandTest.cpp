#include <gtest/gtest.h>

#include "TestMachine.h"
#include "cpu/Cpu.h"

namespace {

TEST(DoubleOperand, MovAndMovb) {
    RunCases({
        {.code = {010001}, .regs = {{0, 0x8000}}, .psw = C, .changedRegs = {{1, 0x8000}}, .wantPsw = N | C},
        {.code = {012701, 0}, .regs = {{1, 0x5555}}, .psw = N | V, .changedRegs = {{1, 0}}, .wantPsw = Z},
        // MOVB into a register sign-extends; C is kept.
        {.code = {0111001},
         .regs = {{0, 0x8101}, {1, 0x1234}},
         .psw = C,
         .memory = {{0x8100, 0x8012}},
         .changedRegs = {{1, 0xFF80}},
         .wantPsw = N | C},
        // MOVB into memory writes the single byte.
        {.code = {0110110},
         .regs = {{0, 0x8100}, {1, 0x1280}},
         .memory = {{0x8100, 0x5555}},
         .wantPsw = N,
         .changedMemory = {{0x8100, 0x5580}}},
        {.code = {0110110},
         .regs = {{0, 0x8101}, {1, 0x0000}},
         .psw = N | V,
         .memory = {{0x8100, 0x5555}},
         .wantPsw = Z,
         .changedMemory = {{0x8100, 0x0055}}},
    });
}

TEST(DoubleOperand, CmpAndCmpb) {
    RunCases({
        {.code = {020001}, .regs = {{0, 1}, {1, 2}}, .wantPsw = N | C},
        {.code = {020001}, .regs = {{0, 0x8000}, {1, 1}}, .wantPsw = V},
        {.code = {020001}, .regs = {{0, 0x1234}, {1, 0x1234}}, .psw = N | V | C, .wantPsw = Z},
        {.code = {020001}, .regs = {{0, 0x7FFF}, {1, 0xFFFF}}, .wantPsw = N | V | C},
        // Only the low bytes take part.
        {.code = {0120001}, .regs = {{0, 0x1280}, {1, 0xFF01}}, .wantPsw = V},
        {.code = {0120001}, .regs = {{0, 0xFF00}, {1, 0x0001}}, .wantPsw = N | C},
        {.code = {0120001}, .regs = {{0, 0x1234}, {1, 0x5634}}, .wantPsw = Z},
    });
}

TEST(DoubleOperand, BitBicBis) {
    RunCases({
        {.code = {030001}, .regs = {{0, 0x00F0}, {1, 0x0F0F}}, .psw = V | C, .wantPsw = Z | C},
        {.code = {030001}, .regs = {{0, 0x8001}, {1, 0xFFFF}}, .wantPsw = N},
        {.code = {0130001}, .regs = {{0, 0x0080}, {1, 0xFF80}}, .wantPsw = N},
        {.code = {0130001}, .regs = {{0, 0xFF00}, {1, 0xFF7F}}, .wantPsw = Z},
        {.code = {040001},
         .regs = {{0, 0x00FF}, {1, 0x1234}},
         .psw = C | V,
         .changedRegs = {{1, 0x1200}},
         .wantPsw = C},
        {.code = {040001}, .regs = {{0, 0x7FFF}, {1, 0xFFFF}}, .changedRegs = {{1, 0x8000}}, .wantPsw = N},
        // Byte forms with a register change only its low byte.
        {.code = {0140001}, .regs = {{0, 0xFFFF}, {1, 0x1234}}, .changedRegs = {{1, 0x1200}}, .wantPsw = Z},
        {.code = {050001}, .regs = {{0, 0x8000}, {1, 0x0001}}, .changedRegs = {{1, 0x8001}}, .wantPsw = N},
        {.code = {0150001}, .regs = {{0, 0x0080}, {1, 0x1201}}, .changedRegs = {{1, 0x1281}}, .wantPsw = N},
        {.code = {0150011},
         .regs = {{0, 0x0081}, {1, 0x8101}},
         .memory = {{0x8100, 0x0102}},
         .wantPsw = N,
         .changedMemory = {{0x8100, 0x8102}}},
    });
}

TEST(DoubleOperand, AddAndSub) {
    RunCases({
        {.code = {060001}, .regs = {{0, 1}, {1, 0x7FFF}}, .changedRegs = {{1, 0x8000}}, .wantPsw = N | V},
        {.code = {060001}, .regs = {{0, 1}, {1, 0xFFFF}}, .changedRegs = {{1, 0}}, .wantPsw = Z | C},
        {.code = {060001}, .regs = {{0, 0x8000}, {1, 0x8000}}, .changedRegs = {{1, 0}}, .wantPsw = Z | V | C},
        {.code = {060001}, .regs = {{0, 2}, {1, 3}}, .psw = N | Z | V | C, .changedRegs = {{1, 5}}, .wantPsw = 0},
        // SUB is dst - src.
        {.code = {0160001}, .regs = {{0, 1}, {1, 0x8000}}, .changedRegs = {{1, 0x7FFF}}, .wantPsw = V},
        {.code = {0160001}, .regs = {{0, 2}, {1, 1}}, .changedRegs = {{1, 0xFFFF}}, .wantPsw = N | C},
        {.code = {0160001}, .regs = {{0, 3}, {1, 5}}, .psw = N | Z | V | C, .changedRegs = {{1, 2}}, .wantPsw = 0},
        {.code = {0160001}, .regs = {{0, 0xFFFF}, {1, 0x7FFF}}, .changedRegs = {{1, 0x8000}}, .wantPsw = N | V | C},
    });
}

TEST(DoubleOperand, ResultLostInRomStillSetsFlags) {
    PrepareMachine();
    SetWordAt(0x1000, 0xFFFF);
    LoadWords(CodeStart, {060037, 0x1000});  // ADD R0,@#0x1000
    Mk.Reg[0] = 1;
    CpuStep();
    EXPECT_EQ(WordAt(0x1000), 0xFFFF);
    EXPECT_EQ(Mk.Psw, Z | C);
}

// Source before destination, and a read-modify-write destination addressed once.
TEST(DoubleOperand, OperandOrderAndSideEffects) {
    RunCases({
        // ADD R0,(R0)+ adds R0 as it was before the increment, which happens once.
        {.code = {060020},
         .regs = {{0, 0x8100}},
         .memory = {{0x8100, 5}},
         .changedRegs = {{0, 0x8102}},
         .wantPsw = N,
         .changedMemory = {{0x8100, 0x8105}}},
        {.code = {010020},
         .regs = {{0, 0x8100}},
         .changedRegs = {{0, 0x8102}},
         .wantPsw = N,
         .changedMemory = {{0x8100, 0x8100}}},
        // CMP (R0)+,(R0)+: the source is the first word.
        {.code = {022020},
         .regs = {{0, 0x8100}},
         .memory = {{0x8100, 1}, {0x8102, 2}},
         .changedRegs = {{0, 0x8104}},
         .wantPsw = N | C},
        {.code = {032121},
         .regs = {{1, 0x8100}},
         .memory = {{0x8100, 1}, {0x8102, 1}},
         .changedRegs = {{1, 0x8104}},
         .wantPsw = 0},
        // A byte instruction steps R0 by 1 in each field.
        {.code = {0152020},
         .regs = {{0, 0x8100}},
         .memory = {{0x8100, 0x0180}},
         .changedRegs = {{0, 0x8102}},
         .wantPsw = N,
         .changedMemory = {{0x8100, 0x8180}}},
        // The immediate word is consumed before the index word; PC advances by 6.
        {.code = {012765, 0x1234, 0x0006}, .regs = {{5, 0x8100}}, .changedMemory = {{0x8106, 0x1234}}},
        // An index word in read-modify-write is fetched once.
        {.code = {066165, 0x0004, 0x0002},
         .regs = {{5, 0x8100}, {1, 0x8200}},
         .memory = {{0x8102, 0x0003}, {0x8204, 0x0010}},
         .changedMemory = {{0x8102, 0x0013}}},
    });
}

}  // namespace
