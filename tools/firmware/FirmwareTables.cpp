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
    // A number that begins with a letter needs a 0 before it.
    for (size_t i = 0; i < count; ++i) line += (i ? ", " : "") + std::string(bytes[i] >= 0xA0 ? "0" : "") + Hex2(bytes[i]);
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

// A label in backquotes, or a dash for none.
std::string Label(const std::string& cell, const std::string& fileName, size_t line) {
    if (cell.size() >= 2 && cell.front() == '`' && cell.back() == '`') return cell.substr(1, cell.size() - 2);
    if (cell != "\u2014") Fail(fileName, line, "a label is written in backquotes, or as a dash for none");
    return {};
}

uint8_t Code(const std::string& cell, const std::string& fileName, size_t line) {
    if (cell.size() > 2 || !AllDigits(cell, 16)) Fail(fileName, line, "a code is one or two hexadecimal digits");
    return uint8_t(std::stoi(cell, nullptr, 16));
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
    int rows = 0;
    const std::vector<std::string> lines = Lines(markdown);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string line = Trim(lines[i]);
        if (line.rfind("|", 0) != 0) continue;
        const std::vector<std::string> cells = Cells(line);
        if (cells.empty() || !AllDigits(cells[0], 10)) continue;  // the heading and the rule
        if (cells.size() != 7)
            Fail(fileName, i, "a key row has seven cells: key, PC key, face label, code, second label, second code, "
                              "meaning");
        const int key = cells[0].size() > 2 ? KeyIndexCount : std::stoi(cells[0]);
        if (key >= KeyIndexCount) Fail(fileName, i, "key index " + cells[0] + " is not 0 to 56");
        if (seen[size_t(key)]) Fail(fileName, i, "key " + cells[0] + " has a row already");
        seen[size_t(key)] = true;
        AssignedKey& assigned = keys[size_t(key)];
        assigned.face = Label(cells[2], fileName, i);
        assigned.code = Code(cells[3], fileName, i);
        assigned.shiftFace = Label(cells[4], fileName, i);
        assigned.shiftCode = cells[5] == "\u2014" ? 0 : Code(cells[5], fileName, i);
        for (const auto& [code, face] : {std::pair(assigned.code, assigned.face), std::pair(assigned.shiftCode, assigned.shiftFace)})
            if (code >= FirstGlyph && code < FirstGlyph + GlyphCount && face != PrintedForm(char(code)))
                Fail(fileName, i, "a key that types a character shows it: " + PrintedForm(char(code)));
        ++rows;
    }
    if (rows == 0) throw TableError(fileName + ": no key rows");
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

KeyMap KeyMapOfCodes(const std::array<uint8_t, KeyIndexCount>& codes,
                     const std::array<uint8_t, KeyIndexCount>& shiftCodes) {
    KeyMap map;
    map.codes = codes;
    map.shiftCodes = shiftCodes;
    for (int key = 0; key < KeyIndexCount; ++key) {
        if (codes[size_t(key)] == ShiftCode) {
            if (map.shiftKey != 0) throw TableError("the key table has two shift keys");
            map.shiftKey = uint8_t(key);
        }
        if (codes[size_t(key)] == BackspaceCode) map.backspace = uint8_t(key);
        if (shiftCodes[size_t(key)] == BackspaceCode) map.backspace = uint8_t(key | KeyAfterShift);
    }
    if (map.shiftKey == 0) throw TableError("the key table has no shift key (code " + Hex2(ShiftCode) + ")");
    return map;
}

std::string KeyMapAssembly(const KeyTable& keys) {
    std::array<uint8_t, KeyIndexCount> codes{}, shiftCodes{};
    for (int key = 0; key < KeyIndexCount; ++key) {
        codes[size_t(key)] = keys[size_t(key)].code;
        shiftCodes[size_t(key)] = keys[size_t(key)].shiftCode;
    }
    const KeyMap map = KeyMapOfCodes(codes, shiftCodes);
    const std::vector<uint8_t> bytes = EncodeKeyMap(map);
    const auto rows = [&](size_t from, size_t count, const std::string& what) {
        std::string text;
        for (size_t first = from; first < from + count; first += 8) {
            const size_t n = std::min<size_t>(8, from + count - first);
            // GCC 12 at -O3 warns that the copy inside "..." + std::string may
            // overlap (-Wrestrict): a known false positive in its standard library.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
            text += ByteLine(&bytes[first], n, what + (n == 1 ? " " + std::to_string(first - from)
                                                               : "s " + std::to_string(first - from) + "-" +
                                                                     std::to_string(first - from + n - 1)));
#pragma GCC diagnostic pop
        }
        return text;
    };
    return "        .radix 16\n"
           "; Made by the build from the key table firmware/keys.md: the key map,\n"
           "; which the firmware reads its key codes from and the emulator the keys\n"
           "; that type each character (panel/KeyMap.h). It lies in the ROM under the\n"
           "; display memory. Edit the table, not this file.\n"
           "        .org " + Hex2(KeyMapAddress) + "\n"
           "keymap:\n" +
           ByteLine(&bytes[0], 6, "\"VXKM\", the shift key, the backspace key") + "keycodes:\n" +
           rows(6, KeyIndexCount, "key") + "shiftcodes:\n" + rows(6 + KeyIndexCount, KeyIndexCount, "key") +
           ByteLine(&bytes[KeyMapSize - 2], 2, "the checksum");
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
        "// Made by the build from the key table firmware/keys.md: the label\n"
        "// each key index shows on the face and the code our firmware gives it.\n"
        "#pragma once\n"
        "\n"
        "#include <cstdint>\n"
        "\n"
        "struct KeyAssignment {\n"
        "    const char* face;       // UTF-8; empty for none\n"
        "    uint8_t code;\n"
        "    const char* shiftFace;  // the second label, above the key\n"
        "    uint8_t shiftCode;\n"
        "};\n"
        "\n"
        "inline constexpr KeyAssignment KeyAssignments[" + std::to_string(KeyIndexCount) + "] = {\n";
    for (int key = 0; key < KeyIndexCount; ++key)
        text += "    {" + CString(keys[size_t(key)].face) + ", 0x" + Hex2(keys[size_t(key)].code) + ", " +
                CString(keys[size_t(key)].shiftFace) + ", 0x" + Hex2(keys[size_t(key)].shiftCode) + "},  // " +
                std::to_string(key) + "\n";
    return text + "};\n";
}
