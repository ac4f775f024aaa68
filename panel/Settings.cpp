#include "panel/Settings.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string_view>

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

// A settings file is a few lines; anything larger is not one.
constexpr std::uintmax_t MaxSettingsSize = 1u << 20;

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The line as the parser sees it, fitted into room bytes. The parser would
// take an indented line as more of the value above it, so the indentation
// goes: here each line stands on its own. A line too long for the parser's
// buffer would reach it in pieces, each read as a line of its own; instead it
// is given in a shorter form that means the same to the parser: without its
// comment and the blanks around its "=", a section line as the bare "[name]".
// What still does not fit holds a name or a value far longer than any
// setting's: a section of that name, cut short, still begins and matches no
// setting, a key of that name is dropped, and a value that long is no number.
std::string FittedLine(std::string_view line, size_t room) {
    line = Trimmed(line);
    if (line.size() <= room) return std::string(line);
    if (line.front() == ';' || line.front() == '#') return ";";
    // The parser's comment within a line: a ';' after a blank.
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == ';' && IsBlank(line[i - 1])) {
            line = Trimmed(line.substr(0, i));
            break;
        }
    }
    if (line.size() <= room) return std::string(line);
    if (line.front() == '[') {
        const size_t close = line.find(']');
        // Without its ']' the line is no section line, however much is cut.
        if (close == std::string_view::npos) return std::string(line.substr(0, room));
        // GCC 12 at -O3 warns that the copy inside "..." + std::string may
        // overlap (-Wrestrict): a known false positive in its standard library.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
        return "[" + std::string(line.substr(1, std::min(close, room - 1) - 1)) + "]";
#pragma GCC diagnostic pop
    }
    const size_t separator = line.find_first_of("=:");
    if (separator == std::string_view::npos) return {};  // no setting, as the parser sees it
    const std::string name(Trimmed(line.substr(0, separator)));
    const std::string_view value = Trimmed(line.substr(separator + 1));
    const std::string key = name + line[separator];
    if (key.size() + value.size() <= room) return key + std::string(value);
    return key.size() + 1 <= room ? key + "?" : std::string();
}

// The file as the parser reads it, one whole line at a time.
struct SettingsLines {
    std::istringstream text;
};

char* ReadFittedLine(char* buffer, int size, void* stream) {
    SettingsLines& input = *static_cast<SettingsLines*>(stream);
    std::string line;
    if (size < 2 || !std::getline(input.text, line)) return nullptr;
    const std::string fitted = FittedLine(line, size_t(size) - 1);
    std::memcpy(buffer, fitted.c_str(), fitted.size() + 1);
    return buffer;
}

}  // namespace

int32_t ReadIniInteger(const std::string& path, const std::string& section, const std::string& key,
                       int32_t fallback) {
    // A pipe or a device of that name could be read forever.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return fallback;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > MaxSettingsSize) return fallback;
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    if (!(contents << file.rdbuf())) return fallback;
    SettingsLines input{std::istringstream(contents.str())};
    // A line the parser cannot make sense of is skipped; the rest still counts.
    Lookup lookup{section, key, std::nullopt};
    ini_parse_stream(ReadFittedLine, &input, TakeFirstValue, &lookup);
    return lookup.value ? ParseIniInteger(*lookup.value, fallback) : fallback;
}
