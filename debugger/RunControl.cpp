#include "debugger/RunControl.h"

#include "core/Cpu.h"
#include "debugger/History.h"

RunControl Debugger;

std::string StopText(const Stop&, int32_t) { return {}; }
ProcessorState StateOf(const Machine& machine) {
    if (!(machine.CtrlPort & CtrlRunBit)) return ProcessorState::Asleep;
    if (machine.Waiting) return ProcessorState::Waiting;
    if (machine.Psw & HaltModeBit) return ProcessorState::HaltMode;
    return ProcessorState::Running;
}
const char* StateName(ProcessorState state) {
    switch (state) {
    case ProcessorState::Running:
        return "running";
    case ProcessorState::Asleep:
        return "asleep";
    case ProcessorState::Waiting:
        return "waiting";
    case ProcessorState::HaltMode:
        return "halt mode";
    }
    return "";
}
RunControl::RunControl() : breakBits_(1024), history_(new History) {}
RunControl::~RunControl() { delete history_; }
bool RunControl::SetBreakpoint(uint16_t) { return false; }
bool RunControl::ClearBreakpoint(uint16_t) { return false; }
void RunControl::ClearBreakpoints() {}
bool RunControl::IsBreakpoint(uint16_t) const { return false; }
std::vector<uint16_t> RunControl::Breakpoints() const { return {}; }
bool RunControl::SetWatch(const Watchpoint&) { return false; }
bool RunControl::ClearWatch(const Watchpoint&) { return false; }
void RunControl::ClearWatches() {}
void RunControl::Continue() {}
void RunControl::Step(uint64_t) {}
void RunControl::StepOver() {}
void RunControl::StepOut() {}
void RunControl::RunTo(uint16_t) {}
void RunControl::Interrupt() {}
Advanced RunControl::Advance(int64_t budget, uint64_t maxSteps, int32_t runTo) {
    const CpuRunResult run = CpuRun(budget, maxSteps, runTo);
    return {run.steps, run.spent, false};
}
Stop RunControl::StepBack(uint64_t) { return {}; }
Stop RunControl::RunBack() { return {}; }
uint64_t RunControl::StepCount() const { return history_->Now(); }
void RunControl::Edited() {}
void RunControl::Reset() { CpuReset(); }
void RunControl::Wake() { Mk.CtrlPort |= CtrlRunBit; }
