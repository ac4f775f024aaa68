#include "panel/Settings.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <utility>

namespace {

struct ValueCase {
    const char* text;
    int32_t expected;
};

TEST(Settings, ValuesAreDecimalOrHexadecimalIntegersElseTheDefault) {
    const ValueCase cases[] = {
        {"300", 300},       {"0x100", 256},     {"0X1f", 31},        {"-5", -5},
        {"+12", 12},        {"-0x10", -16},     {"0", 0},            {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},       {"2147483648", 77},  {"99999999999999999999", 77},
        {"fast", 77},       {"12abc", 77},      {"0x", 77},          {"", 77},
        {"1.5", 77},        {"- 5", 77},        {"0xG", 77},         {"--1", 77},
    };
    for (const ValueCase& c : cases) EXPECT_EQ(ParseIniInteger(c.text, 77), c.expected) << "value \"" << c.text << '"';
}

TEST(Settings, SectionAndKeyMatchWithoutRegardToCase) {
    TempFolder folder;
    folder.WriteText("vexal.ini", "; speed of the emulated processor\n[SETTINGS]\ncpuspeed = 0x100\n"
                                  "[debugger]\nRADIX=8\n");
    EXPECT_EQ(ReadIniInteger(folder / "vexal.ini", "Settings", "CpuSpeed", 250), 256);
    EXPECT_EQ(ReadIniInteger(folder / "vexal.ini", "Debugger", "Radix", 16), 8);
    EXPECT_EQ(ReadIniInteger(folder / "vexal.ini", "Settings", "Radix", 16), 16);
}

struct FileCase {
    const char* text;
    const char* section;
    const char* key;
    int32_t expected;
};

// Files as people write them by hand, and as Windows programs read them.
const FileCase HandWritten[] = {
        {"[Settings]\nCpuSpeed=300\nCpuSpeed=400\n", "Settings", "CpuSpeed", 300},
        {"[settings]\ncpuspeed=300\n[SETTINGS]\nCPUSPEED=400\n", "Settings", "CpuSpeed", 300},
        {"[Debugger]\nCpuSpeed=1\n[Settings]\nCpuSpeed=300\n", "Settings", "CpuSpeed", 300},
        {"[Settings]\nCpuSpeed=fast\nCpuSpeed=300\n", "Settings", "CpuSpeed", 77},
        {"[Settings]\nCpuSpeed=300\n  Radix=8\n", "Settings", "CpuSpeed", 300},
        {"[Settings]\nCpuSpeed=300\n  Radix=8\n", "Settings", "Radix", 8},
        {"[Settings]\nCpuSpeed=300\n\t[Debugger]\n\tRadix=8\n", "Debugger", "Radix", 8},
        {"[Settings]\nCpuSpeed=300\n\t[Debugger]\n\tRadix=8\n", "Settings", "CpuSpeed", 300},
        {"  [Settings]\n   CpuSpeed = 300   \n", "Settings", "CpuSpeed", 300},
        {"[Settings]\nCpuSpeed=300\n   ; why 300\n", "Settings", "CpuSpeed", 300},
        {"[Settings]\nCpuSpeed=300 ; faster\n", "Settings", "CpuSpeed", 300},
        {"[Settings]\r\nCpuSpeed=300\r\n   \r\n", "Settings", "CpuSpeed", 300},
        {"[Settings]\nCpuSpeed=300 400\n", "Settings", "CpuSpeed", 77},
};

int32_t Read(const TempFolder& folder, const std::string& text, const char* section, const char* key) {
    folder.WriteText("vexal.ini", text);
    return ReadIniInteger(folder / "vexal.ini", section, key, 77);
}

TEST(Settings, TheFirstOccurrenceCountsAndEveryLineStandsOnItsOwn) {
    TempFolder folder;
    for (const FileCase& c : HandWritten)
        EXPECT_EQ(Read(folder, c.text, c.section, c.key), c.expected)
            << "[" << c.section << "] " << c.key << " in\n" << c.text;
}

// However long a line, it is one line: a long comment at the end of every
// line, or a long comment line before each, changes nothing. The comments
// end in a setting just where a reader that takes 199 bytes at a time would
// start a new line.
constexpr size_t Piece = 199;

TEST(Settings, ALongLineIsOneLine) {
    TempFolder folder;
    for (const FileCase& c : HandWritten) {
        std::string commented, preceded;
        std::istringstream lines(c.text);
        for (std::string line; std::getline(lines, line);) {
            commented += line + " ;" + std::string(2 * Piece - line.size() - 2, 'x') + "Radix=9\n";
            preceded += ";" + std::string(Piece - 1, 'x') + "CpuSpeed=9\n" + line + "\n";
        }
        EXPECT_EQ(Read(folder, commented, c.section, c.key), c.expected) << commented;
        EXPECT_EQ(Read(folder, preceded, c.section, c.key), c.expected) << preceded;
    }

    // Lines that stay too long without their comments.
    const FileCase cases[] = {
        {"[Debugger]\n;xxx...Radix=8", "Debugger", "Radix", 77},
        {"[Settings]\nCpuSpeed=300BLANKS", "Settings", "CpuSpeed", 300},
        {"BLANKS[Settings]\nBLANKSCpuSpeed=300", "Settings", "CpuSpeed", 300},
        {"[Settings]\nCpuSpeedBLANKS=BLANKS300", "Settings", "CpuSpeed", 300},
        {"[Settings]BLANKSjunk\nCpuSpeed=300", "Settings", "CpuSpeed", 300},
        {"[Debugger]\n[NAME]\nRadix=8", "Debugger", "Radix", 77},
        {"[Debugger]\n[NAME\nRadix=8", "Debugger", "Radix", 8},
        {"[Settings]\nNAME=1\nCpuSpeed=300", "Settings", "CpuSpeed", 300},
        {"[Settings]\nCpuSpeed=NAME\nCpuSpeed=300", "Settings", "CpuSpeed", 77},
    };
    for (const FileCase& c : cases) {
        std::string text = c.text;
        for (const auto& [from, to] : {std::pair<std::string, std::string>{"xxx...", std::string(Piece - 1, 'x')},
                                       {"BLANKS", std::string(500, ' ')},
                                       {"NAME", std::string(500, 'n')}})
            for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
        EXPECT_EQ(Read(folder, text, c.section, c.key), c.expected) << c.text;
    }
}

TEST(Settings, UnreadableOrGarbageFilesGiveTheDefault) {
    TempFolder folder;
    EXPECT_EQ(ReadIniInteger(folder / "missing.ini", "Settings", "CpuSpeed", 250), 250);
    EXPECT_EQ(ReadIniInteger(folder.path().string(), "Settings", "CpuSpeed", 250), 250) << "a folder";

    std::vector<uint8_t> garbage = Pattern(5000, 3);
    folder.Write("garbage.ini", garbage);
    EXPECT_EQ(ReadIniInteger(folder / "garbage.ini", "Settings", "CpuSpeed", 250), 250);

    ASSERT_EQ(mkfifo((folder / "pipe.ini").c_str(), 0600), 0);
    EXPECT_EQ(ReadIniInteger(folder / "pipe.ini", "Settings", "CpuSpeed", 250), 250) << "a pipe, never written";

    folder.WriteText("broken.ini", "[Settings\nCpuSpeed=fast\n");
    EXPECT_EQ(ReadIniInteger(folder / "broken.ini", "Settings", "CpuSpeed", 250), 250);
}

}  // namespace
