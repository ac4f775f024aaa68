// Numbers as the debugger shows and reads them: one radix, 8 to 16, for
// every address, register, memory cell and operand, with fixed digit widths
// so that columns line up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A radix of the debugger's numbers with the digit widths that follow from
// it. The debug window holds the one read from the settings as it is
// created, the console the one it starts with; the tools are given it.
class NumberFormat {
public:
    // A radix outside 8..16 gives 16, as the settings' default does.
    explicit NumberFormat(int32_t radix = 16);

    int32_t Radix() const { return radix_; }
    int32_t ByteDigits() const { return byteDigits_; }  // digits of 255 in the radix
    int32_t WordDigits() const { return wordDigits_; }  // digits of 65535 in the radix

    bool operator==(const NumberFormat&) const = default;

private:
    int32_t radix_;
    int32_t byteDigits_;
    int32_t wordDigits_;
};

// Digit characters: upper case for output, both cases accepted on input.
inline constexpr std::string_view DigitChars = "0123456789ABCDEFabcdef";

// The value in the radix, right-aligned in exactly 11 characters filled on
// the left with the padding character; at least one digit. A radix outside
// 8..16 is taken as 16.
std::string FormatNumber(uint32_t value, int32_t radix, char padding);

// The value in the format's radix at WordDigits (ByteDigits) places. Padding
// '0' gives the full form with leading zeros; padding ' ' gives the short form
// without them.
std::string FormatWord(uint16_t value, char padding, const NumberFormat& numbers);
std::string FormatByte(uint8_t value, char padding, const NumberFormat& numbers);

// The digit value 0..15 of a character, 16 for a character that is no digit;
// so a character is a digit of radix r exactly when its value is below r.
int32_t DigitValue(char c);

// The number at the start of the text after leading blanks, up to the first
// character that is no digit of the radix; 0 when there is none. Never fails:
// the value wraps modulo 2^32 and callers narrow it as they need.
int32_t ParseNumber(std::string_view text, int32_t radix);
