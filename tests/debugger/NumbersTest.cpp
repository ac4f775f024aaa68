#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "debugger/Numbers.h"

namespace {

TEST(Numbers, StartsInRadix16) {
    const NumberFormat numbers;
    EXPECT_EQ(numbers.Radix(), 16);
    EXPECT_EQ(numbers.ByteDigits(), 2);
    EXPECT_EQ(numbers.WordDigits(), 4);
}

TEST(Numbers, WidthsFollowTheRadix) {
    struct Row {
        int32_t radix;
        const char* byteText;
        const char* wordText;
    };
    const Row rows[] = {
        {8, "377", "177777"}, {9, "313", "108806"}, {10, "255", "65535"},
        {11, "212", "45268"}, {12, "193", "31B13"}, {13, "168", "23AA2"},
        {14, "143", "19C51"}, {15, "120", "14640"}, {16, "FF", "FFFF"},
    };
    for (const Row& row : rows) {
        const NumberFormat numbers(row.radix);
        EXPECT_EQ(numbers.Radix(), row.radix);
        EXPECT_EQ(numbers.ByteDigits(), int32_t(std::string(row.byteText).size())) << "radix " << row.radix;
        EXPECT_EQ(numbers.WordDigits(), int32_t(std::string(row.wordText).size())) << "radix " << row.radix;
        EXPECT_EQ(FormatByte(255, '0', numbers), row.byteText) << "radix " << row.radix;
        EXPECT_EQ(FormatWord(65535, '0', numbers), row.wordText) << "radix " << row.radix;
    }
}

TEST(Numbers, RadixOutOfRangeGives16) {
    for (int32_t radix : {-1, 0, 2, 7, 17, 100}) EXPECT_EQ(NumberFormat(radix), NumberFormat(16)) << radix;
}

TEST(Numbers, FormatNumberIsElevenCharactersRightAligned) {
    EXPECT_EQ(FormatNumber(0, 16, ' '), "          0");
    EXPECT_EQ(FormatNumber(0xA5, 16, '0'), "000000000A5");
    EXPECT_EQ(FormatNumber(0xFFFFFFFF, 8, ' '), "37777777777");
    EXPECT_EQ(FormatNumber(0xFFFFFFFF, 16, '*'), "***FFFFFFFF");
    EXPECT_EQ(FormatNumber(4294967295u, 10, ' '), " 4294967295");
    // A radix no caller should pass still gives digits, never a crash.
    EXPECT_EQ(FormatNumber(255, 0, ' '), "         FF");
}

TEST(Numbers, FormatWordAndByte) {
    struct Case {
        int32_t radix;
        bool word;
        uint16_t value;
        char padding;
        const char* text;
    };
    const Case cases[] = {
        {16, true, 0x00A5, '0', "00A5"}, {16, true, 0x00A5, ' ', "A5"},   {16, true, 0, ' ', "0"},
        {16, false, 0x0F, '0', "0F"},    {16, false, 0x0F, ' ', "F"},     {16, true, 0xFFFF, ' ', "FFFF"},
        {8, true, 0xFFFF, '0', "177777"}, {8, false, 0x41, '0', "101"},   {8, true, 8, ' ', "10"},
        {8, true, 8, '0', "000010"},     {8, false, 0, '0', "000"},       {10, true, 65535, '0', "65535"},
        {10, true, 7, '0', "00007"},     {10, true, 7, ' ', "7"},         {10, false, 200, ' ', "200"},
    };
    for (const Case& c : cases) {
        const NumberFormat numbers(c.radix);
        const std::string text =
            c.word ? FormatWord(c.value, c.padding, numbers) : FormatByte(uint8_t(c.value), c.padding, numbers);
        EXPECT_EQ(text, c.text) << "radix " << c.radix << (c.word ? " word " : " byte ") << c.value << " padding '"
                                << c.padding << "'";
    }
}

TEST(Numbers, DigitValue) {
    EXPECT_EQ(DigitValue('0'), 0);
    EXPECT_EQ(DigitValue('7'), 7);
    EXPECT_EQ(DigitValue('9'), 9);
    EXPECT_EQ(DigitValue('A'), 10);
    EXPECT_EQ(DigitValue('a'), 10);
    EXPECT_EQ(DigitValue('F'), 15);
    EXPECT_EQ(DigitValue('f'), 15);
    for (char c : {'G', 'g', '-', ' ', '\0', '(', char(0xC0)}) EXPECT_EQ(DigitValue(c), 16) << int(c);
}

TEST(Numbers, ParseNumber) {
    struct Case {
        const char* text;
        int32_t radix;
        int32_t value;
    };
    const Case cases[] = {
        {"  1f", 16, 31},       {"12G4", 16, 0x12},   {"", 16, 0},          {"   ", 16, 0},
        {"9", 8, 0},            {"7 7", 8, 7},        {"999999", 10, 999999}, {"777777", 8, 262143},
        {"FFFF", 16, 65535},    {"ffff", 16, 65535},  {"-5", 10, 0},        {"19", 9, 1},
        {"18", 9, 17},          {"7fffffff", 16, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseNumber(c.text, c.radix), c.value) << "'" << c.text << "' radix " << c.radix;
    }
}

TEST(Numbers, ParseNumberWrapsAt32Bits) {
    // Wider numbers keep their low 32 bits, read as signed.
    EXPECT_EQ(ParseNumber("999999999999", 10), int32_t(uint32_t(999999999999ULL)));
    EXPECT_EQ(ParseNumber("80000000", 16), INT32_MIN);
    EXPECT_EQ(ParseNumber("100000000", 16), 0);
    EXPECT_EQ(ParseNumber("FFFFFFFFFFFFFFFFFFFF", 16), -1);
}

TEST(Numbers, FormattedWordsParseBack) {
    for (int32_t radix = 8; radix <= 16; ++radix) {
        const NumberFormat numbers(radix);
        for (uint32_t value = 0; value <= 0xFFFF; value += 37) {
            for (char padding : {'0', ' '}) {
                const std::string text = FormatWord(uint16_t(value), padding, numbers);
                ASSERT_EQ(ParseNumber(text, radix), int32_t(value)) << "radix " << radix << " '" << text << "'";
            }
        }
    }
}

}  // namespace
