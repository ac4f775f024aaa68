// The run loop: how much the emulated processor runs at each 10 ms tick, and
// the run-control variables through which the debug window stops and resumes
// it.
#pragma once

#include <cstdint>
#include <functional>

// While true, ticks run nothing (the debug window is shown, or the program is
// closing).
extern bool Paused;
// Ticks still to be skipped before execution resumes.
extern int32_t RunDelay;
// Steps still to run before the debug window opens; 0 or less: no trace.
extern int32_t TraceCount;
// Address 0..0xFFFF at which the run stops; negative: no breakpoint.
extern int32_t BreakPoint;
// Budget of one tick in the cycle units that CpuStep returns.
extern int32_t CpuSpeed;

// The run-control state of a freshly shown main window: running, no trace,
// no breakpoint, nothing to skip.
void ResetRunControl();

// One tick of the run loop. Skips the tick while RunDelay counts down, and
// runs nothing while Paused is set; otherwise carries on the debugger's
// command (Debugger.Advance) until the costs reach CpuSpeed, stopping early
// after a step that ends a trace, lands on the breakpoint, or stops the
// debugger's command, where showDebugWindow is called. What a tick leaves
// unspent or overspends is not carried over.
void RunTick(const std::function<void()>& showDebugWindow);

// Steps the processor until the costs reach budget, with no run control at
// all (the history is kept); returns the cycle units spent.
int64_t RunBudget(int64_t budget);
