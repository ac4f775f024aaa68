#include "core/Crc32.h"

#include <array>

namespace {

// The remainder of each byte value, so that the checksum takes one table
// look-up a byte instead of eight shifts.
constexpr std::array<uint32_t, 256> RemainderTable = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t remainder = byte;
        for (int bit = 0; bit < 8; ++bit) remainder = (remainder >> 1) ^ (remainder & 1 ? 0xEDB88320u : 0);
        table[byte] = remainder;
    }
    return table;
}();

}  // namespace

uint32_t Crc32(std::span<const uint8_t> bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (const uint8_t byte : bytes) crc = (crc >> 8) ^ RemainderTable[(crc ^ byte) & 0xFF];
    return crc ^ 0xFFFFFFFF;
}
