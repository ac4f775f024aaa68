// How a record of the instruction set (cpu/Decoder.h) binds its routine:
// which routine the instruction set assigns to an opcode, and which routine
// the processor runs for it, built for the modes of the opcode's fields.
#pragma once

#include <cstdint>

#include "cpu/Exec.h"

// A routine as the processor runs it (cpu/Build.h). It takes PC, already
// past the instruction word, and returns its TrapVector in bits 0..15 and the
// new PC, made even, in bits 16..31.
//
// PC goes in and out in host registers because of store-to-load forwarding.
// Every instruction needs the PC that the one before it left. Kept in
// Reg[PC], it would pass from one to the next through a store and a load so
// close behind it that the load is served from the host's store buffer:
// several cycles on the path that every instruction waits for, and many
// more when the host cannot tell early whether a store just before it (of
// Reg[n], or of an operand that the compiler cannot tell from R7) writes the
// same place. The condition codes, which nearly every instruction sets, are
// kept apart from the rest of the status word for the same reason
// (StatusWord, core/Def.h): setting them is then a plain store, not a load
// of the word the instruction before has just stored. Other places that do
// something for this reason refer here.
using BuiltHandler = uint32_t (*)(uint16_t pc);

// For an opcode that a record binds (Binds): the routine the instruction set
// assigns (AnyMode), and the routine the processor runs. Traps: the
// processor does not execute these opcodes; they trap through 0x0008 as
// reserved instructions. Binds is a flag of its own rather than Built being
// set: the list is checked when the program is built, and with the sanitizers
// on the compiler no longer takes a function's address as a constant it may
// compare with null.
struct Binding {
    ExecHandler (*Assigned)(uint16_t opcode) = nullptr;
    BuiltHandler (*Built)(uint16_t opcode) = nullptr;
    bool Binds = false;
    bool Traps = false;
};

// The families of routines, by the operand fields that they are built for.
// Each is defined in cpu/Build.h and built, for each routine, in the file
// that defines the routine, where its body is in sight.
//
// A routine without operand fields: the processor runs it as it is.
template <ExecHandler Routine>
struct PlainRoutines {
    static ExecHandler Assigned(uint16_t opcode);
    static BuiltHandler Built(uint16_t opcode);
};
// Source (bits 6..11) and destination (bits 0..5) fields, word and byte forms
// by bit 15 (MOV, MOVB).
template <template <class, int, int> class Routine>
struct SrcDstByteRoutines {
    static ExecHandler Assigned(uint16_t opcode);
    static BuiltHandler Built(uint16_t opcode);
};
// Source and destination fields, words only (ADD, SUB).
template <template <int, int> class Routine>
struct SrcDstRoutines {
    static ExecHandler Assigned(uint16_t opcode);
    static BuiltHandler Built(uint16_t opcode);
};
// One field in bits 0..5, word and byte forms by bit 15 (CLR, CLRB).
template <template <class, int> class Routine>
struct DstByteRoutines {
    static ExecHandler Assigned(uint16_t opcode);
    static BuiltHandler Built(uint16_t opcode);
};
// One field in bits 0..5 (SWAB, JMP); MaySetPc for a routine that may set
// PC (Jumps).
template <template <int> class Routine, bool MaySetPc = false>
struct DstRoutines {
    static ExecHandler Assigned(uint16_t opcode);
    static BuiltHandler Built(uint16_t opcode);
};
// A register in bits 6..8 and a field in bits 0..5 (XOR, MUL, JSR), built
// for the register as the register-mode field InRegister(R).
template <template <int, int> class Routine, bool MaySetPc = false>
struct RegDstRoutines {
    static ExecHandler Assigned(uint16_t opcode);
    static BuiltHandler Built(uint16_t opcode);
};
// A register in bits 6..8 and a backward branch offset in bits 0..5 (SOB).
template <template <int> class Routine>
struct RegOffsetRoutines {
    static ExecHandler Assigned(uint16_t opcode);
    static BuiltHandler Built(uint16_t opcode);
};

template <class Routines, bool Traps = false>
constexpr Binding BindingOf{&Routines::Assigned, &Routines::Built, true, Traps};

// The bindings as the instruction set's records name them.
template <ExecHandler Routine>
constexpr Binding Plain = BindingOf<PlainRoutines<Routine>>;
template <ExecHandler Routine>
constexpr Binding Traps = BindingOf<PlainRoutines<Routine>, true>;
template <template <class, int, int> class Routine>
constexpr Binding SrcDstByte = BindingOf<SrcDstByteRoutines<Routine>>;
template <template <int, int> class Routine>
constexpr Binding SrcDst = BindingOf<SrcDstRoutines<Routine>>;
template <template <class, int> class Routine>
constexpr Binding DstByte = BindingOf<DstByteRoutines<Routine>>;
template <template <int> class Routine, bool MaySetPc = false>
constexpr Binding Dst = BindingOf<DstRoutines<Routine, MaySetPc>>;
template <template <int, int> class Routine, bool MaySetPc = false>
constexpr Binding RegDst = BindingOf<RegDstRoutines<Routine, MaySetPc>>;
template <template <int> class Routine>
constexpr Binding RegOffset = BindingOf<RegOffsetRoutines<Routine>>;

// For Dst and RegDst: the routine may set PC (JMP, JSR).
constexpr bool Jumps = true;
// A record that binds nothing: it names opcodes that another record binds,
// or that none does.
constexpr Binding NameOnly{};
