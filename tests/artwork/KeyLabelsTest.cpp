#include <gtest/gtest.h>

#include <QStringList>

#include <fstream>
#include <iterator>
#include <vector>

#include "KeyLabels.h"
#include "core/Def.h"
#include "panel/KeyLayout.h"
#include "panel/KeyMap.h"

namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

// The legend and the second label are the firmware's; the hint names what
// reaches the key from the PC where the legend does not say it.
TEST(KeyLabels, ShowTheFirmwaresLabelsAndWhatReachesTheKey) {
    struct Row {
        int key;
        const char16_t *legend, *second, *shifted, *hint;
    };
    const Row rows[] = {
        {2, u"INS", u"", u"", u""},            {3, u"\u25C4", u"", u"", u""},     {5, u"\u25B2", u"", u"", u"HOME"},
        {6, u"\u25BC", u"", u"", u"END"},      {7, u"W", u"\u0426", u"Q", u""},   {16, u"(", u"\u0425", u"[", u""},
        {26, u")", u"\u0416", u"]", u""},      {36, u"SHIFT", u"", u"", u""},     {37, u"\u2212", u"", u"_", u""},
        {38, u"+", u"", u"=", u""},            {39, u"STOP", u"", u"", u"` \u0401"}, {40, u"/", u"", u"?", u""},
        {48, u"DEL", u"", u"BS", u""},         {52, u"AC", u"", u"", u"ESC"},     {53, u"0", u"", u"\"", u""},
        {54, u"SPACE", u"", u"'", u""},        {55, u"EXE", u"", u"", u"ENTER"},
    };
    for (const Row& row : rows) {
        const KeyLabel label = LabelOfKey(row.key);
        EXPECT_EQ(Utf8(label.legend), Utf8(QString::fromUtf16(row.legend))) << "key " << row.key;
        EXPECT_EQ(Utf8(label.second), Utf8(QString::fromUtf16(row.second))) << "key " << row.key;
        EXPECT_EQ(Utf8(label.shifted), Utf8(QString::fromUtf16(row.shifted))) << "key " << row.key;
        EXPECT_EQ(Utf8(label.hint), Utf8(QString::fromUtf16(row.hint))) << "key " << row.key;
    }
}

// Every single character the face prints types, on the PC, through the key
// map of the firmware the build made (read from its ROM image, not from the
// table the labels come from): the legend and the Cyrillic letter beside it
// reach their key, the second label the shift key and then its key.
TEST(KeyLabels, EveryPrintedCharacterTypesOnItsKey) {
    std::ifstream in(VEXAL_FIRMWARE_DIR "/rom.bin", std::ios::binary);
    const std::vector<uint8_t> rom{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(rom.size(), RomSize);
    const std::optional<KeyMap> map = DecodeKeyMap(rom.data() + KeyMapAddress);
    ASSERT_TRUE(map);
    const auto keysOf = [&](const QString& text) {
        const char32_t c = text == QStringLiteral("\u2212") ? U'-' : char32_t(text[0].unicode());
        std::vector<int> keys = KeysByMap(c, *map);
        if (keys.empty() && KeyOfCharacter(Cp1251FromUnicode(c)) != 0) keys = {KeyOfCharacter(Cp1251FromUnicode(c))};
        return keys;
    };
    int printed = 0;
    for (int key = FirstCharKey; key <= LastFaceKey; ++key) {
        const KeyLabel label = LabelOfKey(key);
        for (const QString& text : {label.legend, label.second}) {
            if (text.size() != 1) continue;
            EXPECT_EQ(keysOf(text), std::vector<int>{key}) << "key " << key << " shows " << Utf8(text);
            ++printed;
        }
        if (label.shifted.size() == 1) {
            EXPECT_EQ(keysOf(label.shifted), (std::vector<int>{map->shiftKey, key}))
                << "key " << key << " shows " << Utf8(label.shifted) << " above";
            ++printed;
        }
    }
    EXPECT_GE(printed, 80);
}

}  // namespace
