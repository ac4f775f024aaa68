#include "KeyLabels.h"

#include "FirmwareTables.h"
#include "KeyAssignment.h"
#include "panel/KeyLayout.h"

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

bool Reaches(uint8_t c, int key) { return c != 0 && KeyOfCharacter(c) == key; }

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
    const QString legend = QString::fromUtf8(KeyAssignments[key].face);
    if (legend.isEmpty()) return {};
    const QString special = SpecialKeyName(key);
    if (!special.isEmpty()) return {legend, {}, special == legend ? QString() : special};

    const int p = key - FirstCharKey;
    const uint8_t latin = LatinKeys[p];
    const uint8_t cyrillic = CyrillicKeys[p];
    const bool latinReaches = Reaches(latin, key);
    const bool cyrillicReaches = Reaches(cyrillic, key) && cyrillic != latin;
    // A key labelled with the character typed for it pairs it with the
    // Cyrillic letter of the same key.
    if (latinReaches && legend == Character(latin))
        return {legend, cyrillicReaches ? Character(cyrillic) : QString(), {}};
    QString hint = latinReaches ? Character(latin) : QString();
    if (cyrillicReaches) hint += (hint.isEmpty() ? QString() : QStringLiteral(" ")) + Character(cyrillic);
    return {legend, {}, hint};
}
