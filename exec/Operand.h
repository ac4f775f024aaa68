// Operand widths and the read-modify-write access shared by the instruction
// routines. Word and byte forms of an instruction are one template over a
// width, so each behaviour is written once.
#pragma once

#include <cstdint>

#include "core/Def.h"
#include "core/Srcdst.h"

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

// The destination or only operand of a read-modify-write instruction. The
// field is addressed once: the result goes back through WriteCell at the Addr
// that the read produced, so (Rn)+ or an index word takes effect only once.
template <class W>
class ModifiedOperand {
public:
    explicit ModifiedOperand(uint16_t field) : at_(ReadOperand(field)), inRegister_(field < 8) {}

    uint16_t Value() const { return W::Get(at_); }
    // A byte result in a register replaces only the register's low byte.
    void Store(uint16_t result) const { W::Put(inRegister_ ? at_ : WriteCell(), result); }

private:
    Location at_;
    bool inRegister_;
};

// The operand fields of the current instruction.
inline uint16_t SourceField() { return (Opcode >> 6) & 077; }
// Bits 0..5: the destination of a double-operand instruction and the one
// operand field of every other instruction that has one.
inline uint16_t OperandField() { return Opcode & 077; }
inline bool IsRegisterMode(uint16_t field) { return field < 8; }
// Bits 6..8: the register of JSR, SOB and the extended arithmetic.
inline int RegisterField() { return (Opcode >> 6) & 7; }
