// Extended arithmetic: MUL, DIV, ASH, ASHC and XOR, and the floating-point
// group, which this processor does not execute. Bits 6..8 name a register R;
// the 32-bit values have their high word in R and their low word in R OR 1,
// one and the same register when R is odd.
#include <algorithm>
#include <limits>

#include "cpu/Build.h"
#include "cpu/Exec.h"
#include "cpu/Operand.h"
#include "cpu/Flags.h"

namespace {

template <int Mode>
uint16_t ReadWordOperand() {
    Mk.AddrMask = WordWidth::AddressMask;
    return ReadOperand<Mode>(OperandField()).Word();
}

// The low six bits of the source as a signed number: 1..31 shift left,
// -32..-1 shift right.
int ShiftCount(uint16_t source) {
    const int field = source & 077;
    return field < 32 ? field : field - 64;
}

bool Outside16Bits(int64_t value) { return value > 32767 || value < -32768; }

}  // namespace

template <int Mode, int R>
TrapVector ExecMul<Mode, R>::Run() {
    const int16_t multiplier = int16_t(ReadWordOperand<Mode>());
    const int r = RegisterField<R>();
    const int32_t product = int32_t(int16_t(Mk.Reg[r])) * multiplier;
    Mk.Psw &= ~FlagsNZVC;
    SetNZ(product);
    if (Outside16Bits(product)) Mk.Psw |= FlagC;
    Mk.Reg[r] = uint16_t(uint32_t(product) >> 16);
    Mk.Reg[r | 1] = uint16_t(product);
    return NoTrap;
}

// A quotient that does not fit 16 bits sets V but is stored all the same.
template <int Mode, int R>
TrapVector ExecDiv<Mode, R>::Run() {
    const int16_t divisor = int16_t(ReadWordOperand<Mode>());
    const int r = RegisterField<R>();
    Mk.Psw &= ~FlagsNZVC;
    if (divisor == 0) {
        Mk.Psw |= FlagV | FlagC;
        return NoTrap;
    }
    const int32_t dividend = int32_t(uint32_t(Mk.Reg[r]) << 16 | Mk.Reg[r | 1]);
    // In 64 bits, because -2^31 / -1 does not fit 32; both truncate toward zero.
    const int64_t quotient = int64_t{dividend} / divisor;
    const int64_t remainder = int64_t{dividend} % divisor;
    Mk.Reg[r | 1] = uint16_t(remainder);
    Mk.Reg[r] = uint16_t(quotient);
    // Clamping keeps the sign of that one quotient of 2^31: N = 0, Z = 0.
    SetNZ(int32_t(std::clamp<int64_t>(quotient, std::numeric_limits<int32_t>::min(),
                                      std::numeric_limits<int32_t>::max())));
    if (Outside16Bits(quotient)) Mk.Psw |= FlagV;
    return NoTrap;
}

// The register is read before the count, so a count operand that steps R
// itself is overwritten by the result.
template <int Mode, int R>
TrapVector ExecAsh<Mode, R>::Run() {
    const int r = RegisterField<R>();
    const uint16_t old = Mk.Reg[r];
    const int count = ShiftCount(ReadWordOperand<Mode>());
    Mk.Psw &= ~FlagsNZVC;
    uint16_t result = old;
    if (count >= 16) {
        result = 0;
        if (old != 0) Mk.Psw |= FlagV;
        if (count == 16 && (old & 1)) Mk.Psw |= FlagC;
    } else if (count > 0) {
        if ((old >> (16 - count)) & 1) Mk.Psw |= FlagC;
        if (SignChangesInLeftShift(old, 16, count)) Mk.Psw |= FlagV;
        result = uint16_t(uint32_t{old} << count);
    } else if (count < 0) {
        // Sixteen places already leave nothing but copies of the sign.
        const int places = std::min(-count, 16);
        const int32_t value = int16_t(old);
        if ((value >> (places - 1)) & 1) Mk.Psw |= FlagC;
        result = uint16_t(value >> places);
    }
    Mk.Reg[r] = result;
    SetNZ(WordWidth::Signed(result));
    return NoTrap;
}

template <int Mode, int R>
TrapVector ExecAshc<Mode, R>::Run() {
    const int r = RegisterField<R>();
    const uint32_t old = uint32_t(Mk.Reg[r]) << 16 | Mk.Reg[r | 1];
    const int count = ShiftCount(ReadWordOperand<Mode>());
    Mk.Psw &= ~FlagsNZVC;
    uint32_t result = old;
    if (count > 0) {
        if ((old >> (32 - count)) & 1) Mk.Psw |= FlagC;
        if (SignChangesInLeftShift(old, 32, count)) Mk.Psw |= FlagV;
        result = old << count;
    } else if (count < 0) {
        // Up to 32 places, so the arithmetic shift is done in 64 bits.
        const int places = -count;
        const int64_t value = int32_t(old);
        if ((value >> (places - 1)) & 1) Mk.Psw |= FlagC;
        result = uint32_t(value >> places);
    }
    Mk.Reg[r] = uint16_t(result >> 16);
    Mk.Reg[r | 1] = uint16_t(result);
    SetNZ(int32_t(result));
    return NoTrap;
}

// The destination is addressed first, so XOR R2,(R2)+ uses R2 as incremented.
template <int Mode, int R>
TrapVector ExecXor<Mode, R>::Run() {
    Mk.AddrMask = WordWidth::AddressMask;
    const ModifiedOperand<WordWidth, Mode> destination(OperandField());
    const uint16_t result = Mk.Reg[RegisterField<R>()] ^ destination.Value();
    destination.Store(result);
    Mk.Psw &= ~FlagsNZV;
    SetNZ(WordWidth::Signed(result));
    return NoTrap;
}

// No floating-point arithmetic is done. FADD, FSUB, FMUL and FDIV
// (075000..075037) set the halt-mode bit before they trap, so the status word
// saved on the stack carries it; the rest of the group traps with the status
// word unchanged.
TrapVector ExecFloatingPoint() {
    if ((Mk.Opcode & 0xFF) < 040) Mk.Psw |= HaltModeBit;
    return VectorIllegal;
}

// The routines as the processor runs them, one family each (cpu/Binding.h).
template struct RegDstRoutines<ExecMul>;
template struct RegDstRoutines<ExecDiv>;
template struct RegDstRoutines<ExecAsh>;
template struct RegDstRoutines<ExecAshc>;
template struct RegDstRoutines<ExecXor>;
template struct PlainRoutines<ExecFloatingPoint>;
