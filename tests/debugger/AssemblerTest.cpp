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

const NumberFormat Radix8(8);
const NumberFormat Radix16(16);

class Assembler : public ::testing::Test {
protected:
    void SetUp() override { MakeCleanMachine(); }

    // The words of the line assembled at the address; none on failure.
    static std::vector<uint16_t> Assemble(const std::string& line, uint16_t address,
                                          const NumberFormat& numbers = Radix8) {
        const AsmResult result = AssembleLine(line, address, numbers);
        return std::vector<uint16_t>(result.Words().begin(), result.Words().end());
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
        const AsmResult result = AssembleLine(c.line, 0001000, Radix8);
        EXPECT_EQ(result.AsmPos, 0) << "'" << c.line << "': " << result.AsmReason;
        EXPECT_EQ(OctalList(std::vector<uint16_t>(result.Words().begin(), result.Words().end())), OctalList(c.words))
            << "'" << c.line << "'";
    }
}

TEST_F(Assembler, Radix16AtAddress1000) {
    const Success cases[] = {
        {"br 1000", {0000777}},
        {"jsr pc,1100", {0004767, 0x00FC}},
        {".word 1234", {0x1234}},
        {"mov #A,r0", {0012700, 0x000A}},
        {"mov #a,r0", {0012700, 0x000A}},
        {"clr 100C", {0005067, 0x0008}},
        {"mov FFFE(r0),r1", {0016001, 0xFFFE}},
        {"emt FF", {0104377}},
        {"mark 3F", {0006477}},
    };
    for (const Success& c : cases)
        EXPECT_EQ(OctalList(Assemble(c.line, 0x1000, Radix16)), OctalList(c.words)) << "'" << c.line << "'";
    EXPECT_EQ(OctalList(Assemble("sob r1,1000", 0x1004, Radix16)), OctalList({0077103}));
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
        const AsmResult result = AssembleLine(c.line, 0001000, Radix8);
        EXPECT_EQ(result.AsmPos, c.position) << "'" << c.line << "'";
        EXPECT_EQ(result.AsmCount, 0) << "'" << c.line << "'";
        EXPECT_FALSE(result.AsmReason.empty()) << "'" << c.line << "'";
    }
}

TEST_F(Assembler, Radix16RangeChecks) {
    const Failure cases[] = {
        {"br 1102", 8}, {"br F00", 7}, {"spl 8", 6}, {"mark 40", 8}, {"emt 100", 8},
    };
    for (const Failure& c : cases)
        EXPECT_EQ(AssembleLine(c.line, 0x1000, Radix16).AsmPos, c.position) << "'" << c.line << "'";
}

TEST_F(Assembler, OnlyTheFirst64CharactersCount) {
    EXPECT_EQ(OctalList(Assemble("mov r0,r1" + std::string(55, ' ') + "junk", 0001000)), OctalList({0010001}));
    EXPECT_EQ(AssembleLine("mov r0,r1" + std::string(54, ' ') + "junk", 0001000, Radix8).AsmPos, 64);
    // "m" is the last character that counts; no mnemonic is "m".
    EXPECT_EQ(AssembleLine(std::string(63, ' ') + "mov r0,r1", 0001000, Radix8).AsmPos, 64);
}

// StoreWord writes into the image the debugger reads back, skipping
// addresses that are neither ROM nor RAM.
class StoreWordTest : public Assembler {};

TEST_F(StoreWordTest, PatchesRomAndRam) {
    for (const uint16_t address : {0x2000, 0x0000, 0x8000, 0x87FE}) {
        StoreWord(Mk, address, uint16_t(address ^ 0x1234));
        EXPECT_EQ(WordAt(address), address ^ 0x1234) << std::hex << address;
    }
    StoreWord(Mk, 0x0080, 0x5555);  // display range: the ROM word, not LcdRam
    EXPECT_EQ(WordAt(0x0080), 0x5555);
    EXPECT_EQ(Mk.LcdRam[0], 0);
}

TEST_F(StoreWordTest, SkipsAddressesAboveRam) {
    const Machine expected = Mk;
    for (uint16_t address : {0x8800, 0xC000, 0xFFFE}) StoreWord(Mk, address, 0x7777);
    EXPECT_EQ(FirstDifference(Mk, expected), "");
}

TEST_F(StoreWordTest, RamIsSkippedWhileRamEndIsZero) {
    Mk.RamEnd = 0;
    StoreWord(Mk, 0x8000, 0x1111);
    EXPECT_EQ(WordAt(0x8000), 0);
}

TEST_F(StoreWordTest, PortsTakeTheStoreAsTheReadMapGivesThem) {
    StoreWord(Mk, 0x0104, 0x0C00);
    EXPECT_EQ(Mk.CtrlPort, 0x0C00);
    StoreWord(Mk, 0x0100, 0x00FF);
    EXPECT_EQ(Mk.KeyIn, 0x00FF);
    // The next read of 0x0100 rescans the keys: nothing is held.
    Mk.Addr = 0x0100;
    EXPECT_EQ(ReadCell().Word(), 0);
}

TEST_F(StoreWordTest, UnmappedPortAddressesStillReadZero) {
    Mk.CtrlPort = 0x0500;
    Mk.KeyOut = 0x0008;
    const Machine expected = Mk;
    for (uint16_t address : {0x0101, 0x0102, 0x0103, 0x0105, 0x0106, 0x0107}) {
        StoreWord(Mk, address, 0xFFFF);
        for (uint16_t reread : {0x0101, 0x0102, 0x0103, 0x0105, 0x0106, 0x0107, 0x8800, 0xFFFE})
            EXPECT_EQ(PeekWord(Mk, reread), 0) << "after a store at " << std::hex << address << ", read of " << reread;
    }
    EXPECT_EQ(FirstDifference(Mk, expected), "");
}

TEST_F(StoreWordTest, AssembledWordsLandInOrder) {
    const AsmResult result = AssembleLine("mov #1,@#1000", 0x8010, Radix8);
    ASSERT_EQ(result.AsmCount, 3);
    EXPECT_EQ(StoreWords(Mk, 0x8010, result.Words()), 0x8016);
    EXPECT_EQ(WordAt(0x8010), 0012737);
    EXPECT_EQ(WordAt(0x8012), 0000001);
    EXPECT_EQ(WordAt(0x8014), 0001000);
    // Words run on past the top of the address space into 0.
    const uint16_t two[] = {0xAAAA, 0xBBBB};
    EXPECT_EQ(StoreWords(Mk, 0xFFFE, two), 0x0002);
    EXPECT_EQ(WordAt(0x0000), 0xBBBB);
}

}  // namespace
