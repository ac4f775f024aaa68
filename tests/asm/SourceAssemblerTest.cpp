#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "asm/SourceAssembler.h"
#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11asm.h"
#include "debugger/Pdp11dis.h"
#include "tests/support/TempFolder.h"

namespace {

std::string AllErrors(const SourceResult& result) {
    std::string text;
    for (const SourceError& e : result.errors) text += FormatSourceError(e) + "\n";
    return text;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (uint8_t b : bytes) text += FormatNumber(b, 16, '0').substr(9) + " ";
    return text;
}

class Source : public ::testing::Test {
protected:
    SourceResult Assemble(const std::string& text) {
        folder.WriteText("main.asm", text);
        return AssembleSource(folder / "main.asm");
    }

    TempFolder folder;
};

struct Success {
    const char* what;
    const char* source;
    uint16_t address;
    std::vector<uint8_t> bytes;
};

TEST_F(Source, Assembles) {
    const Success cases[] = {
        {"labels backward and forward", " .org 100\nstart: br fwd\n br start\nfwd: jmp start", 0x100,
         {0x01, 0x01, 0xFE, 0x01, 0x77, 0x00, 0xF8, 0xFF}},
        {"data", " .org 10\n .byte 1,-1,'A'\n .even\n .word 1234, -2\n .ascii \"a;\\\"\\\\\\x01\"", 0x10,
         {0x01, 0xFF, 0x41, 0x00, 0x34, 0x12, 0xFE, 0xFF, 0x61, 0x3B, 0x22, 0x5C, 0x01}},
        {"blocks and origins", " .org 20\n .byte 1\n .blkb 3\n .byte 2\n .org 25\n .byte 3", 0x20,
         {0x01, 0x00, 0x00, 0x00, 0x02, 0x03}},
        {"radix", " .radix 8\n .word 10, 10., 377\n .radix 10\n .word 10\n .radix 16\n .word 10", 0,
         {0x08, 0x00, 0x0A, 0x00, 0xFF, 0x00, 0x0A, 0x00, 0x10, 0x00}},
        {"expressions", "BASE = 80\nTOP = BASE+80-2\n .org 40\nhere: .word TOP, . - 40 + 1, here+2, end-here\nend:", 0x40,
         {0xFE, 0x00, 0x03, 0x00, 0x42, 0x00, 0x08, 0x00}},
        {"a constant used above its definition", " mov #K,r0\nK = 5", 0, {0xC0, 0x15, 0x05, 0x00}},
        {"a number begins with a digit; a label that begins with a register name",
         " mov #0FFFE,r0\n mov spin,r1\nspin: .word 0", 0, {0xC0, 0x15, 0xFE, 0xFF, 0xC1, 0x1D, 0x00, 0x00}},
        {"names that read as hexadecimal numbers are names", " .org 10\nface: .word face, 0face, add\nadd = 0C",
         0x10, {0x10, 0x00, 0xCE, 0xFA, 0x0C, 0x00}},
        {"parentheses in operands", "K = 2\n mov #(K+1)*2,r0\n mov (K+1)*2(r1),r2\n mov (r1)+,r2", 0,
         {0xC0, 0x15, 0x06, 0x00, 0x42, 0x1C, 0x06, 0x00, 0x42, 0x14}},
        {"local labels reach from one ordinary label to the next",
         "a: br 1$\n1$: br 1$\nb: br 1$\n1$: br loop$\nloop$: br a", 0,
         {0x00, 0x01, 0xFF, 0x01, 0x00, 0x01, 0x00, 0x01, 0xFB, 0x01}},
        {"text ending in a zero byte, blocks of words", " .org 20\n .asciz \"ab\"\n .even\n .blkw 2\nend: .word end", 0x20,
         {0x61, 0x62, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x28, 0x00}},
        {"negative index and decimal", " mov -2(r1),r0\n mov #-10.,r2", 0, {0x40, 0x1C, 0xFE, 0xFF, 0xC2, 0x15, 0xF6, 0xFF}},
        {"case, tabs and CR LF", "\t.ORG 0\r\nLoop:\tDEC R0 ; x\r\n\tSOB r1,LOOP\r\n", 0, {0xC0, 0x0A, 0x42, 0x7E}},
        {"a quoted ; is no comment", " cmpb r0,#';' ; compare", 0, {0x17, 0xA0, 0x3B, 0x00}},
        {"several labels on one line", " nop\nx: y: .word y, x", 2, {0x02, 0x00, 0x02, 0x00}},
        {"assertions assemble nothing, and may look ahead",
         " .assert end-start == 4, \"two words\"\nstart: .word 1, 2 ! 0\nend: .assert 1, \"x\" ; fine\n .word 3", 0,
         {0x01, 0x00, 0x02, 0x00, 0x03, 0x00}},
        {"labels in RAM", " .org 8000\nbuf: .blkb 10\nend:\n .org 0\n .word buf, end", 0, {0x00, 0x80, 0x10, 0x80}},
    };
    for (const Success& c : cases) {
        const SourceResult result = Assemble(c.source);
        EXPECT_EQ(AllErrors(result), "") << c.what;
        ASSERT_EQ(result.rom.size(), RomSize);
        const std::vector<uint8_t> got(result.rom.begin() + c.address, result.rom.begin() + c.address + long(c.bytes.size()));
        EXPECT_EQ(Hex(got), Hex(c.bytes)) << c.what;
    }
}

TEST_F(Source, UnusedBytesAreZero) {
    const SourceResult result = Assemble(" .org 7FFE\n .word 0FFFF");
    ASSERT_EQ(AllErrors(result), "");
    EXPECT_EQ(std::count(result.rom.begin(), result.rom.end(), 0), long(RomSize) - 2);
}

struct Failure {
    std::string source;
    int line;
    int column;
    const char* reason;  // part of the message
};

TEST_F(Source, ErrorsNameLineColumnAndReason) {
    const Failure cases[] = {
        {" movx r0,r1", 1, 2, "unknown mnemonic 'movx'"},
        {"\taddb r0,r1", 1, 2, "unknown mnemonic 'addb'"},
        {" br nowhere", 1, 5, "undefined label 'nowhere'"},
        {"x: nop\n\nx: nop", 3, 1, "duplicate label 'x' (first defined at "},
        {"k = 1\nk: nop", 2, 1, "duplicate label 'k'"},
        {" .org 0\n br 200", 2, 5, "branch target out of range"},
        {" .org 100\n sob r0,200", 2, 9, "SOB target out of range"},
        {" br 101", 1, 5, "branch target at an odd address"},
        {" .byte 100", 1, 8, "value out of range for a byte"},
        {" .word -8001", 1, 8, "value out of range for a word"},
        {" .word 10000", 1, 8, "number out of range"},
        {" mov #0FFFF+1,r0", 1, 7, "value out of range for a word"},
        {" spl 8", 1, 6, "value out of range (0 to 7)"},
        {" emt 100", 1, 6, "value out of range (0 to FF)"},
        {" .foo 1", 1, 2, "unknown directive '.foo'"},
        {" .radix 9", 1, 9, "the radix must be 8, 10 or 16"},
        {" .org", 1, 6, "expected a number or a label"},
        {" .word 1 2", 1, 10, "unexpected text after the directive"},
        {" .even x", 1, 8, "unexpected text after the directive"},
        {" .ascii \"abc", 1, 13, "missing the closing double quote"},
        {" .ascii \"\\q\"", 1, 10, "unknown escape"},
        {" .ascii \"\xC3\xA9\"", 1, 10, "only printable ASCII"},
        {" .ascii \"a\tb\"", 1, 11, "only printable ASCII"},
        {" .word 12G", 1, 8, "'12G' is no number in radix 16"},
        {" .byte 1\n nop", 2, 2, "an instruction at the odd address 1"},
        {" .byte 1\n .word 1", 2, 2, "a word at the odd address 1"},
        {" .org 8000\n nop", 2, 2, "address 8000 is beyond the ROM (0 to 7FFF)"},
        {" .org 7FFE\n mov #1,r0", 2, 2, "address 8000 is beyond the ROM"},
        {" .org 10\n nop\n .org 10\n halt", 4, 2, "address 10 is assembled already, at "},
        {"sp: nop", 1, 1, "'sp' is a register name"},
        {" nop\n" + std::string(65, 'n') + " = 1", 2, 1, "a name longer than 64 characters"},
        {" .word face", 1, 8, "undefined label 'face'; a number that begins with a letter needs a 0 before it, as 0face"},
        {"a: br 1$\nb: 1$: nop", 1, 7, "undefined local label '1$'"},
        {"a: 1$: nop\n1$: nop", 2, 1, "duplicate label '1$'"},
        {" .word 1/(2-2)", 1, 9, "division by zero"},
        {" .word " + std::string(40, '(') + "1" + std::string(40, ')'), 1, 40, "parentheses nested too deeply"},
        {" .byte 1\n .blkw 1", 2, 2, "words at the odd address 1"},
        {" .blkw 8001", 1, 8, "value out of range for a block here"},
        {" .blkb n\nn = 2", 1, 8, "'n' must be defined above this line"},
        {" .org 8000\n .blkb 8001", 2, 8, "value out of range for a block here"},
        {"k = later\nlater: nop", 1, 5, "'later' must be defined above this line"},
        {" mov,r0", 1, 5, "expected a blank after the mnemonic"},
        {" mov r0 r1", 1, 9, "expected ','"},
        {" clr ", 1, 6, "expected an operand"},
        {" rts x", 1, 6, "expected a register"},
        {" nop nop", 1, 6, "unexpected text after the instruction"},
        {" .include \"nope.asm\"", 1, 11, "cannot include '"},
        {" .include \"main.asm\"", 1, 11, "main.asm' includes itself"},
        {"kx: kx = 1234", 1, 5, "duplicate label 'kx'"},
        {"kx: kx: nop", 1, 5, "duplicate label 'kx'"},
        {"k = 1\nk = 1", 2, 1, "duplicate label 'k'"},
        {" .assert 1 == 2, \"one is not two\"", 1, 10, "one is not two (1 == 2 is false)"},
        {"a: .word 0\n .assert b-a == 4, \"two words\"\nb:", 2, 10, "two words (b-a == 4 is false)"},
        {" .ASSERT 0 , \"upper case\"", 1, 10, "upper case (0 is false)"},
        {" .assert 1", 1, 11, "expected ',' and the message"},
        {" .assert 1, x", 1, 13, "expected a text in double quotes"},
        {" .assert nowhere, \"m\"", 1, 10, "undefined label 'nowhere'"},
        {" .assert 0, \"m\" x", 1, 17, "unexpected text after the message"},
    };
    for (const Failure& c : cases) {
        const SourceResult result = Assemble(c.source);
        ASSERT_EQ(result.errors.size(), 1u) << c.source << "\n" << AllErrors(result);
        const SourceError& e = result.errors[0];
        EXPECT_EQ(e.file, folder / "main.asm");
        EXPECT_EQ(e.line, c.line) << c.source;
        EXPECT_EQ(e.column, c.column) << c.source << ": " << e.reason;
        EXPECT_NE(e.reason.find(c.reason), std::string::npos) << c.source << ": " << e.reason;
    }
}

TEST_F(Source, OneMistakeIsReportedOnce) {
    // The line with the error keeps the size the first pass gave it, so the
    // lines below it assemble where they belong.
    const SourceResult result = Assemble(" mov #undefined,r0\nnext: br next\n .word next, x\n nop\n .word 1,2,y,3\nlast: br next");
    EXPECT_EQ(AllErrors(result), folder / "main.asm" + ":1:7: undefined label 'undefined'\n" + folder / "main.asm" +
                                     ":3:14: undefined label 'x'\n" + folder / "main.asm" + ":5:12: undefined label 'y'\n");
}

TEST_F(Source, ManyErrorsStopAtAHundred) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += " bogus\n";
    const SourceResult result = Assemble(text);
    ASSERT_EQ(result.errors.size(), 101u);
    EXPECT_EQ(result.errors.back().reason, "too many errors; the rest is not checked");
}

TEST_F(Source, IncludedFilesAreFoundBesideTheFileThatIncludesThem) {
    std::filesystem::create_directory(folder.path() / "sub");
    folder.WriteText("sub/a.inc", "A_VALUE = 1234\n .include \"b.inc\"\n");
    folder.WriteText("sub/b.inc", " .word 5678\n");
    const SourceResult result = Assemble(" .org 0\n .include \"sub/a.inc\"\n .word A_VALUE\n");
    ASSERT_EQ(AllErrors(result), "");
    EXPECT_EQ(Hex({result.rom.begin(), result.rom.begin() + 4}), "78 56 34 12 ");

    folder.WriteText("sub/b.inc", "\n bogus\n");
    const SourceResult failed = Assemble(" .include \"sub/a.inc\"\n bogus\n");
    EXPECT_EQ(AllErrors(failed), folder / "sub/b.inc" + ":2:2: unknown mnemonic 'bogus'\n" + folder / "main.asm" +
                                     ":2:2: unknown mnemonic 'bogus'\n");
}

// Includes end somewhere: a chain too deep for the stack, or files that
// include one another so often that assembling them would take hours.
TEST_F(Source, IncludesAreBounded) {
    struct Case {
        const char* what;
        int levels;      // files f0 .. f(levels - 1), each including the next, main.asm including f0
        int fanOut;      // how many times each includes the next
        const char* last;  // the text of the last file
        const char* reason;
    };
    const std::string longComment = "; " + std::string(1000, '-') + "\n";
    const Case cases[] = {
        {"a chain far deeper than allowed", 100, 1, " nop\n", "f32.inc': includes nest more than 32 deep"},
        {"ten in each of nine levels", 9, 10, longComment.c_str(), "the source and what it includes pass 4 MiB in all"},
        {"a chain as deep as allowed", 31, 1, " .word 1234\n", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder files;
        for (int level = 0; level < c.levels; ++level) {
            std::string text;
            for (int i = 0; i < c.fanOut; ++i) text += " .include \"f" + std::to_string(level + 1) + ".inc\"\n";
            files.WriteText("f" + std::to_string(level) + ".inc", text);
        }
        files.WriteText("f" + std::to_string(c.levels) + ".inc", c.last);
        files.WriteText("main.asm", " .include \"f0.inc\"\n");
        const SourceResult result = AssembleSource(files / "main.asm");
        if (!c.reason) {
            EXPECT_EQ(AllErrors(result), "");
            EXPECT_EQ(Hex({result.rom.begin(), result.rom.begin() + 2}), "34 12 ");
            continue;
        }
        ASSERT_FALSE(result.errors.empty());
        EXPECT_NE(result.errors[0].reason.find(c.reason), std::string::npos) << result.errors[0].reason;
    }
}

TEST_F(Source, FilesThatCannotBeSourcesAreReported) {
    const auto reason = [](const std::string& path) {
        const SourceResult result = AssembleSource(path);
        return result.errors.size() == 1 && result.errors[0].line == 0 ? result.errors[0].reason : AllErrors(result);
    };
    EXPECT_EQ(reason(folder / "missing.asm"), "no such file");
    EXPECT_EQ(reason(folder.path().string()), "not a regular file");
    folder.WriteText("huge.asm", "");
    std::filesystem::resize_file(folder / "huge.asm", 5u << 20);
    EXPECT_EQ(reason(folder / "huge.asm"), "the file is too large for a source (over 4 MiB)");

    // Garbage is reported line by line and never taken for a program.
    folder.Write("garbage.asm", Pattern(1 << 16, 3));
    const SourceResult garbage = AssembleSource(folder / "garbage.asm");
    EXPECT_FALSE(garbage.errors.empty());
}

TEST_F(Source, LongLinesAreTakenWhole) {
    const std::string minus(1'000'000, '-');
    const SourceResult result = Assemble(" .word " + minus + "2, 1" + minus + "1\n mov #" + minus + "-3,r0");
    ASSERT_EQ(AllErrors(result), "");
    EXPECT_EQ(Hex({result.rom.begin(), result.rom.begin() + 8}), "02 00 02 00 C0 15 FD FF ");
}

TEST_F(Source, ListingShowsAddressCodeAndLine) {
    const SourceResult result = Assemble("; demo\n .org 100\nstart: mov #1,r0\n .ascii \"abcdef\"\nK = 7\n .radix 8\n .word 10\n");
    ASSERT_EQ(AllErrors(result), "");
    EXPECT_EQ(result.listing,
              "                      ; demo\n"
              "0100                   .org 100\n"
              "0100  15C0 0001       start: mov #1,r0\n"
              "0104  61 62 63 64 65   .ascii \"abcdef\"\n"
              "0109  66\n"
              "      = 0007          K = 7\n"
              "                       .radix 8\n"
              "000412  000010                 .word 10\n");
}

// The radix a source sets is its own: a second run starts in radix 16 again
// and gives the same image and listing, and the machine is not touched.
TEST_F(Source, RunsAlikeTwiceAndLeavesTheMachineAlone) {
    Mk.Addr = 01234;
    Mk.Reg[PC] = 0x8000;
    const Machine before = Mk;
    const std::string text = " .word 10\n .radix 8\n mov #10,r0\n br .\n";
    const SourceResult first = Assemble(text);
    ASSERT_EQ(AllErrors(first), "");
    const SourceResult second = Assemble(text);
    EXPECT_EQ(second.rom, first.rom);
    EXPECT_EQ(second.listing, first.listing);
    EXPECT_EQ(Hex({first.rom.begin(), first.rom.begin() + 10}), "10 00 C0 15 08 00 FF 01 00 00 ");
    EXPECT_TRUE(Mk == before);
}

// The operands as a source file writes them: a number that begins with a
// letter gets a 0 before it, as the debug window does not need one.
std::string SourceOperands(const std::string& operands) {
    const auto nameChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    std::string text;
    for (size_t i = 0; i < operands.size();) {
        if (!nameChar(operands[i])) {
            text += operands[i++];
            continue;
        }
        size_t end = i;
        while (end < operands.size() && nameChar(operands[end])) ++end;
        const std::string word = operands.substr(i, end - i);
        if (std::isalpha(static_cast<unsigned char>(word[0])) && word.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos)
            text += '0';
        text += word;
        i = end;
    }
    return text;
}

// Whatever the disassembler lists, a source file assembles to the same words
// as the debugger's line assembler does at the same address.
class SourceMatchesLine : public Source, public ::testing::WithParamInterface<int32_t> {};

TEST_P(SourceMatchesLine, ForEveryListedInstruction) {
    const int32_t radix = GetParam();
    const NumberFormat numbers(radix);
    uint32_t word = 0;
    // The word at the address being listed, and two extra words after it.
    uint16_t at = 0;
    const WordReader read = [&](uint16_t address) -> uint16_t {
        if (address == at) return uint16_t(word);
        return address == at + 2 ? 0x1234 : address == at + 4 ? 0xFEDC : 0;
    };
    while (word <= 0xFFFF) {
        std::string source = " .radix " + std::to_string(radix) + "\n";
        std::vector<uint8_t> expected(RomSize);
        for (at = 0; word <= 0xFFFF && at < RomSize - 6; ++word) {
            const int index = FindMnemonic(uint16_t(word));
            if (MnemonicTable[index].Format == FmtIllegal) continue;
            const Disassembly listed = Disassemble(at, read, numbers);
            const AsmResult assembled = AssembleLine(listed.Mnemonic + " " + listed.Operands, at, numbers);
            ASSERT_TRUE(assembled.Succeeded()) << listed.Mnemonic << " " << listed.Operands;
            const bool letters = MnemonicTable[index].Format == FmtConditions;
            source += listed.Mnemonic + " " + (letters ? listed.Operands : SourceOperands(listed.Operands)) + "\n";
            for (const uint16_t w : assembled.Words()) {
                expected[at] = uint8_t(w);
                expected[at + 1u] = uint8_t(w >> 8);
                at += 2;
            }
        }
        const SourceResult result = Assemble(source);
        ASSERT_EQ(AllErrors(result).substr(0, 500), "");
        const auto [got, wanted] = std::mismatch(result.rom.begin(), result.rom.end(), expected.begin());
        ASSERT_TRUE(got == result.rom.end()) << "first difference at " << got - result.rom.begin() << ", below word " << word;
    }
}

INSTANTIATE_TEST_SUITE_P(Radix, SourceMatchesLine, ::testing::Values(8, 16),
                         [](const ::testing::TestParamInfo<int32_t>& info) { return "Radix" + std::to_string(info.param); });

}  // namespace
