// The machine as most tests begin: every part of its state zero, as at
// program start, and the RAM mapped as the start-up maps it.
#pragma once

#include "core/Def.h"

inline void MakeCleanMachine() {
    Mk = Machine{};
    Mk.RamEnd = LastRamAddress;
}
