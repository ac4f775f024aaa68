// Instruction decoding. One list, InstructionSet, holds the whole
// instruction set of the K1801VM2: for each pattern of instruction words,
// what the disassembler and the line assembler call it and what the
// processor runs for it. From it the program fills the table of one routine
// per opcode that the processor dispatches through (OpcodeTable), the
// reference dispatch that names the routine the instruction set assigns
// (RoutineFor), and the disassembler's table (debugger/Pdp11dis.h). Adding an
// instruction is one line here and its routine in cpu/.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/Def.h"
#include "cpu/Binding.h"
#include "cpu/Exec.h"

// Operand formats: how the disassembler writes the bits outside an
// instruction's mask, and how the line assembler reads them.
constexpr uint16_t FmtIllegal = 0;      // no instruction; nothing
constexpr uint16_t FmtNone = 1;         // no operands
constexpr uint16_t FmtReg = 2;          // register in bits 0-2
constexpr uint16_t FmtSrcDstByte = 3;   // source, destination; bit 15 = byte form
constexpr uint16_t FmtSrcDst = 4;       // source, destination
constexpr uint16_t FmtDstByte = 5;      // destination; bit 15 = byte form
constexpr uint16_t FmtDst = 6;          // destination
constexpr uint16_t FmtRegDst = 7;       // register in bits 6-8, destination
constexpr uint16_t FmtDstReg = 8;       // destination, register in bits 6-8
constexpr uint16_t FmtBranch = 9;       // target of a signed 8-bit word offset
constexpr uint16_t FmtSob = 10;         // register, target of a backward 6-bit offset
constexpr uint16_t FmtPriority = 11;    // bits 0-2 as one digit
constexpr uint16_t FmtMark = 12;        // bits 0-5
constexpr uint16_t FmtTrapCode = 13;    // bits 0-7
constexpr uint16_t FmtConditions = 14;  // condition letters c, v, z, n
constexpr uint16_t FmtData = 15;        // a whole data word (assembler only)

// A word w belongs to a record when (w & Mask) == Value.
struct InstructionRecord {
    uint16_t Mask;
    uint16_t Value;
    std::string_view Name;  // lower case, at most 5 characters; empty: not named here
    uint16_t Format;
    Binding Runs;  // what the processor runs for the words (cpu/Binding.h)
};

// The instruction set, in octal as PDP-11 manuals write it.
//
// What the processor runs, the last column, binds the record's words: a
// routine and how it is built for the modes of its fields (Plain, SrcDst,
// ...), or Traps: the processor does not execute them, they trap through
// 0x0008 as reserved instructions (and the listing says so). These binding
// records are the processor's map: no word belongs to two of them (checked
// when the program is built), and every word that none binds traps through
// IllegalOp. NameOnly records bind nothing; they name words that another
// record binds, or that none does ("illop").
//
// The named records, in this order, are the disassembler's table: it names a
// word by the first record that matches, and the line assembler takes the
// first record whose name begins the typed text. Hence the order: a
// one-word record before the wider one of the same name ("go" and "step"
// assemble to 000012 and 000016), "nop" and "clc" before "clear", "ashc"
// before "ash", "bhis" before "bhi", "blos" before "blo", and of two names
// for one instruction, the one the disassembler writes first ("bcc", "bcs").
// The halt-mode group at 000010-000037 decodes fewer bits than it occupies,
// hence the narrow masks there; 000210 has value bits outside its mask and
// so names nothing.
inline constexpr InstructionRecord InstructionSet[] = {
    // mask   value    name     format         what the processor runs
    {0177777, 0000000, "halt",  FmtNone,       Plain<ExecHalt>},
    {0177777, 0000001, "wait",  FmtNone,       Plain<ExecWait>},
    {0177777, 0000002, "rti",   FmtNone,       Plain<ExecRti>},
    {0177777, 0000003, "bpt",   FmtNone,       Plain<ExecBpt>},
    {0177777, 0000004, "iot",   FmtNone,       Plain<ExecIot>},
    {0177777, 0000005, "reset", FmtNone,       Plain<ExecReset>},
    {0177777, 0000006, "rtt",   FmtNone,       Plain<ExecRtt>},
    {0177777, 0000012, "go",    FmtNone,       NameOnly},
    {0177774, 0000010, "go",    FmtNone,       Plain<ExecGo>},
    {0177777, 0000016, "step",  FmtNone,       NameOnly},
    {0177774, 0000014, "step",  FmtNone,       Plain<ExecStep>},
    {0177767, 0000020, "rsel",  FmtNone,       Plain<ExecRsel>},  // 000020 and 000030
    {0177777, 0000021, "mfus",  FmtNone,       Plain<ExecMfus>},
    {0177776, 0000022, "rcpc",  FmtNone,       Plain<ExecRcpc>},
    {0177774, 0000024, "rcps",  FmtNone,       Plain<ExecRcps>},
    {0177777, 0000031, "mtus",  FmtNone,       Plain<ExecMtus>},
    {0177776, 0000032, "wcpc",  FmtNone,       Plain<ExecWcpc>},
    {0177774, 0000034, "wcps",  FmtNone,       Plain<ExecWcps>},
    {0177740, 0000000, "illop", FmtIllegal,    NameOnly},  // 000007
    {0177700, 0000100, "jmp",   FmtDst,        Dst<ExecJmp, Jumps>},
    {0177770, 0000200, "rts",   FmtReg,        Plain<ExecRts>},
    {0177760, 0000210, "illop", FmtIllegal,    NameOnly},
    {0177770, 0000230, "spl",   FmtPriority,   Traps<IllegalOp>},
    {0177777, 0000240, "nop",   FmtNone,       NameOnly},
    {0177777, 0000241, "clc",   FmtNone,       NameOnly},
    {0177760, 0000240, "clear", FmtConditions, Plain<ExecClearFlags>},
    {0177777, 0000261, "sec",   FmtNone,       NameOnly},
    {0177760, 0000260, "set",   FmtConditions, Plain<ExecSetFlags>},
    {0177700, 0000300, "swab",  FmtDst,        Dst<ExecSwab>},
    {0177400, 0000400, "br",    FmtBranch,     Plain<ExecBr>},
    {0177400, 0001000, "bne",   FmtBranch,     Plain<ExecBne>},
    {0177400, 0001400, "beq",   FmtBranch,     Plain<ExecBeq>},
    {0177400, 0002000, "bge",   FmtBranch,     Plain<ExecBge>},
    {0177400, 0002400, "blt",   FmtBranch,     Plain<ExecBlt>},
    {0177400, 0003000, "bgt",   FmtBranch,     Plain<ExecBgt>},
    {0177400, 0003400, "ble",   FmtBranch,     Plain<ExecBle>},
    {0177000, 0004000, "jsr",   FmtRegDst,     RegDst<ExecJsr, Jumps>},
    {0077700, 0005000, "clr",   FmtDstByte,    DstByte<ExecClr>},  // and 1050DD, clrb
    {0077700, 0005100, "com",   FmtDstByte,    DstByte<ExecCom>},
    {0077700, 0005200, "inc",   FmtDstByte,    DstByte<ExecInc>},
    {0077700, 0005300, "dec",   FmtDstByte,    DstByte<ExecDec>},
    {0077700, 0005400, "neg",   FmtDstByte,    DstByte<ExecNeg>},
    {0077700, 0005500, "adc",   FmtDstByte,    DstByte<ExecAdc>},
    {0077700, 0005600, "sbc",   FmtDstByte,    DstByte<ExecSbc>},
    {0077700, 0005700, "tst",   FmtDstByte,    DstByte<ExecTst>},
    {0077700, 0006000, "ror",   FmtDstByte,    DstByte<ExecRor>},
    {0077700, 0006100, "rol",   FmtDstByte,    DstByte<ExecRol>},
    {0077700, 0006200, "asr",   FmtDstByte,    DstByte<ExecAsr>},
    {0077700, 0006300, "asl",   FmtDstByte,    DstByte<ExecAsl>},
    {0177700, 0006400, "mark",  FmtMark,       Plain<ExecMark>},
    {0177700, 0006500, "mfpi",  FmtDst,        Traps<IllegalOp>},
    {0177700, 0006600, "mtpi",  FmtDst,        Traps<IllegalOp>},
    {0177700, 0006700, "sxt",   FmtDst,        Dst<ExecSxt>},
    {0177000, 0007000, "illop", FmtIllegal,    NameOnly},
    {0070000, 0010000, "mov",   FmtSrcDstByte, SrcDstByte<ExecMov>},  // and 11SSDD, movb
    {0070000, 0020000, "cmp",   FmtSrcDstByte, SrcDstByte<ExecCmp>},
    {0070000, 0030000, "bit",   FmtSrcDstByte, SrcDstByte<ExecBit>},
    {0070000, 0040000, "bic",   FmtSrcDstByte, SrcDstByte<ExecBic>},
    {0070000, 0050000, "bis",   FmtSrcDstByte, SrcDstByte<ExecBis>},
    {0170000, 0060000, "add",   FmtSrcDst,     SrcDst<ExecAdd>},
    {0170000, 0160000, "sub",   FmtSrcDst,     SrcDst<ExecSub>},
    {0177000, 0070000, "mul",   FmtDstReg,     RegDst<ExecMul>},
    {0177000, 0071000, "div",   FmtDstReg,     RegDst<ExecDiv>},
    {0177000, 0073000, "ashc",  FmtDstReg,     RegDst<ExecAshc>},
    {0177000, 0072000, "ash",   FmtDstReg,     RegDst<ExecAsh>},
    {0177000, 0074000, "xor",   FmtRegDst,     RegDst<ExecXor>},
    {0177770, 0075000, "fadd",  FmtReg,        NameOnly},  // the floating-point group, next
    {0177770, 0075010, "fsub",  FmtReg,        NameOnly},
    {0177770, 0075020, "fmul",  FmtReg,        NameOnly},
    {0177770, 0075030, "fdiv",  FmtReg,        NameOnly},
    {0177400, 0075000, "",      FmtIllegal,    Traps<ExecFloatingPoint>},
    {0177000, 0077000, "sob",   FmtSob,        RegOffset<ExecSob>},
    {0174000, 0074000, "illop", FmtIllegal,    NameOnly},  // 075040-076777
    {0177400, 0100000, "bpl",   FmtBranch,     Plain<ExecBpl>},
    {0177400, 0100400, "bmi",   FmtBranch,     Plain<ExecBmi>},
    {0177400, 0103000, "bcc",   FmtBranch,     Plain<ExecBcc>},
    {0177400, 0103000, "bhis",  FmtBranch,     NameOnly},
    {0177400, 0101000, "bhi",   FmtBranch,     Plain<ExecBhi>},
    {0177400, 0101400, "blos",  FmtBranch,     Plain<ExecBlos>},
    {0177400, 0102000, "bvc",   FmtBranch,     Plain<ExecBvc>},
    {0177400, 0102400, "bvs",   FmtBranch,     Plain<ExecBvs>},
    {0177400, 0103400, "bcs",   FmtBranch,     Plain<ExecBcs>},
    {0177400, 0103400, "blo",   FmtBranch,     NameOnly},
    {0177400, 0104000, "emt",   FmtTrapCode,   Plain<ExecEmt>},
    {0177400, 0104400, "trap",  FmtTrapCode,   Plain<ExecTrap>},
    {0177700, 0106400, "mtps",  FmtDst,        Dst<ExecMtps>},
    {0177700, 0106500, "mfpd",  FmtDst,        Traps<IllegalOp>},
    {0177700, 0106600, "mtpd",  FmtDst,        Traps<IllegalOp>},
    {0177700, 0106700, "mfps",  FmtDst,        Dst<ExecMfps>},
    {0000000, 0000000, "illop", FmtIllegal,    NameOnly},  // everything else
    {0000000, 0177777, ".word", FmtData,       NameOnly},  // never matches; typed data words
};

// Whether the record binds its words in the processor's map.
constexpr bool Binds(const InstructionRecord& record) { return record.Runs.Binds; }
constexpr bool Matches(const InstructionRecord& record, uint16_t word) { return (word & record.Mask) == record.Value; }

// The routine the instruction set assigns to an opcode (AnyMode): the
// reference the processor's own routines are checked against.
ExecHandler RoutineFor(uint16_t opcode);

// True when the processor does not execute the opcode but traps it through
// 0x0008 as a reserved instruction: every opcode that no record binds, and
// those that a Traps record binds.
bool IsReserved(uint16_t opcode);

// For every opcode the routine that the processor runs: the one the
// instruction set assigns, built for the modes of the opcode's operand
// fields, so that one lookup selects an instruction with nothing left to
// decode. Filled from InstructionSet when the program starts.
extern const std::array<BuiltHandler, 0x10000> OpcodeTable;

// Runs the routine that Opcode selects, PC made even after it as after every
// instruction, and returns its TrapVector.
inline TrapVector DispatchOpcode() { return uint16_t(OpcodeTable[Mk.Opcode](Mk.Reg[PC])); }
