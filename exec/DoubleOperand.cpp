// Double-operand instructions: MOV, CMP, BIT, BIC, BIS with their byte forms,
// ADD and SUB. The source is addressed and read completely before the
// destination is addressed, so its register steps and index words come first.
#include "exec/Exec.h"
#include "exec/Operand.h"
#include "exec/Flags.h"

namespace {

template <class W>
uint16_t ReadSource() {
    AddrMask = W::AddressMask;
    return W::Get(ReadOperand(SourceField()));
}

}  // namespace

template <class W>
TrapVector ExecMov() {
    const uint16_t value = ReadSource<W>();
    const uint16_t field = OperandField();
    if constexpr (W::Bits == 8) {
        // MOVB into a register fills the whole register with the sign-extended byte.
        if (IsRegisterMode(field))
            Reg[field] = uint16_t(W::Signed(value));
        else
            W::Put(WriteOperand(field), value);
    } else {
        W::Put(WriteOperand(field), value);
    }
    Psw &= ~FlagsNZV;
    SetNZ(W::Signed(value));
    return NoTrap;
}

template <class W>
TrapVector ExecCmp() {
    const uint16_t source = ReadSource<W>();
    const uint16_t destination = W::Get(ReadOperand(OperandField()));
    const uint16_t difference = (source - destination) & W::Mask;
    Psw &= ~FlagsNZVC;
    SetCarryAndOverflow<W>(BorrowVector(source, destination, difference));
    SetNZ(W::Signed(difference));
    return NoTrap;
}

template <class W>
TrapVector ExecBit() {
    const uint16_t source = ReadSource<W>();
    const uint16_t result = source & W::Get(ReadOperand(OperandField()));
    Psw &= ~FlagsNZV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W>
TrapVector ExecBic() {
    const uint16_t source = ReadSource<W>();
    const ModifiedOperand<W> destination(OperandField());
    const uint16_t result = destination.Value() & ~source & W::Mask;
    destination.Store(result);
    Psw &= ~FlagsNZV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W>
TrapVector ExecBis() {
    const uint16_t source = ReadSource<W>();
    const ModifiedOperand<W> destination(OperandField());
    const uint16_t result = destination.Value() | source;
    destination.Store(result);
    Psw &= ~FlagsNZV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

TrapVector ExecAdd() {
    const uint16_t source = ReadSource<WordWidth>();
    const ModifiedOperand<WordWidth> destination(OperandField());
    const uint16_t augend = destination.Value();
    const uint16_t sum = uint16_t(augend + source);
    destination.Store(sum);
    Psw &= ~FlagsNZVC;
    SetCarryAndOverflow<WordWidth>(CarryVector(source, augend, sum));
    SetNZ(WordWidth::Signed(sum));
    return NoTrap;
}

TrapVector ExecSub() {
    const uint16_t source = ReadSource<WordWidth>();
    const ModifiedOperand<WordWidth> destination(OperandField());
    const uint16_t minuend = destination.Value();
    const uint16_t difference = uint16_t(minuend - source);
    destination.Store(difference);
    Psw &= ~FlagsNZVC;
    SetCarryAndOverflow<WordWidth>(BorrowVector(minuend, source, difference));
    SetNZ(WordWidth::Signed(difference));
    return NoTrap;
}

template TrapVector ExecMov<WordWidth>();
template TrapVector ExecMov<ByteWidth>();
template TrapVector ExecCmp<WordWidth>();
template TrapVector ExecCmp<ByteWidth>();
template TrapVector ExecBit<WordWidth>();
template TrapVector ExecBit<ByteWidth>();
template TrapVector ExecBic<WordWidth>();
template TrapVector ExecBic<ByteWidth>();
template TrapVector ExecBis<WordWidth>();
template TrapVector ExecBis<ByteWidth>();
