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

std::string OctalWords(const std::vector<uint16_t>& words) {
    std::string text;
    for (uint16_t w : words) text += " " + Octal(w);
    return text.empty() ? " nothing" : text;
}

class RoundTrip : public ::testing::TestWithParam<int32_t> {
protected:
    void SetUp() override { MakeCleanMachine(); }

    const NumberFormat numbers{GetParam()};
};

// Every word, disassembled with two fixed extra words after it, assembles from
// its text back into the same words at the same address.
TEST_P(RoundTrip, EveryListedInstructionAssemblesBack) {
    constexpr uint16_t at = 0x8100;
    const uint16_t extra[2] = {0x1234, 0xFEDC};
    uint16_t word = 0;
    const WordReader read = [&](uint16_t address) -> uint16_t {
        if (address == at) return word;
        if (address == at + 2 || address == at + 4) return extra[(address - at) / 2 - 1];
        return 0;
    };
    int illegal = 0;
    int failures = 0;
    for (uint32_t w = 0; w <= 0xFFFF && failures < 10; ++w) {
        word = uint16_t(w);
        const Disassembly listed = Disassemble(at, read, numbers);
        // The mnemonic and operand columns as the listing shows them. A blank
        // always follows the mnemonic: "set" with no condition letters needs
        // it to assemble.
        const std::string text = listed.Mnemonic + " " + listed.Operands;
        const int length = (listed.Next - at) / 2;
        if (MnemonicTable[FindMnemonic(word)].Name == "illop") {
            ++illegal;
            continue;
        }
        const AsmResult assembled = AssembleLine(text, at, numbers);
        const auto alias = aliases.find(word);
        std::vector<uint16_t> expected = {alias == aliases.end() ? word : alias->second};
        for (int i = 1; i < length; ++i) expected.push_back(extra[i - 1]);
        const std::vector<uint16_t> produced(assembled.Words().begin(), assembled.Words().end());
        if (produced != expected) {
            ++failures;
            ADD_FAILURE() << Octal(word) << " disassembles as '" << text << "', which assembles with AsmPos "
                          << assembled.AsmPos << " to" << OctalWords(produced) << " instead of" << OctalWords(expected);
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
    const WordReader read = MachineReader(Mk);
    int assembled = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string line = mnemonics[pickMnemonic(random)];
        if (i % 8 != 0) line += ' ';
        for (int n = count(random); n > 0; --n) line += pieces[pick(random)];
        const uint16_t at = uint16_t(0x8000 + 2 * (i % 0x3F0));
        const AsmResult result = AssembleLine(line, at, numbers);
        ASSERT_GE(result.AsmPos, 0) << "'" << line << "'";
        ASSERT_LE(size_t(result.AsmPos), std::min(line.size(), AsmLineLimit) + 1) << "'" << line << "'";
        if (!result.Succeeded() || result.AsmCount == 0) continue;
        ASSERT_LE(result.AsmCount, 3) << "'" << line << "'";
        ++assembled;
        StoreWords(Mk, at, result.Words());
        const Disassembly listed = Disassemble(at, read, numbers);
        const std::string text = listed.Mnemonic + " " + listed.Operands;
        ASSERT_EQ(AssembleLine(text, at, numbers), result) << "'" << line << "' lists as '" << text << "'";
    }
    EXPECT_GT(assembled, 500);  // the pieces do form instructions now and then
}

INSTANTIATE_TEST_SUITE_P(Radix, RoundTrip, ::testing::Values(8, 16),
                         [](const ::testing::TestParamInfo<int32_t>& info) { return "Radix" + std::to_string(info.param); });

}  // namespace
