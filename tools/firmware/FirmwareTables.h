// The firmware's tables that are kept as text for people to read: the key
// table firmware/keys.md (the label each key shows on the face and the
// code the firmware gives it) and the display font of firmware/font.txt. The
// build turns them into assembly for the firmware and a header for the
// artwork, so that the face and the firmware never disagree.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "panel/KeyMap.h"

// A table that cannot be read; the message starts with "FILE:LINE: ".
struct TableError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int KeyIndexCount = 57;

// How the face prints an ASCII character, in UTF-8: the blank by name, the
// hyphen as the wider minus sign of a calculator.
std::string PrintedForm(char c);

struct AssignedKey {
    std::string face;       // the label on the face, UTF-8; empty for none
    uint8_t code = 0;       // what the firmware makes of the key; 0 for nothing
    std::string shiftFace;  // the small label above the key: its second meaning
    uint8_t shiftCode = 0;  // what it makes of the key after the shift key
};
using KeyTable = std::array<AssignedKey, KeyIndexCount>;

// The codes of our firmware's functions that the key map names for the
// emulator (main.s gives them the same values): the shift key, and the key
// that deletes the character before the cursor, which the PC's Backspace
// reaches.
constexpr uint8_t ShiftCode = 0x89;
constexpr uint8_t BackspaceCode = 0x85;

// The key table's rows, every line of the text that begins with "|" and a
// number: | key index | PC key | face label in backquotes, or a dash for
// none | code in hexadecimal | second label in backquotes, or a dash |
// second code, or a dash | meaning |. Other lines are prose. Keys without
// a row have no labels and code 0. A key whose code is a character shows
// that character (SPACE for the blank, the minus sign for the hyphen), in
// its label or its second label.
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

// The key map of a firmware whose keys give these codes, alone and after
// the shift key: the key whose code is ShiftCode is the shift key (exactly
// one must be), the one that gives BackspaceCode the backspace.
KeyMap KeyMapOfCodes(const std::array<uint8_t, KeyIndexCount>& codes,
                     const std::array<uint8_t, KeyIndexCount>& shiftCodes);

// The firmware's source for the two tables: the key map at its place in the
// ROM (panel/KeyMap.h), whose "keycodes" and "shiftcodes" give the code of
// every key index, and "font", seven bytes for every character from 20.
// The key map needs exactly one shift key.
std::string KeyMapAssembly(const KeyTable& keys);
std::string FontAssembly(const Font& font);

// A C++ header with the labels and codes of every key index.
std::string KeyAssignmentHeader(const KeyTable& keys);
