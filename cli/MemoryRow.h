// One row of the memory editor in byte mode, as text: the same columns the
// debug window draws, in the debugger's radix.
#pragma once

#include <cstdint>
#include <string>

// The 16 bytes from address (rounded down to a multiple of 16), read straight
// from Memory: the address in full form and ":", the bytes from column
// WordDigits + 2 at ByteDigits + 1 columns each, then from column
// WordDigits + 16 * ByteDigits + 18 the same bytes as characters (codes 32 to
// 126 as themselves, others "."). Trailing blanks are removed. Empty for a row
// outside ROM and RAM.
std::string ByteRowText(uint16_t address);
