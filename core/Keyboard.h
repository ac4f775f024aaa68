// The MK-85 key matrix as the firmware sees it: the firmware selects key
// columns through KeyOut (0x0102) and reads the return lines at KeyIn
// (0x0100). The front panel records one held key index; every read of 0x0100
// recomputes KeyIn from that index and the selected columns.
#pragma once

#include <cstdint>

#include "core/Def.h"

constexpr int KeyCount = 57;  // key indices 0 (no key) to 56

// The code each key gives on the return lines, one table for each of the
// three column-select bits of KeyOut (0x0002, 0x0004, 0x0008).
struct KeyColumn {
    uint16_t selectBit;
    uint16_t code[KeyCount];
};
extern const KeyColumn KeyMatrix[3];

// The return lines that the held key drives on the columns that KeyOut
// selects: what a read of 0x0100 gives now.
uint16_t KeyScan(const Machine& machine);

// Recomputes KeyIn from the held key and KeyOut and gives its location.
Location ScanKeys();
