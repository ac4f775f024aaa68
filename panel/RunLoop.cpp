#include "panel/RunLoop.h"

#include <chrono>
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

void ResetRunLoop() {
    ResetRunControl();
    CpuSpeed = DefaultCpuSpeed;
}

void PauseRun() {
    Paused = true;
    TraceCount = -1;
    BreakPoint = -1;
}

void ResumeRun(int32_t skipTicks) {
    RunDelay = skipTicks;
    Paused = false;
}

bool NextTickRuns() { return !Paused && RunDelay == 0; }

void TraceSteps(int32_t steps) {
    BreakPoint = -1;
    TraceCount = steps;
}

void BreakAt(int32_t address) {
    BreakPoint = address;
    TraceCount = -1;
}

void SetCpuSpeed(int32_t units) { CpuSpeed = units; }

void MachineEdited() { Debugger.Edited(); }

namespace {

// As fast as the host allows: rounds of this many cycle units, each followed
// by a look at the clock, until the slice has passed. The run timer waits its
// interval after every tick, so the window serves its events at least that
// often.
constexpr int64_t FastestRound = 10000;
constexpr std::chrono::milliseconds FastestSlice{16};

int64_t TickBudget(RunSpeed speed) {
    switch (speed) {
    case RunSpeed::Twice: return 2 * int64_t(CpuSpeed);
    case RunSpeed::TenTimes: return 10 * int64_t(CpuSpeed);
    case RunSpeed::Normal:
    case RunSpeed::Fastest: break;
    }
    return CpuSpeed;
}

// Carries on the debugger's command (Debugger.Advance) until the costs reach
// budget; true when it stopped, which ends the tick. The debugger keeps the
// history and stops at breakpoints and watchpoints. The trace and the
// breakpoint field stop it after the step that ends a trace or leaves PC on
// the breakpoint: compared after the step, so a run that starts on the
// breakpoint leaves it before it can stop there. It sums the costs in 64
// bits, so the last step may take them past the largest budget.
bool RunControlled(int64_t budget, const std::function<void()>& showDebugWindow) {
    const bool tracing = TraceCount > 0;
    const Advanced run = Debugger.Advance(budget, tracing ? uint64_t(TraceCount) : NoStepLimit, BreakPoint);
    if (tracing) TraceCount -= int32_t(run.Steps);
    // A step that does both stops the run once.
    const bool traceEnded = tracing && TraceCount == 0;
    if (!traceEnded && !run.Stopped) return false;
    if (showDebugWindow) showDebugWindow();
    return true;
}

}  // namespace

void RunTick(const std::function<void()>& showDebugWindow, RunSpeed speed) {
    if (RunDelay > 0) {
        --RunDelay;
        return;
    }
    // Nothing but showing the debug window sets Paused, and that ends the
    // tick, so it cannot change during one.
    if (Paused) return;
    if (speed != RunSpeed::Fastest) {
        RunControlled(TickBudget(speed), showDebugWindow);
        return;
    }
    // A processor that idles waits for a key or the halt request, which only
    // come between ticks: the rest of the slice would only count steps.
    const auto end = std::chrono::steady_clock::now() + FastestSlice;
    while (!RunControlled(FastestRound, showDebugWindow) && !CpuIdle() && std::chrono::steady_clock::now() < end) {
    }
}

int64_t RunBudget(int64_t budget) { return Debugger.RunPlain(budget).Spent; }
