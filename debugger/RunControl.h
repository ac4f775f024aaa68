// The debugger's run control: the commands that run the processor until
// something stops it (continue, step, step over, step out, run to an address,
// step back, run back), with the breakpoints and watchpoints it keeps
// (StopPoints.h), the reason of the last stop (StopText.h), and the
// processor's state at a glance. Every step of the session runs
// through here, the run loop's included, so that the history (History.h)
// sees each one and the step count since reset stays true.
//
// A command is started, then carried on by Advance a budget at a time, so
// that the run loop runs one tick of it and the windows stay responsive; a
// stop ends it. Between commands Advance runs freely (a plain continue), as
// the run loop does while the debug window is hidden.
#pragma once

#include <cstdint>
#include <vector>

#include "cpu/Cpu.h"
#include "core/Def.h"
#include "debugger/StopPoints.h"
#include "debugger/StopText.h"

class History;

// The processor at a glance, as the next step finds it.
enum class ProcessorState : uint8_t {
    Running,   // executes instructions
    Asleep,    // run bit of the control port clear: only a key, or Wake, starts it
    Waiting,   // after WAIT, until the halt request
    HaltMode,  // runs in halt mode (PSW bit 8)
};
ProcessorState StateOf(const Machine& machine);
// "running", "asleep", "waiting", "halt mode".
const char* StateName(ProcessorState state);

// The end of one Advance.
struct Advanced {
    uint64_t Steps = 0;    // steps run
    int64_t Spent = 0;     // their cost in cycle units, as CpuStep counts it
    bool Stopped = false;  // a stop ended the command; LastStop says why
};

constexpr uint64_t NoStepLimit = UINT64_MAX;

class RunControl : public StopPoints {
public:
    RunControl();
    ~RunControl();
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // Optional stops, off at start.
    bool StopOnHaltMode = false;
    bool StopOnTrap = false;

    // Commands. Each replaces the one in progress; Advance carries it out.
    void Continue();
    void Step(uint64_t steps);  // stops early at a breakpoint or watchpoint
    // A jsr, emt, trap, iot or bpt runs until control comes back to the next
    // instruction with the stack where it was; any other instruction is one
    // step.
    void StepOver();
    // Runs until the current routine returns (rts, rti or rtt) to its caller:
    // the stack pointer above where it is now.
    void StepOut();
    void RunTo(uint16_t address);
    // Ends the command in progress with the reason Interrupted.
    void Interrupt();
    bool CommandActive() const { return command_ != Command::None; }

    // Runs the command in progress (or freely, with none) until the costs
    // reach budget or maxSteps steps have run, or until a stop; runTo, when
    // 0..0xFFFF, also stops after a step that leaves PC there (the run loop's
    // breakpoint field).
    Advanced Advance(int64_t budget, uint64_t maxSteps = NoStepLimit, int32_t runTo = -1);

    // Back in time, at once (the longest, across the whole history, takes
    // about two seconds): the machine becomes what it was that many steps
    // ago, or at the oldest step kept. Forward runs from there replay the
    // keys recorded in the history.
    Stop StepBack(uint64_t steps);
    // Back to the last step before this one that stopped, or would have
    // stopped, a run: a breakpoint, a watchpoint, an enabled optional stop.
    Stop RunBack();

    const Stop& LastStop() const { return lastStop_; }
    // Steps since the processor was last reset (or the program started).
    uint64_t StepCount() const;

    // A change made outside the running processor that is not a key (a
    // register, memory, an assembled line, a loaded snapshot): the history
    // starts anew from here. Runs notice such changes by themselves; calling
    // this says it at once.
    void Edited();
    // CpuReset, the step count back to 0, and a new history.
    void Reset();
    // Sets the control port's run bit of a processor asleep, as a key would.
    void Wake();

    History& Past() { return *history_; }
    const History& Past() const { return *history_; }

    // As Advance without a command, stopped by nothing but runTo: for runs
    // that mean to ignore breakpoints and watchpoints (the console's step,
    // tick and type), still kept in the history.
    Advanced RunPlain(int64_t budget, uint64_t maxSteps = NoStepLimit, int32_t runTo = -1);

private:
    enum class Command : uint8_t { None, Steps, Over, Out, RunTo };

    bool Prepare();
    void Arm(bool debugStops);
    Advanced RunForward(int64_t budget, uint64_t maxSteps, int32_t runTo, bool debugStops, Stop& stop);
    CpuRunResult CarefulStep(int32_t runTo, Stop& stop);
    StopReason ReasonAt(int32_t runTo) const;
    Stop Finish(StopReason reason);
    void Conclude(const Stop& found);
    Stop Explain(uint64_t step);
    void Begin(Command command);

    std::vector<uint64_t> stopBits_;  // the breakpoints and the command's target
    Command command_ = Command::None;
    uint64_t stepsLeft_ = 0;
    uint16_t target_ = 0;     // the address of RunTo and StepOver
    uint16_t stackMark_ = 0;  // SP when StepOver or StepOut began
    Stop lastStop_;
    History* history_;
};

// The session's run control; the run loop, the debug window and the console
// share it.
extern RunControl Debugger;

// The debugger's globals as the program starts them: Debugger with no
// breakpoints, watchpoints, optional stops, command or stop, and a history
// not yet begun; an empty symbol table; no watch hit caught.
void ResetDebugger();
