#include "panel/Settings.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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
