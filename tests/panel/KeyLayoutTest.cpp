#include "panel/KeyLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int KeyOf(char32_t c) { return KeyOfCharacter(Cp1251FromUnicode(c)); }

// A character reaches only a key whose place in one of the tables holds it,
// in capitals.
TEST(KeyLayout, ACharacterReachesAKeyThatHoldsIt) {
    int reached = 0;
    for (int c = 1; c <= 0xFF; ++c) {
        const int key = KeyOfCharacter(uint8_t(c));
        if (key == 0) continue;
        ++reached;
        ASSERT_GE(key, FirstCharKey) << c;
        ASSERT_LT(key, FirstCharKey + CharKeyCount) << c;
        const int p = key - FirstCharKey;
        const uint8_t upper = UpperKey(uint8_t(c));
        EXPECT_TRUE(LatinKeys[p] == upper || CyrillicKeys[p] == upper) << c;
    }
    EXPECT_GT(reached, 2 * 26 + 10);  // the letters in both cases and the digits at least
}

// Typing is case-blind: a small letter reaches the key of its capital, in
// both alphabets.
TEST(KeyLayout, SmallLettersReachTheKeysOfTheirCapitals) {
    int latin = 0;
    for (char32_t c = U'A'; c <= U'Z'; ++c) {
        EXPECT_EQ(KeyOf(c + 0x20), KeyOf(c)) << char(c);
        latin += KeyOf(c) != 0;
    }
    int cyrillic = 0;
    for (char32_t c = U'А'; c <= U'Я'; ++c) {
        EXPECT_EQ(KeyOf(c + 0x20), KeyOf(c)) << int(c);
        cyrillic += KeyOf(c) != 0;
    }
    EXPECT_EQ(KeyOf(U'ё'), KeyOf(U'Ё'));
    EXPECT_GT(latin, 24);
    EXPECT_GT(cyrillic, 25);
}

// The Cyrillic table follows the Russian PC keyboard: a Russian letter
// reaches the key of the Latin character that shares its PC key.
TEST(KeyLayout, RussianLettersShareTheKeysOfThePcKeyboard) {
    const std::u32string latin = U"QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,.`";
    const std::u32string russian = U"ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮЁ";
    ASSERT_EQ(latin.size(), russian.size());
    int shared = 0;
    for (size_t i = 0; i < latin.size(); ++i) {
        if (KeyOf(latin[i]) == 0 || KeyOf(russian[i]) == 0) continue;
        EXPECT_EQ(KeyOf(russian[i]), KeyOf(latin[i])) << int(russian[i]);
        ++shared;
    }
    EXPECT_GT(shared, 25);
}

// The PC keyboard's letter rows and the digit pad lie on the face as they
// lie under the fingers: each row on one line, left to right, each row of
// the pad below the one before, 7, 4, 1 and 0 in one column.
TEST(KeyLayout, RowsOfThePcKeyboardRunAlongTheFace) {
    for (const std::u32string row : {U"WERTYUIOP", U"ASDFGHJKL", U"ZXCVBNM", U"789", U"456", U"123"}) {
        for (size_t i = 1; i < row.size(); ++i) {
            const KeyPlace left = PlaceOfKey(KeyOf(row[i - 1])), right = PlaceOfKey(KeyOf(row[i]));
            EXPECT_EQ(right.y, left.y) << char(row[i]);
            EXPECT_GT(right.x, left.x) << char(row[i]);
        }
    }
    const std::u32string column = U"7410";
    for (size_t i = 1; i < column.size(); ++i) {
        const KeyPlace above = PlaceOfKey(KeyOf(column[i - 1])), below = PlaceOfKey(KeyOf(column[i]));
        EXPECT_EQ(below.x, above.x) << char(column[i]);
        EXPECT_GT(below.y, above.y) << char(column[i]);
    }
    EXPECT_GT(PlaceOfKey(KeyOf(U'A')).y, PlaceOfKey(KeyOf(U'W')).y);
    EXPECT_GT(PlaceOfKey(KeyOf(U'Z')).y, PlaceOfKey(KeyOf(U'A')).y);
}

TEST(KeyLayout, Cp1251ConvertsBackAndForth) {
    for (int c = 0x20; c <= 0xFF; ++c) {
        if (c >= 0x7F && c < 0xC0 && c != 0xA8 && c != 0xB8) continue;
        EXPECT_EQ(Cp1251FromUnicode(UnicodeFromCp1251(uint8_t(c))), c) << std::hex << c;
    }
}

}  // namespace
