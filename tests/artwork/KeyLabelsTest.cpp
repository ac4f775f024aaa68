#include <gtest/gtest.h>

#include "KeyLabels.h"
#include "panel/KeyLayout.h"

namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

TEST(KeyLabels, NameTheKeysAsThePcReachesThem) {
    struct Row {
        int key;
        const char16_t *legend, *second, *hint;
    };
    const Row rows[] = {
        {2, u"INS", u"", u""},        {3, u"\u25C4", u"", u""},   {4, u"\u25BA", u"", u""},
        {5, u"HOME", u"", u""},       {6, u"END", u"", u""},      {7, u"W", u"\u0426", u""},
        {16, u"[", u"\u0425", u""},   {36, u"'", u"\u042D", u""}, {37, u"\u2212", u"", u""},
        {39, u"STOP", u"", u"` \u0401"}, {40, u"\\", u"", u""},   {48, u"DEL", u"", u""},
        {52, u"ESC", u"", u""},       {53, u"0", u"", u""},       {54, u"SPACE", u"", u""},
        {55, u"EXE", u"", u"ENTER"},
    };
    for (const Row& row : rows) {
        const KeyLabel label = LabelOfKey(row.key);
        EXPECT_EQ(Utf8(label.legend), Utf8(QString::fromUtf16(row.legend))) << "key " << row.key;
        EXPECT_EQ(Utf8(label.second), Utf8(QString::fromUtf16(row.second))) << "key " << row.key;
        EXPECT_EQ(Utf8(label.hint), Utf8(QString::fromUtf16(row.hint))) << "key " << row.key;
    }
}

// Whatever single character a key shows, typing it reaches that key.
TEST(KeyLabels, EveryPrintedCharacterReachesItsKey) {
    for (int key = FirstCharKey; key <= LastFaceKey; ++key) {
        const KeyLabel label = LabelOfKey(key);
        for (const QString& printed : {label.legend, label.second}) {
            if (printed.size() != 1) continue;
            const char32_t c = printed == QStringLiteral("\u2212") ? U'-' : char32_t(printed[0].unicode());
            EXPECT_EQ(KeyOfCharacter(Cp1251FromUnicode(c)), key) << "key " << key << " shows " << Utf8(printed);
        }
    }
}

TEST(KeyLabels, Cp1251ConvertsBackAndForth) {
    for (int c = 0x20; c <= 0xFF; ++c) {
        if (c >= 0x7F && c < 0xC0 && c != 0xA8 && c != 0xB8) continue;
        EXPECT_EQ(Cp1251FromUnicode(UnicodeFromCp1251(uint8_t(c)).unicode()), c) << std::hex << c;
    }
}

}  // namespace
