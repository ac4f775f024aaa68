// How the instruction routines are built as the processor runs them: the
// families of cpu/Binding.h, each routine with operand fields built for
// each of the BuiltModes of its fields. Included only by the files that
// define routines: a family is built there, by one explicit instantiation per
// routine, where the routine's body can be built into it.
#pragma once

#include <array>
#include <utility>

#include "cpu/Srcdst.h"
#include "cpu/Binding.h"
#include "cpu/Exec.h"

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
// where it is taken from, not read back from Reg[PC] after the routine has
// written an operand (store-to-load forwarding: BuiltHandler, cpu/Binding.h).
//
// Under the sanitizers the routines are built plainly: flattening thousands
// of routines whose every helper is instrumented costs minutes of build time
// and checks nothing more.
#ifdef VEXAL_SANITIZE
#define VEXAL_FLATTEN
#else
#define VEXAL_FLATTEN [[gnu::flatten]]
#endif
template <ExecHandler Routine, int WordsAfterInstruction = -1>
VEXAL_FLATTEN uint32_t Flattened(uint16_t pc) {
    Mk.Reg[PC] = pc;
    const TrapVector vector = Routine();
    const uint16_t after = WordsAfterInstruction < 0 ? Mk.Reg[PC] : uint16_t(pc + 2 * WordsAfterInstruction);
    Mk.Reg[PC] = after & 0xFFFE;
    return vector | uint32_t(after & 0xFFFE) << 16;
}

// ForModes: what build.template operator()<Mode>() gives for each of the
// first Count BuiltModes. ForModePairs: what build.template operator()<First,
// Second>() gives for each of the first Count BuiltModes as First and each of
// them all as Second, at First's place * ModeCount + Second's place.
template <std::size_t Count, class Build, std::size_t... Index>
constexpr std::array<BuiltHandler, Count> ForModes(Build build, std::index_sequence<Index...>) {
    return {build.template operator()<BuiltModes[Index]>()...};
}
template <std::size_t Count, class Build>
constexpr std::array<BuiltHandler, Count> ForModes(Build build) {
    return ForModes<Count>(build, std::make_index_sequence<Count>{});
}
template <std::size_t Count, class Build, std::size_t... Pair>
constexpr std::array<BuiltHandler, Count * ModeCount> ForModePairs(Build build, std::index_sequence<Pair...>) {
    return {build.template operator()<BuiltModes[Pair / ModeCount], BuiltModes[Pair % ModeCount]>()...};
}
template <std::size_t Count, class Build>
constexpr std::array<BuiltHandler, Count * ModeCount> ForModePairs(Build build) {
    return ForModePairs<Count>(build, std::make_index_sequence<Count * ModeCount>{});
}

// The fields of an opcode.
constexpr uint16_t SourceBits(uint16_t opcode) { return opcode >> 6 & 077; }
constexpr uint16_t DestinationBits(uint16_t opcode) { return opcode & 077; }
constexpr int RegisterBits(uint16_t opcode) { return opcode >> 6 & 7; }
constexpr bool IsByteForm(uint16_t opcode) { return opcode & 0100000; }
constexpr int ModePair(uint16_t opcode) {
    return BuiltModeIndex(SourceBits(opcode)) * ModeCount + BuiltModeIndex(DestinationBits(opcode));
}
// BuiltModes begins with the register modes, InRegister(0)..InRegister(7),
// so that the first eight of them are a register in bits 6..8.
constexpr bool RegistersComeFirst() {
    for (int r = 0; r < 8; ++r)
        if (BuiltModes[r] != InRegister(r)) return false;
    return true;
}
static_assert(RegistersComeFirst());

template <ExecHandler Routine>
ExecHandler PlainRoutines<Routine>::Assigned(uint16_t) {
    return Routine;
}
template <ExecHandler Routine>
BuiltHandler PlainRoutines<Routine>::Built(uint16_t) {
    return &Flattened<Routine>;
}

template <template <class, int, int> class Routine>
ExecHandler SrcDstByteRoutines<Routine>::Assigned(uint16_t opcode) {
    if (IsByteForm(opcode)) return &Routine<ByteWidth, AnyMode, AnyMode>::Run;
    return &Routine<WordWidth, AnyMode, AnyMode>::Run;
}
template <template <class, int, int> class Routine>
BuiltHandler SrcDstByteRoutines<Routine>::Built(uint16_t opcode) {
    static constexpr auto word = ForModePairs<ModeCount>(
        []<int S, int D> { return &Flattened<Routine<WordWidth, S, D>::Run, WordsAfter(S, D)>; });
    static constexpr auto byte = ForModePairs<ModeCount>(
        []<int S, int D> { return &Flattened<Routine<ByteWidth, S, D>::Run, WordsAfter(S, D)>; });
    return (IsByteForm(opcode) ? byte : word)[ModePair(opcode)];
}

template <template <int, int> class Routine>
ExecHandler SrcDstRoutines<Routine>::Assigned(uint16_t) {
    return &Routine<AnyMode, AnyMode>::Run;
}
template <template <int, int> class Routine>
BuiltHandler SrcDstRoutines<Routine>::Built(uint16_t opcode) {
    static constexpr auto built =
        ForModePairs<ModeCount>([]<int S, int D> { return &Flattened<Routine<S, D>::Run, WordsAfter(S, D)>; });
    return built[ModePair(opcode)];
}

template <template <class, int> class Routine>
ExecHandler DstByteRoutines<Routine>::Assigned(uint16_t opcode) {
    return IsByteForm(opcode) ? &Routine<ByteWidth, AnyMode>::Run : &Routine<WordWidth, AnyMode>::Run;
}
template <template <class, int> class Routine>
BuiltHandler DstByteRoutines<Routine>::Built(uint16_t opcode) {
    static constexpr auto word =
        ForModes<ModeCount>([]<int D> { return &Flattened<Routine<WordWidth, D>::Run, WordsAfter(D)>; });
    static constexpr auto byte =
        ForModes<ModeCount>([]<int D> { return &Flattened<Routine<ByteWidth, D>::Run, WordsAfter(D)>; });
    return (IsByteForm(opcode) ? byte : word)[BuiltModeIndex(DestinationBits(opcode))];
}

template <template <int> class Routine, bool MaySetPc>
ExecHandler DstRoutines<Routine, MaySetPc>::Assigned(uint16_t) {
    return &Routine<AnyMode>::Run;
}
template <template <int> class Routine, bool MaySetPc>
BuiltHandler DstRoutines<Routine, MaySetPc>::Built(uint16_t opcode) {
    static constexpr auto built =
        ForModes<ModeCount>([]<int D> { return &Flattened<Routine<D>::Run, MaySetPc ? -1 : WordsAfter(D)>; });
    return built[BuiltModeIndex(DestinationBits(opcode))];
}

template <template <int, int> class Routine, bool MaySetPc>
ExecHandler RegDstRoutines<Routine, MaySetPc>::Assigned(uint16_t) {
    return &Routine<AnyMode, AnyMode>::Run;
}
template <template <int, int> class Routine, bool MaySetPc>
BuiltHandler RegDstRoutines<Routine, MaySetPc>::Built(uint16_t opcode) {
    static constexpr auto built = ForModePairs<8>(
        []<int R, int D> { return &Flattened<Routine<D, R>::Run, MaySetPc ? -1 : WordsAfter(R, D)>; });
    return built[RegisterBits(opcode) * ModeCount + BuiltModeIndex(DestinationBits(opcode))];
}

template <template <int> class Routine>
ExecHandler RegOffsetRoutines<Routine>::Assigned(uint16_t) {
    return &Routine<AnyMode>::Run;
}
template <template <int> class Routine>
BuiltHandler RegOffsetRoutines<Routine>::Built(uint16_t opcode) {
    static constexpr auto built = ForModes<8>([]<int R> { return &Flattened<Routine<R>::Run>; });
    return built[RegisterBits(opcode)];
}
