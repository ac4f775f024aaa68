// Words straight from and into the memory image, with no memory map and no
// port side effects in between: how tests set up and inspect the machine.
#pragma once

#include <cstdint>

#include "core/Def.h"

inline uint16_t WordAt(uint16_t address) { return uint16_t(Memory[address] | Memory[address + 1] << 8); }

inline void SetWordAt(uint16_t address, uint16_t value) {
    Memory[address] = uint8_t(value);
    Memory[address + 1] = uint8_t(value >> 8);
}
