// The machine as most tests begin: every part of its state zero, as at
// program start (ResetCore), and the RAM mapped as the start-up maps it. The
// rest of the session is fresh before every test (FreshSession.h).
#pragma once

#include "core/Def.h"

inline void MakeCleanMachine() {
    ResetCore();
    Mk.RamEnd = LastRamAddress;
}
