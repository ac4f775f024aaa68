// The key table and the font as text, read into the firmware's tables.
#include <gtest/gtest.h>

#include "FirmwareTables.h"

namespace {

std::string ErrorOf(void (*parse)(const std::string&), const std::string& text) {
    try {
        parse(text);
    } catch (const TableError& error) {
        return error.what();
    }
    return "no error";
}

const std::string KeysHeading =
    "# Keys\n\n| Key | PC key | Face label | Code | Second label | Second code | Meaning |\n|---:|---|---|---|---|---|---|\n";

TEST(FirmwareTables, KeyTableRows) {
    const KeyTable keys = ParseKeyTable(KeysHeading +
                                            "| 2 | Insert | `INS` | 85 | \u2014 | \u2014 | mode |\n"
                                            "| 37 | `-` | `\u2212` | 2D | `_` | 5F | minus |\n"
                                            "A line of prose | 3 | x | `Y` | 59 | \u2014 | \u2014 |\n"
                                            "| 48 | Delete | `DEL` | 84 | `BS` | 85 | delete |\n"
                                            "| 54 | space bar | `SPACE` | 20 | `'` | 27 | a blank |\n"
                                            "\n  | 56 | F8 | \u2014 | 0 | \u2014 | \u2014 | nothing |\n",
                                        "keys.md");
    EXPECT_EQ(keys[2].face, "INS");
    EXPECT_EQ(keys[2].code, 0x85);
    EXPECT_EQ(keys[2].shiftFace, "");
    EXPECT_EQ(keys[2].shiftCode, 0);
    EXPECT_EQ(keys[37].face, "\u2212");
    EXPECT_EQ(keys[37].shiftFace, "_");
    EXPECT_EQ(keys[37].shiftCode, 0x5F);
    EXPECT_EQ(keys[48].shiftFace, "BS");
    EXPECT_EQ(keys[48].shiftCode, 0x85);
    EXPECT_EQ(keys[54].code, 0x20);
    EXPECT_EQ(keys[54].shiftCode, 0x27);
    EXPECT_EQ(keys[56].face, "");
        EXPECT_EQ(keys[3].code, 0);
}

TEST(FirmwareTables, KeyTableFaults) {
    struct Case {
        std::string rows;
        const char* error;
    };
    const Case cases[] = {
        {"| 2 | Insert | `INS` | 85 | x |\n", "keys.md:5: a key row has seven cells"},
        {"| 57 | x | `X` | 58 | - | - | x |\n", "keys.md:5: key index 57 is not 0 to 56"},
        {"| 7 | W | `W` | 57 | `Q` | 51 | x |\n| 7 | W | `W` | 57 | `Q` | 51 | x |\n",
         "keys.md:6: key 7 has a row already"},
        {"| 7 | W | W | 57 | `Q` | 51 | x |\n", "keys.md:5: a label is written in backquotes"},
        {"| 7 | W | `W` | 57 | Q | 51 | x |\n", "keys.md:5: a label is written in backquotes"},
        {"| 7 | W | `W` | 157 | `Q` | 51 | x |\n", "keys.md:5: a code is one or two hexadecimal digits"},
        {"| 7 | W | `W` | 57 | `Q` | 5G | x |\n", "keys.md:5: a code is one or two hexadecimal digits"},
        {"| 38 | = | `-` | 2B | `=` | 3D | x |\n", "keys.md:5: a key that types a character shows it: +"},
        {"| 38 | = | `+` | 2B | `+` | 3D | x |\n", "keys.md:5: a key that types a character shows it: ="},
        {"", "keys.md: no key rows"},
    };
    for (const Case& c : cases) {
        const std::string error =
            ErrorOf([](const std::string& text) { ParseKeyTable(text, "keys.md"); }, KeysHeading + c.rows);
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << error;
    }
}

// The key map names one shift key, and the Backspace key alone or after it.
TEST(FirmwareTables, KeyMapNeedsOneShiftKey) {
    std::array<uint8_t, KeyIndexCount> codes{}, shiftCodes{};
    codes[7] = 'W';
    const auto error = [&] {
        try {
            KeyMapOfCodes(codes, shiftCodes);
        } catch (const TableError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(error(), "the key table has no shift key (code 89)");
    codes[36] = ShiftCode;
    codes[2] = ShiftCode;
    EXPECT_EQ(error(), "the key table has two shift keys");
    codes[2] = 0x86;
    shiftCodes[48] = BackspaceCode;
    const KeyMap map = KeyMapOfCodes(codes, shiftCodes);
    EXPECT_EQ(map.shiftKey, 36);
    EXPECT_EQ(map.backspace, 48 | KeyAfterShift);
    codes[5] = BackspaceCode;
    EXPECT_EQ(KeyMapOfCodes(codes, {}).backspace, 5);
}

TEST(FirmwareTables, FontGlyphs) {
    const Font font = ParseFont("; a comment\n\n'L'\n#....\n#....\n#....\n#....\n#....\n#....\n#####\n"
                                "'/'\n.....\n....#\n...#.\n..#..\n.#...\n#....\n.....\n",
                                "font.txt");
    EXPECT_EQ(font['L' - FirstGlyph], (Glyph{0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x1F}));
    EXPECT_EQ(font['/' - FirstGlyph], (Glyph{0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0x00}));
    EXPECT_EQ(font['A' - FirstGlyph], Glyph{});
}

TEST(FirmwareTables, FontFaults) {
    const std::string rows = ".....\n.....\n.....\n.....\n.....\n.....\n.....\n";
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"'AB'\n" + rows, "font.txt:1: expected a character in single quotes"},
        {"'a'\n" + rows, "font.txt:1: the font holds the characters 20 to 5F"},
        {"'A'\n" + rows + "'A'\n" + rows, "font.txt:9: the character is drawn already"},
        {"'A'\n.....\n", "font.txt:2: a character has seven rows"},
        {"'A'\n..#.x\n", "font.txt:2: a row is five dots"},
        {"'A'\n....\n", "font.txt:2: a row is five dots"},
    };
    for (const Case& c : cases) {
        const std::string error = ErrorOf([](const std::string& text) { ParseFont(text, "font.txt"); }, c.text);
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << error;
    }
}

}  // namespace
