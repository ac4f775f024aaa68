// Operand access shared by the instruction routines: the fields of the
// current instruction and the read-modify-write operand.
#pragma once

#include <cstdint>

#include "core/Def.h"
#include "cpu/Srcdst.h"
#include "cpu/Width.h"

// The destination or only operand of a read-modify-write instruction. The
// field is addressed once: the result goes back through WriteCell at the Addr
// that the read produced, so (Rn)+ or an index word takes effect only once.
template <class W, int Mode = AnyMode>
class ModifiedOperand {
public:
    explicit ModifiedOperand(uint16_t field)
        : at_(ReadOperand<Mode>(field)), inRegister_(IsRegisterMode<Mode>(field)) {}

    uint16_t Value() const { return W::Get(at_); }
    // A byte result in a register replaces only the register's low byte.
    void Store(uint16_t result) const { W::Put(inRegister_ ? at_ : WriteCell(), result); }

private:
    Location at_;
    bool inRegister_;
};

// The operand fields of the current instruction.
inline uint16_t SourceField() { return (Mk.Opcode >> 6) & 077; }
// Bits 0..5: the destination of a double-operand instruction and the one
// operand field of every other instruction that has one.
inline uint16_t OperandField() { return Mk.Opcode & 077; }
// Bits 6..8: the register of JSR, SOB and the extended arithmetic, R when
// the routine is built for InRegister(R).
template <int Mode = AnyMode>
int RegisterField() {
    return RegisterOf<Mode>((Mk.Opcode >> 6) & 7);
}
