// MARK, the one single-operand instruction without an operand field.
#include "exec/Exec.h"
#include "exec/Operand.h"

// MARK NN sits on the stack after NN parameter words: it drops them, returns
// through R5 and restores R5 from the stack.
TrapVector ExecMark() {
    AddrMask = WordWidth::AddressMask;
    Reg[SP] = uint16_t(Reg[PC] + 2 * (Opcode & 077));
    Reg[PC] = Reg[5] & 0xFFFE;
    Reg[5] = ReadOperand<ModeOf(FieldPop)>(FieldPop).Word();
    return NoTrap;
}
