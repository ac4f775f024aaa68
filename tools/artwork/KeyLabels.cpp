#include "KeyLabels.h"

#include "FirmwareTables.h"
#include "KeyAssignment.h"
#include "panel/KeyLayout.h"
#include "panel/KeyMap.h"

#include <vector>

namespace {

// The names of the PC's special keys (Windows virtual key codes) as printed
// on the machine keys they reach.
struct PcKeyName {
    int virtualKey;
    const char16_t* name;
};
constexpr PcKeyName PcKeyNames[] = {
    {13, u"ENTER"}, {27, u"ESC"},      {35, u"END"}, {36, u"HOME"},
    {37, u"\u25C4"}, {39, u"\u25BA"}, {45, u"INS"}, {46, u"DEL"},
};

const KeyMap& OurKeyMap() {
    static const KeyMap map = [] {
        std::array<uint8_t, KeyIndexCount> codes{}, shiftCodes{};
        for (int key = 0; key < KeyIndexCount; ++key) {
            codes[size_t(key)] = KeyAssignments[key].code;
            shiftCodes[size_t(key)] = KeyAssignments[key].shiftCode;
        }
        return KeyMapOfCodes(codes, shiftCodes);
    }();
    return map;
}

// The keys that typing the character of code page 1251 presses with our
// firmware: by its key map, or where it names no key, by the key tables.
std::vector<int> KeysTyping(uint8_t c) {
    const std::vector<int> keys = KeysByMap(UnicodeFromCp1251(c), OurKeyMap());
    if (!keys.empty()) return keys;
    if (const int key = KeyOfCharacter(c)) return {key};
    return {};
}

bool Reaches(uint8_t c, int key) { return c != 0 && KeysTyping(c) == std::vector<int>{key}; }

// How a character of code page 1251 is printed on the face.
QString Character(uint8_t c) {
    if (c < 0x80) return QString::fromStdString(PrintedForm(char(c)));
    return QString(QChar(char16_t(UnicodeFromCp1251(c))));
}

// The name of the special PC key that reaches the key, if one does.
QString SpecialKeyName(int key) {
    for (const SpecialKey& special : SpecialKeys) {
        if (special.key != key) continue;
        for (const PcKeyName& name : PcKeyNames)
            if (name.virtualKey == special.virtualKey) return QString::fromUtf16(name.name);
    }
    return {};
}

}  // namespace

KeyLabel LabelOfKey(int key) {
    KeyLabel label{QString::fromUtf8(KeyAssignments[key].face), {}, QString::fromUtf8(KeyAssignments[key].shiftFace), {}};
    if (label.legend.isEmpty()) return {};
    const QString special = SpecialKeyName(key);
    if (!special.isEmpty()) {
        if (special != label.legend) label.hint = special;
        return label;
    }
    // The shift key is reached through the characters it shifts; nothing
    // else of the PC's is meant for it.
    if (key == OurKeyMap().shiftKey) {
        label.shiftKey = true;
        return label;
    }

    const int p = key - FirstCharKey;
    const uint8_t latin = LatinKeys[p];
    const uint8_t cyrillic = CyrillicKeys[p];
    const uint8_t typed = KeyAssignments[key].code;
    const bool typesItself = typed >= FirstGlyph && typed < FirstGlyph + GlyphCount && Reaches(typed, key);
    const bool cyrillicReaches = Reaches(cyrillic, key) && cyrillic != latin;
    // A key labelled with the character typed for it pairs it with the
    // Cyrillic letter of the same key.
    if (typesItself) {
        if (cyrillicReaches) label.second = Character(cyrillic);
        return label;
    }
    QString hint = Reaches(latin, key) ? Character(latin) : QString();
    if (cyrillicReaches) hint += (hint.isEmpty() ? QString() : QStringLiteral(" ")) + Character(cyrillic);
    label.hint = hint;
    return label;
}
