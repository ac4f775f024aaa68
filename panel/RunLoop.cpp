#include "panel/RunLoop.h"

#include <cstdint>

#include "core/Cpu.h"
#include "core/Def.h"
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
    // The run stops after the step that ends a trace or leaves PC on the
    // breakpoint: compared after the step, so a run that starts on the
    // breakpoint leaves it before it can stop there. It sums the costs in 64
    // bits, so the last step may take them past the largest CpuSpeed.
    const bool tracing = TraceCount > 0;
    const CpuRunResult run = CpuRun(CpuSpeed, tracing ? uint64_t(TraceCount) : UINT64_MAX, BreakPoint);
    if (tracing) TraceCount -= int32_t(run.steps);
    // A step that does both stops the run once.
    const bool traceEnded = tracing && TraceCount == 0;
    const bool atBreakPoint = run.steps > 0 && BreakPoint >= 0 && BreakPoint == int32_t(Mk.Reg[PC]);
    if ((traceEnded || atBreakPoint) && showDebugWindow) showDebugWindow();
}

int64_t RunBudget(int64_t budget) { return CpuRun(budget, UINT64_MAX, -1).spent; }
