// The PDP-11 disassembler of the debugger: turns the instruction at an
// address into a mnemonic text and an operand text in a given radix, and
// tells where the next instruction starts. It reads memory only through the
// reader it is given and changes nothing. One table of instruction records
// drives it; the line assembler reads the same table the other way round.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Symbols.h"

// A word w belongs to a record when (w & Mask) == Value. In RegisterNames,
// Value is the register number.
struct MnemonicRecord {
    uint16_t Mask;
    uint16_t Value;
    std::string_view Name;  // lower case, at most 5 characters
    uint16_t Format;        // one of the operand formats below
};

// Operand formats: how the bits outside an instruction's mask are written.
constexpr uint16_t FmtIllegal = 0;      // no instruction; nothing
constexpr uint16_t FmtNone = 1;         // no operands
constexpr uint16_t FmtReg = 2;          // register in bits 0-2
constexpr uint16_t FmtSrcDstByte = 3;   // source, destination; bit 15 = byte form
constexpr uint16_t FmtSrcDst = 4;       // source, destination
constexpr uint16_t FmtDstByte = 5;      // destination; bit 15 = byte form
constexpr uint16_t FmtDst = 6;          // destination
constexpr uint16_t FmtRegDst = 7;       // register in bits 6-8, destination
constexpr uint16_t FmtDstReg = 8;       // destination, register in bits 6-8
constexpr uint16_t FmtBranch = 9;       // target of a signed 8-bit word offset
constexpr uint16_t FmtSob = 10;         // register, target of a backward 6-bit offset
constexpr uint16_t FmtPriority = 11;    // bits 0-2 as one digit
constexpr uint16_t FmtMark = 12;        // bits 0-5
constexpr uint16_t FmtTrapCode = 13;    // bits 0-7
constexpr uint16_t FmtConditions = 14;  // condition letters c, v, z, n
constexpr uint16_t FmtData = 15;        // a whole data word (assembler only)

constexpr int MnemonicCount = 90;
constexpr int RegisterCount = 10;

// The first record that matches a word names it, so the order matters.
extern const MnemonicRecord MnemonicTable[MnemonicCount];
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
    // the operands at column WordDigits + 8, without trailing blanks.
    std::string Text;
    uint16_t Next;  // the address of the next instruction
    bool operator==(const ListingLine&) const = default;
};
ListingLine DisassemblyLine(uint16_t address, const WordReader& read, const NumberFormat& numbers,
                            const SymbolTable* symbols = nullptr);
