// The illegal-instruction routine and the system and halt-mode instructions.
#include "cpu/Exec.h"

#include "cpu/Build.h"

#include "cpu/Cpu.h"
#include "core/Def.h"
#include "cpu/Srcdst.h"

TrapVector IllegalOp() { return VectorIllegal; }

// HALT is not restricted to halt mode: from halt mode it overwrites Cpc and Cps.
TrapVector ExecHalt() {
    EnterHaltMode();
    return NoTrap;
}

TrapVector ExecWait() {
    Mk.Waiting = true;
    return NoTrap;
}

// The bus has no devices to reset: ports, registers and flags keep their values.
TrapVector ExecReset() { return NoTrap; }

namespace {

constexpr uint16_t FieldPostincrementR5 = 025;  // (R5)+
constexpr uint16_t FieldPredecrementR5 = 045;   // -(R5)

bool InHaltMode() { return Mk.Psw & HaltModeBit; }

// The transfers to and from the interrupted program's memory run with the
// interrupted program's status word, kept in halt mode.
void ResumeHaltModeStatus() { Mk.Psw = Mk.Cps | HaltModeBit; }

}  // namespace

TrapVector ExecGo() {
    if (!InHaltMode()) return VectorIllegal;
    // An odd Cpc is made even by the step after this instruction.
    Mk.Reg[PC] = Mk.Cpc;
    Mk.Psw = Mk.Cps & ~HaltModeBit;
    return NoTrap;
}

// As go, but a halt request pending at the next step is dropped, so exactly
// one instruction of the resumed program runs before the next request is taken.
TrapVector ExecStep() {
    if (!InHaltMode()) return VectorIllegal;
    Mk.StepFlag = true;
    return ExecGo();
}

TrapVector ExecRsel() {
    if (!InHaltMode()) return VectorIllegal;
    Mk.Reg[0] = 0;
    return NoTrap;
}

TrapVector ExecMfus() {
    if (!InHaltMode()) return VectorIllegal;
    Mk.AddrMask = WordWidth::AddressMask;
    ComputeAddress(FieldPostincrementR5);
    Mk.Reg[0] = ReadCell().Word();
    ResumeHaltModeStatus();
    return NoTrap;
}

TrapVector ExecMtus() {
    if (!InHaltMode()) return VectorIllegal;
    Mk.AddrMask = WordWidth::AddressMask;
    ComputeAddress(FieldPredecrementR5);
    WriteCell().SetWord(Mk.Reg[0]);
    ResumeHaltModeStatus();
    return NoTrap;
}

TrapVector ExecRcpc() {
    if (!InHaltMode()) return VectorIllegal;
    Mk.Reg[0] = Mk.Cpc;
    return NoTrap;
}

TrapVector ExecRcps() {
    if (!InHaltMode()) return VectorIllegal;
    Mk.Reg[0] = Mk.Cps;
    return NoTrap;
}

TrapVector ExecWcpc() {
    if (!InHaltMode()) return VectorIllegal;
    Mk.Cpc = Mk.Reg[0];
    return NoTrap;
}

TrapVector ExecWcps() {
    if (!InHaltMode()) return VectorIllegal;
    Mk.Cps = Mk.Reg[0];
    return NoTrap;
}

// The routines as the processor runs them (cpu/Binding.h).
template struct PlainRoutines<IllegalOp>;
template struct PlainRoutines<ExecHalt>;
template struct PlainRoutines<ExecWait>;
template struct PlainRoutines<ExecReset>;
template struct PlainRoutines<ExecGo>;
template struct PlainRoutines<ExecStep>;
template struct PlainRoutines<ExecRsel>;
template struct PlainRoutines<ExecMfus>;
template struct PlainRoutines<ExecRcpc>;
template struct PlainRoutines<ExecRcps>;
template struct PlainRoutines<ExecMtus>;
template struct PlainRoutines<ExecWcpc>;
template struct PlainRoutines<ExecWcps>;
