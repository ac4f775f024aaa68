// The firmware's tables that are kept as text for people to read: the key
// table of firmware/README.md (the label each key shows on the face and the
// code the firmware gives it) and the display font of firmware/font.txt. The
// build turns them into assembly for the firmware and a header for the
// artwork, so that the face and the firmware never disagree.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

// A table that cannot be read; the message starts with "FILE:LINE: ".
struct TableError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int KeyIndexCount = 57;

// How the face prints an ASCII character, in UTF-8: the blank by name, the
// hyphen as the wider minus sign of a calculator.
std::string PrintedForm(char c);

struct AssignedKey {
    std::string face;  // the label on the face, UTF-8; empty for none
    uint8_t code = 0;  // what the firmware makes of the key; 0 for nothing
};
using KeyTable = std::array<AssignedKey, KeyIndexCount>;

// The rows of the table under the heading "## Keys": | key index | PC key |
// face label in backquotes, or a dash for none | code in hexadecimal |
// meaning |. Keys without a row have no label and code 0. A key whose code
// is a character shows that character (SPACE for the blank, the minus sign
// for the hyphen).
KeyTable ParseKeyTable(const std::string& markdown, const std::string& fileName);

// Glyphs for the characters 20 to 5F: seven rows, bit c the dot of column c
// counted from the left, as the display memory takes them.
constexpr int FirstGlyph = 0x20;
constexpr int GlyphCount = 0x40;
constexpr int GlyphRows = 7;
constexpr int GlyphColumns = 5;
using Glyph = std::array<uint8_t, GlyphRows>;
using Font = std::array<Glyph, GlyphCount>;

// Lines starting with ";" and blank lines are skipped. A character in single
// quotes is followed by its seven rows of five "." or "#". Characters not
// drawn are blank.
Font ParseFont(const std::string& text, const std::string& fileName);

// The firmware's source for the two tables: "keycodes", a byte for every
// key index, and "font", seven bytes for every character from 20.
std::string KeyCodesAssembly(const KeyTable& keys);
std::string FontAssembly(const Font& font);

// A C++ header with the face label and code of every key index.
std::string KeyAssignmentHeader(const KeyTable& keys);
