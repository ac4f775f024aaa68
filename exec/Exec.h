// The instruction routines. Each takes no arguments, works on the machine
// state and returns a TrapVector: 0 when the instruction completed, otherwise
// the address of the trap vector that the processor step enters next.
#pragma once

#include <cstdint>

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

TrapVector ExecHalt();
TrapVector ExecWait();
