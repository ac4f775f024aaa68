// The debugger's run control as each test of it begins: fresh, as the program
// starts it (ResetDebugger: no breakpoints, watchpoints, optional stops or
// symbols), with a history that starts from the machine the test prepared.
#pragma once

#include "debugger/History.h"
#include "debugger/RunControl.h"
#include "debugger/Symbols.h"

// Starts a new history from the machine as it is now, at step 0.
inline void BeginHistory() {
    ResetDebugger();
    Debugger.Past().Begin(0);
}

// Runs the debugger's command in progress to its stop, at most limit steps.
inline Advanced RunToStop(uint64_t limit = 1'000'000) { return Debugger.Advance(INT64_MAX / 2, limit); }
