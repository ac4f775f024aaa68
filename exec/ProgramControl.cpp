// Program control: branches, JMP, JSR, RTS, SOB, the trap instructions, the
// returns from traps and the condition-code operations.
#include "exec/Build.h"
#include "exec/Exec.h"
#include "exec/Operand.h"
#include "exec/Flags.h"

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
TrapVector ExecJmp() {
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
TrapVector ExecJsr() {
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

// RTS PC, the usual return, pops the PC; it is written as a fixed register
// so that the next fetch need not wait to learn which register it was.
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
TrapVector ExecSob() {
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

constinit const std::array<ModeRoutines, 3> ProgramControlModeRoutines = {
    BuildModeRoutines(ExecJmp<>, []<int S, int D> { return Flattened<ExecJmp<D>>; }),
    BuildRegisterModeRoutines(ExecJsr<>, []<int S, int D> { return Flattened<ExecJsr<D, S>>; }),
    BuildRegisterModeRoutines(ExecSob<>, []<int S, int> { return Flattened<ExecSob<S>>; }),
};

constinit const std::array<PlainRoutine, 24> ProgramControlPlainRoutines =
    BuildPlainRoutines<ExecBr, ExecBne, ExecBeq, ExecBge, ExecBlt, ExecBgt, ExecBle, ExecBpl, ExecBmi, ExecBhi,
                       ExecBlos, ExecBvc, ExecBvs, ExecBcc, ExecBcs, ExecRts, ExecEmt, ExecTrap, ExecBpt,
                       ExecIot, ExecRti, ExecRtt, ExecClearFlags, ExecSetFlags>();
