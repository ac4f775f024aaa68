#include "panel/RunLoop.h"

#include <cstdint>

#include "core/Def.h"
#include "debugger/RunControl.h"
#include "panel/Settings.h"

bool Paused = false;
int32_t RunDelay = 0;
int32_t TraceCount = -1;
int32_t BreakPoint = -1;
int32_t CpuSpeed = DefaultCpuSpeed;

void ResetRunControl() {
    Paused = false;
    RunDelay = 0;
    TraceCount = -1;
    BreakPoint = -1;
}

void RunTick(const std::function<void()>& showDebugWindow) {
    if (RunDelay > 0) {
        --RunDelay;
        return;
    }
    // Nothing but showing the debug window sets Paused, and that ends the
    // tick, so it cannot change during one.
    if (Paused) return;
    // The run goes through the debugger's run control, which keeps the
    // history and stops at breakpoints and watchpoints. The trace and the
    // breakpoint field stop it after the step that ends a trace or leaves PC
    // on the breakpoint: compared after the step, so a run that starts on the
    // breakpoint leaves it before it can stop there. It sums the costs in 64
    // bits, so the last step may take them past the largest CpuSpeed.
    const bool tracing = TraceCount > 0;
    const Advanced run = Debugger.Advance(CpuSpeed, tracing ? uint64_t(TraceCount) : NoStepLimit, BreakPoint);
    if (tracing) TraceCount -= int32_t(run.Steps);
    // A step that does both stops the run once.
    const bool traceEnded = tracing && TraceCount == 0;
    if ((traceEnded || run.Stopped) && showDebugWindow) showDebugWindow();
}

int64_t RunBudget(int64_t budget) { return Debugger.RunPlain(budget).Spent; }
