// The display as the lcd command shows it after pokes into the display
// range: dot rows, every indicator, every segment and both cursor shapes.
#include <gtest/gtest.h>

#include <cstdio>

#include "CliRun.h"

namespace {

constexpr int LinesPerDisplay = 10;

const std::string EmptyRow = "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....";

struct Display {
    std::vector<std::string> rows;
    std::string indicators, digits, cursor;
};

// Byte pokes (address, value); each case's bytes are cleared again after it.
using Pokes = std::vector<std::pair<unsigned, unsigned>>;

std::string PokeLines(const Pokes& pokes, bool clear) {
    std::string text;
    char line[32];
    for (const auto& [address, value] : pokes) {
        std::snprintf(line, sizeof line, "pokeb %X %X\n", address, clear ? 0u : value);
        text += line;
    }
    return text;
}

// Runs every case in one script and splits the output into displays.
std::vector<Display> Show(const std::vector<Pokes>& cases) {
    std::string script;
    for (const Pokes& pokes : cases) script += PokeLines(pokes, false) + "lcd\n" + PokeLines(pokes, true);
    StandardFolder folder;
    const CliResult r = folder.Run(script);
    EXPECT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    EXPECT_EQ(lines.size(), cases.size() * LinesPerDisplay) << r.out;
    std::vector<Display> displays;
    for (size_t start = 0; start + LinesPerDisplay <= lines.size(); start += LinesPerDisplay) {
        Display d;
        d.rows.assign(lines.begin() + long(start), lines.begin() + long(start) + 7);
        d.indicators = lines[start + 7];
        d.digits = lines[start + 8];
        d.cursor = lines[start + 9];
        displays.push_back(d);
    }
    return displays;
}

TEST(CliLcd, EmptyDisplayAtStart) {
    const auto displays = Show({{}});
    ASSERT_EQ(displays.size(), 1u);
    for (const std::string& row : displays[0].rows) EXPECT_EQ(row, EmptyRow);
    EXPECT_EQ(displays[0].indicators, "indicators:");
    EXPECT_EQ(displays[0].digits, "digits: 00 00 00 00");
    // The cursor byte is not cleared at start, and 0 names cell 0.
    EXPECT_EQ(displays[0].cursor, "cursor: 0 block");
}

TEST(CliLcd, CharacterCells) {
    // An "H" in cell 0, an "L" in cell 11 (column 0 is bit 0, on the left),
    // one dot in row 3 of cell 5 with the ignored high bits set, and two dots
    // in row 7 of cell 6.
    const Pokes glyphs = {{0x81, 0x11}, {0x82, 0x11}, {0x83, 0x11}, {0x84, 0x1F}, {0x85, 0x11}, {0x86, 0x11},
                          {0x87, 0x11}, {0xD9, 0x01}, {0xDA, 0x01}, {0xDB, 0x01}, {0xDC, 0x01}, {0xDD, 0x01},
                          {0xDE, 0x01}, {0xDF, 0x1F}, {0xAB, 0xE2}, {0xB7, 0x0C}};
    const auto displays = Show({glyphs});
    ASSERT_EQ(displays.size(), 1u);
    const std::vector<std::string> expected = {
        "#...# ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... #....",
        "#...# ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... #....",
        "#...# ..... ..... ..... ..... .#... ..... ..... ..... ..... ..... #....",
        "##### ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... #....",
        "#...# ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... #....",
        "#...# ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... #....",
        "#...# ..... ..... ..... ..... ..... ..##. ..... ..... ..... ..... #####",
    };
    EXPECT_EQ(displays[0].rows, expected);
    EXPECT_EQ(displays[0].indicators, "indicators:");
    EXPECT_EQ(displays[0].digits, "digits: 00 00 00 00");
}

TEST(CliLcd, EveryIndicator) {
    // (address, bit) of indicators 0 to 9.
    const std::pair<unsigned, unsigned> indicators[] = {{0x80, 0}, {0x80, 1}, {0x80, 2}, {0x88, 0}, {0x88, 1},
                                                        {0x88, 4}, {0x98, 0}, {0xA0, 0}, {0xA8, 0}, {0xD8, 3}};
    std::vector<Pokes> cases;
    for (const auto& [address, bit] : indicators) cases.push_back({{address, 1u << bit}});
    cases.push_back({{0x80, 0x07}, {0x88, 0x13}, {0x98, 0x01}, {0xA0, 0x01}, {0xA8, 0x01}, {0xD8, 0x08}});
    // Bits and bytes that light no indicator: the rest of the indicator
    // bytes, the unshown byte 0x90, the other bytes of cells 3 to 5 and 11.
    cases.push_back({{0x80, 0xF8}, {0x88, 0xEC}, {0x90, 0xFF}, {0x98, 0xFE}, {0xA0, 0xFE}, {0xA8, 0xFE},
                     {0xD8, 0xF0}});
    const auto displays = Show(cases);
    ASSERT_EQ(displays.size(), cases.size());
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(displays[size_t(n)].indicators, "indicators: " + std::to_string(n)) << "indicator " << n;
        EXPECT_EQ(displays[size_t(n)].digits, "digits: 00 00 00 00") << "indicator " << n;
        for (const std::string& row : displays[size_t(n)].rows) EXPECT_EQ(row, EmptyRow) << "indicator " << n;
    }
    EXPECT_EQ(displays[10].indicators, "indicators: 0 1 2 3 4 5 6 7 8 9");
    EXPECT_EQ(displays[11].indicators, "indicators:");
    EXPECT_EQ(displays[11].digits, "digits: 00 00 00 00");
    for (const std::string& row : displays[11].rows) EXPECT_EQ(row, EmptyRow);
}

TEST(CliLcd, EverySegment) {
    // Segment s of digit d, in the order the bits run through the bytes.
    struct Segment {
        unsigned address, bit, digit, segment;
    };
    std::vector<Segment> segments;
    const unsigned bytes[] = {0xB0, 0xB8, 0xC0, 0xC8, 0xD0, 0xD8};
    unsigned digit = 0, segment = 0;
    for (unsigned address : bytes)
        for (unsigned bit = 0; bit < (address == 0xD8 ? 3u : 5u); ++bit) {
            segments.push_back({address, bit, digit, segment});
            if (++segment == 7) segment = 0, ++digit;
        }
    ASSERT_EQ(segments.size(), 28u);
    ASSERT_EQ(digit, 4u);

    std::vector<Pokes> cases;
    for (const Segment& s : segments) cases.push_back({{s.address, 1u << s.bit}});
    cases.push_back({{0xB0, 0xFF}, {0xB8, 0xFF}, {0xC0, 0xFF}, {0xC8, 0xFF}, {0xD0, 0xFF}, {0xD8, 0xF7}});
    const auto displays = Show(cases);
    ASSERT_EQ(displays.size(), cases.size());
    for (size_t i = 0; i < segments.size(); ++i) {
        std::string expected = "digits:";
        for (unsigned d = 0; d < 4; ++d) {
            char hex[16];
            std::snprintf(hex, sizeof hex, " %02X", d == segments[i].digit ? 1u << segments[i].segment : 0u);
            expected += hex;
        }
        EXPECT_EQ(displays[i].digits, expected) << "byte " << std::hex << segments[i].address << " bit "
                                                << segments[i].bit;
        EXPECT_EQ(displays[i].indicators, "indicators:");
    }
    // Everything but the indicator bit of 0xD8: all segments, no indicator.
    EXPECT_EQ(displays.back().digits, "digits: 7F 7F 7F 7F");
    EXPECT_EQ(displays.back().indicators, "indicators:");
}

TEST(CliLcd, CursorShapes) {
    const std::vector<Pokes> cases = {{{0xE0, 0x03}}, {{0xE0, 0x13}}, {{0xE0, 0x0C}}, {{0xE0, 0x1F}},
                                      {{0xE0, 0x2B}}, {{0xE0, 0xFB}}, {{0xE0, 0x00}}};
    const std::vector<std::string> expected = {"cursor: 3 block",   "cursor: 3 underline", "cursor: none",
                                               "cursor: none",      "cursor: 11 block",    "cursor: 11 underline",
                                               "cursor: 0 block"};
    const auto displays = Show(cases);
    ASSERT_EQ(displays.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(displays[i].cursor, expected[i]) << "cursor byte " << std::hex << cases[i][0].second;
        // The blink is not drawn into the dot rows.
        for (const std::string& row : displays[i].rows) EXPECT_EQ(row, EmptyRow);
    }
}

TEST(CliLcd, WordPokesFillTwoBytes) {
    StandardFolder folder;
    // 0x0080 as a word: indicator byte 0 gets 0x01, row 1 of cell 0 gets 0x1F.
    const CliResult r = folder.Run("poke 80 1F01\nlcd\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0].substr(0, 6), "##### ");
    EXPECT_EQ(lines[7], "indicators: 0");
}

}  // namespace
