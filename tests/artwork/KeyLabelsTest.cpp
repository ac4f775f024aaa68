#include <gtest/gtest.h>

#include <QStringList>

#include "KeyLabels.h"
#include "panel/KeyLayout.h"

namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

// The legend is the firmware's; the hint names what reaches the key from the
// PC where the legend does not say it.
TEST(KeyLabels, ShowTheFirmwaresLabelAndWhatReachesTheKey) {
    struct Row {
        int key;
        const char16_t *legend, *second, *hint;
    };
    const Row rows[] = {
        {2, u"INS", u"", u""},          {3, u"\u25C4", u"", u""},       {5, u"\u25B2", u"", u"HOME"},
        {6, u"\u25BC", u"", u"END"},    {7, u"W", u"\u0426", u""},      {16, u"(", u"", u"[ \u0425"},
        {26, u")", u"", u"; \u0416"},   {36, u"'", u"\u042D", u""},     {37, u"\u2212", u"", u""},
        {38, u"+", u"", u"="},          {39, u"STOP", u"", u"` \u0401"}, {40, u"/", u"", u"\\"},
        {48, u"DEL", u"", u""},         {52, u"AC", u"", u"ESC"},        {53, u"0", u"", u""},
        {54, u"SPACE", u"", u""},       {55, u"EXE", u"", u"ENTER"},
    };
    for (const Row& row : rows) {
        const KeyLabel label = LabelOfKey(row.key);
        EXPECT_EQ(Utf8(label.legend), Utf8(QString::fromUtf16(row.legend))) << "key " << row.key;
        EXPECT_EQ(Utf8(label.second), Utf8(QString::fromUtf16(row.second))) << "key " << row.key;
        EXPECT_EQ(Utf8(label.hint), Utf8(QString::fromUtf16(row.hint))) << "key " << row.key;
    }
}

// Every single character a key shows, in its legend when there is no hint
// and in its hint otherwise, reaches that key when typed.
TEST(KeyLabels, EveryPrintedCharacterReachesItsKey) {
    for (int key = FirstCharKey; key <= LastFaceKey; ++key) {
        const KeyLabel label = LabelOfKey(key);
        const QStringList printed = label.hint.isEmpty() ? QStringList{label.legend, label.second}
                                                         : label.hint.split(QLatin1Char(' '));
        for (const QString& text : printed) {
            if (text.size() != 1) continue;
            const char32_t c = text == QStringLiteral("\u2212") ? U'-' : char32_t(text[0].unicode());
            EXPECT_EQ(KeyOfCharacter(Cp1251FromUnicode(c)), key) << "key " << key << " shows " << Utf8(text);
        }
    }
}

}  // namespace
