// The PDP-11 disassembler of the debugger: turns the instruction at an
// address into a mnemonic text and an operand text in a given radix, and
// tells where the next instruction starts. It reads memory only through the
// reader it is given and changes nothing. The records of the instruction set
// drive it; the line assembler reads them the other way round.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "cpu/Decoder.h"
#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Symbols.h"

// A word w belongs to a record when (w & Mask) == Value. In RegisterNames,
// Value is the register number.
struct MnemonicRecord {
    uint16_t Mask;
    uint16_t Value;
    std::string_view Name;  // lower case, at most 5 characters
    uint16_t Format;        // an operand format, Fmt... (cpu/Decoder.h)
};

constexpr int MnemonicCount = 90;
constexpr int RegisterCount = 10;

// The named records of the instruction set (cpu/Decoder.h), in its order:
// the first record that matches a word names it.
extern const MnemonicRecord (&MnemonicTable)[MnemonicCount];
// r0..r7 with sp and pc for R6 and R7, then r6 and r7 again for the assembler.
extern const MnemonicRecord RegisterNames[RegisterCount];

// Reads the word at an address as the processor's fetch would see it,
// without changing anything.
using WordReader = std::function<uint16_t(uint16_t address)>;

// The reader of a machine's memory map (PeekWord). The machine must outlive
// the reader.
WordReader MachineReader(const Machine& machine);

// Instruction words fetched one after another from Addr.
struct WordFetch {
    const WordReader& Read;
    uint16_t Addr;  // the address of the next word

    // The word at Addr; then Addr += 2, wrapping at 16 bits.
    uint16_t FetchWord();
};

// Index of the first record of MnemonicTable that matches the word.
int FindMnemonic(uint16_t word);

// The record's name, with "b" for a byte-form word or a blank after the
// names of the two byte-capable formats.
std::string MnemonicText(int index, uint16_t word);

// The operands of the word as the record's format writes them. The fetch
// must stand past the instruction word; the extra words are fetched from
// there.
// With symbols, branch, jump and call targets and absolute addresses that
// hit a label are written as its name.
std::string OperandText(int index, uint16_t word, WordFetch& fetch, const NumberFormat& numbers,
                        const SymbolTable* symbols = nullptr);

// True when the word is an instruction that the disassembler names but this
// processor does not execute: it traps as a reserved instruction (spl, mfpi,
// the floating-point group, ...).
bool TrapsHere(uint16_t word);

// One instruction, disassembled.
struct Disassembly {
    std::string Mnemonic;  // MnemonicText
    std::string Operands;  // OperandText
    uint16_t Next;         // the address after the instruction and its extra words
    bool operator==(const Disassembly&) const = default;
};
Disassembly Disassemble(uint16_t address, const WordReader& read, const NumberFormat& numbers,
                        const SymbolTable* symbols = nullptr);

// One line of the disassembly listing.
struct ListingLine {
    // The address in full form and ":", the mnemonic at column WordDigits + 2,
    // the operands at column WordDigits + 8, and for an instruction that this
    // processor traps "; traps" in the comment column, WordDigits + 16 or one
    // blank after the operands; without trailing blanks.
    std::string Text;
    uint16_t Next;  // the address of the next instruction
    bool operator==(const ListingLine&) const = default;
};
ListingLine DisassemblyLine(uint16_t address, const WordReader& read, const NumberFormat& numbers,
                            const SymbolTable* symbols = nullptr);
