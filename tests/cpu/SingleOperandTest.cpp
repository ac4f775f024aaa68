#include <gtest/gtest.h>

#include "TestMachine.h"
#include "cpu/Cpu.h"
#include "cpu/Exec.h"

namespace {

// Rows with the operand in R0: {opcode, R0 before, PSW before, R0 after, PSW after}.
struct RegisterRow {
    uint16_t opcode, before, psw, after, wantPsw;
};

void RunRegisterRows(std::initializer_list<RegisterRow> rows) {
    for (const RegisterRow& r : rows)
        RunCase({.code = {r.opcode},
                 .regs = {{0, r.before}},
                 .psw = r.psw,
                 .changedRegs = {{0, r.after}},
                 .wantPsw = r.wantPsw});
}

TEST(SingleOperand, ClrComIncDec) {
    RunRegisterRows({
        {005000, 0x1234, N | V | C, 0x0000, Z},
        {0105000, 0x1234, N | C, 0x1200, Z},
        {005100, 0x0000, 0, 0xFFFF, N | C},
        {0105100, 0x12F0, V, 0x120F, C},
        {005200, 0x7FFF, C, 0x8000, N | V | C},
        {005200, 0xFFFF, 0, 0x0000, Z},
        {0105200, 0x12FF, 0, 0x1200, Z},
        {0105200, 0x127F, 0, 0x1280, N | V},
        {005300, 0x8000, 0, 0x7FFF, V},
        {005300, 0x0001, N | C, 0x0000, Z | C},
        {0105300, 0x1200, 0, 0x12FF, N},
        {0105300, 0x0080, 0, 0x007F, V},
    });
}

TEST(SingleOperand, NegAdcSbcTst) {
    RunRegisterRows({
        {005400, 0x0000, N | V | C, 0x0000, Z},
        {005400, 0x8000, 0, 0x8000, N | V | C},
        {005400, 0x0001, 0, 0xFFFF, N | C},
        {0105400, 0x3480, 0, 0x3480, N | V | C},
        {0105400, 0x3401, 0, 0x34FF, N | C},
        {005500, 0xFFFF, C, 0x0000, Z | C},
        {005500, 0x1234, 0, 0x1234, 0},
        {005500, 0x7FFF, C, 0x8000, N | V},
        {0105500, 0x12FF, C, 0x1200, Z | C},
        {0105500, 0x127F, C, 0x1280, N | V},
        {005600, 0x0000, C, 0xFFFF, N | C},
        {005600, 0x8000, C, 0x7FFF, V},
        {005600, 0x0000, 0, 0x0000, Z},
        {0105600, 0x1280, C, 0x127F, V},
        {0105600, 0x1200, C, 0x12FF, N | C},
        {005700, 0x8000, V | C, 0x8000, N},
        {005700, 0x0000, N, 0x0000, Z},
        {0105700, 0x0100, 0, 0x0100, Z},
        {0105700, 0x00FF, 0, 0x00FF, N},
    });
}

TEST(SingleOperand, ShiftsAndRotates) {
    RunRegisterRows({
        {006000, 0x0001, C, 0x8000, N | C},
        {006000, 0x0002, 0, 0x0001, 0},
        {006000, 0x0001, 0, 0x0000, Z | V | C},
        {006100, 0x8000, 0, 0x0000, Z | V | C},
        {006100, 0x4000, C, 0x8001, N | V},
        {006200, 0x8001, 0, 0xC000, N | C},
        {006200, 0x0001, N, 0x0000, Z | V | C},
        {006300, 0x4000, 0, 0x8000, N | V},
        {006300, 0x8000, 0, 0x0000, Z | V | C},
        {006300, 0xC000, 0, 0x8000, N | C},
        {0106000, 0x1201, 0, 0x1200, Z | V | C},
        {0106000, 0x1200, C, 0x1280, N | V},
        {0106100, 0x1280, 0, 0x1200, Z | V | C},
        {0106100, 0x0040, C, 0x0081, N | V},
        {0106200, 0x0081, 0, 0x00C0, N | C},
        {0106200, 0xFF40, 0, 0xFF20, 0},
        {0106300, 0x0040, 0, 0x0080, N | V},
        {0106300, 0x01C0, 0, 0x0180, N | C},
    });
}

TEST(SingleOperand, SwabAndSxt) {
    RunRegisterRows({
        {000300, 0x8000, V | C, 0x0080, N},
        {000300, 0x00FF, 0, 0xFF00, Z},
        {000300, 0x1234, N, 0x3412, 0},
        {006700, 0x1234, N | Z | V | C, 0xFFFF, N | C},
        {006700, 0x1234, V | C, 0x0000, Z | C},
    });
}

TEST(SingleOperand, MtpsKeepsTraceAndHighByte) {
    RunCases({
        {.code = {0106400}, .regs = {{0, 0x00FF}}, .psw = 0x0100, .wantPsw = 0x01EF},
        {.code = {0106400}, .regs = {{0, 0x0000}}, .psw = 0xFF0F, .wantPsw = 0xFF00},
        {.code = {0106427, 0x0003}, .psw = 0x0008, .wantPsw = 0x0003},
    });
    // A set T bit survives MTPS #0, so the trace trap follows.
    PrepareMachine();
    LoadWords(CodeStart, {0106427, 0x0000});
    Mk.Psw = FlagT | N;
    CpuStep();
    ExpectTrapEntered(VectorBreakpoint, FlagT, 0x8004);
}

TEST(SingleOperand, Mfps) {
    RunCases({
        {.code = {0106701}, .regs = {{1, 0x1234}}, .psw = 0x0080, .changedRegs = {{1, 0xFF80}}, .wantPsw = 0x0088},
        {.code = {0106701}, .regs = {{1, 0x1234}}, .psw = 0x0106, .changedRegs = {{1, 0x0006}}, .wantPsw = 0x0100},
        {.code = {0106701}, .psw = 0x0061, .changedRegs = {{1, 0x0061}}, .wantPsw = 0x0061},
        // Into memory: the single byte, before the codes change.
        {.code = {0106711},
         .regs = {{1, 0x8101}},
         .psw = 0x0085,
         .memory = {{0x8100, 0x5555}},
         .wantPsw = 0x0089,
         .changedMemory = {{0x8100, 0x8555}}},
        {.code = {0106711},
         .regs = {{1, 0x8101}},
         .psw = 0x0000,
         .memory = {{0x8100, 0x5555}},
         .wantPsw = Z,
         .changedMemory = {{0x8100, 0x0055}}},
    });
}

TEST(SingleOperand, MarkDropsParametersAndReturnsThroughR5) {
    // The word after MARK is at A = 0x8002: SP = A + 4, PC = R5 made even,
    // R5 = the word at A + 4, SP = A + 6.
    RunCase({.code = {006402},
             .regs = {{5, 0x8101}},
             .psw = N | C,
             .memory = {{0x8006, 0x1357}},
             .changedRegs = {{5, 0x1357}, {SP, 0x8008}, {PC, 0x8100}},
             .wantPsw = N | C});
}

// Read-modify-write through memory: addressed once, written through the same address.
TEST(SingleOperand, ModifiedOperandIsAddressedOnce) {
    RunCases({
        {.code = {005220},
         .regs = {{0, 0x8100}},
         .memory = {{0x8100, 0x0041}},
         .changedRegs = {{0, 0x8102}},
         .changedMemory = {{0x8100, 0x0042}}},
        {.code = {0105220},
         .regs = {{0, 0x8100}},
         .memory = {{0x8100, 0x0141}},
         .changedRegs = {{0, 0x8101}},
         .changedMemory = {{0x8100, 0x0142}}},
        {.code = {0105240},
         .regs = {{0, 0x8102}},
         .memory = {{0x8100, 0x7F00}},
         .changedRegs = {{0, 0x8101}},
         .wantPsw = N | V,
         .changedMemory = {{0x8100, 0x8000}}},
        {.code = {006360, 0x0002},
         .regs = {{0, 0x8100}},
         .memory = {{0x8102, 0x4001}},
         .wantPsw = N | V,
         .changedMemory = {{0x8102, 0x8002}}},
        {.code = {000330},
         .regs = {{0, 0x8200}},
         .memory = {{0x8200, 0x8100}, {0x8100, 0x1234}},
         .changedRegs = {{0, 0x8202}},
         .changedMemory = {{0x8100, 0x3412}}},
        // ADC with C clear still writes the value back: into ROM it is lost without effect.
        {.code = {005537, 0x1000}, .wantPsw = Z},
        {.code = {005037, 0x8100}, .memory = {{0x8100, 0xFFFF}}, .wantPsw = Z, .changedMemory = {{0x8100, 0}}},
        {.code = {006737, 0x8100},
         .psw = N,
         .memory = {{0x8100, 0x1234}},
         .wantPsw = N,
         .changedMemory = {{0x8100, 0xFFFF}}},
    });
}

}  // namespace
