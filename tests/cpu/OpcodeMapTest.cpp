#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>

#include "TestMachine.h"
#include "cpu/Decoder.h"
#include "debugger/Pdp11dis.h"
#include "cpu/Exec.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MachineDifference.h"
#include "tests/support/Octal.h"

namespace {

bool InRange(uint16_t opcode, uint16_t first, uint16_t last) { return opcode >= first && opcode <= last; }

// The opcodes that no instruction of this processor claims (octal ranges).
struct Range {
    uint16_t first, last;
};
const Range IllegalRanges[] = {
    {0000007, 0000007}, {0000040, 0000077}, {0000210, 0000237}, {0006500, 0006677},
    {0007000, 0007777}, {0075400, 0076777}, {0106500, 0106677}, {0107000, 0107777},
    {0170000, 0177777},
};

bool IsIllegal(uint16_t op) {
    return std::any_of(std::begin(IllegalRanges), std::end(IllegalRanges),
                       [op](const Range& r) { return InRange(op, r.first, r.last); });
}

// Walked through the list itself: no opcode is bound by two records, and
// IllegalOp is the routine of exactly the illegal ones.
TEST(OpcodeMap, EveryOpcodeIsBoundOnce) {
    for (uint32_t op = 0; op <= 0xFFFF; ++op) {
        const uint16_t opcode = uint16_t(op);
        int bindings = 0;
        for (const InstructionRecord& record : InstructionSet) bindings += Binds(record) && Matches(record, opcode);
        ASSERT_LE(bindings, 1) << Octal(opcode);
        const ExecHandler routine = RoutineFor(opcode);
        if (InRange(opcode, 075000, 075377)) {
            ASSERT_EQ(routine, ExecFloatingPoint) << Octal(opcode);
        } else {
            ASSERT_EQ(routine == IllegalOp, IsIllegal(opcode)) << Octal(opcode);
        }
    }
}

TEST(OpcodeMap, IllegalOpcodesTrapAndChangeNothing) {
    // Every illegal opcode returns the illegal-instruction vector through the
    // real dispatch path and changes no state.
    MakeCleanMachine();
    for (const Range& r : IllegalRanges) {
        for (uint32_t op = r.first; op <= r.last; op += 7) {
            Mk.Opcode = uint16_t(op);
            Mk.Reg[PC] = 0x8002;
            Mk.Psw = 0x000F;
            const Machine before = Mk;
            ASSERT_EQ(DispatchOpcode(), VectorIllegal) << Octal(op);
            ASSERT_EQ(FirstDifference(Mk, before), "") << Octal(op);
        }
    }
}

TEST(OpcodeMap, BoundariesReachTheirRoutines) {
    const struct {
        uint16_t opcode;
        ExecHandler routine;
    } rows[] = {
        {005077, ExecClr<WordWidth>::Run},  {005100, ExecCom<WordWidth>::Run}, {005377, ExecDec<WordWidth>::Run},
        {005400, ExecNeg<WordWidth>::Run},  {006477, ExecMark},                {006700, ExecSxt<>::Run},
        {0105077, ExecClr<ByteWidth>::Run}, {0106477, ExecMtps<>::Run},        {0106777, ExecMfps<>::Run},
        {000020, ExecRsel},                 {000030, ExecRsel},                {000023, ExecRcpc},
        {000027, ExecRcps},                 {000010, ExecGo},                  {000017, ExecStep},
        {000177, ExecJmp<>::Run},           {000207, ExecRts},                 {000240, ExecClearFlags},
        {000277, ExecSetFlags},             {000300, ExecSwab<>::Run},         {004000, ExecJsr<>::Run},
        {004777, ExecJsr<>::Run},           {067777, ExecAdd<>::Run},          {0160000, ExecSub<>::Run},
        {0167777, ExecSub<>::Run},          {077000, ExecSob<>::Run},          {0104377, ExecEmt},
        {0104400, ExecTrap},                {0117777, ExecMov<ByteWidth>::Run}, {010000, ExecMov<WordWidth>::Run},
        {072000, ExecAsh<>::Run},           {073777, ExecAshc<>::Run},         {074777, ExecXor<>::Run},
        {075037, ExecFloatingPoint},        {075040, ExecFloatingPoint},       {0103777, ExecBcs},
        {0103000, ExecBcc},                 {000777, ExecBr},
    };
    for (const auto& row : rows) EXPECT_EQ(RoutineFor(row.opcode), row.routine) << Octal(row.opcode);
}

// The processor runs every opcode through its own entry of OpcodeTable, a
// routine built for the opcode's modes: it must do exactly what the routine
// the instruction set assigns does, followed by the step's making PC even,
// on any machine, and hand back the vector and that PC.
TEST(OpcodeMap, EveryOpcodeRunsAsItsRoutine) {
    std::mt19937 rng(1985);
    for (uint32_t op = 0; op <= 0xFFFF; ++op) {
        if (op % 512 == 0) RandomizeMachine(rng);
        for (uint16_t& r : Mk.Reg) r = uint16_t(rng());
        Mk.Psw = uint16_t(rng());
        Mk.Opcode = uint16_t(op);
        const Machine start = Mk;
        const TrapVector assigned = RoutineFor(Mk.Opcode)();
        Mk.Reg[PC] &= 0xFFFE;
        const Machine expected = Mk;
        Mk = start;
        const uint32_t built = OpcodeTable[Mk.Opcode](Mk.Reg[PC]);
        ASSERT_EQ(built, assigned | uint32_t{expected.Reg[PC]} << 16) << Octal(uint16_t(op));
        ASSERT_EQ(FirstDifference(Mk, expected), "") << Octal(uint16_t(op));
    }
}

// What the listing shows and what the processor does: run in halt mode,
// where the halt-mode group runs too, an opcode traps as a reserved
// instruction (through 0x0008) exactly where the disassembler writes "illop"
// or marks the instruction as one this processor traps.
TEST(OpcodeMap, DisassemblerAndProcessorAgreeOnWhatIsAnInstruction) {
    std::mt19937 rng(1985);
    for (uint32_t op = 0; op <= 0xFFFF; ++op) {
        const uint16_t opcode = uint16_t(op);
        if (op % 512 == 0) RandomizeMachine(rng);
        Mk.Psw = uint16_t(rng()) | HaltModeBit;
        Mk.Opcode = opcode;
        const bool traps = RoutineFor(opcode)() == VectorIllegal;
        const bool listedAsIllegal = MnemonicTable[FindMnemonic(opcode)].Format == FmtIllegal;
        ASSERT_EQ(traps, listedAsIllegal || TrapsHere(opcode)) << Octal(opcode);
        ASSERT_FALSE(listedAsIllegal && TrapsHere(opcode)) << Octal(opcode);
    }
}

}  // namespace
