// The debugger's line assembler: one typed line of PDP-11 assembly, in the
// syntax the disassembler writes, becomes one to three words for the address
// in Addr, or the position of the character at which it gave up. Branch, loop
// and pc-relative operands are written as absolute target addresses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

constexpr size_t AsmLineLimit = 64;

extern std::string AsmLine;    // the text; only its first 64 characters count
extern int AsmPos;             // 1-based scan position; 0 after success
extern uint16_t AsmWords[4];   // instruction word, then its extra words
extern int AsmCount;           // words produced, 0 to 3

// Assembles AsmLine for an instruction at Addr (left unchanged). On success
// AsmPos is 0 and AsmWords holds AsmCount words (none for a blank line); on
// failure AsmPos is where parsing stopped, possibly one past the end. Stores
// nothing.
void AssembleLine();

// One addressing field at AsmPos: mode in bits 3-5, register in bits 0-2.
// Appends its extra word to AsmWords, if it has one; nothing on failure.
std::optional<uint16_t> ParseOperand();

// Stores the word at Addr if Addr is ROM or RAM (the debugger may patch the
// ROM image), skips it otherwise; then Addr += 2.
void StoreWord(uint16_t word);
