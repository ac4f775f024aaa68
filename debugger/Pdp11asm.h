// The debugger's line assembler: one typed line of PDP-11 assembly, in the
// syntax the disassembler writes, becomes one to three words for a given
// address, or the position of the character at which it gave up. Branch, loop
// and pc-relative operands are written as absolute target addresses. It reads
// only its arguments and changes nothing; StoreWord puts the words into a
// machine.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/Def.h"
#include "debugger/Numbers.h"

constexpr size_t AsmLineLimit = 64;  // characters of a typed line that count

// What the line assembler made of a line.
struct AsmResult {
    // 0 after success; after a failure the 1-based position at which parsing
    // stopped, possibly one past the end of the line.
    int AsmPos = 0;
    std::array<uint16_t, 3> AsmWords{};  // the instruction word, then its extra words
    int AsmCount = 0;                    // words produced: 0 (a blank line) to 3
    std::string AsmReason;               // after a failure: why parsing stopped at AsmPos

    bool Succeeded() const { return AsmPos == 0; }
    std::span<const uint16_t> Words() const { return {AsmWords.data(), size_t(AsmCount)}; }
    bool operator==(const AsmResult&) const = default;
};

// Assembles the line, of which only the first 64 characters count, for an
// instruction whose first word stands at the address, with numbers in the
// format's radix.
AsmResult AssembleLine(std::string_view AsmLine, uint16_t address, const NumberFormat& numbers);

// A number of a source line where the syntax asks for one, read from the
// 1-based position AsmPos: on success its value and AsmPos past it; on failure
// no value, AsmPos at the culprit and AsmReason saying why.
struct AsmNumber {
    std::optional<uint16_t> Value;
    int AsmPos = 0;
    std::string AsmReason;
};
using AsmNumberReader = std::function<AsmNumber(int AsmPos)>;

// AssembleLine for a line of a source file, with what a source file needs:
// every number is read by readNumber (so it may be a label or an expression),
// the whole line counts, register names and mnemonics are whole words (a label
// may begin with "sp" or "r1"), "-" starts a number unless "(" follows (a
// negative index), "(" starts a number unless a register and ")" follow (an
// index in parentheses), and a branch or SOB target must be even. The format's
// radix applies where the reasons of failures write numbers.
AsmResult AssembleSourceLine(std::string_view AsmLine, uint16_t address, const NumberFormat& numbers,
                             const AsmNumberReader& readNumber);

// Stores the word at the address if it is ROM or RAM (the debugger may patch
// the ROM image) and skips it otherwise. The two ports in the ROM's range,
// 0x0100 and 0x0104, take it as a read finds them; the other port addresses
// read as 0, and drop it.
void StoreWord(Machine& machine, uint16_t address, uint16_t word);

// StoreWord of each word from the address upward, two bytes apart and
// wrapping at 16 bits; returns the address after the last one.
uint16_t StoreWords(Machine& machine, uint16_t address, std::span<const uint16_t> words);
