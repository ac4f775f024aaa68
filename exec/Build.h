// How the instruction routines are built as the processor runs them, those
// with operand fields for each of the BuiltModes of their fields, for the
// decoder's table of one routine per opcode.
#pragma once

#include <array>
#include <utility>

#include "core/Srcdst.h"
#include "exec/Exec.h"

// How a routine built for these modes of its fields changes PC, when the
// modes alone decide it: the number of words after the instruction that it
// reads (#n, @#a and X(R) read one each), so that it leaves PC that many
// words further on. -1 when a field may do more to PC (write it, step it
// back) or is decoded as the routine runs. Registers R6 and R7 are left out:
// as a register field of the extended arithmetic, R6 names R7 as its pair.
constexpr int WordsAfterFor(int mode) {
    if (mode == ImmediateMode || mode == AbsoluteMode || mode == 6) return 1;
    if (mode == 1 || mode == 2 || (mode >= FirstInRegister && mode < InRegister(SP))) return 0;
    return -1;
}
template <class... Modes>
constexpr int WordsAfter(Modes... modes) {
    const int words[] = {WordsAfterFor(modes)...};
    int sum = 0;
    for (const int w : words) {
        if (w < 0) return -1;
        sum += w;
    }
    return sum;
}

// A routine as the processor runs it, with every helper it calls built into
// it, so that an instruction runs as one piece of code with no calls but to
// the rare slow paths. (There are so many routines that the compiler would
// stop inlining partway.) PC is stored here, so the routine knows it without
// a load, and handed back made even, as the step makes it after every
// instruction. When the modes decide where PC ends (WordsAfter), that is
// where it is taken from: read back from memory after the routine has
// written an operand (which the compiler cannot tell from a write of PC), it
// would make the next instruction wait for the store.
template <ExecHandler Routine, int WordsAfterInstruction = -1>
[[gnu::flatten]] uint32_t Flattened(uint16_t pc) {
    Mk.Reg[PC] = pc;
    const TrapVector vector = Routine();
    const uint16_t after = WordsAfterInstruction < 0 ? Mk.Reg[PC] : uint16_t(pc + 2 * WordsAfterInstruction);
    Mk.Reg[PC] = after & 0xFFFE;
    return vector | uint32_t(after & 0xFFFE) << 16;
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
