// Runs vexal-cli scripts on our assembled firmware and reads what the display
// shows, the dot rows decoded with the firmware's own font.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "FirmwareTables.h"
#include "debugger/Symbols.h"
#include "tests/cli/CliRun.h"

inline const std::string RomPath = VEXAL_FIRMWARE_DIR "/rom.bin";

// The firmware's labels, read from the build's rom.sym as the debugger reads
// it.
inline const SymbolTable& FirmwareSymbols() {
    static const SymbolTable symbols = [] {
        SymbolTable table;
        const SymbolTable::LoadResult result = table.Load(VEXAL_FIRMWARE_DIR "/rom.sym");
        if (!result.Error.empty()) ADD_FAILURE() << result.Error;
        return table;
    }();
    return symbols;
}

inline uint16_t LabelAddress(const std::string& label) {
    const std::optional<uint16_t> address = FirmwareSymbols().Find(label);
    if (address) return *address;
    ADD_FAILURE() << "no label " << label << " in rom.sym";
    return 0;
}

constexpr size_t CellCount = 12;

// One "lcd" output of vexal-cli.
struct Screen {
    std::string text;        // the twelve cells; "?" for a cell the font lacks
    std::string indicators;  // the numbers of the lit indicators, as "3 9"
    std::string digits;      // the segments of the four digits, as "00 00 00 30"
    std::string cursor;      // "0 underline", "5 block" or "none"
};

inline const Font& FirmwareFont() {
    static const Font font = [] {
        const std::string path = VEXAL_FIRMWARE_SOURCE "/font.txt";
        std::ifstream in(path, std::ios::binary);
        return ParseFont({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}, path);
    }();
    return font;
}

// The character whose glyph the cell shows; the first of the blank ones is
// the blank itself.
inline char CharacterOf(const Glyph& glyph) {
    for (int c = 0; c < GlyphCount; ++c)
        if (FirmwareFont()[size_t(c)] == glyph) return char(FirstGlyph + c);
    return '?';
}

// Every "lcd" output in what the script printed, in order.
inline std::vector<Screen> Screens(const CliResult& result) {
    const std::vector<std::string> lines = result.Lines();
    std::vector<Screen> screens;
    constexpr size_t RowLength = CellCount * 6 - 1;
    for (size_t i = 0; i + 10 <= lines.size(); ++i) {
        if (lines[i].size() != RowLength || lines[i].find_first_not_of(".# ") != std::string::npos) continue;
        Screen screen;
        for (size_t cell = 0; cell < CellCount; ++cell) {
            Glyph glyph{};
            for (size_t row = 0; row < GlyphRows; ++row)
                for (size_t column = 0; column < GlyphColumns; ++column)
                    if (lines[i + row][cell * 6 + column] == '#') glyph[row] |= uint8_t(1u << column);
            screen.text += CharacterOf(glyph);
        }
        const auto after = [](const std::string& line, const std::string& name) {
            return line.rfind(name, 0) == 0 ? line.substr(std::min(line.size(), name.size() + 1)) : "<" + line + ">";
        };
        screen.indicators = after(lines[i + 7], "indicators:");
        screen.digits = after(lines[i + 8], "digits:");
        screen.cursor = after(lines[i + 9], "cursor:");
        screens.push_back(screen);
        i += 9;
    }
    return screens;
}

// Script pieces. After power-on the self-test and the banner take 150 ticks;
// the firmware then waits for a key, asleep, as it does whenever it has done
// what it was given: "idle" runs until then. A key is held for 50 ms and let
// go for 100 ms, as a brisk typist would.
inline const std::string PowerOn = "idle\n";
inline std::string Press(int key) { return "key " + std::to_string(key) + "\ntick 5\nkey 0\ntick 10\n"; }
constexpr int KeyInsert = 2, KeyLeft = 3, KeyRight = 4, KeyOlder = 5, KeyNewer = 6, KeyShift = 36, KeyHalt = 39,
              KeyDelete = 48, KeyClear = 52, KeyExecute = 55;
inline const std::string Execute = Press(KeyExecute);
// A line typed and run (or stored), until the machine waits for a key.
inline std::string Enter(const std::string& line) { return "type " + line + "\n" + Execute + "idle\n"; }
inline std::string Repeat(const std::string& piece, int times) {
    std::string script;
    for (int i = 0; i < times; ++i) script += piece;
    return script;
}
inline const std::string Clear = Press(KeyClear);

// A folder in which vexal-cli runs on the firmware.
struct FirmwareFolder : CliFolder {
    CliResult RunFirmware(const std::string& script) const {
        CliResult result = Run(script, {"--rom", RomPath});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return result;
    }
    std::vector<Screen> ScreensOf(const std::string& script) const { return Screens(RunFirmware(script)); }
};

// Every "state" output in what the script printed, in order.
inline std::vector<std::string> States(const CliResult& result) {
    std::vector<std::string> states;
    for (const std::string& line : result.Lines())
        if (line.rfind("R0=", 0) == 0) states.push_back(line);
    return states;
}

// The number the four seven-segment digits show ("00 00 6E 7D" is 20), or
// "" when they are dark, or the letters F, U and L of "FULL"; "?" for a digit
// of another shape. Segment bits: 0 upper left, 1 middle, 2 lower left, 3
// bottom, 4 lower right, 5 upper right, 6 top.
inline std::string DigitsShown(const std::string& digits) {
    static const std::map<unsigned, char> shapes = {
        {0x7D, '0'}, {0x30, '1'}, {0x6E, '2'}, {0x7A, '3'}, {0x33, '4'},
        {0x5B, '5'}, {0x5F, '6'}, {0x70, '7'}, {0x7F, '8'}, {0x7B, '9'},
        {0x47, 'F'}, {0x3D, 'U'}, {0x0D, 'L'},
    };
    std::string number;
    std::istringstream in(digits);
    for (std::string byte; in >> byte;) {
        const unsigned segments = unsigned(std::stoul(byte, nullptr, 16));
        if (segments == 0) continue;
        const auto shape = shapes.find(segments);
        number += shape == shapes.end() ? '?' : shape->second;
    }
    return number;
}

// The screen's text without the blanks around it.
inline std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The whole of a listed line, read as the cursor walks along it: each
// screen shows the twelve characters from max(0, cursor - 11), and the
// digits give the cursor's column.
inline std::string ListedLine(const std::vector<Screen>& screens) {
    std::string line;
    for (const Screen& screen : screens) {
        const std::string column = DigitsShown(screen.digits);
        const size_t cursor = column.empty() ? 0 : std::stoul(column) - 1;
        const size_t first = cursor > CellCount - 1 ? cursor - (CellCount - 1) : 0;
        if (line.size() < first + CellCount) line.resize(first + CellCount, ' ');
        line.replace(first, CellCount, screen.text);
    }
    return Trimmed(line);
}

