#include "debugger/Numbers.h"

#include <algorithm>

namespace {

constexpr int NumberWidth = 11;  // enough for any 32-bit value in radix 8 or more

int32_t UsableRadix(int32_t radix) { return radix >= 8 && radix <= 16 ? radix : 16; }

// Keeps the last `width` characters and drops the blank padding (codes up to
// 32); a '0' padding stays.
std::string LastPlaces(const std::string& number, int32_t width) {
    size_t first = number.size() - std::min(number.size(), size_t(width));
    while (first < number.size() && static_cast<unsigned char>(number[first]) <= 32) ++first;
    return number.substr(first);
}

int32_t DigitsOf(uint32_t value, int32_t radix) {
    return int32_t(LastPlaces(FormatNumber(value, radix, ' '), NumberWidth).size());
}

}  // namespace

NumberFormat::NumberFormat(int32_t radix)
    : radix_(UsableRadix(radix)), byteDigits_(DigitsOf(255, radix_)), wordDigits_(DigitsOf(65535, radix_)) {}

std::string FormatNumber(uint32_t value, int32_t radix, char padding) {
    const uint32_t base = uint32_t(UsableRadix(radix));
    std::string text(NumberWidth, padding);
    int position = NumberWidth - 1;
    do {
        text[size_t(position--)] = DigitChars[value % base];
        value /= base;
    } while (value != 0 && position >= 0);
    return text;
}

std::string FormatWord(uint16_t value, char padding, const NumberFormat& numbers) {
    return LastPlaces(FormatNumber(value, numbers.Radix(), padding), numbers.WordDigits());
}

std::string FormatByte(uint8_t value, char padding, const NumberFormat& numbers) {
    return LastPlaces(FormatNumber(value, numbers.Radix(), padding), numbers.ByteDigits());
}

int32_t DigitValue(char c) {
    const size_t position = DigitChars.find(c);
    if (position == std::string_view::npos) return 16;
    return int32_t(position < 16 ? position : position - 6);
}

int32_t ParseNumber(std::string_view text, int32_t radix) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    // Unsigned arithmetic wraps without undefined behaviour; the conversion
    // back to signed is modular.
    uint32_t result = 0;
    for (; i < text.size(); ++i) {
        const int32_t digit = DigitValue(text[i]);
        if (digit >= radix) break;
        result = result * uint32_t(radix) + uint32_t(digit);
    }
    return int32_t(result);
}
