#include "panel/Settings.h"

#include <ini.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>

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

namespace {

bool SameName(const char* a, const std::string& b) {
    size_t i = 0;
    for (; a[i] != '\0' && i < b.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return a[i] == '\0' && i == b.size();
}

// What the parser is asked for, and the first value found for it.
struct Lookup {
    const std::string& section;
    const std::string& key;
    std::optional<std::string> value;
};

// Called for every key the parser reads. The first occurrence of a key in its
// section counts, as the INI readers that such files come from have it.
int TakeFirstValue(void* user, const char* section, const char* name, const char* value) {
    Lookup& lookup = *static_cast<Lookup*>(user);
    if (!lookup.value && SameName(section, lookup.section) && SameName(name, lookup.key)) lookup.value = value;
    return 1;
}

// The file as the parser reads it, a line at a time, with the blanks at the
// start of each line removed. The parser would take an indented line as more
// of the value above it; here it is a line of its own.
struct UnindentedFile {
    std::FILE* file;
    bool atLineStart = true;
};

char* ReadUnindented(char* line, int size, void* stream) {
    UnindentedFile& input = *static_cast<UnindentedFile*>(stream);
    if (!std::fgets(line, size, input.file)) return nullptr;
    const size_t length = std::strlen(line);
    if (input.atLineStart) {
        size_t blanks = 0;
        while (blanks < length && line[blanks] != '\n' && std::isspace(static_cast<unsigned char>(line[blanks])))
            ++blanks;
        std::memmove(line, line + blanks, length - blanks + 1);
    }
    // A line longer than the parser's buffer comes in pieces.
    const size_t kept = std::strlen(line);
    input.atLineStart = kept > 0 && line[kept - 1] == '\n';
    return line;
}

}  // namespace

int32_t ReadIniInteger(const std::string& path, const std::string& section, const std::string& key,
                       int32_t fallback) {
    // A pipe or a device of that name could be read forever.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return fallback;
    UnindentedFile input{std::fopen(path.c_str(), "rb")};
    if (!input.file) return fallback;
    // A line the parser cannot make sense of is skipped; the rest still counts.
    Lookup lookup{section, key, std::nullopt};
    ini_parse_stream(ReadUnindented, &input, TakeFirstValue, &lookup);
    std::fclose(input.file);
    return lookup.value ? ParseIniInteger(*lookup.value, fallback) : fallback;
}
