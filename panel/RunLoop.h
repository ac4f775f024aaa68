// The run loop: how much the emulated processor runs at each 10 ms tick, its
// run-control variables, and the calls through which the debug window and
// the console stop, resume and aim it.
#pragma once

#include <cstdint>
#include <functional>

// The run loop's state. The windows and the console change it through the
// calls below, never by assigning it.

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
// The run loop's globals as the program starts them: the run-control state
// above and the default CpuSpeed.
void ResetRunLoop();

// Stops the run: ticks run nothing until ResumeRun, and a trace or a
// breakpoint in progress ends.
void PauseRun();
// Runs again once that many ticks have been skipped.
void ResumeRun(int32_t skipTicks);
// Whether the next tick runs the processor: not paused, nothing to skip.
bool NextTickRuns();
// Runs that many steps more, then shows the debug window; ends a breakpoint.
void TraceSteps(int32_t steps);
// Runs until a step leaves PC at the address, then shows the debug window;
// ends a trace. An address above 0xFFFF never matches.
void BreakAt(int32_t address);
// Sets CpuSpeed, as the console's speed command does.
void SetCpuSpeed(int32_t units);
// The machine was changed outside a run and not by a key (a register,
// memory, an assembled line): the debugger's history begins anew from here.
void MachineEdited();

// How much a tick runs, as the window lets the user choose while it runs:
// CpuSpeed cycle units (the settings' speed), twice or ten times that, or as
// many as fit in a slice of the host's time, the rest of which the window
// keeps for its events. The machine has no clock of its own; its programs
// count steps, so all of the machine's time runs faster.
enum class RunSpeed { Normal, Twice, TenTimes, Fastest };

// One tick of the run loop. Skips the tick while RunDelay counts down, and
// runs nothing while Paused is set; otherwise carries on the debugger's
// command (Debugger.Advance) until the costs reach the speed's budget,
// stopping early after a step that ends a trace, lands on the breakpoint, or
// stops the debugger's command, where showDebugWindow is called. What a tick
// leaves unspent or overspends is not carried over. As fast as the host
// allows, the tick also ends as soon as the processor idles.
void RunTick(const std::function<void()>& showDebugWindow, RunSpeed speed = RunSpeed::Normal);

// Steps the processor until the costs reach budget, with no run control at
// all (the history is kept); returns the cycle units spent.
int64_t RunBudget(int64_t budget);
