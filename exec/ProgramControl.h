// JMP and JSR, the jumps through an operand field. Templates over the
// field's mode; the decoder builds each for every mode (and once for AnyMode).
#pragma once

#include "exec/Exec.h"
#include "exec/Operand.h"

// A register has no address to jump to.
template <int Mode>
TrapVector ExecJmp() {
    const uint16_t field = OperandField();
    if (IsRegisterMode<Mode>(field)) return VectorBadJump;
    AddrMask = WordWidth::AddressMask;
    ComputeAddress<Mode>(field);
    Reg[PC] = Addr;
    return NoTrap;
}

// The linkage register is read only after the destination's side effects and
// the push, so JSR R5,@(R5)+ saves R5 as incremented and JSR SP,... saves the
// decremented SP.
template <int Mode>
TrapVector ExecJsr() {
    const uint16_t field = OperandField();
    if (IsRegisterMode<Mode>(field)) return VectorBadJump;
    AddrMask = WordWidth::AddressMask;
    ComputeAddress<Mode>(field);
    const uint16_t target = Addr & 0xFFFE;
    const int link = RegisterField();
    ComputeAddress<ModeOf(FieldPush)>(FieldPush);
    WriteCell().SetWord(Reg[link]);
    Reg[link] = Reg[PC];
    Reg[PC] = target;
    return NoTrap;
}
