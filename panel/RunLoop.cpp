#include "panel/RunLoop.h"

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
    // In 64 bits: the last step may take the sum past the largest CpuSpeed.
    for (int64_t spent = 0; spent < CpuSpeed;) {
        if (Paused) return;
        spent += CpuStep();
        // The trace is counted before the breakpoint is compared, and the
        // comparison follows the step, so a run that starts on the breakpoint
        // leaves it before it can stop there.
        if (TraceCount > 0 && --TraceCount == 0) {
            if (showDebugWindow) showDebugWindow();
            return;
        }
        if (BreakPoint >= 0 && BreakPoint == int32_t(Reg[PC])) {
            if (showDebugWindow) showDebugWindow();
            return;
        }
    }
}

int64_t RunBudget(int64_t budget) {
    int64_t spent = 0;
    while (spent < budget) spent += CpuStep();
    return spent;
}
