// Where the machine's keys are: the key groups of the front panel picture,
// the PC characters and special keys that reach each key index, and the
// hit test of a point on the face. Plain data and arithmetic, shared by the
// windows and the headless console.
#pragma once

#include <cstdint>

// The picture of the front panel, in pixels.
constexpr int FaceWidth = 760;
constexpr int FaceHeight = 330;

// One grid of equal keys on the face. The group's first key has its
// top-left corner at (Left, Top); keys are numbered row by row. Its pictures
// lie in "keys.bmp": pressed at (SrcX, SrcY), released directly below.
struct KeyGroup {
    int32_t Left, Top, Width, Height, StepX, StepY, Columns, Count, SrcX, SrcY;
};
constexpr int KeyGroupCount = 5;
extern const KeyGroup KeyGroups[KeyGroupCount];

constexpr int SwitchKey = 1;    // closes the program when the mouse is released on it
constexpr int HaltKey = 39;     // raises the halt request instead of a matrix code
constexpr uint16_t HaltKeyColumn = 0x0002;  // the KeyOut bit that selects the halt key's column
constexpr int LastFaceKey = 55;
constexpr int LastKey = 56;     // reached only from the PC keyboard (F8)

// A key's place on the face: its group, its number within the group and the
// top-left corner of its picture.
struct KeyPlace {
    int group;
    int n;
    int32_t x, y;
};

// The key under the point (x, y) of the face, 1..55, or 0 when the point lies
// on no key; place receives where that key is.
int KeyAtPoint(int32_t x, int32_t y, KeyPlace& place);

// Where key index 1..55 lies on the face.
KeyPlace PlaceOfKey(int key);

// Characters typed on the PC, in code page 1251: position p (0-based here)
// stands for key index p + 7.
constexpr int CharKeyCount = 48;
constexpr int FirstCharKey = 7;
extern const uint8_t LatinKeys[CharKeyCount];
extern const uint8_t CyrillicKeys[CharKeyCount];

// A Unicode character in code page 1251, the character set of the key tables.
// Control characters and characters outside the code page give 0, which no
// key has.
uint8_t Cp1251FromUnicode(char32_t c);

// The Unicode character of a code page 1251 character that the key tables
// hold: ASCII, the Russian letters and Ё/ё; U+FFFD for the others.
char32_t UnicodeFromCp1251(uint8_t c);

// Upper case in code page 1251: a..z, а..я and ё.
uint8_t UpperKey(uint8_t c);

// The key index a typed character (code page 1251) reaches: the Latin table
// first, then the Cyrillic one; 0 when neither holds it.
int KeyOfCharacter(uint8_t c);

// A character typed on the PC keyboard (code page 1251), as the main window
// and the console take it: a character found in the key tables holds its key
// in PcKey; then, matched or not, a held halt key raises the halt request.
// Returns the key the character reached, 0 for none.
int PressCharacterKey(uint8_t c);

// The halt key has no code in the key matrix: it raises the halt request
// instead, the same way for every source of keys (the window, the console,
// typed text). From the PC keyboard it acts at once, whatever the firmware
// selects; with the mouse it acts when the button lets go of it, and only
// while the firmware selects its column (bit 1 of KeyOut).

// Holds key on the PC keyboard (0 lets go); the halt key raises the request.
void HoldPcKey(int key);

// The mouse button let go of key, the key it held on the face.
void MouseButtonReleased(int key);

// Windows virtual key codes of the PC's special keys and the machine keys
// they hold while down.
constexpr int VkEnter = 13;
constexpr int VkKeyHelp = 112;      // F1 shows the key help
constexpr int VkDebugWindow = 114;  // F3 opens the debug window
struct SpecialKey {
    int virtualKey;
    int key;
    const char* name;  // the PC key's name, as the key help gives it
};
constexpr int SpecialKeyCount = 9;
extern const SpecialKey SpecialKeys[SpecialKeyCount];

// The machine key a special PC key holds, or 0.
int KeyOfSpecialKey(int virtualKey);
