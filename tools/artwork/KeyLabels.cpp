#include "KeyLabels.h"

#include "panel/KeyLayout.h"

namespace {

// The names of the PC's special keys (Windows virtual key codes) as printed
// on the machine keys they reach. Enter reaches the machine's execute key.
struct PcKeyName {
    int virtualKey;
    const char16_t* legend;
    const char16_t* hint;
};
constexpr PcKeyName PcKeyNames[] = {
    {13, u"EXE", u"ENTER"}, {27, u"ESC", u""},  {35, u"END", u""}, {36, u"HOME", u""},
    {37, u"\u25C4", u""},   {39, u"\u25BA", u""}, {45, u"INS", u""}, {46, u"DEL", u""},
};

bool Reaches(uint8_t c, int key) { return c != 0 && KeyOfCharacter(c) == key; }

// How a character is printed: the blank by name, the hyphen as the wider
// minus sign that a calculator shows.
QString Character(uint8_t c) {
    if (c == ' ') return QStringLiteral("SPACE");
    if (c == '-') return QString(QChar(char16_t(0x2212)));
    return QString(UnicodeFromCp1251(c));
}

}  // namespace

QChar UnicodeFromCp1251(uint8_t c) {
    if (c < 0x80) return QChar(c);
    if (c >= 0xC0) return QChar(char16_t(0x0410 + c - 0xC0));
    if (c == 0xA8) return QChar(char16_t(0x0401));
    if (c == 0xB8) return QChar(char16_t(0x0451));
    return QChar::ReplacementCharacter;
}

KeyLabel LabelOfKey(int key) {
    for (const SpecialKey& special : SpecialKeys) {
        if (special.key != key) continue;
        for (const PcKeyName& name : PcKeyNames)
            if (name.virtualKey == special.virtualKey)
                return {QString::fromUtf16(name.legend), {}, QString::fromUtf16(name.hint)};
    }
    const int p = key - FirstCharKey;
    const uint8_t latin = LatinKeys[p];
    const uint8_t cyrillic = CyrillicKeys[p];
    const bool cyrillicReaches = Reaches(cyrillic, key) && cyrillic != latin;
    if (key == HaltKey) {
        // The halt key has no character of its own; its label says what it
        // does and, in small print, which PC characters reach it.
        QString hint = Character(latin);
        if (cyrillicReaches) hint += QStringLiteral(" ") + Character(cyrillic);
        return {QStringLiteral("STOP"), {}, hint};
    }
    if (!Reaches(latin, key)) return {};
    return {Character(latin), cyrillicReaches ? Character(cyrillic) : QString(), {}};
}
