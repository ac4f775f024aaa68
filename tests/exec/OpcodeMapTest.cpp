#include <gtest/gtest.h>

#include <random>

#include "TestMachine.h"
#include "core/Decoder.h"
#include "exec/Exec.h"
#include "tests/support/MachineDifference.h"

namespace {

bool InRange(uint16_t opcode, uint16_t first, uint16_t last) { return opcode >= first && opcode <= last; }

bool IsIllegal(uint16_t op) {
    return op == 000007 || InRange(op, 000040, 000077) || InRange(op, 000210, 000237) ||
           InRange(op, 006500, 006677) || InRange(op, 007000, 007777) || InRange(op, 075040, 075377) ||
           InRange(op, 075400, 076777) || InRange(op, 0106500, 0106677) || InRange(op, 0107000, 0107777) ||
           InRange(op, 0170000, 0177777);
}

TEST(OpcodeMap, OnlyTheIllegalOpcodesReachIllegalOp) {
    for (uint32_t op = 0; op <= 0xFFFF; ++op) {
        const uint16_t opcode = uint16_t(op);
        const ExecHandler routine = RoutineFor(opcode);
        ASSERT_NE(routine, nullptr) << Octal(opcode);
        if (InRange(opcode, 075000, 075377)) {
            ASSERT_EQ(routine, ExecFloatingPoint) << Octal(opcode);
        } else {
            ASSERT_EQ(routine == IllegalOp, IsIllegal(opcode)) << Octal(opcode);
        }
    }
}

TEST(OpcodeMap, BoundariesReachTheirRoutines) {
    const struct {
        uint16_t opcode;
        ExecHandler routine;
    } rows[] = {
        {005077, ExecClr<WordWidth>}, {005100, ExecCom<WordWidth>}, {005377, ExecDec<WordWidth>},
        {005400, ExecNeg<WordWidth>}, {006477, ExecMark},           {006700, ExecSxt},
        {0105077, ExecClr<ByteWidth>}, {0106477, ExecMtps},           {0106777, ExecMfps},
        {000020, ExecRsel},           {000030, ExecRsel},           {000023, ExecRcpc},
        {000027, ExecRcps},           {000177, ExecJmp},            {000207, ExecRts},
        {000240, ExecClearFlags},     {000277, ExecSetFlags},       {000300, ExecSwab},
        {004000, ExecJsr},            {004777, ExecJsr},            {067777, ExecAdd},
        {0160000, ExecSub},            {0167777, ExecSub},            {077000, ExecSob},
        {0104377, ExecEmt},            {0104400, ExecTrap},           {0117777, ExecMov<ByteWidth>},
        {010000, ExecMov<WordWidth>}, {074777, ExecXor},            {075037, ExecFloatingPoint},
        {075040, ExecFloatingPoint},  {0103777, ExecBcs},            {000777, ExecBr},
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

}  // namespace
