// Single-operand instructions: CLR, COM, INC, DEC, NEG, ADC, SBC, TST and the
// shifts and rotates with their byte forms, SWAB, SXT, MTPS and MFPS.
//
// Templates over the width and the operand's mode; the decoder builds each
// for every mode (and once for AnyMode).
#pragma once

#include "exec/Exec.h"
#include "exec/Flags.h"
#include "exec/Operand.h"

template <class W, int Mode>
ModifiedOperand<W, Mode> SingleOperand() {
    AddrMask = W::AddressMask;
    return ModifiedOperand<W, Mode>(OperandField());
}

// Shifts and rotates replace all four codes: C from the bit shifted out,
// N and Z from the result, V = N xor C.
template <class W, int Mode>
void StoreShifted(const ModifiedOperand<W, Mode>& operand, uint16_t result, bool carry) {
    operand.Store(result);
    Psw = (Psw & ~FlagsNZVC) | (carry ? FlagC : 0);
    SetNZ(W::Signed(result));
    SetVShift();
}

inline bool Carry() { return Psw & FlagC; }

template <class W, int Mode>
TrapVector ExecClr() {
    AddrMask = W::AddressMask;
    W::Put(WriteOperand<Mode>(OperandField()), 0);
    Psw = (Psw & ~FlagsNZVC) | FlagZ;
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecCom() {
    const auto operand = SingleOperand<W, Mode>();
    const uint16_t result = ~operand.Value() & W::Mask;
    operand.Store(result);
    Psw = (Psw & ~FlagsNZV) | FlagC;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecInc() {
    const auto operand = SingleOperand<W, Mode>();
    const uint16_t result = (operand.Value() + 1) & W::Mask;
    operand.Store(result);
    Psw &= ~FlagsNZV;
    Psw |= result == W::SignBit ? FlagV : 0;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecDec() {
    const auto operand = SingleOperand<W, Mode>();
    const uint16_t result = (operand.Value() - 1) & W::Mask;
    operand.Store(result);
    Psw &= ~FlagsNZV;
    Psw |= result == W::SignBit - 1 ? FlagV : 0;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecNeg() {
    const auto operand = SingleOperand<W, Mode>();
    const uint16_t old = operand.Value();
    const uint16_t result = (0 - old) & W::Mask;
    operand.Store(result);
    Psw &= ~FlagsNZVC;
    Psw |= (old == W::SignBit ? FlagV : 0) | (result != 0 ? FlagC : 0);
    SetNZ(W::Signed(result));
    return NoTrap;
}

// ADC and SBC always write the operand back, even when C is clear and the
// value stays the same.
template <class W, int Mode>
TrapVector ExecAdc() {
    const auto operand = SingleOperand<W, Mode>();
    uint16_t result = operand.Value();
    Psw &= ~FlagsNZV;
    if (Carry()) {
        if (result == W::SignBit - 1) Psw |= FlagV;
        if (result != W::Mask) Psw &= ~FlagC;
        result = (result + 1) & W::Mask;
    }
    operand.Store(result);
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecSbc() {
    const auto operand = SingleOperand<W, Mode>();
    uint16_t result = operand.Value();
    Psw &= ~FlagsNZV;
    if (Carry()) {
        if (result == W::SignBit) Psw |= FlagV;
        if (result != 0) Psw &= ~FlagC;
        result = (result - 1) & W::Mask;
    }
    operand.Store(result);
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecTst() {
    AddrMask = W::AddressMask;
    const uint16_t value = W::Get(ReadOperand<Mode>(OperandField()));
    Psw &= ~FlagsNZVC;
    SetNZ(W::Signed(value));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecRor() {
    const auto operand = SingleOperand<W, Mode>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t((old >> 1) | (Carry() ? W::SignBit : 0)), old & 1);
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecRol() {
    const auto operand = SingleOperand<W, Mode>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t(((old << 1) | (Carry() ? 1 : 0)) & W::Mask), old & W::SignBit);
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecAsr() {
    const auto operand = SingleOperand<W, Mode>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t((old >> 1) | (old & W::SignBit)), old & 1);
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecAsl() {
    const auto operand = SingleOperand<W, Mode>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t((old << 1) & W::Mask), old & W::SignBit);
    return NoTrap;
}

// N and Z come from the new low byte, the byte that was the high one.
template <int Mode>
TrapVector ExecSwab() {
    const auto operand = SingleOperand<WordWidth, Mode>();
    const uint16_t old = operand.Value();
    const uint16_t result = uint16_t(old << 8 | old >> 8);
    operand.Store(result);
    Psw &= ~FlagsNZVC;
    SetNZ(ByteWidth::Signed(result & 0xFF));
    return NoTrap;
}

template <int Mode>
TrapVector ExecSxt() {
    AddrMask = WordWidth::AddressMask;
    const Location destination = WriteOperand<Mode>(OperandField());
    if (Psw & FlagN) {
        destination.SetWord(0xFFFF);
        Psw &= ~FlagZ;
    } else {
        destination.SetWord(0);
        Psw |= FlagZ;
    }
    Psw &= ~FlagV;
    return NoTrap;
}

// The trace bit and the whole high byte, the halt-mode bit included, cannot
// be changed by the program.
template <int Mode>
TrapVector ExecMtps() {
    AddrMask = ByteWidth::AddressMask;
    const uint8_t value = ReadOperand<Mode>(OperandField()).Byte();
    Psw = (Psw & 0xFF10) | (value & 0xEF);
    return NoTrap;
}

template <int Mode>
TrapVector ExecMfps() {
    AddrMask = ByteWidth::AddressMask;
    const uint16_t status = Psw & 0xFF;
    const uint16_t field = OperandField();
    // As MOVB: into a register the byte is sign-extended to a word.
    if (IsRegisterMode<Mode>(field))
        Reg[field & 7] = uint16_t(ByteWidth::Signed(status));
    else
        WriteOperand<Mode>(field).SetByte(uint8_t(status));
    Psw &= ~FlagsNZV;
    SetNZ(ByteWidth::Signed(status));
    return NoTrap;
}
