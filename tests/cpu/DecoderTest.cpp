#include <gtest/gtest.h>

#include "cpu/Decoder.h"
#include "core/Def.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MachineDifference.h"
#include "tests/support/Octal.h"

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

TEST(Decoder, IllegalOpcodesTrapAndChangeNothing) {
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

}  // namespace
