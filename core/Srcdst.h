// Operand addressing: turns a 6-bit operand field (mode in bits 3..5,
// register in bits 0..2) into an effective address in Addr, with all the side
// effects of the PDP-11 addressing modes, and hands out operand locations.
#pragma once

#include <array>
#include <cstdint>

#include "core/Def.h"

// Fixed fields used by the processor itself.
constexpr uint16_t FieldFetch = 027;  // (PC)+: instruction and immediate words
constexpr uint16_t FieldPush = 046;   // -(SP)
constexpr uint16_t FieldPop = 026;    // (SP)+

using AddressingRoutine = void (*)();

// One routine for every field value (mode * 8 + register).
extern const std::array<AddressingRoutine, 64> ModeTable;

// Runs the addressing routine of the field: afterwards Addr holds the
// effective address (0 for register mode) and the mode's side effects are done.
inline void ComputeAddress(uint16_t field) { ModeTable[field](); }

// The operand's location for reading or for writing: the register itself in
// mode 0, otherwise ReadCell/WriteCell of the computed address.
inline Location ReadOperand(uint16_t field) {
    if (field < 8) return RegisterLocation(field);
    ComputeAddress(field);
    return ReadCell();
}

inline Location WriteOperand(uint16_t field) {
    if (field < 8) return RegisterLocation(field);
    ComputeAddress(field);
    return WriteCell();
}
