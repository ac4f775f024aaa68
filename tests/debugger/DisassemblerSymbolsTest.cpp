// The disassembler with a symbol table: targets and absolute addresses that
// hit a label take its name, numbers that are data keep their digits, and an
// address with no label reads exactly as without a table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debugger/Pdp11dis.h"
#include "debugger/Symbols.h"

namespace {

// Words at 0x8000 and after; 0 elsewhere.
WordReader WordsAt8000(const std::vector<uint16_t>& words) {
    return [words](uint16_t address) {
        const size_t index = uint16_t(address - 0x8000) / 2;
        return index < words.size() ? words[index] : uint16_t(0);
    };
}

TEST(DisassemblerSymbols, NamesForTargetsAndAbsoluteAddresses) {
    SymbolTable symbols;
    symbols.Parse("8000 start\n8100 sub\n0104 ctrl\n0005 five\n8010 table\n", "t.sym");
    const struct {
        std::vector<uint16_t> words;
        const char* operands;
    } cases[] = {
        {{0000777}, "start"},                    // BR to itself
        {{0004767, 0x00FC}, "pc,sub"},           // a relative call
        {{0004737, 0x8100}, "pc,@#sub"},         // an absolute call
        {{0000177, 0x00FC}, "@sub"},             // JMP through a relative pointer: the pointer's label
        {{0012737, 0x0005, 0x0104}, "#5,@#ctrl"},  // immediate data stays a number
        {{0016700, 0x000C}, "table,r0"},         // a relative operand
        {{0016100, 0x8010}, "8010(r1),r0"},      // an index is no address of its own
        {{0077101}, "r1,start"},                 // SOB
        {{0000677}, "7F80"},                     // a branch to no label
    };
    for (const auto& row : cases) {
        const Disassembly d = Disassemble(0x8000, WordsAt8000(row.words), NumberFormat(16), &symbols);
        EXPECT_EQ(d.Operands, row.operands) << std::oct << row.words[0];
    }
}

// With a table that names nothing an instruction touches, every word reads as
// it does without a table.
TEST(DisassemblerSymbols, NoLabelNoChange) {
    SymbolTable elsewhere;
    elsewhere.Parse("4000 far\n", "t.sym");  // out of reach of every word below
    for (uint32_t word = 0; word <= 0xFFFF; ++word) {
        const WordReader read = WordsAt8000({uint16_t(word), 0x1234, 0x5678});
        const ListingLine plain = DisassemblyLine(0x8000, read, NumberFormat(8));
        ASSERT_EQ(DisassemblyLine(0x8000, read, NumberFormat(8), &elsewhere), plain) << word;
    }
}

}  // namespace
