#include "cli/Utf8.h"

#include <cstdint>

namespace {

bool IsContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

// The length of the sequence a lead byte starts and the payload bits it
// carries; 0 for a byte that cannot start one (a continuation byte, or 0xF8
// and above). 0xC0 and 0xC1 could only start overlong forms of ASCII.
int SequenceLength(uint8_t lead, char32_t& bits) {
    if (lead < 0x80) {
        bits = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead < 0xE0) {
        bits = lead & 0x1F;
        return 2;
    }
    if (lead >= 0xE0 && lead < 0xF0) {
        bits = lead & 0x0F;
        return 3;
    }
    if (lead >= 0xF0 && lead < 0xF5) {
        bits = lead & 0x07;
        return 4;
    }
    return 0;
}

// The smallest code point that needs a sequence of each length: anything
// below it is an overlong form.
constexpr char32_t MinimumOf[5] = {0, 0, 0x80, 0x800, 0x10000};

}  // namespace

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string decoded;
    size_t i = 0;
    while (i < text.size()) {
        char32_t c = 0;
        const int length = SequenceLength(uint8_t(text[i]), c);
        bool wellFormed = length > 0 && i + size_t(length) <= text.size();
        for (int k = 1; wellFormed && k < length; ++k) {
            const uint8_t byte = uint8_t(text[i + size_t(k)]);
            wellFormed = IsContinuation(byte);
            c = c << 6 | (byte & 0x3F);
        }
        if (wellFormed)
            wellFormed = c >= MinimumOf[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        if (wellFormed) {
            decoded.push_back(c);
            i += size_t(length);
        } else {
            decoded.push_back(InvalidCharacter);
            ++i;
        }
    }
    return decoded;
}
