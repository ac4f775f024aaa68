// How the instruction routines with operand fields are built for each of the
// BuiltModes of their fields, for the decoder's table of one routine per
// opcode.
#pragma once

#include <array>
#include <utility>

#include "core/Srcdst.h"
#include "exec/Exec.h"

// A routine as the processor runs it, with every helper it calls built into
// it, so that an instruction runs as one piece of code with no calls but to
// the rare slow paths. (There are so many routines that the compiler would
// stop inlining partway.) PC is stored here, so the routine knows it without
// a load, and is mostly still known when it is handed back, made even as the
// step makes it after every instruction.
template <ExecHandler Routine>
[[gnu::flatten]] uint32_t Flattened(uint16_t pc) {
    Reg[PC] = pc;
    const TrapVector vector = Routine();
    Reg[PC] &= 0xFFFE;
    return vector | uint32_t{Reg[PC]} << 16;
}

// ModeRoutines::byModes: build<SrcMode, DstMode>() for every pair of
// BuiltModes.
template <class Build, std::size_t... Pair>
constexpr std::array<BuiltHandler, ModeCount * ModeCount> BuildForModes(Build build, std::index_sequence<Pair...>) {
    return {build.template operator()<BuiltModes[Pair / ModeCount], BuiltModes[Pair % ModeCount]>()...};
}

// routine, and build for every pair of modes; build is a lambda
// []<int SrcMode, int DstMode> { return Flattened<...>; }.
template <class Build>
constexpr ModeRoutines BuildModeRoutines(ExecHandler routine, Build build) {
    return {routine, BuildForModes(build, std::make_index_sequence<ModeCount * ModeCount>{})};
}

// The same for a routine with a register in bits 6..8: build is called with
// the register's mode, InRegister(R), in the source's place (and AnyMode
// there for the places the decoder never picks).
template <class Build>
constexpr ModeRoutines BuildRegisterModeRoutines(ExecHandler routine, Build build) {
    const auto onRegister = [build]<int S, int D> {
        return build.template operator()<(S >= FirstInRegister ? S : AnyMode), D>();
    };
    return {routine, BuildForModes(onRegister, std::make_index_sequence<ModeCount * ModeCount>{}), true};
}

// The routines without operand fields, as the processor runs them.
template <ExecHandler... Routine>
constexpr auto BuildPlainRoutines() {
    return std::array{PlainRoutine{Routine, &Flattened<Routine>}...};
}
