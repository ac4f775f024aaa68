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

// The instruction routines with operand fields are templates over the modes
// of their fields. AnyMode decodes the mode as the instruction runs: that is
// the routine the instruction set names. A mode 0..7 takes its register from
// the opcode. ImmediateMode (#n, field 027) and AbsoluteMode (@#a, field 037)
// are modes 2 and 3 on PC, so common that they have routines of their own.
// InRegister(n) is mode 0 on register n: an operand in a register is so
// common that its routine knows the register instead of decoding it.
constexpr int AnyMode = -1;
constexpr int OnPc = 8;
constexpr int ImmediateMode = OnPc + 2;
constexpr int AbsoluteMode = OnPc + 3;
constexpr int FirstInRegister = 16;
constexpr int InRegister(int n) { return FirstInRegister + n; }
constexpr int ModeOf(uint16_t field) { return field >> 3; }

// The modes the decoder's routines are built for. The deferred modes but
// absolute, @(R)+, @-(R) and @X(R), are rare enough to go through AnyMode.
constexpr int ModeCount = 15;
constexpr std::array<int, ModeCount> BuiltModes = {
    InRegister(0), InRegister(1), InRegister(2), InRegister(3), InRegister(4), InRegister(5), InRegister(6),
    InRegister(7), 1, 2, 4, 6, ImmediateMode, AbsoluteMode, AnyMode};

// The place in BuiltModes of the mode a routine is built for, for an operand
// field.
constexpr int BuiltModeIndex(uint16_t field) {
    int mode = ModeOf(field);
    if (mode == 0) mode = InRegister(field & 7);
    if ((field & 7) == PC && (mode == 2 || mode == 3)) mode += OnPc;
    for (int i = 0; i < ModeCount; ++i)
        if (BuiltModes[i] == mode) return i;
    return ModeCount - 1;
}
static_assert(BuiltModes[ModeCount - 1] == AnyMode);

// The register of an operand in register mode.
template <int Mode>
constexpr int RegisterOf(uint16_t field) {
    if constexpr (Mode >= FirstInRegister)
        return Mode - FirstInRegister;
    else
        return field & 7;
}

// Addressing mode Mode on register r, which is SP or PC when stackOrPc:
// leaves the effective address in Addr (0 for register mode) with all the
// mode's side effects.
//
// Registers R0..R5 mask their address with AddrMask and step by 1 for bytes
// and 2 for words (r - AddrMask is r + 2 or r + 1, r + AddrMask is r - 2 or
// r - 1). SP and PC are never masked and always step by 2, so a byte
// instruction cannot leave the stack or the instruction stream misaligned.
template <int Mode>
inline void AddressRegister(uint16_t& r, bool stackOrPc) {
    if constexpr (Mode == 0) {
        Mk.Addr = 0;
    } else if constexpr (Mode == 1) {
        Mk.Addr = stackOrPc ? r : r & Mk.AddrMask;
    } else if constexpr (Mode == 2) {
        Mk.Addr = stackOrPc ? r : r & Mk.AddrMask;
        r = stackOrPc ? uint16_t(r + 2) : uint16_t(r - Mk.AddrMask);
    } else if constexpr (Mode == 3) {
        Mk.Addr = stackOrPc ? r : r & 0xFFFE;
        r += 2;
        Mk.Addr = ReadCell().Word() & Mk.AddrMask;
    } else if constexpr (Mode == 4) {
        r = stackOrPc ? uint16_t(r - 2) : uint16_t(r + Mk.AddrMask);
        Mk.Addr = stackOrPc ? r : r & Mk.AddrMask;
    } else if constexpr (Mode == 5) {
        r -= 2;
        Mk.Addr = stackOrPc ? r : r & 0xFFFE;
        Mk.Addr = ReadCell().Word() & Mk.AddrMask;
    } else if constexpr (Mode == 6) {
        // The index word follows the instruction; with R7 the base is the
        // address after the index word.
        Mk.Addr = Mk.Reg[PC];
        Mk.Reg[PC] += 2;
        Mk.Addr = (ReadCell().Word() + r) & Mk.AddrMask;
    } else {
        static_assert(Mode == 7);
        Mk.Addr = Mk.Reg[PC];
        Mk.Reg[PC] += 2;
        Mk.Addr = (ReadCell().Word() + r) & 0xFFFE;
        Mk.Addr = ReadCell().Word() & Mk.AddrMask;
    }
}

// Addressing mode Mode on register n (0..7), or on PC for ImmediateMode and
// AbsoluteMode.
//
// The modes that step their register have code of their own for SP and PC,
// in which the register sits at a fixed address: the store that steps it has
// an address known at once to the next fetch or stack access, which reads it
// (store-to-load forwarding: BuiltHandler, cpu/Binding.h).
template <int Mode>
inline void AddressMode(int n) {
    if constexpr (Mode >= FirstInRegister) {
        AddressRegister<0>(Mk.Reg[Mode - FirstInRegister], false);
    } else if constexpr (Mode >= OnPc) {
        AddressRegister<Mode - OnPc>(Mk.Reg[PC], true);
    } else {
        if constexpr (Mode >= 2 && Mode <= 5) {
            if (n == PC) return AddressRegister<Mode>(Mk.Reg[PC], true);
            if (n == SP) return AddressRegister<Mode>(Mk.Reg[SP], true);
        }
        AddressRegister<Mode>(Mk.Reg[n], n >= SP);
    }
}

using AddressingRoutine = void (*)();

// One routine for every field value (mode * 8 + register).
extern const std::array<AddressingRoutine, 64> ModeTable;

// Runs the addressing routine of the field: afterwards Addr holds the
// effective address (0 for register mode) and the mode's side effects are
// done. Mode, when given, is the field's mode (bits 3..5), or ImmediateMode
// or AbsoluteMode.
template <int Mode = AnyMode>
inline void ComputeAddress(uint16_t field) {
    if constexpr (Mode == AnyMode)
        ModeTable[field]();
    else
        AddressMode<Mode>(field & 7);
}

template <int Mode = AnyMode>
inline bool IsRegisterMode(uint16_t field) {
    if constexpr (Mode == AnyMode)
        return field < 8;
    else
        return Mode == 0 || Mode >= FirstInRegister;
}

// The operand's location for reading or for writing: the register itself in
// mode 0, otherwise ReadCell/WriteCell of the computed address.
template <int Mode = AnyMode>
inline Location ReadOperand(uint16_t field) {
    if (IsRegisterMode<Mode>(field)) return RegisterLocation(RegisterOf<Mode>(field));
    ComputeAddress<Mode>(field);
    return ReadCell();
}

template <int Mode = AnyMode>
inline Location WriteOperand(uint16_t field) {
    if (IsRegisterMode<Mode>(field)) return RegisterLocation(RegisterOf<Mode>(field));
    ComputeAddress<Mode>(field);
    return WriteCell();
}
