// Program control: branches, JMP, JSR, RTS, SOB, the trap instructions, the
// returns from traps and the condition-code operations.
#include "cpu/Build.h"
#include "cpu/Exec.h"
#include "cpu/Operand.h"
#include "cpu/Flags.h"

namespace {

bool N() { return Mk.Psw & FlagN; }
bool Z() { return Mk.Psw & FlagZ; }
bool V() { return Mk.Psw & FlagV; }
bool C() { return Mk.Psw & FlagC; }

// The low byte is a signed offset in words from the address after the branch.
TrapVector BranchIf(bool taken) {
    if (taken) Mk.Reg[PC] = uint16_t(Mk.Reg[PC] + 2 * int8_t(Mk.Opcode & 0xFF));
    return NoTrap;
}

uint16_t Pop() { return ReadOperand<ModeOf(FieldPop)>(FieldPop).Word(); }

// The processor treats the top 8 KiB of the address space as halt-mode
// space: a return to 0xE000 or above always resumes in halt mode.
constexpr uint16_t HaltModeCodeStart = 0xE000;

TrapVector ReturnFromTrap() {
    Mk.AddrMask = WordWidth::AddressMask;
    Mk.Reg[PC] = Pop() & 0xFFFE;
    Mk.Psw = Pop();
    if (Mk.Reg[PC] >= HaltModeCodeStart) Mk.Psw |= HaltModeBit;
    return NoTrap;
}

}  // namespace

TrapVector ExecBr() { return BranchIf(true); }
TrapVector ExecBne() { return BranchIf(!Z()); }
TrapVector ExecBeq() { return BranchIf(Z()); }
TrapVector ExecBge() { return BranchIf(N() == V()); }
TrapVector ExecBlt() { return BranchIf(N() != V()); }
TrapVector ExecBgt() { return BranchIf(!Z() && N() == V()); }
TrapVector ExecBle() { return BranchIf(Z() || N() != V()); }
TrapVector ExecBpl() { return BranchIf(!N()); }
TrapVector ExecBmi() { return BranchIf(N()); }
TrapVector ExecBhi() { return BranchIf(!C() && !Z()); }
TrapVector ExecBlos() { return BranchIf(C() || Z()); }
TrapVector ExecBvc() { return BranchIf(!V()); }
TrapVector ExecBvs() { return BranchIf(V()); }
TrapVector ExecBcc() { return BranchIf(!C()); }
TrapVector ExecBcs() { return BranchIf(C()); }

// A register has no address to jump to.
template <int Mode>
TrapVector ExecJmp<Mode>::Run() {
    const uint16_t field = OperandField();
    if (IsRegisterMode<Mode>(field)) return VectorBadJump;
    Mk.AddrMask = WordWidth::AddressMask;
    ComputeAddress<Mode>(field);
    Mk.Reg[PC] = Mk.Addr;
    return NoTrap;
}

// The linkage register is read only after the destination's side effects and
// the push, so JSR R5,@(R5)+ saves R5 as incremented and JSR SP,... saves the
// decremented SP.
template <int Mode, int Link>
TrapVector ExecJsr<Mode, Link>::Run() {
    const uint16_t field = OperandField();
    if (IsRegisterMode<Mode>(field)) return VectorBadJump;
    Mk.AddrMask = WordWidth::AddressMask;
    ComputeAddress<Mode>(field);
    const uint16_t target = Mk.Addr & 0xFFFE;
    const int link = RegisterField<Link>();
    ComputeAddress<ModeOf(FieldPush)>(FieldPush);
    WriteCell().SetWord(Mk.Reg[link]);
    Mk.Reg[link] = Mk.Reg[PC];
    Mk.Reg[PC] = target;
    return NoTrap;
}

// RTS PC, the usual return, pops the PC; it writes Reg[PC] itself, not the
// register the opcode names, so that the address of that store is known at
// once (store-to-load forwarding: BuiltHandler, cpu/Binding.h).
TrapVector ExecRts() {
    Mk.AddrMask = WordWidth::AddressMask;
    const int link = Mk.Opcode & 7;
    if (link == PC) {
        Mk.Reg[PC] = Pop();
        return NoTrap;
    }
    Mk.Reg[PC] = Mk.Reg[link] & 0xFFFE;
    Mk.Reg[link] = Pop();
    return NoTrap;
}

// The counter wraps: SOB with 0 in its register loops 65536 times.
template <int Counter>
TrapVector ExecSob<Counter>::Run() {
    uint16_t& counter = Mk.Reg[RegisterField<Counter>()];
    --counter;
    if (counter != 0) Mk.Reg[PC] = uint16_t(Mk.Reg[PC] - 2 * (Mk.Opcode & 077));
    return NoTrap;
}

// The processor does not look at the low byte of EMT and TRAP; the handler reads it.
TrapVector ExecEmt() { return VectorEmt; }
TrapVector ExecTrap() { return VectorTrap; }
TrapVector ExecBpt() { return VectorBreakpoint; }
TrapVector ExecIot() { return VectorIot; }

TrapVector ExecRti() { return ReturnFromTrap(); }

// RTT lets one instruction run before a trace trap that the popped T bit asks for.
TrapVector ExecRtt() {
    Mk.TraceInhibit = true;
    return ReturnFromTrap();
}

// Bits 0..3 of the opcode name the codes to clear or set, in PSW order.
TrapVector ExecClearFlags() {
    Mk.Psw &= ~(Mk.Opcode & FlagsNZVC);
    return NoTrap;
}

TrapVector ExecSetFlags() {
    Mk.Psw |= Mk.Opcode & FlagsNZVC;
    return NoTrap;
}

// The routines as the processor runs them, one family each (cpu/Binding.h).
template struct DstRoutines<ExecJmp, Jumps>;
template struct RegDstRoutines<ExecJsr, Jumps>;
template struct RegOffsetRoutines<ExecSob>;
template struct PlainRoutines<ExecBr>;
template struct PlainRoutines<ExecBne>;
template struct PlainRoutines<ExecBeq>;
template struct PlainRoutines<ExecBge>;
template struct PlainRoutines<ExecBlt>;
template struct PlainRoutines<ExecBgt>;
template struct PlainRoutines<ExecBle>;
template struct PlainRoutines<ExecBpl>;
template struct PlainRoutines<ExecBmi>;
template struct PlainRoutines<ExecBhi>;
template struct PlainRoutines<ExecBlos>;
template struct PlainRoutines<ExecBvc>;
template struct PlainRoutines<ExecBvs>;
template struct PlainRoutines<ExecBcc>;
template struct PlainRoutines<ExecBcs>;
template struct PlainRoutines<ExecRts>;
template struct PlainRoutines<ExecEmt>;
template struct PlainRoutines<ExecTrap>;
template struct PlainRoutines<ExecBpt>;
template struct PlainRoutines<ExecIot>;
template struct PlainRoutines<ExecRti>;
template struct PlainRoutines<ExecRtt>;
template struct PlainRoutines<ExecClearFlags>;
template struct PlainRoutines<ExecSetFlags>;
