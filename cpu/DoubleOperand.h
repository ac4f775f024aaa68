// Double-operand instructions: MOV, CMP, BIT, BIC, BIS with their byte forms,
// ADD and SUB. The source is addressed and read completely before the
// destination is addressed, so its register steps and index words come first.
//
// Every routine is built for each pair of modes of its fields, some 450 built
// routines an instruction, so the routines are built in one file each
// (DoubleOperandMov.cpp, ...) that the compiler can build side by side.
// Included only by those files.
#pragma once

#include "cpu/Build.h"
#include "cpu/Exec.h"
#include "cpu/Operand.h"
#include "cpu/Flags.h"

namespace {

template <class W, int Mode>
uint16_t ReadSource() {
    Mk.AddrMask = W::AddressMask;
    return W::Get(ReadOperand<Mode>(SourceField()));
}

}  // namespace

template <class W, int SrcMode, int DstMode>
TrapVector ExecMov<W, SrcMode, DstMode>::Run() {
    const uint16_t value = ReadSource<W, SrcMode>();
    const uint16_t field = OperandField();
    // MOVB into a register fills the whole register with the sign-extended byte.
    if (W::Bits == 8 && IsRegisterMode<DstMode>(field))
        Mk.Reg[RegisterOf<DstMode>(field)] = uint16_t(W::Signed(value));
    else
        W::Put(WriteOperand<DstMode>(field), value);
    Mk.Psw &= ~FlagsNZV;
    SetNZ(W::Signed(value));
    return NoTrap;
}

template <class W, int SrcMode, int DstMode>
TrapVector ExecCmp<W, SrcMode, DstMode>::Run() {
    const uint16_t source = ReadSource<W, SrcMode>();
    const uint16_t destination = W::Get(ReadOperand<DstMode>(OperandField()));
    const uint16_t difference = (source - destination) & W::Mask;
    Mk.Psw &= ~FlagsNZVC;
    SetCarryAndOverflow<W>(BorrowVector(source, destination, difference));
    SetNZ(W::Signed(difference));
    return NoTrap;
}

template <class W, int SrcMode, int DstMode>
TrapVector ExecBit<W, SrcMode, DstMode>::Run() {
    const uint16_t source = ReadSource<W, SrcMode>();
    const uint16_t result = source & W::Get(ReadOperand<DstMode>(OperandField()));
    Mk.Psw &= ~FlagsNZV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int SrcMode, int DstMode>
TrapVector ExecBic<W, SrcMode, DstMode>::Run() {
    const uint16_t source = ReadSource<W, SrcMode>();
    const ModifiedOperand<W, DstMode> destination(OperandField());
    const uint16_t result = destination.Value() & ~source & W::Mask;
    destination.Store(result);
    Mk.Psw &= ~FlagsNZV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int SrcMode, int DstMode>
TrapVector ExecBis<W, SrcMode, DstMode>::Run() {
    const uint16_t source = ReadSource<W, SrcMode>();
    const ModifiedOperand<W, DstMode> destination(OperandField());
    const uint16_t result = destination.Value() | source;
    destination.Store(result);
    Mk.Psw &= ~FlagsNZV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <int SrcMode, int DstMode>
TrapVector ExecAdd<SrcMode, DstMode>::Run() {
    const uint16_t source = ReadSource<WordWidth, SrcMode>();
    const ModifiedOperand<WordWidth, DstMode> destination(OperandField());
    const uint16_t augend = destination.Value();
    const uint16_t sum = uint16_t(augend + source);
    destination.Store(sum);
    Mk.Psw &= ~FlagsNZVC;
    SetCarryAndOverflow<WordWidth>(CarryVector(source, augend, sum));
    SetNZ(WordWidth::Signed(sum));
    return NoTrap;
}

template <int SrcMode, int DstMode>
TrapVector ExecSub<SrcMode, DstMode>::Run() {
    const uint16_t source = ReadSource<WordWidth, SrcMode>();
    const ModifiedOperand<WordWidth, DstMode> destination(OperandField());
    const uint16_t minuend = destination.Value();
    const uint16_t difference = uint16_t(minuend - source);
    destination.Store(difference);
    Mk.Psw &= ~FlagsNZVC;
    SetCarryAndOverflow<WordWidth>(BorrowVector(minuend, source, difference));
    SetNZ(WordWidth::Signed(difference));
    return NoTrap;
}
