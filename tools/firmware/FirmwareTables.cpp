#include "FirmwareTables.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

[[noreturn]] void Fail(const std::string& fileName, size_t lineIndex, const std::string& reason) {
    throw TableError(fileName + ":" + std::to_string(lineIndex + 1) + ": " + reason);
}

bool AllDigits(const std::string& s, int base) {
    if (s.empty()) return false;
    for (char c : s) {
        const bool decimal = c >= '0' && c <= '9';
        const bool hex = (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (!decimal && !(base == 16 && hex)) return false;
    }
    return true;
}

// The cells of a table row "| a | b | c |", trimmed.
std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    size_t start = row.find('|') + 1;
    for (size_t bar; (bar = row.find('|', start)) != std::string::npos; start = bar + 1)
        cells.push_back(Trim(row.substr(start, bar - start)));
    return cells;
}

std::string Hex2(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFFu);
    return text;
}

// A row of .byte values, with a comment.
std::string ByteLine(const uint8_t* bytes, size_t count, const std::string& comment) {
    std::string line = "        .byte ";
    for (size_t i = 0; i < count; ++i) line += (i ? ", " : "") + Hex2(bytes[i]);
    line.resize(std::max<size_t>(line.size() + 1, 56), ' ');
    return line + "; " + comment + "\n";
}

std::string CString(const std::string& s) {
    std::string quoted = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string PrintedForm(char c) {
    if (c == ' ') return "SPACE";
    if (c == '-') return "\u2212";
    return std::string(1, c);
}

KeyTable ParseKeyTable(const std::string& markdown, const std::string& fileName) {
    KeyTable keys;
    std::array<bool, KeyIndexCount> seen{};
    bool inSection = false;
    int rows = 0;
    const std::vector<std::string> lines = Lines(markdown);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string line = Trim(lines[i]);
        if (line.rfind("#", 0) == 0) {
            inSection = line == "## Keys";
            continue;
        }
        if (!inSection || line.rfind("|", 0) != 0) continue;
        const std::vector<std::string> cells = Cells(line);
        if (cells.empty() || !AllDigits(cells[0], 10)) continue;  // the heading and the rule
        if (cells.size() != 5) Fail(fileName, i, "a key row has five cells: key, PC key, face label, code, meaning");
        const int key = cells[0].size() > 2 ? KeyIndexCount : std::stoi(cells[0]);
        if (key >= KeyIndexCount) Fail(fileName, i, "key index " + cells[0] + " is not 0 to 56");
        if (seen[size_t(key)]) Fail(fileName, i, "key " + cells[0] + " has a row already");
        seen[size_t(key)] = true;

        const std::string& face = cells[2];
        if (face.size() >= 2 && face.front() == '`' && face.back() == '`')
            keys[size_t(key)].face = face.substr(1, face.size() - 2);
        else if (face != "\u2014")
            Fail(fileName, i, "the face label is written in backquotes, or as a dash for none");

        if (cells[3].size() > 2 || !AllDigits(cells[3], 16))
            Fail(fileName, i, "the code is one or two hexadecimal digits");
        const int code = std::stoi(cells[3], nullptr, 16);
        keys[size_t(key)].code = uint8_t(code);
        if (code >= FirstGlyph && code < FirstGlyph + GlyphCount && keys[size_t(key)].face != PrintedForm(char(code)))
            Fail(fileName, i, "a key that types a character shows it: " + PrintedForm(char(code)));
        ++rows;
    }
    if (rows == 0) throw TableError(fileName + ": no key rows under the heading \"## Keys\"");
    return keys;
}

Font ParseFont(const std::string& text, const std::string& fileName) {
    Font font{};
    std::array<bool, GlyphCount> seen{};
    const std::vector<std::string> lines = Lines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] == ';') continue;
        if (line.size() != 3 || line[0] != '\'' || line[2] != '\'')
            Fail(fileName, i, "expected a character in single quotes, such as 'A'");
        const int c = static_cast<unsigned char>(line[1]);
        if (c < FirstGlyph || c >= FirstGlyph + GlyphCount)
            Fail(fileName, i, "the font holds the characters 20 to 5F (hexadecimal) only");
        if (seen[size_t(c - FirstGlyph)]) Fail(fileName, i, "the character is drawn already");
        seen[size_t(c - FirstGlyph)] = true;
        Glyph& glyph = font[size_t(c - FirstGlyph)];
        for (int row = 0; row < GlyphRows; ++row) {
            if (++i == lines.size()) Fail(fileName, i - 1, "a character has seven rows");
            const std::string& dots = lines[i];
            if (dots.size() != GlyphColumns || dots.find_first_not_of(".#") != std::string::npos)
                Fail(fileName, i, "a row is five dots, each \".\" or \"#\"");
            for (int column = 0; column < GlyphColumns; ++column)
                if (dots[size_t(column)] == '#') glyph[size_t(row)] |= uint8_t(1u << column);
        }
    }
    return font;
}

std::string KeyCodesAssembly(const KeyTable& keys) {
    std::string text =
        "        .radix 16\n"
        "; Made by the build from the key table of firmware/README.md: the code of\n"
        "; every key index. Edit the table, not this file.\n"
        "keycodes:\n";
    for (int first = 0; first < KeyIndexCount; first += 8) {
        const int count = std::min(8, KeyIndexCount - first);
        uint8_t codes[8];
        for (int i = 0; i < count; ++i) codes[i] = keys[size_t(first + i)].code;
        const std::string range = count == 1 ? "key " + std::to_string(first)
                                             : "keys " + std::to_string(first) + "-" + std::to_string(first + count - 1);
        text += ByteLine(codes, size_t(count), range);
    }
    return text + "        .even\n";
}

std::string FontAssembly(const Font& font) {
    std::string text =
        "        .radix 16\n"
        "; Made by the build from firmware/font.txt: seven dot rows for each\n"
        "; character from 20 to 5F, bit 0 the leftmost dot. Edit the font, not this file.\n"
        "font:\n";
    for (int c = 0; c < GlyphCount; ++c)
        text += ByteLine(font[size_t(c)].data(), GlyphRows,
                         Hex2(unsigned(FirstGlyph + c)) + " " + (c == 0 ? "blank" : std::string(1, char(FirstGlyph + c))));
    return text;
}

std::string KeyAssignmentHeader(const KeyTable& keys) {
    std::string text =
        "// Made by the build from the key table of firmware/README.md: the label\n"
        "// each key index shows on the face and the code our firmware gives it.\n"
        "#pragma once\n"
        "\n"
        "#include <cstdint>\n"
        "\n"
        "struct KeyAssignment {\n"
        "    const char* face;  // UTF-8; empty for none\n"
        "    uint8_t code;\n"
        "};\n"
        "\n"
        "inline constexpr KeyAssignment KeyAssignments[" + std::to_string(KeyIndexCount) + "] = {\n";
    for (int key = 0; key < KeyIndexCount; ++key)
        text += "    {" + CString(keys[size_t(key)].face) + ", 0x" + Hex2(keys[size_t(key)].code) + "},  // " +
                std::to_string(key) + "\n";
    return text + "};\n";
}
