// The floating-point group of the extended arithmetic, which this processor
// does not execute.
#include "core/Def.h"
#include "exec/Exec.h"

// No floating-point arithmetic is done. FADD, FSUB, FMUL and FDIV
// (075000..075037) set the halt-mode bit before they trap, so the status word
// saved on the stack carries it; the rest of the group traps with the status
// word unchanged.
TrapVector ExecFloatingPoint() {
    if ((Opcode & 0xFF) < 040) Psw |= HaltModeBit;
    return VectorIllegal;
}
