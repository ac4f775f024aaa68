// Single-operand instructions: CLR, COM, INC, DEC, NEG, ADC, SBC, TST and the
// shifts and rotates with their byte forms, SWAB, SXT, MTPS, MFPS and MARK.
#include "exec/Exec.h"
#include "exec/Operand.h"
#include "exec/Flags.h"

namespace {

template <class W>
ModifiedOperand<W> Operand() {
    AddrMask = W::AddressMask;
    return ModifiedOperand<W>(OperandField());
}

// Shifts and rotates replace all four codes: C from the bit shifted out,
// N and Z from the result, V = N xor C.
template <class W>
void StoreShifted(const ModifiedOperand<W>& operand, uint16_t result, bool carry) {
    operand.Store(result);
    Psw = (Psw & ~FlagsNZVC) | (carry ? FlagC : 0);
    SetNZ(W::Signed(result));
    SetVShift();
}

bool Carry() { return Psw & FlagC; }

}  // namespace

template <class W>
TrapVector ExecClr() {
    AddrMask = W::AddressMask;
    W::Put(WriteOperand(OperandField()), 0);
    Psw = (Psw & ~FlagsNZVC) | FlagZ;
    return NoTrap;
}

template <class W>
TrapVector ExecCom() {
    const auto operand = Operand<W>();
    const uint16_t result = ~operand.Value() & W::Mask;
    operand.Store(result);
    Psw = (Psw & ~FlagsNZV) | FlagC;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W>
TrapVector ExecInc() {
    const auto operand = Operand<W>();
    const uint16_t result = (operand.Value() + 1) & W::Mask;
    operand.Store(result);
    Psw &= ~FlagsNZV;
    if (result == W::SignBit) Psw |= FlagV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W>
TrapVector ExecDec() {
    const auto operand = Operand<W>();
    const uint16_t result = (operand.Value() - 1) & W::Mask;
    operand.Store(result);
    Psw &= ~FlagsNZV;
    if (result == W::SignBit - 1) Psw |= FlagV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W>
TrapVector ExecNeg() {
    const auto operand = Operand<W>();
    const uint16_t old = operand.Value();
    const uint16_t result = (0 - old) & W::Mask;
    operand.Store(result);
    Psw &= ~FlagsNZVC;
    if (old == W::SignBit) Psw |= FlagV;
    if (result != 0) Psw |= FlagC;
    SetNZ(W::Signed(result));
    return NoTrap;
}

// ADC and SBC always write the operand back, even when C is clear and the
// value stays the same.
template <class W>
TrapVector ExecAdc() {
    const auto operand = Operand<W>();
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

template <class W>
TrapVector ExecSbc() {
    const auto operand = Operand<W>();
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

template <class W>
TrapVector ExecTst() {
    AddrMask = W::AddressMask;
    const uint16_t value = W::Get(ReadOperand(OperandField()));
    Psw &= ~FlagsNZVC;
    SetNZ(W::Signed(value));
    return NoTrap;
}

template <class W>
TrapVector ExecRor() {
    const auto operand = Operand<W>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t((old >> 1) | (Carry() ? W::SignBit : 0)), old & 1);
    return NoTrap;
}

template <class W>
TrapVector ExecRol() {
    const auto operand = Operand<W>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t(((old << 1) | (Carry() ? 1 : 0)) & W::Mask), old & W::SignBit);
    return NoTrap;
}

template <class W>
TrapVector ExecAsr() {
    const auto operand = Operand<W>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t((old >> 1) | (old & W::SignBit)), old & 1);
    return NoTrap;
}

template <class W>
TrapVector ExecAsl() {
    const auto operand = Operand<W>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t((old << 1) & W::Mask), old & W::SignBit);
    return NoTrap;
}

// N and Z come from the new low byte, the byte that was the high one.
TrapVector ExecSwab() {
    const auto operand = Operand<WordWidth>();
    const uint16_t old = operand.Value();
    const uint16_t result = uint16_t(old << 8 | old >> 8);
    operand.Store(result);
    Psw &= ~FlagsNZVC;
    SetNZ(ByteWidth::Signed(result & 0xFF));
    return NoTrap;
}

TrapVector ExecSxt() {
    AddrMask = WordWidth::AddressMask;
    const Location destination = WriteOperand(OperandField());
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
TrapVector ExecMtps() {
    AddrMask = ByteWidth::AddressMask;
    const uint8_t value = ReadOperand(OperandField()).Byte();
    Psw = (Psw & 0xFF10) | (value & 0xEF);
    return NoTrap;
}

TrapVector ExecMfps() {
    AddrMask = ByteWidth::AddressMask;
    const uint16_t status = Psw & 0xFF;
    const uint16_t field = OperandField();
    // As MOVB: into a register the byte is sign-extended to a word.
    if (IsRegisterMode(field))
        Reg[field] = uint16_t(ByteWidth::Signed(status));
    else
        WriteOperand(field).SetByte(uint8_t(status));
    Psw &= ~FlagsNZV;
    SetNZ(ByteWidth::Signed(status));
    return NoTrap;
}

// MARK NN sits on the stack after NN parameter words: it drops them, returns
// through R5 and restores R5 from the stack.
TrapVector ExecMark() {
    AddrMask = WordWidth::AddressMask;
    Reg[SP] = uint16_t(Reg[PC] + 2 * (Opcode & 077));
    Reg[PC] = Reg[5] & 0xFFFE;
    Reg[5] = ReadOperand(FieldPop).Word();
    return NoTrap;
}

template TrapVector ExecClr<WordWidth>();
template TrapVector ExecClr<ByteWidth>();
template TrapVector ExecCom<WordWidth>();
template TrapVector ExecCom<ByteWidth>();
template TrapVector ExecInc<WordWidth>();
template TrapVector ExecInc<ByteWidth>();
template TrapVector ExecDec<WordWidth>();
template TrapVector ExecDec<ByteWidth>();
template TrapVector ExecNeg<WordWidth>();
template TrapVector ExecNeg<ByteWidth>();
template TrapVector ExecAdc<WordWidth>();
template TrapVector ExecAdc<ByteWidth>();
template TrapVector ExecSbc<WordWidth>();
template TrapVector ExecSbc<ByteWidth>();
template TrapVector ExecTst<WordWidth>();
template TrapVector ExecTst<ByteWidth>();
template TrapVector ExecRor<WordWidth>();
template TrapVector ExecRor<ByteWidth>();
template TrapVector ExecRol<WordWidth>();
template TrapVector ExecRol<ByteWidth>();
template TrapVector ExecAsr<WordWidth>();
template TrapVector ExecAsr<ByteWidth>();
template TrapVector ExecAsl<WordWidth>();
template TrapVector ExecAsl<ByteWidth>();
