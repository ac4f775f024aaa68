// The line typed without a line number, as a calculator user meets it:
// power-on, typing, editing, values, the history, the keys.
#include "FirmwareRun.h"
#include "KeyAssignment.h"

namespace {

TEST(Firmware, PowerOnShowsSelfTestThenBannerThenPrompt) {
    FirmwareFolder folder;
    const CliResult result = folder.RunFirmware("tick 10\nlcd\ntick 60\nlcd\nidle\nlcd\n");
    const auto screens = Screens(result);
    ASSERT_EQ(screens.size(), 3u);
    for (size_t row = 0; row < GlyphRows; ++row)
        EXPECT_EQ(result.Lines()[row], "##### ##### ##### ##### ##### ##### ##### ##### ##### ##### ##### #####");
    EXPECT_EQ(screens[0].indicators, "0 1 2 3 4 5 6 7 8 9");
    EXPECT_EQ(screens[0].digits, "7F 7F 7F 7F");
    EXPECT_EQ(screens[0].cursor, "none");
    EXPECT_EQ(screens[1].text, " VEXAL BASIC");
    EXPECT_EQ(screens[2].text, std::string(12, ' '));
    EXPECT_EQ(screens[2].cursor, "0 underline");
    EXPECT_EQ(screens[2].digits, "00 00 00 30");  // column 1
}

// A value shows right-aligned, an error left-aligned; the cursor waits off
// the display. AC first, so that a leading minus starts the line instead of
// following the last value. The numbers themselves: ArithmeticTest.
TEST(Firmware, ShowsValuesAndErrors) {
    struct Case {
        const char* typed;
        const char* shown;
        bool value;
    };
    const Case cases[] = {
        {"12+3*4", "24", true},      {"(12+3)*4", "60", true},       {"6*-3", "-18", true},
        {"2 * ( 3 ) ", "6", true},   {"(((1)))", "1", true},
        {"W", "0", true},            {"1/0", "DIV BY ZERO", false},  {"2+", "SYNTAX ERR", false},
        {"(1+2", "SYNTAX ERR", false}, {"1 2", "SYNTAX ERR", false}, {"SQR(-1)", "BAD ARGUMENT", false},
        {"7 AND 0 OR 3>2", "1", true}, {"NOT 0", "1", true},          {"5<>5", "0", true},
        {"5", "5", true},              {" 5 ", "5", true},
    };
    std::string script = PowerOn;
    for (const Case& c : cases) script += Clear + Enter(c.typed) + "lcd\n";
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(script);
    ASSERT_EQ(screens.size(), std::size(cases));
    for (size_t i = 0; i < screens.size(); ++i) {
        EXPECT_EQ(Trimmed(screens[i].text), cases[i].shown) << cases[i].typed;
        const std::string shown = cases[i].shown;
        if (cases[i].value)
            EXPECT_EQ(screens[i].text.substr(CellCount - shown.size()), shown) << "right-aligned: " << cases[i].typed;
        else
            EXPECT_EQ(screens[i].text.substr(0, shown.size()), shown) << "left-aligned: " << cases[i].typed;
        EXPECT_EQ(screens[i].cursor, "none") << cases[i].typed;
    }
}

TEST(Firmware, EditingKeys) {
    struct Case {
        const char* name;
        std::string keys;
        const char* text;
        const char* cursor;
    };
    const std::string left = Press(KeyLeft), right = Press(KeyRight);
    const std::string backspace = Press(KeyShift) + Press(KeyDelete);
    const Case cases[] = {
        {"insert before the cursor", "type 1234\n" + left + left + "type 9\n", "12934", "3 underline"},
        {"delete under the cursor", "type 1234\n" + left + left + Press(KeyDelete), "124", "2 underline"},
        {"delete at the end takes the last", "type 12\n" + Press(KeyDelete), "1", "1 underline"},
        {"backspace takes the one before", "type 1234\n" + left + backspace, "124", "2 underline"},
        {"backspace at the start takes nothing", "type 12\n" + left + left + backspace, "12", "0 underline"},
        {"overwrite", Press(KeyInsert) + "type 1234\n" + left + left + "type 9\n", "1294", "3 block"},
        {"right stops at the end", "type 12\n" + left + right + right + "type 3\n", "123", "3 underline"},
        {"left stops at the start", "type 1\n" + left + left + "type 2\n", "21", "1 underline"},
        {"AC clears the line", "type 123\n" + Press(KeyClear), "", "0 underline"},
        {"scrolls to keep the cursor in view", "type 123456789012345\n", "56789012345", "11 underline"},
        {"scrolls back", "type 123456789012345\n" + Repeat(left, 15), "123456789012", "0 underline"},
        // A long line once left the next ones scrolled, their first character hidden.
        {"a line after a long one starts at its start", Enter("1+2+3+4+5+6+7") + "type 5+5\n", "5+5", "3 underline"},
        {"so does a recalled one", Enter("1+2+3+4+5+6+7") + Enter("5+5") + Press(KeyOlder), "5+5", "3 underline"},
    };
    for (const Case& c : cases) {
        FirmwareFolder folder;
        const auto screens = folder.ScreensOf(PowerOn + c.keys + "lcd\n");
        ASSERT_EQ(screens.size(), 1u) << c.name;
        EXPECT_EQ(Trimmed(screens[0].text), c.text) << c.name;
        EXPECT_EQ(screens[0].cursor, c.cursor) << c.name;
    }
}

TEST(Firmware, OverwriteShowsWrtAndTheColumnOnTheDigits) {
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(PowerOn + "type 123456789012345\nlcd\n" + Press(KeyInsert) + "lcd\n");
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].digits, "00 00 30 5F");  // column 16
    EXPECT_EQ(screens[0].indicators, "");
    EXPECT_EQ(screens[1].indicators, "4");  // WRT
}

// A line full to its 48 characters shows the cursor's column, 49; a key
// it refuses makes the digits say FULL until the next key.
TEST(Firmware, LineHoldsFortyEightCharacters) {
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(PowerOn + "type " + std::string(48, '7') + "\nlcd\ntype 89\nlcd\n" +
                                          Press(KeyLeft) + "lcd\n");
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(DigitsShown(screens[0].digits), "49");
    EXPECT_EQ(DigitsShown(screens[1].digits), "FULL");
    EXPECT_EQ(screens[1].text, screens[0].text);
    EXPECT_EQ(DigitsShown(screens[2].digits), "48");
}

// After a value, an operator goes on from it as ANS, another key starts a
// new line, and the cursor keys go back to the line where evaluation stopped.
TEST(Firmware, AfterAValue) {
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(PowerOn + Enter("6*7") + "type +1\nlcd\n" + Execute + "idle\nlcd\n" +
                                          "type 5\nlcd\n" + Clear + Enter("1+(2") + Press(KeyLeft) + "lcd\n");
    ASSERT_EQ(screens.size(), 4u);
    EXPECT_EQ(Trimmed(screens[0].text), "ANS+1");
    EXPECT_EQ(Trimmed(screens[1].text), "43");
    EXPECT_EQ(Trimmed(screens[2].text), "5");
    EXPECT_EQ(Trimmed(screens[3].text), "1+(2");
    EXPECT_EQ(screens[3].cursor, "4 underline");
}

TEST(Firmware, HistoryKeysStepThroughTheLastLines) {
    std::string script = PowerOn;
    const std::string lines[] = {"1+1", "2+2", "3+3", "4+4", "5+5", "6+6", "7+7", "8+8", "9+9", "10+10",
                                 "11+11", "12+12", "13+13", "14+14"};
    for (const std::string& line : lines) script += Enter(line);
    for (int i = 0; i < 16; ++i) script += Press(KeyOlder) + "lcd\n";
    for (int i = 0; i < 3; ++i) script += Press(KeyNewer) + "lcd\n";
    FirmwareFolder folder;
    std::string seen;
    for (const Screen& screen : folder.ScreensOf(script)) seen += Trimmed(screen.text) + ",";
    // As many lines as fit in 50 bytes, each with a byte of length, the
    // newest first; after the newest an empty line.
    EXPECT_EQ(seen, "14+14,13+13,12+12,11+11,10+10,9+9,8+8,7+7,6+6,5+5,5+5,5+5,5+5,5+5,5+5,5+5,6+6,7+7,8+8,");
}

// Every key that types a character shows the character its face labels
// name, alone and after the shift key, so the matrix scan, the key table and
// the font agree.
TEST(Firmware, EveryCharacterKeyTypesItsCharacters) {
    std::string script = PowerOn;
    std::string expected;
    const auto typable = [](uint8_t code) { return code >= FirstGlyph && code < FirstGlyph + GlyphCount; };
    for (int key = 0; key < KeyIndexCount; ++key) {
        if (typable(KeyAssignments[key].code)) {
            script += Clear + Press(key) + "lcd\n";
            expected += char(KeyAssignments[key].code);
        }
        if (typable(KeyAssignments[key].shiftCode)) {
            script += Clear + Press(KeyShift) + "lcd\n" + Press(key) + "lcd\n";
            expected += std::string("S") + char(KeyAssignments[key].shiftCode);
        }
    }
    FirmwareFolder folder;
    std::string typed;
    for (const Screen& screen : folder.ScreensOf(script)) {
        const bool shiftShown = screen.indicators == "1";
        typed += shiftShown ? 'S' : screen.text[0];
    }
    EXPECT_EQ(typed, expected);
    EXPECT_EQ(expected.size(), 44u + 2 * 20u);
}

}  // namespace
