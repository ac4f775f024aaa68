// The key map that a firmware image may carry, so that the PC keyboard, the
// paste and the console's "type" reach every character the firmware knows,
// even those it types after a shift key of its own. The map lies in the ROM
// image under the display memory (addresses 0x80 to 0xF9, which the
// processor can read but the firmware cannot otherwise use), behind a
// signature and a checksum: it belongs to the image that carries it, and an
// image without one keeps the fixed translation of the key tables.
//
// Layout, from KeyMapAddress:
//   +0    "VXKM"
//   +4    the shift key's index
//   +5    the key that deletes the character before the cursor (the PC's
//         Backspace), with KeyAfterShift set when it is typed after the
//         shift key; 0 for none
//   +6    57 bytes: the character each key index types, 0 for none (codes
//         from 0x80 are the firmware's own functions)
//   +63   57 bytes: the character it types after the shift key
//   +120  the end-around-carry sum of the 60 little-endian words before it
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "panel/KeyLayout.h"

constexpr uint16_t KeyMapAddress = 0x0080;
constexpr size_t KeyMapSize = 122;
constexpr uint8_t KeyAfterShift = 0x80;

struct KeyMap {
    uint8_t shiftKey = 0;
    uint8_t backspace = 0;
    std::array<uint8_t, LastKey + 1> codes{};
    std::array<uint8_t, LastKey + 1> shiftCodes{};
};

// The bytes of a map, its checksum included.
std::vector<uint8_t> EncodeKeyMap(const KeyMap& map);

// The map in KeyMapSize bytes, if they hold one: the signature, the checksum
// and a shift key that exists.
std::optional<KeyMap> DecodeKeyMap(const uint8_t* bytes);

// The map of the ROM image in the machine's memory, if it carries one.
std::optional<KeyMap> KeyMapOfRom();

// The keys to press one after another to type c by the map: the key that
// types it, or the shift key and then the key that types it after shift.
// A lower-case letter that no key types is typed as its capital; a
// backspace ('\b') by the map's Backspace key. Empty when the map has no
// key for c: keys 1 and 39, which the matrix does not show, never count.
std::vector<int> KeysByMap(char32_t c, const KeyMap& map);
