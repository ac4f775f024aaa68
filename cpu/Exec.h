// The instruction routines. Each takes no arguments, works on the machine
// state and returns a TrapVector: 0 when the instruction completed, otherwise
// the address of the trap vector that the processor step enters next.
#pragma once

#include <cstdint>

#include "cpu/Srcdst.h"
#include "cpu/Width.h"

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

// The routines with operand fields are class templates over the fields'
// modes (SrcMode for bits 6..11, Mode or DstMode for bits 0..5), and those
// with a register in bits 6..8 over that register as a register-mode field
// (R, Link, Counter); Run is the routine. With the default, AnyMode, a
// routine decodes its fields as it runs: that is the routine the instruction
// set assigns. The processor runs each one built for the modes of its
// opcode's fields (cpu/Binding.h).

// Double-operand instructions, 01SSDD..06SSDD and 11SSDD..16SSDD. The width
// parameter is WordWidth or ByteWidth (MOV and MOVB, ...); ADD and SUB have
// no byte form.
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> struct ExecMov { static TrapVector Run(); };
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> struct ExecCmp { static TrapVector Run(); };
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> struct ExecBit { static TrapVector Run(); };
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> struct ExecBic { static TrapVector Run(); };
template <class W, int SrcMode = AnyMode, int DstMode = AnyMode> struct ExecBis { static TrapVector Run(); };
template <int SrcMode = AnyMode, int DstMode = AnyMode> struct ExecAdd { static TrapVector Run(); };
template <int SrcMode = AnyMode, int DstMode = AnyMode> struct ExecSub { static TrapVector Run(); };

// Single-operand instructions, 0050DD..0063DD and 1050DD..1063DD.
template <class W, int Mode = AnyMode> struct ExecClr { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecCom { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecInc { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecDec { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecNeg { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecAdc { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecSbc { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecTst { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecRor { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecRol { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecAsr { static TrapVector Run(); };
template <class W, int Mode = AnyMode> struct ExecAsl { static TrapVector Run(); };
template <int Mode = AnyMode> struct ExecSwab { static TrapVector Run(); };
template <int Mode = AnyMode> struct ExecSxt { static TrapVector Run(); };
template <int Mode = AnyMode> struct ExecMtps { static TrapVector Run(); };
template <int Mode = AnyMode> struct ExecMfps { static TrapVector Run(); };
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
template <int Mode = AnyMode> struct ExecJmp { static TrapVector Run(); };
template <int Mode = AnyMode, int Link = AnyMode> struct ExecJsr { static TrapVector Run(); };
TrapVector ExecRts();
template <int Counter = AnyMode> struct ExecSob { static TrapVector Run(); };
TrapVector ExecEmt();
TrapVector ExecTrap();
TrapVector ExecBpt();
TrapVector ExecIot();
TrapVector ExecRti();
TrapVector ExecRtt();
TrapVector ExecClearFlags();  // 000240..000257, NOP and CLC among them
TrapVector ExecSetFlags();    // 000260..000277, SEC among them

// Extended arithmetic and the floating-point group, which is not implemented.
template <int Mode = AnyMode, int R = AnyMode> struct ExecMul { static TrapVector Run(); };
template <int Mode = AnyMode, int R = AnyMode> struct ExecDiv { static TrapVector Run(); };
template <int Mode = AnyMode, int R = AnyMode> struct ExecAsh { static TrapVector Run(); };
template <int Mode = AnyMode, int R = AnyMode> struct ExecAshc { static TrapVector Run(); };
template <int Mode = AnyMode, int R = AnyMode> struct ExecXor { static TrapVector Run(); };
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
