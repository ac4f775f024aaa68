// One row of the memory editor as text, in a given radix: the address,
// sixteen bytes as bytes or as words, and the same bytes as characters. The
// debug window draws it and the console prints it, so the two always agree.
#pragma once

#include <cstdint>
#include <string>

#include "core/Def.h"
#include "debugger/Numbers.h"

// Columns of a row, in characters: the first value, the first character, and
// the length of a whole row (its last character included).
int MemoryValueColumn(const NumberFormat& numbers);
int MemoryCharacterColumn(const NumberFormat& numbers);
int MemoryRowLength(const NumberFormat& numbers);

// The 16 bytes from address (rounded down to a multiple of 16), read straight
// from the machine's Memory: the address in full form and ":"; from
// MemoryValueColumn the bytes (cellBytes 1) or the little-endian words
// (cellBytes 2), each in full form at the column of its first byte,
// ByteDigits + 1 columns a byte; from MemoryCharacterColumn the bytes as
// characters (codes 32 to 126 as themselves, others "."). Trailing blanks are
// removed. Empty for a row outside ROM and RAM.
std::string MemoryRowText(const Machine& machine, uint16_t address, int cellBytes, const NumberFormat& numbers);
// The same row of the 16 bytes given, shown at address (rounded down to a
// multiple of 16): for memory that is not Memory, such as the display's, or
// bytes as the processor reads them.
std::string MemoryRowText(uint16_t address, const uint8_t (&bytes)[16], int cellBytes, const NumberFormat& numbers);
