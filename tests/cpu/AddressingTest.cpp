#include <gtest/gtest.h>

#include "core/Def.h"
#include "cpu/Srcdst.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MemoryImage.h"

namespace {

enum Width { WordOp, ByteOp };

class Addressing : public ::testing::Test {
protected:
    void SetUp() override {
        MakeCleanMachine();
        SetWordAt(0x8100, 0x8155);  // (R)+ pointer for @(R)+ with R = 0x8101
        SetWordAt(0x80FE, 0x8177);  // pointer for @-(R)
        SetWordAt(0x8110, 0x8199);  // pointer for @X(R), X = 0x10
        Mk.Memory[0x8201] = 0x33;   // an odd word through SP = 0x8201
        Mk.Memory[0x8202] = 0x82;
        Mk.Memory[0x81FF] = 0x45;  // an odd word through SP = 0x81FF
        Mk.Memory[0x8200] = 0x82;
        SetWordAt(0x8210, 0x8267);  // pointer for @X(SP)
        SetWordAt(0x82FE, 0x8289);  // pointer for @-(PC)
        SetWordAt(0x8300, 0x0010);  // the word after the instruction: index, immediate, absolute
        SetWordAt(0x8312, 0x82AB);  // pointer for @X(PC)
    }
};

// One addressing mode for one kind of register: the address it gives for a
// word and for a byte operand, and the register afterwards.
struct ModeCase {
    int mode;
    uint16_t wordAddr, byteAddr;
    uint16_t wordReg, byteReg;  // the addressed register afterwards
    uint16_t pcAfter;           // for R0..R6; for R7 the register is the PC
};

constexpr uint16_t GeneralStart = 0x8101;
constexpr uint16_t SpStart = 0x8201;
constexpr uint16_t PcStart = 0x8300;

// R0..R5 hold 0x8101: word addresses are made even, bytes step by 1.
const ModeCase GeneralCases[] = {
    {0, 0x0000, 0x0000, 0x8101, 0x8101, PcStart},
    {1, 0x8100, 0x8101, 0x8101, 0x8101, PcStart},
    {2, 0x8100, 0x8101, 0x8103, 0x8102, PcStart},
    {3, 0x8154, 0x8155, 0x8103, 0x8103, PcStart},
    {4, 0x80FE, 0x8100, 0x80FF, 0x8100, PcStart},
    {5, 0x8176, 0x8177, 0x80FF, 0x80FF, PcStart},
    {6, 0x8110, 0x8111, 0x8101, 0x8101, PcStart + 2},
    {7, 0x8198, 0x8199, 0x8101, 0x8101, PcStart + 2},
};

// SP holds 0x8201: never masked, always steps by 2.
const ModeCase StackCases[] = {
    {0, 0x0000, 0x0000, 0x8201, 0x8201, PcStart},
    {1, 0x8201, 0x8201, 0x8201, 0x8201, PcStart},
    {2, 0x8201, 0x8201, 0x8203, 0x8203, PcStart},
    {3, 0x8232, 0x8233, 0x8203, 0x8203, PcStart},
    {4, 0x81FF, 0x81FF, 0x81FF, 0x81FF, PcStart},
    {5, 0x8244, 0x8245, 0x81FF, 0x81FF, PcStart},
    {6, 0x8210, 0x8211, 0x8201, 0x8201, PcStart + 2},
    {7, 0x8266, 0x8267, 0x8201, 0x8201, PcStart + 2},
};

// PC holds 0x8300: immediate, absolute, relative and relative deferred.
const ModeCase PcCases[] = {
    {0, 0x0000, 0x0000, 0x8300, 0x8300, 0},
    {1, 0x8300, 0x8300, 0x8300, 0x8300, 0},
    {2, 0x8300, 0x8300, 0x8302, 0x8302, 0},
    {3, 0x0010, 0x0010, 0x8302, 0x8302, 0},
    {4, 0x82FE, 0x82FE, 0x82FE, 0x82FE, 0},
    {5, 0x8288, 0x8289, 0x82FE, 0x82FE, 0},
    {6, 0x8312, 0x8312, 0x8302, 0x8302, 0},
    {7, 0x82AA, 0x82AB, 0x8302, 0x8302, 0},
};

void Check(int reg, uint16_t start, const ModeCase& c, Width width) {
    for (int r = 0; r < 8; ++r) Mk.Reg[r] = uint16_t(0x1000 + r);
    Mk.Reg[PC] = PcStart;
    Mk.Reg[reg] = start;
    Mk.AddrMask = width == WordOp ? 0xFFFE : 0xFFFF;
    const uint16_t field = uint16_t(c.mode * 8 + reg);
    Mk.Addr = 0xDEAD;
    ComputeAddress(field);
    const char* kind = width == WordOp ? "word" : "byte";
    SCOPED_TRACE(testing::Message() << "field 0" << std::oct << field << " " << kind);
    EXPECT_EQ(Mk.Addr, width == WordOp ? c.wordAddr : c.byteAddr);
    EXPECT_EQ(Mk.Reg[reg], width == WordOp ? c.wordReg : c.byteReg);
    if (reg != PC) {
        EXPECT_EQ(Mk.Reg[PC], c.pcAfter);
    }
    for (int r = 0; r < 7; ++r) {
        if (r != reg) {
            EXPECT_EQ(Mk.Reg[r], 0x1000 + r) << "R" << r << " must not change";
        }
    }
}

TEST_F(Addressing, GeneralRegistersInEveryMode) {
    for (int reg = 0; reg < 6; ++reg)
        for (const ModeCase& c : GeneralCases)
            for (Width w : {WordOp, ByteOp}) Check(reg, GeneralStart, c, w);
}

TEST_F(Addressing, StackPointerInEveryMode) {
    for (const ModeCase& c : StackCases)
        for (Width w : {WordOp, ByteOp}) Check(SP, SpStart, c, w);
}

TEST_F(Addressing, ProgramCounterInEveryMode) {
    for (const ModeCase& c : PcCases)
        for (Width w : {WordOp, ByteOp}) Check(PC, PcStart, c, w);
}

TEST_F(Addressing, RegisterModeHandsOutTheRegisterItself) {
    for (uint16_t field = 0; field < 8; ++field) {
        Mk.Reg[field] = 0x1234;
        ReadOperand(field).SetByte(0xAB);
        EXPECT_EQ(Mk.Reg[field], 0x12AB) << "a byte access touches the low byte only";
        WriteOperand(field).SetWord(0x5678);
        EXPECT_EQ(Mk.Reg[field], 0x5678);
    }
}

TEST_F(Addressing, OperandsGoThroughTheMemoryMap) {
    Mk.Reg[1] = 0x8100;
    Mk.AddrMask = 0xFFFE;
    EXPECT_EQ(ReadOperand(011).Word(), 0x8155);
    Mk.Reg[1] = 0x0090;  // display memory: written, but reads give ROM
    Mk.Rom()[0x90] = 0x11;
    WriteOperand(011).SetByte(0x77);
    EXPECT_EQ(Mk.LcdRam[0x10], 0x77);
    EXPECT_EQ(ReadOperand(011).Byte(), 0x11);
}

TEST_F(Addressing, PointerFromUnmappedSpaceIsZero) {
    Mk.Reg[4] = 0x9000;
    Mk.AddrMask = 0xFFFE;
    ComputeAddress(034);  // @(R4)+
    EXPECT_EQ(Mk.Addr, 0);
    EXPECT_EQ(Mk.Reg[4], 0x9002);
}

TEST_F(Addressing, DeferredByteModesStepByTwoAndKeepTheOddPointer) {
    Mk.Reg[3] = 0x8100;
    Mk.AddrMask = 0xFFFF;
    ComputeAddress(033);  // @(R3)+ for a byte instruction
    EXPECT_EQ(Mk.Reg[3], 0x8102);
    EXPECT_EQ(Mk.Addr, 0x8155);
    Mk.AddrMask = 0xFFFE;
    Mk.Reg[3] = 0x8100;
    ComputeAddress(033);
    EXPECT_EQ(Mk.Addr, 0x8154);
}

TEST_F(Addressing, EveryFieldHasItsOwnRoutine) {
    for (int i = 0; i < 64; ++i)
        for (int j = i + 1; j < 64; ++j) ASSERT_NE(ModeTable[i], ModeTable[j]) << i << " " << j;
}

}  // namespace
