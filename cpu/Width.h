// The two operand widths. Word and byte forms of an instruction are one
// template over a width, so each behaviour is written once.
#pragma once

#include <cstdint>

#include "core/Def.h"

struct WordWidth {
    static constexpr uint16_t Mask = 0xFFFF;
    static constexpr uint16_t SignBit = 0x8000;
    static constexpr uint16_t AddressMask = 0xFFFE;  // word operands are made even
    static constexpr int Bits = 16;

    static uint16_t Get(Location at) { return at.Word(); }
    static void Put(Location at, uint16_t value) { at.SetWord(value); }
    static int32_t Signed(uint16_t value) { return int16_t(value); }
};

struct ByteWidth {
    static constexpr uint16_t Mask = 0x00FF;
    static constexpr uint16_t SignBit = 0x0080;
    static constexpr uint16_t AddressMask = 0xFFFF;  // byte operands keep odd addresses
    static constexpr int Bits = 8;

    static uint16_t Get(Location at) { return at.Byte(); }
    static void Put(Location at, uint16_t value) { at.SetByte(uint8_t(value)); }
    static int32_t Signed(uint16_t value) { return int8_t(value); }
};
