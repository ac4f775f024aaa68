// Double-operand instructions: MOV, CMP, BIT, BIC, BIS with their byte forms,
// ADD and SUB. The source is addressed and read completely before the
// destination is addressed, so its register steps and index words come first.
#include "exec/Build.h"
#include "exec/Exec.h"
#include "exec/Operand.h"
#include "exec/Flags.h"

namespace {

template <class W, int Mode>
uint16_t ReadSource() {
    Mk.AddrMask = W::AddressMask;
    return W::Get(ReadOperand<Mode>(SourceField()));
}

}  // namespace

template <class W, int SrcMode, int DstMode>
TrapVector ExecMov() {
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
TrapVector ExecCmp() {
    const uint16_t source = ReadSource<W, SrcMode>();
    const uint16_t destination = W::Get(ReadOperand<DstMode>(OperandField()));
    const uint16_t difference = (source - destination) & W::Mask;
    Mk.Psw &= ~FlagsNZVC;
    SetCarryAndOverflow<W>(BorrowVector(source, destination, difference));
    SetNZ(W::Signed(difference));
    return NoTrap;
}

template <class W, int SrcMode, int DstMode>
TrapVector ExecBit() {
    const uint16_t source = ReadSource<W, SrcMode>();
    const uint16_t result = source & W::Get(ReadOperand<DstMode>(OperandField()));
    Mk.Psw &= ~FlagsNZV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int SrcMode, int DstMode>
TrapVector ExecBic() {
    const uint16_t source = ReadSource<W, SrcMode>();
    const ModifiedOperand<W, DstMode> destination(OperandField());
    const uint16_t result = destination.Value() & ~source & W::Mask;
    destination.Store(result);
    Mk.Psw &= ~FlagsNZV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <class W, int SrcMode, int DstMode>
TrapVector ExecBis() {
    const uint16_t source = ReadSource<W, SrcMode>();
    const ModifiedOperand<W, DstMode> destination(OperandField());
    const uint16_t result = destination.Value() | source;
    destination.Store(result);
    Mk.Psw &= ~FlagsNZV;
    SetNZ(W::Signed(result));
    return NoTrap;
}

template <int SrcMode, int DstMode>
TrapVector ExecAdd() {
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
TrapVector ExecSub() {
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

constinit const std::array<ModeRoutines, 12> DoubleOperandModeRoutines = {
    BuildModeRoutines(ExecMov<WordWidth>,
                      []<int S, int D> { return Flattened<ExecMov<WordWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecCmp<WordWidth>,
                      []<int S, int D> { return Flattened<ExecCmp<WordWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecBit<WordWidth>,
                      []<int S, int D> { return Flattened<ExecBit<WordWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecBic<WordWidth>,
                      []<int S, int D> { return Flattened<ExecBic<WordWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecBis<WordWidth>,
                      []<int S, int D> { return Flattened<ExecBis<WordWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecMov<ByteWidth>,
                      []<int S, int D> { return Flattened<ExecMov<ByteWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecCmp<ByteWidth>,
                      []<int S, int D> { return Flattened<ExecCmp<ByteWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecBit<ByteWidth>,
                      []<int S, int D> { return Flattened<ExecBit<ByteWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecBic<ByteWidth>,
                      []<int S, int D> { return Flattened<ExecBic<ByteWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecBis<ByteWidth>,
                      []<int S, int D> { return Flattened<ExecBis<ByteWidth, S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecAdd<>, []<int S, int D> { return Flattened<ExecAdd<S, D>, WordsAfter(S, D)>; }),
    BuildModeRoutines(ExecSub<>, []<int S, int D> { return Flattened<ExecSub<S, D>, WordsAfter(S, D)>; }),
};
