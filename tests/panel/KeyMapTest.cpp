// The key map a ROM image may carry, and typing through it: the console's
// type and the window's paste (KeyTyper) and the window's PC keyboard
// (MappedKeyboard).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/Def.h"
#include "panel/KeyLayout.h"
#include "panel/KeyMap.h"
#include "panel/KeyTyper.h"
#include "tests/support/CleanMachine.h"

namespace {

// A small firmware's map: key 7 types W and Q after shift, key 17 A, key
// 36 is the shift key, key 38 types + and = after it, key 48 deletes with
// Backspace after shift, key 54 types the blank.
KeyMap SmallMap() {
    KeyMap map;
    map.shiftKey = 36;
    map.backspace = 48 | KeyAfterShift;
    map.codes[7] = 'W';
    map.shiftCodes[7] = 'Q';
    map.codes[17] = 'A';
    map.codes[36] = 0x89;
    map.codes[38] = '+';
    map.shiftCodes[38] = '=';
    map.codes[48] = 0x84;
    map.shiftCodes[48] = 0x85;
    map.codes[54] = ' ';
    return map;
}

void PutIntoRom(const KeyMap& map) {
    const std::vector<uint8_t> bytes = EncodeKeyMap(map);
    std::copy(bytes.begin(), bytes.end(), Mk.Rom() + KeyMapAddress);
}

bool SameMap(const KeyMap& a, const KeyMap& b) {
    return a.shiftKey == b.shiftKey && a.backspace == b.backspace && a.codes == b.codes && a.shiftCodes == b.shiftCodes;
}

TEST(KeyMap, ReadsBackWhatWasWritten) {
    std::mt19937 random(7);
    for (int round = 0; round < 100; ++round) {
        KeyMap map;
        for (int key = 0; key <= LastKey; ++key) {
            map.codes[size_t(key)] = uint8_t(random());
            map.shiftCodes[size_t(key)] = uint8_t(random());
        }
        map.shiftKey = uint8_t(2 + random() % 37);  // 2 to 38: keys that exist and are not the halt key
        map.backspace = uint8_t(random());
        const std::vector<uint8_t> bytes = EncodeKeyMap(map);
        ASSERT_EQ(bytes.size(), KeyMapSize);
        const std::optional<KeyMap> read = DecodeKeyMap(bytes.data());
        ASSERT_TRUE(read);
        EXPECT_TRUE(SameMap(*read, map));
    }
}

// No byte of a map can change without the map being refused: it would
// belong to another image.
TEST(KeyMap, AnyChangedByteIsRefused) {
    const std::vector<uint8_t> bytes = EncodeKeyMap(SmallMap());
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (const uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::vector<uint8_t> changed = bytes;
            changed[i] ^= flip;
            EXPECT_FALSE(DecodeKeyMap(changed.data())) << "byte " << i << " ^ " << int(flip);
        }
    }
    std::vector<uint8_t> zeros(KeyMapSize, 0);
    EXPECT_FALSE(DecodeKeyMap(zeros.data()));
}

TEST(KeyMap, AShiftKeyThatCannotBePressedIsRefused) {
    for (const int shiftKey : {0, SwitchKey, HaltKey, LastKey + 1, 0xFF}) {
        KeyMap map = SmallMap();
        map.shiftKey = uint8_t(shiftKey);
        EXPECT_FALSE(DecodeKeyMap(EncodeKeyMap(map).data())) << shiftKey;
    }
}

TEST(KeyMap, KeysThatTypeACharacter) {
    struct Case {
        char32_t c;
        std::vector<int> keys;
    };
    const Case cases[] = {
        {U'W', {7}},      {U'w', {7}},       {U'Q', {36, 7}}, {U'q', {36, 7}}, {U'+', {38}}, {U'=', {36, 38}},
        {U' ', {54}},     {U'\b', {36, 48}}, {U'B', {}},      {U'\n', {}},     {U'\u0426', {}},
        {U'\x85', {}},  // a function code is no character
    };
    for (const Case& c : cases) EXPECT_EQ(KeysByMap(c.c, SmallMap()), c.keys) << uint32_t(c.c);

    KeyMap map = SmallMap();
    map.codes[8] = 'w';  // a firmware that types lower case too
    map.backspace = 2;
    map.codes[HaltKey] = 'H';
    EXPECT_EQ(KeysByMap(U'w', map), std::vector<int>{8});
    EXPECT_EQ(KeysByMap(U'W', map), std::vector<int>{7});
    EXPECT_EQ(KeysByMap(U'\b', map), std::vector<int>{2});
    EXPECT_EQ(KeysByMap(U'H', map), std::vector<int>{});  // the matrix does not show the halt key
}

// The keys a typer presses, one entry for each time a key goes down.
std::vector<int> Pressed(KeyTyper& typer) {
    std::vector<int> keys;
    int held = 0;
    while (typer.BeforeTick()) {
        if (Mk.PcKey != 0 && Mk.PcKey != held) keys.push_back(Mk.PcKey);
        held = Mk.PcKey;
    }
    return keys;
}

// With a map in the ROM the typer types by it, through the shift key where
// a character needs it; what the map does not name, by the key tables.
TEST(KeyTyper, TypesByTheMapOfTheRom) {
    MakeCleanMachine();
    PutIntoRom(SmallMap());
    KeyTyper typer(U"Wq= \b\u0426`B\n", 1);
    EXPECT_EQ(Pressed(typer), (std::vector<int>{7, 36, 7, 36, 38, 54, 36, 48, 7, HaltKey, 31, 55}));
    EXPECT_TRUE(Mk.HaltRequest);  // the halt key, by the key tables

    MakeCleanMachine();  // no map: the key tables alone
    KeyTyper plain(U"Wq=", 1);
    EXPECT_EQ(Pressed(plain), (std::vector<int>{7, 38}));
}

TEST(MappedKeyboard, HoldsOneKeyAndTypesThroughTheShiftKey) {
    MakeCleanMachine();
    MappedKeyboard keyboard;
    EXPECT_FALSE(keyboard.Character(U'W', false));  // no map: the window's own translation
    EXPECT_FALSE(keyboard.Special(55));

    PutIntoRom(SmallMap());
    EXPECT_TRUE(keyboard.Character(U'W', false));
    EXPECT_EQ(Mk.PcKey, 7);  // held as the PC key is
    EXPECT_FALSE(keyboard.Character(U'B', false));

    // A shifted character starts typing; what comes while it types joins it,
    // special keys too, but not a held key's repeats.
    Mk.PcKey = 0;
    EXPECT_TRUE(keyboard.Character(U'=', false));
    EXPECT_TRUE(keyboard.Character(U'=', true));
    EXPECT_TRUE(keyboard.Character(U'W', false));
    EXPECT_TRUE(keyboard.Special(55));
    std::vector<int> keys;
    int held = 0;
    for (int tick = 0; tick < 100; ++tick) {
        keyboard.BeforeTick();
        if (Mk.PcKey != 0 && Mk.PcKey != held) keys.push_back(Mk.PcKey);
        held = Mk.PcKey;
    }
    EXPECT_EQ(keys, (std::vector<int>{36, 38, 7, 55}));
    EXPECT_FALSE(keyboard.Special(55));  // done: the window holds keys again

    EXPECT_TRUE(keyboard.Character(U'=', false));
    keyboard.Stop();
    EXPECT_FALSE(keyboard.Special(55));
}

}  // namespace
