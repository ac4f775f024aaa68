// The instruction routines. Each takes no arguments, works on the machine
// state and returns a TrapVector: 0 when the instruction completed, otherwise
// the address of the trap vector that the processor step enters next.
#pragma once

#include <array>
#include <cstdint>

#include "core/Srcdst.h"
#include "exec/Width.h"

using TrapVector = uint16_t;
using ExecHandler = TrapVector (*)();

constexpr TrapVector NoTrap = 0;
constexpr TrapVector VectorBadJump = 0x0004;   // JMP/JSR with a register destination
constexpr TrapVector VectorIllegal = 0x0008;   // unassigned opcodes, misplaced halt-mode instructions
constexpr TrapVector VectorBreakpoint = 0x000C;  // BPT and the trace trap
constexpr TrapVector VectorIot = 0x0010;
constexpr TrapVector VectorEmt = 0x0018;
constexpr TrapVector VectorTrap = 0x001C;

// Every opcode that no instruction claims: changes nothing, traps through 0x0008.
TrapVector IllegalOp();

// The routines with operand fields are templates over the fields' modes
// (SrcMode for bits 6..11, Mode or DstMode for bits 0..5), and those with a
// register in bits 6..8 over that register as a register-mode field (R, Link,
// Counter). With the default, AnyMode, a routine decodes its fields as it
// runs: that is the routine the instruction set assigns, and the one the
// decoder's tables name. Each is also built for every pair of BuiltModes
// (ModeRoutines below), and the processor runs those.

// Double-operand instructions, 01SSDD..06SSDD and 11SSDD..16SSDD. The width
// parameter is WordWidth or ByteWidth (MOV and MOVB, ...); ADD and SUB have
// no byte form.
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> TrapVector ExecMov();
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> TrapVector ExecCmp();
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> TrapVector ExecBit();
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> TrapVector ExecBic();
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> TrapVector ExecBis();
template <int SrcMode = AnyMode, int DstMode = AnyMode> TrapVector ExecAdd();
template <int SrcMode = AnyMode, int DstMode = AnyMode> TrapVector ExecSub();

// Single-operand instructions, 0050DD..0063DD and 1050DD..1063DD.
template <class W, int Mode = AnyMode> TrapVector ExecClr();
template <class W, int Mode = AnyMode> TrapVector ExecCom();
template <class W, int Mode = AnyMode> TrapVector ExecInc();
template <class W, int Mode = AnyMode> TrapVector ExecDec();
template <class W, int Mode = AnyMode> TrapVector ExecNeg();
template <class W, int Mode = AnyMode> TrapVector ExecAdc();
template <class W, int Mode = AnyMode> TrapVector ExecSbc();
template <class W, int Mode = AnyMode> TrapVector ExecTst();
template <class W, int Mode = AnyMode> TrapVector ExecRor();
template <class W, int Mode = AnyMode> TrapVector ExecRol();
template <class W, int Mode = AnyMode> TrapVector ExecAsr();
template <class W, int Mode = AnyMode> TrapVector ExecAsl();
template <int Mode = AnyMode> TrapVector ExecSwab();
template <int Mode = AnyMode> TrapVector ExecSxt();
template <int Mode = AnyMode> TrapVector ExecMtps();
template <int Mode = AnyMode> TrapVector ExecMfps();
TrapVector ExecMark();

// Program control.
TrapVector ExecBr();
TrapVector ExecBne();
TrapVector ExecBeq();
TrapVector ExecBge();
TrapVector ExecBlt();
TrapVector ExecBgt();
TrapVector ExecBle();
TrapVector ExecBpl();
TrapVector ExecBmi();
TrapVector ExecBhi();
TrapVector ExecBlos();
TrapVector ExecBvc();
TrapVector ExecBvs();
TrapVector ExecBcc();
TrapVector ExecBcs();
template <int Mode = AnyMode> TrapVector ExecJmp();
template <int Mode = AnyMode, int Link = AnyMode> TrapVector ExecJsr();
TrapVector ExecRts();
template <int Counter = AnyMode> TrapVector ExecSob();
TrapVector ExecEmt();
TrapVector ExecTrap();
TrapVector ExecBpt();
TrapVector ExecIot();
TrapVector ExecRti();
TrapVector ExecRtt();
TrapVector ExecClearFlags();  // 000240..000257, NOP and CLC among them
TrapVector ExecSetFlags();    // 000260..000277, SEC among them

// Extended arithmetic and the floating-point group, which is not implemented.
template <int Mode = AnyMode, int R = AnyMode> TrapVector ExecMul();
template <int Mode = AnyMode, int R = AnyMode> TrapVector ExecDiv();
template <int Mode = AnyMode, int R = AnyMode> TrapVector ExecAsh();
template <int Mode = AnyMode, int R = AnyMode> TrapVector ExecAshc();
template <int Mode = AnyMode, int R = AnyMode> TrapVector ExecXor();
TrapVector ExecFloatingPoint();

// System and halt-mode instructions. The halt-mode group (000010..000037)
// traps through 0x0008 when the processor is not in halt mode.
TrapVector ExecHalt();
TrapVector ExecWait();
TrapVector ExecReset();
TrapVector ExecGo();
TrapVector ExecStep();
TrapVector ExecRsel();
TrapVector ExecMfus();
TrapVector ExecRcpc();
TrapVector ExecRcps();
TrapVector ExecMtus();
TrapVector ExecWcpc();
TrapVector ExecWcps();

// A routine as the processor runs it (exec/Build.h). PC goes in and out in
// host registers: it takes PC, already past the instruction word, and
// returns its TrapVector in bits 0..15 and the new PC, made even, in bits
// 16..31. So no
// instruction waits for a store of PC made by the one before, which would
// cost the host more than most instructions take.
using BuiltHandler = uint32_t (*)(uint16_t pc);

// A routine with operand fields, as the instruction set names it, and the
// routine built for every pair of modes, indexed by source mode number *
// ModeCount + destination mode number (BuiltModeIndex); a routine with one
// operand field takes its mode from the destination's place (bits 0..5).
// The register that bits 6..8 name in JSR, SOB and the extended arithmetic
// (registerField) is built for as the source in register mode, InRegister(R).
struct ModeRoutines {
    ExecHandler routine;
    std::array<BuiltHandler, ModeCount * ModeCount> byModes;
    bool registerField = false;
};

// A routine without operand fields, and the same routine as the processor
// runs it.
struct PlainRoutine {
    ExecHandler routine;
    BuiltHandler built;
};
extern const std::array<ModeRoutines, 12> DoubleOperandModeRoutines;
extern const std::array<ModeRoutines, 28> SingleOperandModeRoutines;
extern const std::array<ModeRoutines, 5> ExtendedArithmeticModeRoutines;
extern const std::array<ModeRoutines, 3> ProgramControlModeRoutines;
extern const std::array<PlainRoutine, 15> SystemPlainRoutines;
extern const std::array<PlainRoutine, 24> ProgramControlPlainRoutines;
