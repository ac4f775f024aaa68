#include "core/Cpu.h"

#include <algorithm>

#include "core/Decoder.h"
#include "core/Def.h"
#include "core/Srcdst.h"

namespace {

uint16_t ReadWordAt(uint16_t address) {
    Addr = address;
    return ReadCell().Word();
}

void Push(uint16_t value) {
    ComputeAddress<ModeOf(FieldPush)>(FieldPush);
    WriteCell().SetWord(value);
}

void EnterTrap(TrapVector vector) {
    AddrMask = 0xFFFE;
    // The first push is made even; the second is not, so an odd SP splits the
    // saved PC across the saved PSW.
    ComputeAddress<ModeOf(FieldPush)>(FieldPush);
    Addr &= 0xFFFE;
    WriteCell().SetWord(Psw);
    Push(Reg[PC]);
    Reg[PC] = ReadWordAt(vector & 0xFFFE) & 0xFFFE;
    Psw = ReadWordAt(Addr + 2);
}

int32_t CostOfStep() { return (CtrlPort & CtrlSpeedBit) ? 1 : 8; }

bool KeyHeld() { return MouseKey != 0 || PcKey != 0; }

// The part of a step that executes an instruction (Opcode is set): dispatch
// (which leaves PC even), the trace trap and the trap entry.
void Execute() {
    TrapVector vector = DispatchOpcode();
    if (vector == NoTrap && (Psw & FlagT) && !TraceInhibit) vector = VectorBreakpoint;
    if (vector != NoTrap) EnterTrap(vector);
    TraceInhibit = false;
}

// True when the next step can change nothing but the count: the processor is
// stopped with no key held to wake it, or waits with no halt request to take.
bool Idle() {
    if (!(CtrlPort & CtrlRunBit)) return !KeyHeld();
    return Waiting && !HaltRequest && !StepFlag;
}

// True when the next steps are plain instructions: the processor runs (or a
// held key wakes it), neither waits nor has a halt request to take or drop,
// and no trace trap can follow an instruction.
bool RunsPlainInstructions() {
    return ((CtrlPort & CtrlRunBit) || KeyHeld()) && !Waiting && !HaltRequest && !StepFlag &&
           !(Psw & FlagT) && !TraceInhibit;
}

// The instructions 000000..000037 (HALT, WAIT, RTI, RTT, the halt-mode
// group) are the only ones that can set the trace bit, TraceInhibit, Waiting
// or StepFlag, and so make the step after them a different one; apart from
// them, only a trap or a write to CtrlPort can.
constexpr uint16_t FirstPlainOpcode = 040;

// Instruction words from FirstDirectFetch up to the last RAM address come
// straight from Memory; the rest go through ReadCell.
constexpr uint16_t FirstDirectFetch = KeyInAddress + 8;

// How far past FirstDirectFetch the instruction words come straight from
// Memory: to the end of RAM, or of ROM when there is no RAM.
uint16_t DirectFetchSpan() {
    const uint16_t last = IsRam(RamStart) ? std::min(RamEnd, LastRamAddress) : uint16_t(RamStart - 1);
    return uint16_t(last - FirstDirectFetch);
}

// Up to `steps` steps as RunsPlainInstructions found them; returns how many
// ran. Each step is what CpuStep would do, with what cannot happen left out:
// the run ends after a step that leaves the next one different, or writes
// CtrlPort (the run and speed bits), or, with StopOnPc, leaves PC at stopAt.
// PC goes from one instruction to the next in a host register (Reg[PC] is
// kept too), so no fetch waits for a store of it.
template <bool StopOnPc>
uint64_t RunInstructions(uint64_t steps, int32_t stopAt) {
    const uint16_t control = CtrlPort;
    const uint16_t directSpan = DirectFetchSpan();  // RamEnd is fixed within a run
    uint16_t pc = Reg[PC];
    uint64_t left = steps;
    while (left != 0) {
        --left;
        // The fetch: (PC)+ as a word.
        AddrMask = 0xFFFE;
        Addr = pc;
        const uint16_t next = uint16_t(pc + 2);
        Opcode = uint16_t(pc - FirstDirectFetch) <= directSpan ? Location{Memory + pc}.Word() : ReadCell().Word();
        if (Opcode < FirstPlainOpcode) {
            Reg[PC] = next;
            Execute();
            if ((Psw & FlagT) || Waiting || StepFlag) break;
            pc = Reg[PC];
        } else {
            const uint32_t result = OpcodeTable[Opcode](next);
            const TrapVector vector = uint16_t(result);
            pc = uint16_t(result >> 16);
            if (vector != NoTrap) [[unlikely]] {
                EnterTrap(vector);
                if (Psw & FlagT) break;
                pc = Reg[PC];
            }
        }
        if (CtrlPort != control || (StopOnPc && pc == stopAt)) break;
    }
    return steps - left;
}

// Steps needed for the costs to reach what is left of the budget.
uint64_t StepsToSpend(int64_t left, int32_t cost) { return uint64_t(left / cost + (left % cost != 0)); }

}  // namespace

void CpuReset() {
    CtrlPort = 0x0500;
    TraceInhibit = Waiting = StepFlag = HaltRequest = false;
    Cpc &= 0xFFFE;
    Reg[PC] = ReadWordAt(0x0000) & 0xFFFE;
    Psw = ReadWordAt(0x0002);
}

void EnterHaltMode() {
    Cpc = Reg[PC];
    Cps = Psw;
    Reg[PC] = ReadWordAt(HaltVector) & 0xFFFE;
    Psw = ReadWordAt(HaltVector + 2) | HaltModeBit;
}

int32_t CpuStep() {
    const int32_t cost = CostOfStep();

    // A held key wakes a stopped processor.
    if (KeyHeld()) CtrlPort |= CtrlRunBit;
    if (!(CtrlPort & CtrlRunBit)) return cost;

    if (HaltRequest) Waiting = false;
    // No halt request is taken in halt mode or at the step after "step".
    if (StepFlag || (Psw & HaltModeBit)) HaltRequest = false;
    StepFlag = false;
    if (Waiting) return cost;

    if (HaltRequest) {
        // HALT instead of the next instruction: nothing is fetched, so Cpc
        // receives the address of the instruction that would have run.
        Opcode = 0;
        HaltRequest = false;
    } else {
        AddrMask = 0xFFFE;
        ComputeAddress<ModeOf(FieldFetch)>(FieldFetch);
        Opcode = ReadCell().Word();
    }
    Execute();
    return cost;
}

// Within a run nothing outside the processor changes: the keys and the halt
// request stay as they are. So while the processor idles, every step is the
// same and the rest of the run is counted at once; while it runs plain
// instructions, their cost changes only when one writes CtrlPort. Everything
// else goes through CpuStep.
CpuRunResult CpuRun(int64_t budget, uint64_t maxSteps, int32_t stopAt) {
    CpuRunResult run;
    while (run.spent < budget && run.steps < maxSteps) {
        const int32_t cost = CostOfStep();
        const uint64_t allowed = std::min(maxSteps - run.steps, StepsToSpend(budget - run.spent, cost));
        uint64_t steps = 1;
        if (Idle()) {
            // PC stays put: a stop on it comes after the first step.
            if (Reg[PC] != stopAt) steps = allowed;
        } else if (RunsPlainInstructions()) {
            if (KeyHeld()) CtrlPort |= CtrlRunBit;
            steps = stopAt >= 0 ? RunInstructions<true>(allowed, stopAt) : RunInstructions<false>(allowed, stopAt);
        } else {
            CpuStep();
        }
        run.spent += int64_t(steps) * cost;
        run.steps += steps;
        if (Reg[PC] == stopAt) break;
    }
    return run;
}
