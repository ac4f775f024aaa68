#include "panel/KeyLayout.h"

#include <gtest/gtest.h>

namespace {

// The two character tables as the machine's keyboard has them, written out
// again here: key index, Latin and Cyrillic character, and the key that typing
// either one reaches. Upper-casing and the Latin table come first, so the
// lower-case a and the second grave accent stand for keys they never reach.
struct CharacterRow {
    int key;
    char32_t latin, cyrillic;
    int reached;
};

constexpr CharacterRow Rows[48] = {
    {7, U'W', U'Ц', 7}, {8, U'E', U'У', 8}, {9, U'R', U'К', 9},
    {10, U'T', U'Е', 10}, {11, U'Y', U'Н', 11}, {12, U'U', U'Г', 12},
    {13, U'I', U'Ш', 13}, {14, U'O', U'Щ', 14}, {15, U'P', U'З', 15},
    {16, U'[', U'Х', 16}, {17, U'A', U'Ф', 17}, {18, U'S', U'Ы', 18},
    {19, U'D', U'В', 19}, {20, U'F', U'А', 20}, {21, U'G', U'П', 21},
    {22, U'H', U'Р', 22}, {23, U'J', U'О', 23}, {24, U'K', U'Л', 24},
    {25, U'L', U'Д', 25}, {26, U';', U'Ж', 26}, {27, U'Z', U'Я', 27},
    {28, U'X', U'Ч', 28}, {29, U'C', U'С', 29}, {30, U'V', U'М', 30},
    {31, U'B', U'И', 31}, {32, U'N', U'Т', 32}, {33, U'M', U'Ь', 33},
    {34, U',', U'Б', 34}, {35, U'.', U'Ю', 35}, {36, U'\'', U'Э', 36},
    {37, U'-', U'-', 37}, {38, U'=', U'=', 38}, {39, U'`', U'Ё', 39},
    {40, U'\\', U'\\', 40}, {41, U'7', U'7', 41}, {42, U'8', U'8', 42},
    {43, U'9', U'9', 43}, {44, U'*', U'*', 44}, {45, U'4', U'4', 45},
    {46, U'5', U'5', 46}, {47, U'6', U'6', 47}, {48, U'`', U'`', 39},
    {49, U'1', U'1', 49}, {50, U'2', U'2', 50}, {51, U'3', U'3', 51},
    {52, U'a', U'a', 17}, {53, U'0', U'0', 53}, {54, U' ', U' ', 54},
};

TEST(KeyLayout, EveryCharacterOfBothTablesStandsForItsKey) {
    for (const CharacterRow& row : Rows) {
        const int p = row.key - FirstCharKey;
        EXPECT_EQ(LatinKeys[p], Cp1251FromUnicode(row.latin)) << "Latin, key " << row.key;
        EXPECT_EQ(CyrillicKeys[p], Cp1251FromUnicode(row.cyrillic)) << "Cyrillic, key " << row.key;
        EXPECT_EQ(KeyOfCharacter(Cp1251FromUnicode(row.latin)), row.reached) << "Latin, key " << row.key;
        EXPECT_EQ(KeyOfCharacter(Cp1251FromUnicode(row.cyrillic)), row.reached) << "Cyrillic, key " << row.key;
    }
}

TEST(KeyLayout, Cp1251ConvertsBackAndForth) {
    for (int c = 0x20; c <= 0xFF; ++c) {
        if (c >= 0x7F && c < 0xC0 && c != 0xA8 && c != 0xB8) continue;
        EXPECT_EQ(Cp1251FromUnicode(UnicodeFromCp1251(uint8_t(c))), c) << std::hex << c;
    }
}

}  // namespace
