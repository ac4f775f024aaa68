#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11dis.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MemoryImage.h"
#include "tests/support/Octal.h"

namespace {

const NumberFormat Radix8(8);
const NumberFormat Radix16(16);

class Disassembler : public ::testing::Test {
protected:
    void SetUp() override { MakeCleanMachine(); }

    // Puts the words into the memory image at the address (ROM or RAM) and
    // disassembles the first instruction there.
    static Disassembly Put(uint16_t address, const std::vector<uint16_t>& words, const NumberFormat& numbers = Radix8) {
        for (size_t i = 0; i < words.size(); ++i) SetWordAt(uint16_t(address + 2 * i), words[i]);
        return Disassemble(address, MachineReader(Mk), numbers);
    }
};

// Which record every one of the 65,536 words falls to under the first-match
// rule, range by range.
struct RecordRange {
    uint16_t first, last;
    int record;
    const char* name;
};
const RecordRange recordRanges[] = {
    {0000000, 0000000, 0, "halt"},    {0000001, 0000001, 1, "wait"},    {0000002, 0000002, 2, "rti"},
    {0000003, 0000003, 3, "bpt"},     {0000004, 0000004, 4, "iot"},     {0000005, 0000005, 5, "reset"},
    {0000006, 0000006, 6, "rtt"},     {0000012, 0000012, 7, "go"},      {0000010, 0000011, 8, "go"},
    {0000013, 0000013, 8, "go"},      {0000016, 0000016, 9, "step"},    {0000014, 0000015, 10, "step"},
    {0000017, 0000017, 10, "step"},   {0000020, 0000020, 11, "rsel"},   {0000030, 0000030, 11, "rsel"},
    {0000021, 0000021, 12, "mfus"},   {0000022, 0000023, 13, "rcpc"},   {0000024, 0000027, 14, "rcps"},
    {0000031, 0000031, 15, "mtus"},   {0000032, 0000033, 16, "wcpc"},   {0000034, 0000037, 17, "wcps"},
    {0000007, 0000007, 18, "illop"},  {0000100, 0000177, 19, "jmp"},    {0000200, 0000207, 20, "rts"},
    {0000230, 0000237, 22, "spl"},    {0000240, 0000240, 23, "nop"},    {0000241, 0000241, 24, "clc"},
    {0000242, 0000257, 25, "clear"},  {0000261, 0000261, 26, "sec"},    {0000260, 0000260, 27, "set"},
    {0000262, 0000277, 27, "set"},    {0000300, 0000377, 28, "swab"},   {0000400, 0000777, 29, "br"},
    {0001000, 0001377, 30, "bne"},    {0001400, 0001777, 31, "beq"},    {0002000, 0002377, 32, "bge"},
    {0002400, 0002777, 33, "blt"},    {0003000, 0003377, 34, "bgt"},    {0003400, 0003777, 35, "ble"},
    {0004000, 0004777, 36, "jsr"},    {0005000, 0005077, 37, "clr "},   {0105000, 0105077, 37, "clrb"},
    {0005100, 0005177, 38, "com "},   {0105100, 0105177, 38, "comb"},   {0005200, 0005277, 39, "inc "},
    {0105200, 0105277, 39, "incb"},   {0005300, 0005377, 40, "dec "},   {0105300, 0105377, 40, "decb"},
    {0005400, 0005477, 41, "neg "},   {0105400, 0105477, 41, "negb"},   {0005500, 0005577, 42, "adc "},
    {0105500, 0105577, 42, "adcb"},   {0005600, 0005677, 43, "sbc "},   {0105600, 0105677, 43, "sbcb"},
    {0005700, 0005777, 44, "tst "},   {0105700, 0105777, 44, "tstb"},   {0006000, 0006077, 45, "ror "},
    {0106000, 0106077, 45, "rorb"},   {0006100, 0006177, 46, "rol "},   {0106100, 0106177, 46, "rolb"},
    {0006200, 0006277, 47, "asr "},   {0106200, 0106277, 47, "asrb"},   {0006300, 0006377, 48, "asl "},
    {0106300, 0106377, 48, "aslb"},   {0006400, 0006477, 49, "mark"},   {0006500, 0006577, 50, "mfpi"},
    {0006600, 0006677, 51, "mtpi"},   {0006700, 0006777, 52, "sxt"},    {0007000, 0007777, 53, "illop"},
    {0010000, 0017777, 54, "mov "},   {0110000, 0117777, 54, "movb"},   {0020000, 0027777, 55, "cmp "},
    {0120000, 0127777, 55, "cmpb"},   {0030000, 0037777, 56, "bit "},   {0130000, 0137777, 56, "bitb"},
    {0040000, 0047777, 57, "bic "},   {0140000, 0147777, 57, "bicb"},   {0050000, 0057777, 58, "bis "},
    {0150000, 0157777, 58, "bisb"},   {0060000, 0067777, 59, "add"},    {0160000, 0167777, 60, "sub"},
    {0070000, 0070777, 61, "mul"},    {0071000, 0071777, 62, "div"},    {0073000, 0073777, 63, "ashc"},
    {0072000, 0072777, 64, "ash"},    {0074000, 0074777, 65, "xor"},    {0075000, 0075007, 66, "fadd"},
    {0075010, 0075017, 67, "fsub"},   {0075020, 0075027, 68, "fmul"},   {0075030, 0075037, 69, "fdiv"},
    {0077000, 0077777, 70, "sob"},    {0075040, 0076777, 71, "illop"},  {0100000, 0100377, 72, "bpl"},
    {0100400, 0100777, 73, "bmi"},    {0103000, 0103377, 74, "bcc"},    {0101000, 0101377, 76, "bhi"},
    {0101400, 0101777, 77, "blos"},   {0102000, 0102377, 78, "bvc"},    {0102400, 0102777, 79, "bvs"},
    {0103400, 0103777, 80, "bcs"},    {0104000, 0104377, 82, "emt"},    {0104400, 0104777, 83, "trap"},
    {0106400, 0106477, 84, "mtps"},   {0106500, 0106577, 85, "mfpd"},   {0106600, 0106677, 86, "mtpd"},
    {0106700, 0106777, 87, "mfps"},   {0000040, 0000077, 88, "illop"},  {0000210, 0000227, 88, "illop"},
    {0107000, 0107777, 88, "illop"},  {0170000, 0177777, 88, "illop"},
};

TEST_F(Disassembler, EveryWordFindsItsRecord) {
    std::vector<int> expected(0x10000, -1);
    for (const RecordRange& range : recordRanges) {
        for (uint32_t w = range.first; w <= range.last; ++w) {
            ASSERT_EQ(expected[w], -1) << Octal(w) << " listed twice";
            expected[w] = range.record;
        }
    }
    std::vector<bool> reached(MnemonicCount, false);
    for (uint32_t w = 0; w <= 0xFFFF; ++w) {
        ASSERT_NE(expected[w], -1) << Octal(w) << " not listed";
        ASSERT_EQ(FindMnemonic(uint16_t(w)), expected[w]) << Octal(w);
        reached[size_t(expected[w])] = true;
    }
    for (int record = 0; record < MnemonicCount; ++record) {
        const bool unreachable = record == 21 || record == 75 || record == 81 || record == 89;
        EXPECT_EQ(reached[size_t(record)], !unreachable) << "record " << record;
    }
}

TEST_F(Disassembler, OneWordOfEveryRecordNamesIt) {
    for (const RecordRange& range : recordRanges) {
        EXPECT_EQ(MnemonicText(FindMnemonic(range.first), range.first), range.name) << Octal(range.first);
        EXPECT_EQ(MnemonicText(FindMnemonic(range.last), range.last), range.name) << Octal(range.last);
    }
}

TEST_F(Disassembler, IllegalWordsHaveNoOperands) {
    const uint16_t illegal[] = {0000007, 0000040, 0000077, 0000210, 0000227, 0007000, 0007777,
                                0075040, 0076777, 0107000, 0107777, 0170000, 0177777};
    for (uint16_t word : illegal) {
        const Disassembly d = Put(0x8000, {word, 0012345, 0012345});
        EXPECT_EQ(d.Mnemonic, "illop") << Octal(word);
        EXPECT_EQ(d.Operands, "") << Octal(word);
        EXPECT_EQ(d.Next, 0x8002) << Octal(word);
    }
}

// Texts that depend on the radix, at address 0x1000 (octal 010000) in ROM.
struct Example {
    std::vector<uint16_t> words;
    const char* mnemonic;
    const char* octal;
    const char* hex;
};

TEST_F(Disassembler, ExamplesInBothRadixes) {
    const Example examples[] = {
        {{0000010}, "go", "", ""},
        {{0000011}, "go", "", ""},
        {{0000012}, "go", "", ""},
        {{0000013}, "go", "", ""},
        {{0000014}, "step", "", ""},
        {{0000017}, "step", "", ""},
        {{0000020}, "rsel", "", ""},
        {{0000030}, "rsel", "", ""},
        {{0000240}, "nop", "", ""},
        {{0000241}, "clc", "", ""},
        {{0000242}, "clear", "v", "v"},
        {{0000257}, "clear", "cvzn", "cvzn"},
        {{0000260}, "set", "", ""},
        {{0000261}, "sec", "", ""},
        {{0000277}, "set", "cvzn", "cvzn"},
        {{0000265}, "set", "cz", "cz"},
        {{0103000}, "bcc", "010002", "1002"},
        {{0103400}, "bcs", "010002", "1002"},
        {{0105000}, "clrb", "r0", "r0"},
        {{0110102}, "movb", "r1,r2", "r1,r2"},
        {{0160102}, "sub", "r1,r2", "r1,r2"},
        {{0000777}, "br", "010000", "1000"},
        {{0000577}, "br", "010400", "1100"},
        {{0000600}, "br", "007402", "0F02"},
        {{0012700, 0000012}, "mov ", "#12,r0", "#A,r0"},
        {{0005067, 0000010}, "clr ", "010014", "100C"},
        {{0016001, 0177776}, "mov ", "177776(r0),r1", "FFFE(r0),r1"},
        {{0012737, 0000001, 0001000}, "mov ", "#1,@#1000", "#1,@#200"},
        {{0000207}, "rts", "pc", "pc"},
        {{0000206}, "rts", "sp", "sp"},
        {{0075003}, "fadd", "r3", "r3"},
        {{0004767, 0000100}, "jsr", "pc,010104", "pc,1044"},
        {{0074213}, "xor", "r2,(r3)", "r2,(r3)"},
        {{0070327, 0000000}, "mul", "#0,r3", "#0,r3"},
        {{0073267, 0177774}, "ashc", "010000,r2", "1000,r2"},
        {{0077103}, "sob", "r1,007774", "r1,0FFC"},
        {{0077100}, "sob", "r1,010002", "r1,1002"},
        {{0000233}, "spl", "3", "3"},
        {{0006452}, "mark", "52", "2A"},
        {{0104377}, "emt", "377", "FF"},
        {{0104400}, "trap", "0", "0"},
        {{0006777, 0000002}, "sxt", "@010006", "@1006"},
    };
    for (int32_t radix : {8, 16}) {
        for (const Example& e : examples) {
            const Disassembly d = Put(0x1000, e.words, NumberFormat(radix));
            const std::string where = "radix " + std::to_string(radix) + " word " + Octal(e.words[0]);
            EXPECT_EQ(d.Mnemonic, e.mnemonic) << where;
            EXPECT_EQ(d.Operands, radix == 8 ? e.octal : e.hex) << where;
            EXPECT_EQ(d.Next, 0x1000 + 2 * e.words.size()) << where;
        }
    }
}

TEST_F(Disassembler, AddressingFields) {
    // clr with every mode, on r1 and on pc; the extra word is 000100.
    struct Field {
        uint16_t field;
        const char* octal;
        const char* hex;
        int words;
    };
    const Field fields[] = {
        {001, "r1", "r1", 1},           {011, "(r1)", "(r1)", 1},
        {021, "(r1)+", "(r1)+", 1},     {031, "@(r1)+", "@(r1)+", 1},
        {041, "-(r1)", "-(r1)", 1},     {051, "@-(r1)", "@-(r1)", 1},
        {061, "000100(r1)", "0040(r1)", 2}, {071, "@000100(r1)", "@0040(r1)", 2},
        {007, "pc", "pc", 1},           {017, "(pc)", "(pc)", 1},
        {027, "#100", "#40", 2},        {037, "@#100", "@#40", 2},
        {047, "-(pc)", "-(pc)", 1},     {057, "@-(pc)", "@-(pc)", 1},
        {067, "100104", "8044", 2},     {077, "@100104", "@8044", 2},
        {006, "sp", "sp", 1},           {026, "(sp)+", "(sp)+", 1},
    };
    for (int32_t radix : {8, 16}) {
        for (const Field& f : fields) {
            const Disassembly d = Put(0x8000, {uint16_t(0005000 | f.field), 0000100}, NumberFormat(radix));
            EXPECT_EQ(d.Operands, radix == 8 ? f.octal : f.hex) << "radix " << radix << " field " << Octal(f.field);
            EXPECT_EQ(d.Next, 0x8000 + 2 * f.words) << "field " << Octal(f.field);
        }
    }
}

TEST_F(Disassembler, PcRelativeTargetsWrap) {
    const Disassembly d = Put(0x87F8, {0005067, 0x7FFC}, Radix16);
    EXPECT_EQ(d.Operands, "07F8");  // 0x87FC + 0x7FFC wraps past 0xFFFF
    const Disassembly branch = Put(0x0000, {0000600}, Radix16);
    EXPECT_EQ(branch.Operands, "FF02");
}

TEST_F(Disassembler, FetchReadsThroughTheMemoryMap) {
    Mk.CtrlPort = 0x0500;
    const WordReader read = MachineReader(Mk);
    WordFetch fetch{read, 0x0104};
    EXPECT_EQ(fetch.FetchWord(), 0x0500);
    EXPECT_EQ(fetch.Addr, 0x0106);
    fetch.Addr = 0x9000;  // above RAM
    EXPECT_EQ(fetch.FetchWord(), 0);
    fetch.Addr = 0xFFFE;
    fetch.FetchWord();
    EXPECT_EQ(fetch.Addr, 0x0000);
}

TEST_F(Disassembler, ListingLineColumns) {
    struct Line {
        std::vector<uint16_t> words;
        int32_t radix;
        const char* text;
    };
    const Line lines[] = {
        {{0012700, 0000012}, 16, "1000: mov   #A,r0"},
        {{0012700, 0000012}, 8, "010000: mov   #12,r0"},
        {{0000240}, 8, "010000: nop"},
        {{0105011}, 8, "010000: clrb  (r1)"},
        {{0000005}, 10, "04096: reset"},
    };
    for (const Line& l : lines) {
        Put(0x1000, l.words);
        const ListingLine line = DisassemblyLine(0x1000, MachineReader(Mk), NumberFormat(l.radix));
        EXPECT_EQ(line.Text, l.text);
        EXPECT_EQ(line.Next, 0x1000 + 2 * l.words.size()) << l.text;
    }
}

}  // namespace
