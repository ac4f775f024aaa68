#include "panel/KeyMap.h"

#include <algorithm>

#include "core/Def.h"

namespace {

constexpr uint8_t Signature[4] = {'V', 'X', 'K', 'M'};
constexpr size_t ShiftKeyAt = 4;
constexpr size_t BackspaceAt = 5;
constexpr size_t CodesAt = 6;
constexpr size_t ShiftCodesAt = CodesAt + LastKey + 1;
constexpr size_t ChecksumAt = ShiftCodesAt + LastKey + 1;
static_assert(ChecksumAt + 2 == KeyMapSize);

// The firmware's own way of summing words: added with the carry brought
// round, so that every bit of every byte counts.
uint16_t Checksum(const uint8_t* bytes) {
    uint32_t sum = 0;
    for (size_t i = 0; i < ChecksumAt; i += 2) {
        sum += uint32_t(bytes[i] | bytes[i + 1] << 8);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return uint16_t(sum);
}

bool Typable(int key) { return key > SwitchKey && key <= LastKey && key != HaltKey; }

// The key that types c, in the table given, or 0.
int KeyTyping(uint8_t c, const std::array<uint8_t, LastKey + 1>& codes) {
    for (int key = 0; key <= LastKey; ++key)
        if (codes[size_t(key)] == c && Typable(key)) return key;
    return 0;
}

}  // namespace

std::vector<uint8_t> EncodeKeyMap(const KeyMap& map) {
    std::vector<uint8_t> bytes(KeyMapSize, 0);
    std::copy(std::begin(Signature), std::end(Signature), bytes.begin());
    bytes[ShiftKeyAt] = map.shiftKey;
    bytes[BackspaceAt] = map.backspace;
    std::copy(map.codes.begin(), map.codes.end(), bytes.begin() + CodesAt);
    std::copy(map.shiftCodes.begin(), map.shiftCodes.end(), bytes.begin() + ShiftCodesAt);
    const uint16_t sum = Checksum(bytes.data());
    bytes[ChecksumAt] = uint8_t(sum);
    bytes[ChecksumAt + 1] = uint8_t(sum >> 8);
    return bytes;
}

std::optional<KeyMap> DecodeKeyMap(const uint8_t* bytes) {
    if (!std::equal(std::begin(Signature), std::end(Signature), bytes)) return std::nullopt;
    if (Checksum(bytes) != uint16_t(bytes[ChecksumAt] | bytes[ChecksumAt + 1] << 8)) return std::nullopt;
    KeyMap map;
    map.shiftKey = bytes[ShiftKeyAt];
    if (!Typable(map.shiftKey)) return std::nullopt;
    map.backspace = bytes[BackspaceAt];
    std::copy_n(bytes + CodesAt, map.codes.size(), map.codes.begin());
    std::copy_n(bytes + ShiftCodesAt, map.shiftCodes.size(), map.shiftCodes.begin());
    return map;
}

std::optional<KeyMap> KeyMapOfRom() { return DecodeKeyMap(Mk.Rom() + KeyMapAddress); }

std::vector<int> KeysByMap(char32_t c, const KeyMap& map) {
    if (c == U'\b') {
        const int key = map.backspace & ~KeyAfterShift;
        if (!Typable(key)) return {};
        if (map.backspace & KeyAfterShift) return {map.shiftKey, key};
        return {key};
    }
    if (c < 0x20 || c >= 0x7F) return {};
    for (const uint8_t wanted : {uint8_t(c), UpperKey(uint8_t(c))}) {
        if (const int key = KeyTyping(wanted, map.codes)) return {key};
        if (const int key = KeyTyping(wanted, map.shiftCodes)) return {map.shiftKey, key};
    }
    return {};
}
