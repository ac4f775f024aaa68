// Instruction decoding: the current Opcode selects exactly one instruction
// routine through at most two table lookups, never through a chain of
// comparisons.
#pragma once

#include <array>

#include "core/Def.h"
#include "exec/Exec.h"

// By the opcode's high byte. Entry 0x00 and the eight group entries are
// second-level dispatchers with the same signature.
extern const std::array<ExecHandler, 256> OpTable;
// By the low byte, for opcodes 000000..000377.
extern const std::array<ExecHandler, 256> Op0Table;
// For the high bytes of GroupHighBytes, by bits 6 and 7 of the opcode.
constexpr std::array<uint8_t, 8> GroupHighBytes = {0x0A, 0x0B, 0x0C, 0x0D, 0x8A, 0x8B, 0x8C, 0x8D};
extern const std::array<std::array<ExecHandler, 4>, 8> OpGroupTable;

// The routine that an opcode reaches through the three tables above.
ExecHandler RoutineFor(uint16_t opcode);

// The tables above define the instruction set; the processor runs through
// this one, generated from them when the program starts: for every opcode its
// routine, built for the addressing modes of the opcode's operand fields, so
// one lookup selects an instruction with nothing left to decode.
extern const std::array<BuiltHandler, 0x10000> OpcodeTable;

// Runs the routine that Opcode selects, PC made even after it as after every
// instruction, and returns its TrapVector.
inline TrapVector DispatchOpcode() { return uint16_t(OpcodeTable[Mk.Opcode](Mk.Reg[PC])); }
