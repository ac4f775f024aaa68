// Single-operand instructions: CLR, COM, INC, DEC, NEG, ADC, SBC, TST and the
// shifts and rotates with their byte forms, SWAB, SXT, MTPS, MFPS and MARK.
#include "cpu/Build.h"
#include "cpu/Exec.h"
#include "cpu/Operand.h"
#include "cpu/Flags.h"

namespace {

template <class W, int Mode>
ModifiedOperand<W, Mode> Operand() {
    Mk.AddrMask = W::AddressMask;
    return ModifiedOperand<W, Mode>(OperandField());
}

// Shifts and rotates replace all four codes: C from the bit shifted out,
// N and Z from the result, V = N xor C.
template <class W, int Mode>
void StoreShifted(const ModifiedOperand<W, Mode>& operand, uint16_t result, bool carry) {
    operand.Store(result);
    Mk.Psw = (Mk.Psw & ~FlagsNZVC) | (carry ? FlagC : 0);
    SetNZ(W::Signed(result));
    SetVShift();
}

bool Carry() { return Mk.Psw & FlagC; }

}  // namespace

template <class W, int Mode>
TrapVector ExecClr<W, Mode>::Run() {
    Mk.AddrMask = W::AddressMask;
    W::Put(WriteOperand<Mode>(OperandField()), 0);
    Mk.Psw = (Mk.Psw & ~FlagsNZVC) | FlagZ;
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecCom<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    const uint16_t result = ~operand.Value() & W::Mask;
    operand.Store(result);
    Mk.Psw = (Mk.Psw & ~FlagsNZV) | FlagC;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecInc<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    const uint16_t result = (operand.Value() + 1) & W::Mask;
    operand.Store(result);
    Mk.Psw &= ~FlagsNZV;
    Mk.Psw |= result == W::SignBit ? FlagV : 0;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecDec<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    const uint16_t result = (operand.Value() - 1) & W::Mask;
    operand.Store(result);
    Mk.Psw &= ~FlagsNZV;
    Mk.Psw |= result == W::SignBit - 1 ? FlagV : 0;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecNeg<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    const uint16_t old = operand.Value();
    const uint16_t result = (0 - old) & W::Mask;
    operand.Store(result);
    Mk.Psw &= ~FlagsNZVC;
    Mk.Psw |= (old == W::SignBit ? FlagV : 0) | (result != 0 ? FlagC : 0);
    SetNZ(W::Signed(result));
    return NoTrap;
}

// ADC and SBC always write the operand back, even when C is clear and the
// value stays the same.
template <class W, int Mode>
TrapVector ExecAdc<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    uint16_t result = operand.Value();
    Mk.Psw &= ~FlagsNZV;
    if (Carry()) {
        if (result == W::SignBit - 1) Mk.Psw |= FlagV;
        if (result != W::Mask) Mk.Psw &= ~FlagC;
        result = (result + 1) & W::Mask;
    }
    operand.Store(result);
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecSbc<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    uint16_t result = operand.Value();
    Mk.Psw &= ~FlagsNZV;
    if (Carry()) {
        if (result == W::SignBit) Mk.Psw |= FlagV;
        if (result != 0) Mk.Psw &= ~FlagC;
        result = (result - 1) & W::Mask;
    }
    operand.Store(result);
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecTst<W, Mode>::Run() {
    Mk.AddrMask = W::AddressMask;
    const uint16_t value = W::Get(ReadOperand<Mode>(OperandField()));
    Mk.Psw &= ~FlagsNZVC;
    SetNZ(W::Signed(value));
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecRor<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t((old >> 1) | (Carry() ? W::SignBit : 0)), old & 1);
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecRol<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t(((old << 1) | (Carry() ? 1 : 0)) & W::Mask), old & W::SignBit);
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecAsr<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t((old >> 1) | (old & W::SignBit)), old & 1);
    return NoTrap;
}

template <class W, int Mode>
TrapVector ExecAsl<W, Mode>::Run() {
    const auto operand = Operand<W, Mode>();
    const uint16_t old = operand.Value();
    StoreShifted(operand, uint16_t((old << 1) & W::Mask), old & W::SignBit);
    return NoTrap;
}

// N and Z come from the new low byte, the byte that was the high one.
template <int Mode>
TrapVector ExecSwab<Mode>::Run() {
    const auto operand = Operand<WordWidth, Mode>();
    const uint16_t old = operand.Value();
    const uint16_t result = uint16_t(old << 8 | old >> 8);
    operand.Store(result);
    Mk.Psw &= ~FlagsNZVC;
    SetNZ(ByteWidth::Signed(result & 0xFF));
    return NoTrap;
}

template <int Mode>
TrapVector ExecSxt<Mode>::Run() {
    Mk.AddrMask = WordWidth::AddressMask;
    const Location destination = WriteOperand<Mode>(OperandField());
    if (Mk.Psw & FlagN) {
        destination.SetWord(0xFFFF);
        Mk.Psw &= ~FlagZ;
    } else {
        destination.SetWord(0);
        Mk.Psw |= FlagZ;
    }
    Mk.Psw &= ~FlagV;
    return NoTrap;
}

// The trace bit and the whole high byte, the halt-mode bit included, cannot
// be changed by the program.
template <int Mode>
TrapVector ExecMtps<Mode>::Run() {
    Mk.AddrMask = ByteWidth::AddressMask;
    const uint8_t value = ReadOperand<Mode>(OperandField()).Byte();
    Mk.Psw = (Mk.Psw & 0xFF10) | (value & 0xEF);
    return NoTrap;
}

template <int Mode>
TrapVector ExecMfps<Mode>::Run() {
    Mk.AddrMask = ByteWidth::AddressMask;
    const uint16_t status = Mk.Psw & 0xFF;
    const uint16_t field = OperandField();
    // As MOVB: into a register the byte is sign-extended to a word.
    if (IsRegisterMode<Mode>(field))
        Mk.Reg[RegisterOf<Mode>(field)] = uint16_t(ByteWidth::Signed(status));
    else
        WriteOperand<Mode>(field).SetByte(uint8_t(status));
    Mk.Psw &= ~FlagsNZV;
    SetNZ(ByteWidth::Signed(status));
    return NoTrap;
}

// MARK NN sits on the stack after NN parameter words: it drops them, returns
// through R5 and restores R5 from the stack.
TrapVector ExecMark() {
    Mk.AddrMask = WordWidth::AddressMask;
    Mk.Reg[SP] = uint16_t(Mk.Reg[PC] + 2 * (Mk.Opcode & 077));
    Mk.Reg[PC] = Mk.Reg[5] & 0xFFFE;
    Mk.Reg[5] = ReadOperand<ModeOf(FieldPop)>(FieldPop).Word();
    return NoTrap;
}

// The routines as the processor runs them, one family each (cpu/Binding.h).
template struct DstByteRoutines<ExecClr>;
template struct DstByteRoutines<ExecCom>;
template struct DstByteRoutines<ExecInc>;
template struct DstByteRoutines<ExecDec>;
template struct DstByteRoutines<ExecNeg>;
template struct DstByteRoutines<ExecAdc>;
template struct DstByteRoutines<ExecSbc>;
template struct DstByteRoutines<ExecTst>;
template struct DstByteRoutines<ExecRor>;
template struct DstByteRoutines<ExecRol>;
template struct DstByteRoutines<ExecAsr>;
template struct DstByteRoutines<ExecAsl>;
template struct DstRoutines<ExecSwab>;
template struct DstRoutines<ExecSxt>;
template struct DstRoutines<ExecMtps>;
template struct DstRoutines<ExecMfps>;
template struct PlainRoutines<ExecMark>;
