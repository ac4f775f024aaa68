// The debugger's line assembler: one typed line of PDP-11 assembly, in the
// syntax the disassembler writes, becomes one to three words for the address
// in Addr, or the position of the character at which it gave up. Branch, loop
// and pc-relative operands are written as absolute target addresses.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

constexpr size_t AsmLineLimit = 64;

extern std::string AsmLine;    // the text; only its first 64 characters count
extern int AsmPos;             // 1-based scan position; 0 after success
extern uint16_t AsmWords[4];   // instruction word, then its extra words
extern int AsmCount;           // words produced, 0 to 3
extern std::string AsmReason;  // after a failure: why parsing stopped at AsmPos

// Assembles AsmLine for an instruction at Addr (left unchanged). On success
// AsmPos is 0 and AsmWords holds AsmCount words (none for a blank line); on
// failure AsmPos is where parsing stopped, possibly one past the end. Stores
// nothing.
void AssembleLine();

// Reads a value where the syntax asks for a number: from AsmPos, moving
// AsmPos past it. On failure it leaves AsmPos at the culprit and may set
// AsmReason.
using AsmNumberReader = std::function<std::optional<uint16_t>()>;

// AssembleLine for a line of a source file, with what a source file needs:
// every number is read by readNumber (so it may be a label or an expression),
// the whole of AsmLine counts, register names and mnemonics are whole words
// (a label may begin with "sp" or "r1"), "-" starts a number unless "(" follows
// (a negative index), "(" starts a number unless a register and ")" follow
// (an index in parentheses), and a branch or SOB target must be even. The radix is
// Radix as for AssembleLine.
void AssembleSourceLine(const AsmNumberReader& readNumber);

// One addressing field at AsmPos: mode in bits 3-5, register in bits 0-2.
// Appends its extra word to AsmWords, if it has one; nothing on failure.
std::optional<uint16_t> ParseOperand();

// Stores the word at Addr if Addr is ROM or RAM (the debugger may patch the
// ROM image), skips it otherwise; then Addr += 2.
void StoreWord(uint16_t word);
