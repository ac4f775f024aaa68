// The PDP-11 disassembler of the debugger: turns the instruction at Addr into
// a mnemonic text and an operand text in the debugger's radix, advancing Addr
// past the instruction and its extra words. The records of the instruction
// set drive it; the line assembler reads them the other way round.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Decoder.h"

// A word w belongs to a record when (w & Mask) == Value. In RegisterNames,
// Value is the register number.
struct MnemonicRecord {
    uint16_t Mask;
    uint16_t Value;
    std::string_view Name;  // lower case, at most 5 characters
    uint16_t Format;        // an operand format, Fmt... (core/Decoder.h)
};

constexpr int MnemonicCount = 90;
constexpr int RegisterCount = 10;

// The named records of the instruction set (core/Decoder.h), in its order:
// the first record that matches a word names it.
extern const MnemonicRecord (&MnemonicTable)[MnemonicCount];
// r0..r7 with sp and pc for R6 and R7, then r6 and r7 again for the assembler.
extern const MnemonicRecord RegisterNames[RegisterCount];

// The word at Addr, read like a processor fetch; then Addr += 2.
uint16_t FetchWord();

// Index of the first record of MnemonicTable that matches the word.
int FindMnemonic(uint16_t word);

// The record's name, with "b" for a byte-form word or a blank after the
// names of the two byte-capable formats.
std::string MnemonicText(int index, uint16_t word);

// The operands of the word as the record's format writes them. Addr must
// point past the instruction word; the extra words are fetched from there.
std::string OperandText(int index, uint16_t word);

// True when the word is an instruction that the disassembler names but this
// processor does not execute: it traps as a reserved instruction (spl, mfpi,
// the floating-point group, ...).
bool TrapsHere(uint16_t word);

// One line of the disassembly listing for the instruction at the address:
// the address in full form and ":", the mnemonic at column WordDigits + 2,
// the operands at column WordDigits + 8, and for an instruction that this
// processor traps "; traps" in the comment column, WordDigits + 16 or one
// blank after the operands; without trailing blanks. Leaves Addr at the next
// instruction.
std::string DisassemblyLine(uint16_t address);
