// Words straight from and into the memory image, with no memory map and no
// port side effects in between: how tests set up and inspect the machine. And
// the bytes of a "rom.bin" that holds given words.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "core/Def.h"

inline uint16_t WordAt(uint16_t address) { return uint16_t(Mk.Memory[address] | Mk.Memory[address + 1] << 8); }

inline void SetWordAt(uint16_t address, uint16_t value) {
    Mk.Memory[address] = uint8_t(value);
    Mk.Memory[address + 1] = uint8_t(value >> 8);
}

// A whole ROM image of zeros holding the little-endian words at their
// addresses.
inline std::vector<uint8_t> RomImage(const std::map<uint16_t, uint16_t>& words) {
    std::vector<uint8_t> rom(RomSize, 0);
    for (const auto& [address, word] : words) {
        rom[address] = uint8_t(word);
        rom[address + 1u] = uint8_t(word >> 8);
    }
    return rom;
}
