// The processor step: stopped and waiting states, the halt request, fetch and
// dispatch of one instruction, the trace trap and the trap entry; and a run
// of steps that does exactly what as many single steps would, only faster.
#pragma once

#include <cstdint>

// Power-on state from the ROM's reset words at 0x0000 (PC) and 0x0002 (PSW).
void CpuReset();

// One processor step; returns its cost in cycle units: 1 while the speed bit
// of CtrlPort is set, else 8, whatever the step did.
int32_t CpuStep();

// Steps until the costs reach budget (at most UnlimitedBudget), or maxSteps
// steps have run, or after a step that leaves PC at stopAt (0..0xFFFF;
// negative: no such stop). The machine ends exactly as after that many
// CpuStep calls.
struct CpuRunResult {
    int64_t spent = 0;     // the cycle units of the steps run
    uint64_t steps = 0;    // how many steps ran
    bool stopped = false;  // a stop on PC (or a RunStops stop) ended the run
};
CpuRunResult CpuRun(int64_t budget, uint64_t maxSteps, int32_t stopAt);

// Two answers about the next step. They differ where it runs no instruction
// yet changes the machine: a held key wakes a processor that still waits, or
// a waiting processor clears the step flag (machines that a snapshot or an
// edit may hold; no instruction leaves them).
//
// True when the next step runs no instruction at PC: the processor is
// stopped with no key held to wake it, or waits with no halt request to take.
// The debugger asks it: such a step cannot return, call or stop at PC.
bool CpuRunsNoInstruction();
// True when the next step can change nothing but the count of steps. Only
// something outside the processor (a key, the halt request) can end that, so
// runs count such steps at once.
bool CpuIdle();

// The debugger's stops, each tested after every step: PC at Pc (0..0xFFFF;
// negative: none), PC on an address of PcSet (65536 bits, bit a % 64 of word
// a / 64; null: none), *Tripped set by the bus watch during the step (null:
// none), or an instruction that leaves SP above SpAbove (0xFFFF: none). The
// machine ends as after that many CpuStep calls.
struct RunStops {
    int32_t Pc = -1;
    const uint64_t* PcSet = nullptr;
    const bool* Tripped = nullptr;
    int32_t SpAbove = 0xFFFF;
};
CpuRunResult CpuRun(int64_t budget, uint64_t maxSteps, const RunStops& stops);

// A budget that no run of a countable number of steps reaches.
constexpr int64_t UnlimitedBudget = INT64_MAX / 2;

// The traps entered since the program started and the vector of the last,
// for the debugger's stop on traps; not machine state.
struct TrapCounter {
    uint64_t Count = 0;
    uint16_t LastVector = 0;
};
extern TrapCounter TrapsTaken;

// The processor's globals as the program starts them: no trap counted. The
// processor's registers are the machine's (ResetCore, CpuReset).
void ResetProcessor();

// Halt-mode entry, as HALT and the halt request perform it: PC and PSW go to
// Cpc and Cps, and the new ones come from the fixed vector at 0x0078.
void EnterHaltMode();

constexpr uint16_t HaltVector = 0x0078;
