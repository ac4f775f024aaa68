#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11asm.h"
#include "debugger/Pdp11dis.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MemoryImage.h"
#include "tests/support/Octal.h"

namespace {

// Words whose listing assembles to another word: names that several records
// share, where the assembler takes the first record with the name, and the
// halt-mode instructions whose masks leave bits undecoded.
const std::map<uint16_t, uint16_t> aliases = {
    {0000010, 0000012}, {0000011, 0000012}, {0000013, 0000012},  // go
    {0000014, 0000016}, {0000015, 0000016}, {0000017, 0000016},  // step
    {0000030, 0000020},                                          // rsel
    {0000023, 0000022},                                          // rcpc
    {0000025, 0000024}, {0000026, 0000024}, {0000027, 0000024},  // rcps
    {0000033, 0000032},                                          // wcpc
    {0000035, 0000034}, {0000036, 0000034}, {0000037, 0000034},  // wcps
};

// The words that list as "illop": 000007, 000040-000077, 000210-000227,
// 007000-007777, 075040-076777, 107000-107777 and 170000-177777.
constexpr int IllegalWordCount = 1 + 32 + 16 + 512 + 992 + 512 + 4096;

class RoundTrip : public ::testing::TestWithParam<int32_t> {
protected:
    void SetUp() override {
        MakeCleanMachine();
        SetRadix(GetParam());
    }
    void TearDown() override { SetRadix(16); }
};

// Every word, disassembled with two fixed extra words after it in RAM,
// assembles from its text back into the same words at the same address.
TEST_P(RoundTrip, EveryListedInstructionAssemblesBack) {
    constexpr uint16_t at = 0x8100;
    const uint16_t extra[2] = {0x1234, 0xFEDC};
    Mk.Memory[at + 2] = uint8_t(extra[0]);
    Mk.Memory[at + 3] = uint8_t(extra[0] >> 8);
    Mk.Memory[at + 4] = uint8_t(extra[1]);
    Mk.Memory[at + 5] = uint8_t(extra[1] >> 8);
    int illegal = 0;
    int failures = 0;
    for (uint32_t w = 0; w <= 0xFFFF && failures < 10; ++w) {
        const uint16_t word = uint16_t(w);
        Mk.Memory[at] = uint8_t(word);
        Mk.Memory[at + 1] = uint8_t(word >> 8);
        Mk.Addr = at;
        FetchWord();
        const int index = FindMnemonic(word);
        // The mnemonic and operand columns as the listing shows them. A blank
        // always follows the mnemonic: "set" with no condition letters needs
        // it to assemble.
        const std::string text = MnemonicText(index, word) + " " + OperandText(index, word);
        const int length = (Mk.Addr - at) / 2;
        if (MnemonicTable[index].Name == "illop") {
            ++illegal;
            continue;
        }
        AsmLine = text;
        Mk.Addr = at;
        AssembleLine();
        const auto alias = aliases.find(word);
        const uint16_t expected = alias == aliases.end() ? word : alias->second;
        bool same = AsmPos == 0 && AsmCount == length && AsmWords[0] == expected;
        for (int i = 1; same && i < length; ++i) same = AsmWords[i] == WordAt(at + 2 * i);
        if (!same) {
            ++failures;
            std::string produced, listed;
            for (int i = 0; i < AsmCount; ++i) produced.append(" ").append(Octal(AsmWords[i]));
            for (int i = 0; i < length; ++i) listed.append(" ").append(Octal(i == 0 ? expected : WordAt(at + 2 * i)));
            ADD_FAILURE() << Octal(word) << " disassembles as '" << text << "', which assembles with AsmPos "
                          << AsmPos << " to" << produced << " instead of" << listed;
        }
    }
    EXPECT_EQ(illegal, IllegalWordCount);
}

// Lines put together from pieces of the syntax, valid or not: assembly never
// reads or writes out of bounds, reports a position inside the line (or one
// past it), and whatever assembles lists back as text that assembles to the
// same words.
TEST_P(RoundTrip, ArbitraryLinesAssembleSafely) {
    const char* const mnemonics[] = {"mov", "movb", "add", "clr", "tstb", "jsr", "mul", "br", "bhis", "sob",
                                     "spl", "mark", "emt", "clear", "set", "rts", "halt", "x", ""};
    const char* const pieces[] = {"r0", "R1", "sp", "pc", "r7", "(", ")", "+", "-", "@", "#", ",", " ", "0",
                                  "1", "7", "10", "777777", "FfFf", "x", "b", "c", "v", "z", "n",
                                  "(r1)", "@#1000", "-(sp)", "(r2)+", "20(r3)", ",r4", ",", ","};
    std::mt19937 random(12345);
    std::uniform_int_distribution<size_t> pickMnemonic(0, std::size(mnemonics) - 1);
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> count(0, 4);
    int assembled = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string line = mnemonics[pickMnemonic(random)];
        if (i % 8 != 0) line += ' ';
        for (int n = count(random); n > 0; --n) line += pieces[pick(random)];
        const uint16_t at = uint16_t(0x8000 + 2 * (i % 0x3F0));
        AsmLine = line;
        Mk.Addr = at;
        AssembleLine();
        ASSERT_EQ(Mk.Addr, at) << "'" << line << "'";
        ASSERT_GE(AsmPos, 0) << "'" << line << "'";
        ASSERT_LE(size_t(AsmPos), std::min(line.size(), AsmLineLimit) + 1) << "'" << line << "'";
        if (AsmPos != 0 || AsmCount == 0) continue;
        ASSERT_LE(AsmCount, 3) << "'" << line << "'";
        ++assembled;
        const std::vector<uint16_t> words(AsmWords, AsmWords + AsmCount);
        for (uint16_t word : words) StoreWord(word);
        Mk.Addr = at;
        const uint16_t first = FetchWord();
        const int index = FindMnemonic(first);
        const std::string text = MnemonicText(index, first) + " " + OperandText(index, first);
        AsmLine = text;
        Mk.Addr = at;
        AssembleLine();
        const std::vector<uint16_t> again(AsmWords, AsmWords + (AsmPos == 0 ? AsmCount : 0));
        ASSERT_EQ(again, words) << "'" << line << "' lists as '" << text << "'";
    }
    EXPECT_GT(assembled, 500);  // the pieces do form instructions now and then
}

INSTANTIATE_TEST_SUITE_P(Radix, RoundTrip, ::testing::Values(8, 16),
                         [](const ::testing::TestParamInfo<int32_t>& info) { return "Radix" + std::to_string(info.param); });

}  // namespace
