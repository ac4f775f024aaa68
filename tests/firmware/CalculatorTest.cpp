// The calculator as a user meets it: power-on, typing, editing, evaluating.
#include "FirmwareRun.h"
#include "KeyAssignment.h"

namespace {

TEST(Firmware, PowerOnShowsSelfTestThenBannerThenPrompt) {
    FirmwareFolder folder;
    const CliResult result = folder.RunFirmware("tick 10\nlcd\ntick 60\nlcd\ntick 100\nlcd\n");
    const auto screens = Screens(result);
    ASSERT_EQ(screens.size(), 3u);
    for (size_t row = 0; row < GlyphRows; ++row)
        EXPECT_EQ(result.Lines()[row], "##### ##### ##### ##### ##### ##### ##### ##### ##### ##### ##### #####");
    EXPECT_EQ(screens[0].indicators, "0 1 2 3 4 5 6 7 8 9");
    EXPECT_EQ(screens[0].digits, "7F 7F 7F 7F");
    EXPECT_EQ(screens[0].cursor, "none");
    EXPECT_EQ(screens[1].text, " VEXAL CALC ");
    EXPECT_EQ(screens[2].text, std::string(12, ' '));
    EXPECT_EQ(screens[2].cursor, "0 underline");
    EXPECT_EQ(screens[2].digits, "00 00 00 30");  // column 1
}

// Expressions typed on the PC keyboard: "=" reaches the plus key, "\" the
// divide key, "[" and ";" the parentheses. AC first, so that a leading minus
// starts the line instead of following the last result.
TEST(Firmware, EvaluatesExpressions) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"12=3*4", "24"},          {"[12=3;*4", "60"},        {"100\\7", "14"},
        {"-7\\2", "-3"},           {"6*-3", "-18"},           {"2 * [ 3 ; ", "6"},
        {"-32767-1", "-32768"},    {"[[[1;;;", "1"},          {"1\\0", "DIV BY ZERO"},
        {"32767=1", "OVERFLOW"},   {"200*200", "OVERFLOW"},   {"40000", "OVERFLOW"},
        {"[-32767-1;\\-1", "OVERFLOW"}, {"-[-32767-1;", "OVERFLOW"}, {"2=", "BAD SYNTAX"},
        {"[1=2", "BAD SYNTAX"},    {"1 2", "BAD SYNTAX"},     {"W", "BAD SYNTAX"},
    };
    std::string script = PowerOn;
    for (const Case& c : cases) script += Clear + "type " + c.typed + "\n" + Execute + "lcd\n";
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(script);
    ASSERT_EQ(screens.size(), std::size(cases));
    for (size_t i = 0; i < screens.size(); ++i) {
        EXPECT_EQ(Trimmed(screens[i].text), cases[i].shown) << cases[i].typed;
        EXPECT_EQ(screens[i].text.back(), std::string(cases[i].shown).back()) << "right-aligned: " << cases[i].typed;
        EXPECT_EQ(screens[i].cursor, "0 underline") << cases[i].typed;
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
    const Case cases[] = {
        {"insert before the cursor", "type 1234\n" + left + left + "type 9\n", "12934", "3 underline"},
        {"delete under the cursor", "type 1234\n" + left + left + Press(KeyDelete), "124", "2 underline"},
        {"delete at the end takes the last", "type 12\n" + Press(KeyDelete), "1", "1 underline"},
        {"overwrite", Press(KeyInsert) + "type 1234\n" + left + left + "type 9\n", "1294", "3 block"},
        {"right stops at the end", "type 12\n" + left + right + right + "type 3\n", "123", "3 underline"},
        {"left stops at the start", "type 1\n" + left + left + "type 2\n", "21", "1 underline"},
        {"AC clears the line", "type 123\n" + Press(KeyClear), "", "0 underline"},
        {"scrolls to keep the cursor in view", "type 123456789012345\n", "56789012345", "11 underline"},
        {"scrolls back", "type 123456789012345\n" + Repeat(left, 15), "123456789012", "0 underline"},
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
    EXPECT_EQ(screens[0].indicators, "3");       // RUN: awake
    EXPECT_EQ(screens[1].indicators, "3 4");     // and WRT
}

TEST(Firmware, LineHoldsFortyCharacters) {
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(PowerOn + "type " + std::string(45, '7') + "\nlcd\n");
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0].digits, "00 00 33 30");  // the cursor stays after the 40th, in column 41
}

// After a result, an operator goes on from it as ANS, another key starts a
// new line, and the cursor keys go back to the line where evaluation stopped.
TEST(Firmware, AfterAResult) {
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(PowerOn + "type 6*7\n" + Execute + "type =1\nlcd\n" + Execute + "lcd\n" +
                                          "type 5\nlcd\n" + Clear + "type 1=[2\n" + Execute + Press(KeyLeft) +
                                          "lcd\n");
    ASSERT_EQ(screens.size(), 4u);
    EXPECT_EQ(Trimmed(screens[0].text), "ANS+1");
    EXPECT_EQ(Trimmed(screens[1].text), "43");
    EXPECT_EQ(Trimmed(screens[2].text), "5");
    EXPECT_EQ(Trimmed(screens[3].text), "1+(2");
    EXPECT_EQ(screens[3].cursor, "4 underline");
}

TEST(Firmware, HistoryKeysStepThroughTheLastLines) {
    std::string script = PowerOn;
    for (const char* line : {"1", "2", "3", "4", "5"}) script += "type " + std::string(line) + "\n" + Execute;
    for (int key : {KeyOlder, KeyOlder, KeyOlder, KeyOlder, KeyOlder, KeyNewer, KeyNewer, KeyNewer, KeyNewer})
        script += Press(key) + "lcd\n";
    FirmwareFolder folder;
    std::string seen;
    for (const Screen& screen : folder.ScreensOf(script)) seen += Trimmed(screen.text) + ",";
    EXPECT_EQ(seen, "5,4,3,2,2,3,4,5,,");  // four lines kept; after the newest an empty line
}

// Every key that types a character shows the character its face label names,
// so the matrix scan, the key table and the font agree.
TEST(Firmware, EveryCharacterKeyTypesItsCharacter) {
    std::string script = PowerOn;
    std::string expected;
    for (int key = 0; key < KeyIndexCount; ++key) {
        const uint8_t code = KeyAssignments[key].code;
        if (code < FirstGlyph || code >= FirstGlyph + GlyphCount) continue;
        script += Clear + Press(key) + "lcd\n";
        expected += char(code);
    }
    FirmwareFolder folder;
    std::string typed;
    for (const Screen& screen : folder.ScreensOf(script)) typed += screen.text[0];
    EXPECT_EQ(typed, expected);
    EXPECT_EQ(expected.size(), 45u);
}

}  // namespace
