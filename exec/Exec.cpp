#include "exec/Exec.h"

#include "core/Cpu.h"
#include "core/Def.h"

TrapVector IllegalOp() { return VectorIllegal; }

// HALT is not restricted to halt mode: from halt mode it overwrites Cpc and Cps.
TrapVector ExecHalt() {
    EnterHaltMode();
    return NoTrap;
}

TrapVector ExecWait() {
    Waiting = true;
    return NoTrap;
}
