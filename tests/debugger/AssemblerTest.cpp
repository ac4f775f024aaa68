#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11asm.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MachineDifference.h"
#include "tests/support/MemoryImage.h"
#include "tests/support/Octal.h"

namespace {

std::string OctalList(const std::vector<uint16_t>& words) {
    std::string text;
    for (uint16_t w : words) text += Octal(w) + " ";
    return text;
}

class Assembler : public ::testing::Test {
protected:
    void SetUp() override {
        MakeCleanMachine();
        SetRadix(8);
    }
    void TearDown() override { SetRadix(16); }

    // Assembles the line at the address; the words on success, with AsmPos 0.
    static std::vector<uint16_t> Assemble(const std::string& line, uint16_t address) {
        AsmLine = line;
        Mk.Addr = address;
        AssembleLine();
        EXPECT_EQ(Mk.Addr, address) << "'" << line << "' moved Addr";
        return std::vector<uint16_t>(AsmWords, AsmWords + (AsmPos == 0 ? AsmCount : 0));
    }
};

struct Success {
    const char* line;
    std::vector<uint16_t> words;
};

// At address 001000 (0x0200) in radix 8.
TEST_F(Assembler, Successes) {
    const Success cases[] = {
        {"MOV R0,R1", {0010001}},
        {"movb (r1)+,-(sp)", {0112146}},
        {"tst @r1", {0005711}},
        {"mov @(r1),r2", {0017102, 0000000}},
        {"clear cv", {0000243}},
        {"clear ", {0000240}},
        {"clear cvzn", {0000257}},
        {"clear zn", {0000254}},
        {"set ", {0000260}},
        {"set n", {0000270}},
        {"halt", {0000000}},
        {"  reset  ", {0000005}},
        {"go", {0000012}},
        {"step", {0000016}},
        {"rsel", {0000020}},
        {"rcps", {0000024}},
        {"nop", {0000240}},
        {"mov #1,@#1000", {0012737, 0000001, 0001000}},
        {"mov 1000,1000", {0016767, 0177774, 0177772}},  // pc-relative: each word counts from its own end
        {"mov @1000,r0", {0017700, 0177774}},
        {"mov 10(r1),@177760(sp)", {0016176, 0000010, 0177760}},
        {"mov r0,@(r1)", {0010071, 0000000}},
        {"mov 177776(r0),r1", {0016001, 0177776}},
        {"movb @(r2)+,@-(r3)", {0113253}},
        {"mov (pc)+,r0", {0012700}},
        {"cmp  r0 , r1", {0020001}},
        {"add r1,r2", {0060102}},
        {"sub r1,r2", {0160102}},
        {"bicb #17,r4", {0142704, 0000017}},
        {"bisB r0,r1", {0150001}},
        {"clrb r0", {0105000}},
        {"incb @#400", {0105237, 0000400}},
        {"jmp (r5)", {0000115}},
        {"jmp 1000", {0000167, 0177774}},
        {"swab r3", {0000303}},
        {"sxt r6", {0006706}},
        {"mtps #340", {0106427, 0000340}},
        {"rts pc", {0000207}},
        {"rts R7", {0000207}},
        {"fdiv r5", {0075035}},
        {"jsr pc,@#2000", {0004737, 0002000}},
        {"jsr r5,1004", {0004567, 0000000}},
        {"xor r2,(r3)", {0074213}},
        {"mul #12,r3", {0070327, 0000012}},
        {"div (r1),r2", {0071211}},
        {"ash r0,r4", {0072400}},
        {"ashc r0,r4", {0073400}},
        {"br 1000", {0000777}},
        {"br 1001", {0000777}},   // an odd distance rounds down
        {"br 1002", {0000400}},
        {"br 1400", {0000577}},   // +127 words
        {"br 0402", {0000600}},   // -128 words
        {"bhis 1002", {0103000}},
        {"bcc 1002", {0103000}},
        {"blo 1002", {0103400}},
        {"bhi 1002", {0101000}},
        {"blos 1002", {0101400}},
        {"sob r1,1000", {0077101}},
        {"sob r0,1002", {0077000}},
        {"sob r5,0604", {0077577}},  // 63 words back
        {"spl 7", {0000237}},
        {"mark 77", {0006477}},
        {"emt 377", {0104377}},
        {"trap 0", {0104400}},
        {".word 1234", {0001234}},
        {".word 1234567", {0034567}},  // wraps modulo 2^16
        {"mov #1234567,r0", {0012700, 0034567}},
        {"", {}},
        {"     ", {}},
    };
    for (const Success& c : cases) {
        EXPECT_EQ(OctalList(Assemble(c.line, 0001000)), OctalList(c.words)) << "'" << c.line << "' AsmPos " << AsmPos;
        EXPECT_EQ(AsmPos, 0) << "'" << c.line << "'";
    }
}

TEST_F(Assembler, Radix16AtAddress1000) {
    SetRadix(16);
    EXPECT_EQ(OctalList(Assemble("br 1000", 0x1000)), OctalList({0000777}));
    EXPECT_EQ(OctalList(Assemble("jsr pc,1100", 0x1000)), OctalList({0004767, 0x00FC}));
    EXPECT_EQ(OctalList(Assemble("sob r1,1000", 0x1004)), OctalList({0077103}));
    EXPECT_EQ(OctalList(Assemble(".word 1234", 0x1000)), OctalList({0x1234}));
    EXPECT_EQ(OctalList(Assemble("mov #A,r0", 0x1000)), OctalList({0012700, 0x000A}));
    EXPECT_EQ(OctalList(Assemble("mov #a,r0", 0x1000)), OctalList({0012700, 0x000A}));
    EXPECT_EQ(OctalList(Assemble("clr 100C", 0x1000)), OctalList({0005067, 0x0008}));
    EXPECT_EQ(OctalList(Assemble("mov FFFE(r0),r1", 0x1000)), OctalList({0016001, 0xFFFE}));
    EXPECT_EQ(OctalList(Assemble("emt FF", 0x1000)), OctalList({0104377}));
    EXPECT_EQ(OctalList(Assemble("mark 3F", 0x1000)), OctalList({0006477}));
}

struct Failure {
    const char* line;
    int position;
};

TEST_F(Assembler, FailuresStopWhereParsingStopped) {
    const Failure cases[] = {
        {"clear", 6},         {"clear vc", 8},       {"clear CV", 7},       {"mov r0", 7},
        {"clr r10", 7},       {"illop", 6},          {"addb r1,r2", 4},     {"haltx", 5},
        {"  xyz", 3},         {"clr ", 5},           {"clr", 4},            {"clrx r0", 4},
        {"mov #,r1", 6},      {"clr -r1", 6},        {"clr (r1", 8},        {"clr (r9)", 6},
        {"clr @", 6},         {"clr 10(r1", 10},     {"rts r8", 5},         {"rts", 4},
        {"mov r0,", 8},       {"mov r0;r1", 7},      {"jsr 7,r0", 5},       {"mul r0 r1", 8},
        {"spl 8", 5},         {"spl 10", 7},         {"mark 100", 9},       {"emt 400", 8},
        {"sob r1,1004", 12},  {"sob r1,0602", 12},   {"br 1402", 8},        {"br 0400", 8},
        {"br", 3},            {"br x", 4},           {".word", 6},          {".word x", 7},
        {"mov r0,r1 x", 11},  {"mov r0,r1 ,", 11},   {"nop nop", 5},        {"clear c c", 9},
        {"mov #8,r0", 6},     {"clr @(r1)+x", 11},
    };
    for (const Failure& c : cases) {
        AsmLine = c.line;
        Mk.Addr = 0001000;
        AssembleLine();
        EXPECT_EQ(AsmPos, c.position) << "'" << c.line << "'";
        EXPECT_EQ(Mk.Addr, 0001000) << "'" << c.line << "'";
    }
}

TEST_F(Assembler, Radix16RangeChecks) {
    SetRadix(16);
    const Failure cases[] = {
        {"br 1102", 8}, {"br F00", 7}, {"spl 8", 6}, {"mark 40", 8}, {"emt 100", 8},
    };
    for (const Failure& c : cases) {
        AsmLine = c.line;
        Mk.Addr = 0x1000;
        AssembleLine();
        EXPECT_EQ(AsmPos, c.position) << "'" << c.line << "'";
    }
}

TEST_F(Assembler, OnlyTheFirst64CharactersCount) {
    AsmLine = "mov r0,r1" + std::string(55, ' ') + "junk";
    EXPECT_EQ(OctalList(Assemble(AsmLine, 0001000)), OctalList({0010001}));
    AsmLine = "mov r0,r1" + std::string(54, ' ') + "junk";
    Mk.Addr = 0001000;
    AssembleLine();
    EXPECT_EQ(AsmPos, 64);
    AsmLine = std::string(63, ' ') + "mov r0,r1";
    Mk.Addr = 0001000;
    AssembleLine();
    EXPECT_EQ(AsmPos, 64);  // "m" is the last character that counts; no mnemonic is "m"
}

TEST_F(Assembler, ParseOperandAppendsItsExtraWord) {
    AsmLine = "@#1000";
    AsmPos = 1;
    AsmCount = 1;
    const std::optional<uint16_t> field = ParseOperand();
    ASSERT_TRUE(field.has_value());
    EXPECT_EQ(*field, 037);
    EXPECT_EQ(AsmCount, 2);
    EXPECT_EQ(AsmWords[1], 0001000);
    EXPECT_EQ(AsmPos, 7);
}

// StoreWord writes into the image the debugger reads back, skipping
// addresses that are neither ROM nor RAM.
class StoreWordTest : public Assembler {};

TEST_F(StoreWordTest, PatchesRomAndRam) {
    Mk.Addr = 0x2000;
    StoreWord(0x1234);
    EXPECT_EQ(WordAt(0x2000), 0x1234);
    EXPECT_EQ(Mk.Addr, 0x2002);
    Mk.Addr = 0x0000;
    StoreWord(0xBEEF);
    EXPECT_EQ(WordAt(0x0000), 0xBEEF);
    Mk.Addr = 0x0080;  // display range: the ROM word, not LcdRam
    StoreWord(0x5555);
    EXPECT_EQ(WordAt(0x0080), 0x5555);
    EXPECT_EQ(Mk.LcdRam[0], 0);
    Mk.Addr = 0x8000;
    StoreWord(0xABCD);
    EXPECT_EQ(WordAt(0x8000), 0xABCD);
    Mk.Addr = 0x87FE;
    StoreWord(0x4321);
    EXPECT_EQ(WordAt(0x87FE), 0x4321);
    EXPECT_EQ(Mk.Addr, 0x8800);
}

TEST_F(StoreWordTest, SkipsAddressesAboveRam) {
    Machine expected = Mk;
    for (uint16_t address : {0x8800, 0xC000, 0xFFFE}) {
        Mk.Addr = address;
        StoreWord(0x7777);
        EXPECT_EQ(Mk.Addr, uint16_t(address + 2));
    }
    expected.Addr = Mk.Addr;
    EXPECT_EQ(FirstDifference(Mk, expected), "");
}

TEST_F(StoreWordTest, RamIsSkippedWhileRamEndIsZero) {
    Mk.RamEnd = 0;
    Mk.Addr = 0x8000;
    StoreWord(0x1111);
    EXPECT_EQ(WordAt(0x8000), 0);
    EXPECT_EQ(Mk.Addr, 0x8002);
}

TEST_F(StoreWordTest, PortsTakeTheStoreAsTheReadMapGivesThem) {
    Mk.Addr = 0x0104;
    StoreWord(0x0C00);
    EXPECT_EQ(Mk.CtrlPort, 0x0C00);
    Mk.Addr = 0x0100;
    StoreWord(0x00FF);
    EXPECT_EQ(Mk.KeyIn, 0x00FF);
    // The next read of 0x0100 rescans the keys: nothing is held.
    Mk.Addr = 0x0100;
    EXPECT_EQ(ReadCell().Word(), 0);
}

TEST_F(StoreWordTest, UnmappedPortAddressesStillReadZero) {
    Mk.CtrlPort = 0x0500;
    Mk.KeyOut = 0x0008;
    Machine expected = Mk;
    for (uint16_t address : {0x0101, 0x0102, 0x0103, 0x0105, 0x0106, 0x0107}) {
        Mk.Addr = address;
        StoreWord(0xFFFF);
        EXPECT_EQ(Mk.ZeroCell, 0) << std::hex << address;
        for (uint16_t reread : {0x0101, 0x0102, 0x0103, 0x0105, 0x0106, 0x0107, 0x8800, 0xFFFE}) {
            Mk.Addr = reread;
            EXPECT_EQ(ReadCell().Word(), 0) << "after a store at " << std::hex << address << ", read of " << reread;
        }
    }
    expected.Addr = Mk.Addr;
    EXPECT_EQ(FirstDifference(Mk, expected), "");
}

TEST_F(StoreWordTest, AssembledWordsLandInOrder) {
    ASSERT_EQ(OctalList(Assemble("mov #1,@#1000", 0x8010)), OctalList({0012737, 0000001, 0001000}));
    Mk.Addr = 0x8010;
    for (int i = 0; i < AsmCount; ++i) StoreWord(AsmWords[i]);
    EXPECT_EQ(WordAt(0x8010), 0012737);
    EXPECT_EQ(WordAt(0x8012), 0000001);
    EXPECT_EQ(WordAt(0x8014), 0001000);
    EXPECT_EQ(Mk.Addr, 0x8016);
}

}  // namespace
