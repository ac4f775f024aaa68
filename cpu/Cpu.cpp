#include "cpu/Cpu.h"

#include <algorithm>

#include "cpu/Decoder.h"
#include "core/Def.h"
#include "cpu/Srcdst.h"

TrapCounter TrapsTaken;

void ResetProcessor() { TrapsTaken = TrapCounter{}; }

namespace {

uint16_t ReadWordAt(uint16_t address) {
    Mk.Addr = address;
    return ReadCell().Word();
}

void Push(uint16_t value) {
    ComputeAddress<ModeOf(FieldPush)>(FieldPush);
    WriteCell().SetWord(value);
}

void EnterTrap(TrapVector vector) {
    ++TrapsTaken.Count;
    TrapsTaken.LastVector = vector;
    Mk.AddrMask = 0xFFFE;
    // The first push is made even; the second is not, so an odd SP splits the
    // saved PC across the saved PSW.
    ComputeAddress<ModeOf(FieldPush)>(FieldPush);
    Mk.Addr &= 0xFFFE;
    WriteCell().SetWord(Mk.Psw);
    Push(Mk.Reg[PC]);
    Mk.Reg[PC] = ReadWordAt(vector & 0xFFFE) & 0xFFFE;
    Mk.Psw = ReadWordAt(Mk.Addr + 2);
}

int32_t CostOfStep() { return (Mk.CtrlPort & CtrlSpeedBit) ? 1 : 8; }

bool KeyHeld() { return Mk.MouseKey != 0 || Mk.PcKey != 0; }

// The part of a step that executes an instruction (Opcode is set): dispatch
// (which leaves PC even), the trace trap and the trap entry.
void Execute() {
    TrapVector vector = DispatchOpcode();
    if (vector == NoTrap && (Mk.Psw & FlagT) && !Mk.TraceInhibit) vector = VectorBreakpoint;
    if (vector != NoTrap) EnterTrap(vector);
    Mk.TraceInhibit = false;
}

// True when the next steps are plain instructions: the processor runs (or a
// held key wakes it), neither waits nor has a halt request to take or drop,
// and no trace trap can follow an instruction.
bool RunsPlainInstructions() {
    return ((Mk.CtrlPort & CtrlRunBit) || KeyHeld()) && !Mk.Waiting && !Mk.HaltRequest && !Mk.StepFlag &&
           !(Mk.Psw & FlagT) && !Mk.TraceInhibit;
}

// The instructions 000000..000037 (HALT, WAIT, RTI, RTT, the halt-mode
// group) are the only ones that can set the trace bit, TraceInhibit, Waiting
// or StepFlag, and so make the step after them a different one; apart from
// them, only a trap or a write to CtrlPort can.
constexpr uint16_t FirstPlainOpcode = 040;

// Instruction words from past the ports up to the last RAM address come
// straight from Memory; the rest go through ReadCell.
constexpr uint16_t FirstDirectFetch = KeyInAddress + 8;

// The addresses First..First + Span - 1 whose instruction words come straight
// from Memory.
struct DirectFetch {
    uint16_t First;
    uint16_t Span;
};

// From past the ports to the end of RAM, or of ROM when there is no RAM, but
// never what the bus watch keeps from reads: from past its ROM hole, and
// before the hole where it lies further up.
DirectFetch DirectFetchRange() {
    uint16_t last = IsRam(RamStart) && Watch.RamReadSpan != 0
                        ? std::min<uint16_t>(Mk.RamEnd, uint16_t(RamStart + Watch.RamReadSpan - 1))
                        : uint16_t(RamStart - 1);
    const uint16_t holeEnd = uint16_t(Watch.RomReadHole + Watch.RomReadHoleSize);
    uint16_t first = FirstDirectFetch;
    if (Watch.RomReadHole <= FirstDirectFetch)
        first = std::max(first, holeEnd);
    else
        last = std::min<uint16_t>(last, uint16_t(Watch.RomReadHole - 1));
    return {first, last < first ? uint16_t(0) : uint16_t(last - first + 1)};
}

// The stops a run of instructions tests after each one, given the next PC.
// WhileIdle tells whether an idle processor, which leaves PC where it is,
// stops there after one step.
struct NoStop {
    bool operator()(uint16_t) const { return false; }
    bool WhileIdle(uint16_t) const { return false; }
};
struct PcStop {
    int32_t at;
    bool operator()(uint16_t pc) const { return pc == at; }
    bool WhileIdle(uint16_t pc) const { return pc == at; }
};
// The set of breakpoints stops only instructions that arrive at one: a
// processor asleep on a breakpoint sleeps on until a key wakes it.
struct DebugStop {
    const RunStops& stops;
    bool operator()(uint16_t pc) const {
        return pc == stops.Pc || (stops.PcSet && (stops.PcSet[pc >> 6] >> (pc & 63) & 1)) ||
               (stops.Tripped && *stops.Tripped) || Mk.Reg[SP] > stops.SpAbove;
    }
    bool WhileIdle(uint16_t pc) const { return pc == stops.Pc; }
};

// Up to `steps` steps as RunsPlainInstructions found them; returns how many
// ran. Each step is what CpuStep would do, with what cannot happen left out:
// the run ends after a step that leaves the next one different, or writes
// CtrlPort (the run and speed bits), or after which stop(PC) holds.
// PC goes from one instruction to the next in a host register, Reg[PC] kept
// too (store-to-load forwarding: BuiltHandler, cpu/Binding.h).
template <class Stop>
uint64_t RunInstructions(uint64_t steps, const Stop& stop) {
    const uint16_t control = Mk.CtrlPort;
    const DirectFetch direct = DirectFetchRange();  // RamEnd is fixed within a run
    uint16_t pc = Mk.Reg[PC];
    uint64_t left = steps;
    while (left != 0) {
        --left;
        // The fetch: (PC)+ as a word.
        Mk.AddrMask = 0xFFFE;
        Mk.Addr = pc;
        const uint16_t next = uint16_t(pc + 2);
        Mk.Opcode =
            uint16_t(pc - direct.First) < direct.Span ? Location{Mk.Memory.data() + pc}.Word() : ReadCell().Word();
        if (Mk.Opcode < FirstPlainOpcode) {
            Mk.Reg[PC] = next;
            Execute();
            if ((Mk.Psw & FlagT) || Mk.Waiting || Mk.StepFlag) break;
            pc = Mk.Reg[PC];
        } else {
            const uint32_t result = OpcodeTable[Mk.Opcode](next);
            const TrapVector vector = uint16_t(result);
            pc = uint16_t(result >> 16);
            if (vector != NoTrap) [[unlikely]] {
                EnterTrap(vector);
                if (Mk.Psw & FlagT) break;
                pc = Mk.Reg[PC];
            }
        }
        if (Mk.CtrlPort != control || stop(pc)) break;
    }
    return steps - left;
}

// Steps needed for the costs to reach what is left of the budget.
uint64_t StepsToSpend(int64_t left, int32_t cost) { return uint64_t(left / cost + (left % cost != 0)); }

}  // namespace

bool CpuRunsNoInstruction() {
    if (!(Mk.CtrlPort & CtrlRunBit) && !KeyHeld()) return true;
    return Mk.Waiting && !Mk.HaltRequest;
}

bool CpuIdle() {
    // Else the step wakes the processor, or clears the step flag.
    return CpuRunsNoInstruction() && ((Mk.CtrlPort & CtrlRunBit) ? !Mk.StepFlag : !KeyHeld());
}

void CpuReset() {
    Mk.CtrlPort = 0x0500;
    Mk.TraceInhibit = Mk.Waiting = Mk.StepFlag = Mk.HaltRequest = false;
    Mk.Cpc &= 0xFFFE;
    Mk.Reg[PC] = ReadWordAt(0x0000) & 0xFFFE;
    Mk.Psw = ReadWordAt(0x0002);
}

void EnterHaltMode() {
    Mk.Cpc = Mk.Reg[PC];
    Mk.Cps = Mk.Psw;
    Mk.Reg[PC] = ReadWordAt(HaltVector) & 0xFFFE;
    Mk.Psw = ReadWordAt(HaltVector + 2) | HaltModeBit;
}

int32_t CpuStep() {
    const int32_t cost = CostOfStep();

    // A held key wakes a stopped processor.
    if (KeyHeld()) Mk.CtrlPort |= CtrlRunBit;
    if (!(Mk.CtrlPort & CtrlRunBit)) return cost;

    if (Mk.HaltRequest) Mk.Waiting = false;
    // No halt request is taken in halt mode or at the step after "step".
    if (Mk.StepFlag || (Mk.Psw & HaltModeBit)) Mk.HaltRequest = false;
    Mk.StepFlag = false;
    if (Mk.Waiting) return cost;

    if (Mk.HaltRequest) {
        // HALT instead of the next instruction: nothing is fetched, so Cpc
        // receives the address of the instruction that would have run.
        Mk.Opcode = 0;
        Mk.HaltRequest = false;
    } else {
        Mk.AddrMask = 0xFFFE;
        ComputeAddress<ModeOf(FieldFetch)>(FieldFetch);
        Mk.Opcode = ReadCell().Word();
    }
    Execute();
    return cost;
}

namespace {

// Within a run nothing outside the processor changes: the keys and the halt
// request stay as they are. So while the processor idles, every step is the
// same and the rest of the run is counted at once; while it runs plain
// instructions, their cost changes only when one writes CtrlPort. Everything
// else goes through CpuStep.
template <class Stop, class RunPlain>
CpuRunResult RunSteps(int64_t budget, uint64_t maxSteps, const Stop& stop, const RunPlain& runPlain) {
    CpuRunResult run;
    while (run.spent < budget && run.steps < maxSteps) {
        const int32_t cost = CostOfStep();
        const uint64_t allowed = std::min(maxSteps - run.steps, StepsToSpend(budget - run.spent, cost));
        uint64_t steps = 1;
        if (CpuIdle()) {
            // PC stays put: a stop on it comes after the first step.
            const bool stops = stop.WhileIdle(Mk.Reg[PC]);
            steps = stops ? 1 : allowed;
            run.spent += int64_t(steps) * cost;
            run.steps += steps;
            run.stopped = stops;
            if (stops) break;
            continue;
        } else if (RunsPlainInstructions()) {
            if (KeyHeld()) Mk.CtrlPort |= CtrlRunBit;
            steps = runPlain(allowed);
        } else {
            CpuStep();
        }
        run.spent += int64_t(steps) * cost;
        run.steps += steps;
        run.stopped = stop(Mk.Reg[PC]);
        if (run.stopped) break;
    }
    return run;
}

}  // namespace

CpuRunResult CpuRun(int64_t budget, uint64_t maxSteps, int32_t stopAt) {
    if (stopAt < 0)
        return RunSteps(budget, maxSteps, NoStop{}, [](uint64_t n) { return RunInstructions(n, NoStop{}); });
    const PcStop stop{stopAt};
    return RunSteps(budget, maxSteps, stop, [&](uint64_t n) { return RunInstructions(n, stop); });
}

CpuRunResult CpuRun(int64_t budget, uint64_t maxSteps, const RunStops& stops) {
    const DebugStop stop{stops};
    return RunSteps(budget, maxSteps, stop, [&](uint64_t n) { return RunInstructions(n, stop); });
}
