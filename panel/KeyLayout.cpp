#include "panel/KeyLayout.h"

#include <iconv.h>

#include <initializer_list>

#include "core/Def.h"

const KeyGroup KeyGroups[KeyGroupCount] = {
    //  Left  Top Width Height StepX StepY Cols Count SrcX SrcY
    {83, 149, 29, 31, 52, 42, 1, 1, 159, 0},   // 0: the switch key, index 1
    {283, 158, 36, 21, 52, 42, 5, 5, 123, 0},  // 1: indices 2..6
    {23, 200, 36, 21, 52, 42, 10, 30, 123, 0}, // 2: indices 7..36
    {545, 83, 36, 28, 51, 49, 4, 18, 87, 0},   // 3: indices 37..54
    {647, 279, 87, 28, 102, 49, 1, 1, 0, 0},   // 4: index 55
};

namespace {

KeyPlace PlaceInGroup(int group, int n) {
    const KeyGroup& g = KeyGroups[group];
    return {group, n, g.Left + (n % g.Columns) * g.StepX, g.Top + (n / g.Columns) * g.StepY};
}

}  // namespace

int KeyAtPoint(int32_t x, int32_t y, KeyPlace& place) {
    int first = 1;
    for (int group = 0; group < KeyGroupCount; ++group) {
        const KeyGroup& g = KeyGroups[group];
        if (x >= g.Left && x < g.Left + g.StepX * g.Columns && (x - g.Left) % g.StepX < g.Width &&
            y >= g.Top && (y - g.Top) % g.StepY < g.Height) {
            const int n = (x - g.Left) / g.StepX + ((y - g.Top) / g.StepY) * g.Columns;
            if (n < g.Count) {
                place = PlaceInGroup(group, n);
                return first + n;
            }
        }
        first += g.Count;
    }
    return 0;
}

KeyPlace PlaceOfKey(int key) {
    int first = 1;
    int group = 0;
    while (group < KeyGroupCount - 1 && key >= first + KeyGroups[group].Count) {
        first += KeyGroups[group].Count;
        ++group;
    }
    return PlaceInGroup(group, key - first);
}

// Positions that can never match are kept: the lower-case a and the second
// grave accent (upper-casing comes first), and in the Cyrillic table the
// signs that the Latin table finds first.
const uint8_t LatinKeys[CharKeyCount] = {
    'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P',  '[',  // keys  7..16
    'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L',  ';',  // keys 17..26
    'Z', 'X', 'C', 'V', 'B', 'N', 'M', ',', '.',  '\'', // keys 27..36
    '-', '=', '`', '\\', '7', '8', '9', '*',            // keys 37..44
    '4', '5', '6', '`', '1', '2', '3', 'a', '0',  ' ',  // keys 45..54
};

const uint8_t CyrillicKeys[CharKeyCount] = {
    // Ц     У     К     Е     Н     Г     Ш     Щ     З     Х
    0xD6, 0xD3, 0xCA, 0xC5, 0xCD, 0xC3, 0xD8, 0xD9, 0xC7, 0xD5,  // keys  7..16
    // Ф     Ы     В     А     П     Р     О     Л     Д     Ж
    0xD4, 0xDB, 0xC2, 0xC0, 0xCF, 0xD0, 0xCE, 0xCB, 0xC4, 0xC6,  // keys 17..26
    // Я     Ч     С     М     И     Т     Ь     Б     Ю     Э
    0xDF, 0xD7, 0xD1, 0xCC, 0xC8, 0xD2, 0xDC, 0xC1, 0xDE, 0xDD,  // keys 27..36
    // -     =     Ё     \     7     8     9     *
    0x2D, 0x3D, 0xA8, 0x5C, 0x37, 0x38, 0x39, 0x2A,              // keys 37..44
    // 4     5     6     `     1     2     3     a     0     blank
    0x34, 0x35, 0x36, 0x60, 0x31, 0x32, 0x33, 0x61, 0x30, 0x20,  // keys 45..54
};

uint8_t Cp1251FromUnicode(char32_t c) {
    if (c >= 0x20 && c < 0x7F) return uint8_t(c);
    // Control characters (C0, DEL and C1) have no key and print nothing.
    if (c < 0xA0) return 0;
    // The upper half of the code page through the C library's converter.
    const iconv_t converter = iconv_open("CP1251", "UTF-32LE");
    if (converter == iconv_t(-1)) return 0;
    char32_t from = c;
    char to = 0;
    char* in = reinterpret_cast<char*>(&from);
    char* out = &to;
    size_t inLeft = sizeof from;
    size_t outLeft = sizeof to;
    const bool converted = iconv(converter, &in, &inLeft, &out, &outLeft) != size_t(-1);
    iconv_close(converter);
    return converted ? uint8_t(to) : 0;
}

char32_t UnicodeFromCp1251(uint8_t c) {
    if (c < 0x80) return c;
    if (c >= 0xC0) return U'\u0410' + (c - 0xC0);  // А..я
    if (c == 0xA8) return U'\u0401';               // Ё
    if (c == 0xB8) return U'\u0451';               // ё
    return U'\uFFFD';
}

uint8_t UpperKey(uint8_t c) {
    if (c >= 'a' && c <= 'z') return uint8_t(c - 'a' + 'A');
    if (c >= 0xE0) return uint8_t(c - 0x20);  // а..я
    if (c == 0xB8) return 0xA8;                // ё
    return c;
}

int KeyOfCharacter(uint8_t c) {
    const uint8_t upper = UpperKey(c);
    for (const uint8_t* table : {LatinKeys, CyrillicKeys})
        for (int p = 0; p < CharKeyCount; ++p)
            if (table[p] == upper) return p + FirstCharKey;
    return 0;
}

int PressCharacterKey(uint8_t c) {
    const int key = KeyOfCharacter(c);
    if (key != 0) Mk.PcKey = key;
    // Looks at the held key, matched now or before: a character that matches
    // nothing while the halt key is held raises the request again.
    if (Mk.PcKey == HaltKey) Mk.HaltRequest = true;
    return key;
}

void HoldPcKey(int key) {
    Mk.PcKey = key;
    if (key == HaltKey) Mk.HaltRequest = true;
}

void MouseButtonReleased(int key) {
    if (key == HaltKey && (Mk.KeyOut & HaltKeyColumn)) Mk.HaltRequest = true;
}

const SpecialKey SpecialKeys[SpecialKeyCount] = {
    {13, 55, "Enter"},
    {27, 52, "Esc"},
    {35, 6, "End"},
    {36, 5, "Home"},
    {37, 3, "Left arrow"},
    {39, 4, "Right arrow"},
    {45, 2, "Insert"},
    {46, 48, "Delete"},
    {119, 56, "F8"},
};

int KeyOfSpecialKey(int virtualKey) {
    for (const SpecialKey& special : SpecialKeys)
        if (special.virtualKey == virtualKey) return special.key;
    return 0;
}
