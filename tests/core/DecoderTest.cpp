#include <gtest/gtest.h>

#include <set>

#include "core/Decoder.h"
#include "core/Def.h"
#include "tests/support/CleanMachine.h"

namespace {

// The opcodes that no instruction of this processor claims (octal ranges).
struct Range {
    uint16_t first, last;
};
const Range IllegalRanges[] = {
    {0000007, 0000007}, {0000040, 0000077}, {0000210, 0000237}, {0006500, 0006677},
    {0007000, 0007777}, {0075400, 0076777}, {0106500, 0106677}, {0107000, 0107777},
    {0170000, 0177777},
};

TEST(Decoder, UnassignedOpcodesReachTheIllegalRoutine) {
    for (const Range& r : IllegalRanges)
        for (uint32_t op = r.first; op <= r.last; ++op)
            ASSERT_EQ(RoutineFor(uint16_t(op)), &IllegalOp) << "opcode 0" << std::oct << op;
}

TEST(Decoder, DispatchRunsTheRoutineTheTablesSelect) {
    // Every illegal opcode returns the illegal-instruction vector through the
    // real dispatch path and changes no state.
    MakeCleanMachine();
    for (const Range& r : IllegalRanges) {
        for (uint32_t op = r.first; op <= r.last; op += 7) {
            Mk.Opcode = uint16_t(op);
            Mk.Reg[PC] = 0x8002;
            Mk.Psw = 0x000F;
            ASSERT_EQ(DispatchOpcode(), VectorIllegal) << "opcode 0" << std::oct << op;
            ASSERT_EQ(Mk.Reg[PC], 0x8002);
            ASSERT_EQ(Mk.Psw, 0x000F);
        }
    }
}

TEST(Decoder, GroupEntryChangesAtBitSix) {
    // Neighbouring opcodes across a group boundary resolve through different
    // group entries; within one entry the routine is the same.
    for (uint8_t high : GroupHighBytes) {
        for (int entry = 0; entry < 4; ++entry) {
            const uint16_t first = uint16_t(high << 8 | entry << 6);
            for (int low = 0; low < 64; ++low)
                ASSERT_EQ(RoutineFor(uint16_t(first + low)), RoutineFor(first)) << std::oct << first + low;
        }
    }
}

TEST(Decoder, EveryOpcodeReachesExactlyOneRoutine) {
    // RoutineFor never hands out a second-level dispatcher: the routines that
    // opcodes reach are exactly the non-dispatcher table entries.
    std::set<ExecHandler> dispatchers = {OpTable[0]};
    for (uint8_t high : GroupHighBytes) dispatchers.insert(OpTable[high]);
    for (uint32_t op = 0; op <= 0xFFFF; ++op) {
        const ExecHandler routine = RoutineFor(uint16_t(op));
        ASSERT_NE(routine, nullptr);
        ASSERT_EQ(dispatchers.count(routine), 0u) << "opcode 0" << std::oct << op;
    }
}

}  // namespace
