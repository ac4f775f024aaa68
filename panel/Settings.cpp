#include "panel/Settings.h"

#include <INIReader.h>

#include <cctype>
#include <limits>

int32_t ParseIniInteger(const std::string& text, int32_t fallback) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    int base = 10;
    if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos == text.size()) return fallback;

    // Accumulated in 64 bits and checked at every digit, so any length of
    // digits is safe.
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        int digit;
        if (std::isdigit(c)) digit = c - '0';
        else if (base == 16 && std::isxdigit(c)) digit = std::tolower(c) - 'a' + 10;
        else return fallback;
        magnitude = magnitude * base + digit;
        if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1) return fallback;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) return fallback;
    return int32_t(value);
}

int32_t ReadIniInteger(const std::string& path, const std::string& section, const std::string& key,
                       int32_t fallback) {
    // INIReader keeps section and key names in lower case, which makes the
    // look-up case-insensitive. A file it cannot open or parse completely
    // still yields whatever it read before the fault.
    const INIReader reader(path);
    const std::string value = reader.Get(section, key, "");
    return ParseIniInteger(value, fallback);
}
