#include "debugger/RunControl.h"

#include <algorithm>
#include <memory>

#include "debugger/History.h"
#include "debugger/Symbols.h"

RunControl Debugger;

namespace {

constexpr size_t AddressWords = 65536 / 64;

// The location an access of that kind reaches, as ReadCell and WriteCell
// decode it, or nullptr where it reads 0 (or the write vanishes); without
// the side effects of the access.
const uint8_t* CellFor(uint16_t address, bool write) {
    if (IsRam(address)) return Mk.Memory.data() + address;
    if (write) {
        if (IsLcdRam(address)) return Mk.LcdRam.data() + (address - LcdRamStart);
        if (address == KeyOutAddress) return CellOf(Mk.KeyOut).at;
    } else {
        if (ReadsMemory(address)) return Mk.Memory.data() + address;
        if (address == KeyInAddress) return CellOf(Mk.KeyIn).at;
    }
    if (address == CtrlPortAddress) return CellOf(Mk.CtrlPort).at;
    return nullptr;
}

uint16_t ValueAt(uint16_t address, bool write, bool word) {
    const uint8_t* cell = CellFor(address, write);
    if (!cell) return 0;
    return word ? Location{const_cast<uint8_t*>(cell)}.Word() : cell[0];
}

// The first access of a step to a watched byte, caught by the bus watch's
// hook, which sees every access the lowered bounds keep from the fast paths.
struct WatchCatch {
    const std::vector<Watchpoint>* watches = nullptr;
    bool tripped = false;
    WatchHit hit;
} Caught;

void WatchHook(bool write) {
    if (Caught.tripped) return;
    const bool word = Mk.AddrMask == 0xFFFE;
    const uint32_t first = Mk.Addr;
    const uint32_t last = first + (word ? 1 : 0);
    const WatchAccess kind = write ? WatchAccess::Write : WatchAccess::Read;
    for (const Watchpoint& watch : *Caught.watches) {
        if (!(uint8_t(watch.Access) & uint8_t(kind))) continue;
        if (first > watch.Last || last < watch.First) continue;
        Caught.tripped = true;
        Caught.hit = WatchHit{0, Mk.Addr, ValueAt(Mk.Addr, write, word), 0, write, word};
        return;
    }
}

// The length in bytes of an instruction that calls and comes back (jsr, emt,
// trap, iot, bpt), or 0 for any other.
uint16_t CallLength(uint16_t word) {
    if ((word & 0177000) == 0004000) {
        const uint16_t mode = (word >> 3) & 7;
        const bool extraWord = mode >= 6 || ((mode == 2 || mode == 3) && (word & 7) == 7);
        return extraWord ? 4 : 2;
    }
    if ((word & 0177000) == 0104000 || word == 0000003 || word == 0000004) return 2;
    return 0;
}

// rts, rti and rtt.
bool IsReturn(uint16_t word) { return (word & 0177770) == 0000200 || word == 0000002 || word == 0000006; }

}  // namespace

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

RunControl::RunControl() : stopBits_(AddressWords), history_(new History) {}

RunControl::~RunControl() { delete history_; }

void RunControl::Begin(Command command) {
    command_ = command;
    stackMark_ = Mk.Reg[SP];
}

void RunControl::Continue() { Begin(Command::None); }

void RunControl::Step(uint64_t steps) {
    Begin(Command::Steps);
    stepsLeft_ = steps;
    if (steps == 0) Finish(StopReason::Steps);
}

void RunControl::StepOver() {
    const uint16_t pc = Mk.Reg[PC] & 0xFFFE;
    const uint16_t length = CallLength(PeekWord(Mk, pc));
    if (length == 0 || CpuRunsNoInstruction() || Mk.HaltRequest) {
        Step(1);
        return;
    }
    Begin(Command::Over);
    target_ = uint16_t(pc + length);
}

void RunControl::StepOut() { Begin(Command::Out); }

void RunControl::RunTo(uint16_t address) {
    Begin(Command::RunTo);
    target_ = address;
}

void RunControl::Interrupt() {
    if (command_ != Command::None) Finish(StopReason::Interrupted);
}

Stop RunControl::Finish(StopReason reason) {
    command_ = Command::None;
    lastStop_ = Stop{reason, Mk.Reg[PC], history_->Now(), {}, 0};
    return lastStop_;
}

// Ends the command with the stop that the run just found (none: the
// steps ran): a trap's vector, and a watch hit completed with the value after
// the step and the instruction that made the access.
void RunControl::Conclude(const Stop& found) {
    Finish(found.Reason == StopReason::None ? StopReason::Steps : found.Reason);
    lastStop_.Vector = found.Vector;
    if (found.Reason != StopReason::Watch) return;
    WatchHit hit = Caught.hit;
    hit.New = ValueAt(hit.Address, hit.Write, hit.Word);
    hit.Instruction = history_->At(history_->Now() - 1).Reg[PC];
    lastStop_.Watch = hit;
}

// Runs start from the history's machine: an edit made since begins a new
// history, and keys changed since are recorded.
bool RunControl::Prepare() {
    if (history_->Resume()) return true;
    history_->Begin(history_->Now());
    return false;
}

void RunControl::Arm(bool debugStops) {
    Watch = BusWatch{};
    Caught.tripped = false;
    if (!debugStops || Watches().empty()) return;
    // A word access one byte below a range touches its first byte.
    for (const Watchpoint& watch : Watches()) {
        const uint16_t low = watch.First == 0 ? 0 : uint16_t(watch.First - 1);
        const uint16_t high = watch.Last;
        // The span from start that stays clear of low..high.
        const auto narrow = [&](uint16_t& span, uint16_t start) {
            if (high >= start && low < start + span) span = low > start ? uint16_t(low - start) : 0;
        };
        if (uint8_t(watch.Access) & uint8_t(WatchAccess::Read)) {
            narrow(Watch.RamReadSpan, RamStart);
            if (low < RamStart) {
                const uint16_t first = std::min(Watch.RomReadHole, low);
                const uint32_t end = std::max<uint32_t>(Watch.RomReadHole + Watch.RomReadHoleSize,
                                                        std::min<uint32_t>(high, RamStart - 1) + 1);
                Watch.RomReadHole = first;
                Watch.RomReadHoleSize = uint16_t(end - first);
            }
        }
        if (uint8_t(watch.Access) & uint8_t(WatchAccess::Write)) {
            narrow(Watch.RamWriteSpan, RamStart);
            narrow(Watch.LcdWriteSpan, LcdRamStart);
        }
    }
    Caught.watches = &Watches();
    Watch.Hook = WatchHook;
}

// What stopped the run that just ended with PC where it is, or None. The
// command's own goal comes before a breakpoint on the same address.
StopReason RunControl::ReasonAt(int32_t runTo) const {
    const uint16_t pc = Mk.Reg[PC];
    if (Caught.tripped) return StopReason::Watch;
    if (command_ == Command::RunTo && pc == target_) return StopReason::RunTo;
    if (command_ == Command::Over && pc == target_ && Mk.Reg[SP] == stackMark_) return StopReason::Returned;
    if (pc == runTo) return StopReason::RunTo;
    if (IsBreakpoint(pc)) return StopReason::Breakpoint;
    return StopReason::None;
}

// One step with the checks that the fast runs cannot make: a return past
// the routine's frame, a trap, the entry to halt mode.
CpuRunResult RunControl::CarefulStep(int32_t runTo, Stop& stop) {
    const bool idle = CpuRunsNoInstruction();
    const bool returns = !idle && !Mk.HaltRequest && IsReturn(PeekWord(Mk, Mk.Reg[PC] & 0xFFFE));
    const bool inHaltMode = Mk.Psw & HaltModeBit;
    const uint64_t traps = TrapsTaken.Count;
    const int64_t cost = CpuStep();
    StopReason reason = StopReason::None;
    if (Caught.tripped)
        reason = StopReason::Watch;
    else if (command_ == Command::Out && returns && Mk.Reg[SP] > stackMark_)
        reason = StopReason::Returned;
    else if (StopOnTrap && TrapsTaken.Count != traps)
        reason = StopReason::Trap;
    else if (StopOnHaltMode && !inHaltMode && (Mk.Psw & HaltModeBit))
        reason = StopReason::HaltMode;
    else if (!idle || Mk.Reg[PC] == runTo)
        reason = ReasonAt(runTo);
    stop.Reason = reason;
    stop.Vector = reason == StopReason::Trap ? TrapsTaken.LastVector : 0;
    return {cost, 1, reason != StopReason::None};
}

Advanced RunControl::RunForward(int64_t budget, uint64_t maxSteps, int32_t runTo, bool debugStops, Stop& stop) {
    Advanced result;
    History& history = *history_;
    stop = Stop{};
    const bool careful = debugStops && (StopOnTrap || StopOnHaltMode);
    const bool targeted = command_ == Command::Over || command_ == Command::RunTo;
    const bool anyAddress = debugStops && (BreakpointCount() > 0 || targeted);
    if (anyAddress) {
        stopBits_ = BreakpointBits();
        if (targeted) stopBits_[target_ >> 6] |= uint64_t(1) << (target_ & 63);
    }
    // StepOut runs fast while SP stays at or below where it began: a return
    // to the caller raises SP above it, and the fast run stops at any step
    // that does. Above it (a routine that pops its own return address), it
    // runs a step at a time.
    const bool out = debugStops && command_ == Command::Out;
    const RunStops stops{runTo, anyAddress ? stopBits_.data() : nullptr, Watch.Hook ? &Caught.tripped : nullptr,
                         out ? int32_t(stackMark_) : 0xFFFF};
    while (result.Spent < budget && result.Steps < maxSteps) {
        // A processor idle until something outside wakes it changes nothing
        // before the next recorded input: all those steps are counted at
        // once, across the checkpoints due (History::Ran takes one after).
        const bool idle = CpuIdle();
        uint64_t chunk = std::min(maxSteps - result.Steps, history.NextInputChange() - history.Now());
        if (!idle) chunk = std::min(chunk, history.NextCheckpoint() - history.Now());
        if (command_ == Command::Steps) chunk = std::min(chunk, stepsLeft_);
        Caught.tripped = false;
        const bool stepwise = !idle && (careful || (out && Mk.Reg[SP] > stackMark_));
        CpuRunResult run;
        if (stepwise)
            run = CarefulStep(runTo, stop);
        else if (anyAddress || stops.Tripped || out)
            run = CpuRun(budget - result.Spent, chunk, stops);
        else
            run = CpuRun(budget - result.Spent, chunk, runTo);
        // Where PC sits on the command's target with the stack elsewhere
        // (a recursive call), the run goes on; so does StepOut where the
        // step that raised SP was no return.
        if (run.stopped && !stepwise)
            stop.Reason = out && !Caught.tripped && Mk.Reg[SP] > stackMark_ && IsReturn(Mk.Opcode)
                              ? StopReason::Returned
                              : ReasonAt(runTo);
        history.Ran(run.steps);
        result.Steps += run.steps;
        result.Spent += run.spent;
        if (command_ == Command::Steps) {
            stepsLeft_ -= run.steps;
            if (stepsLeft_ == 0 && stop.Reason == StopReason::None) stop.Reason = StopReason::Steps;
        }
        if (stop.Reason != StopReason::None) {
            result.Stopped = true;
            break;
        }
        if (run.steps == 0) break;
    }
    return result;
}

Advanced RunControl::Advance(int64_t budget, uint64_t maxSteps, int32_t runTo) {
    Prepare();
    Arm(true);
    Stop stop;
    const Advanced result = RunForward(budget, maxSteps, runTo, true, stop);
    Arm(false);
    if (result.Stopped) Conclude(stop);
    history_->Leave();
    return result;
}

Advanced RunControl::RunPlain(int64_t budget, uint64_t maxSteps, int32_t runTo) {
    Prepare();
    const Command command = command_;
    command_ = Command::None;
    Stop stop;
    const Advanced result = RunForward(budget, maxSteps, runTo, false, stop);
    command_ = command;
    history_->Leave();
    return result;
}

Stop RunControl::StepBack(uint64_t steps) {
    command_ = Command::None;
    if (!Prepare()) return Finish(StopReason::HistoryStart);
    const uint64_t now = history_->Now();
    const uint64_t oldest = history_->Oldest();
    const bool reachesStart = now - oldest <= steps;
    history_->MoveTo(reachesStart ? oldest : now - steps);
    return Finish(reachesStart && now - oldest < steps ? StopReason::HistoryStart : StopReason::Steps);
}

// The stop of the step that arrived at step, found again by replaying that
// one step with the stops armed.
Stop RunControl::Explain(uint64_t step) {
    history_->MoveTo(step - 1);
    Arm(true);
    Stop stop;
    RunForward(UnlimitedBudget, 1, -1, true, stop);
    Arm(false);
    Conclude(stop);
    history_->Leave();
    return lastStop_;
}

Stop RunControl::RunBack() {
    command_ = Command::None;
    if (!Prepare()) return Finish(StopReason::HistoryStart);
    const uint64_t from = history_->Now();
    uint64_t end = from;
    for (const uint64_t start : history_->CheckpointsBefore(from)) {
        history_->MoveTo(start);
        uint64_t lastHit = 0;
        Arm(true);
        while (history_->Now() < end) {
            Stop stop;
            RunForward(UnlimitedBudget, end - history_->Now(), -1, true, stop);
            if (stop.Reason != StopReason::None && history_->Now() < from) lastHit = history_->Now();
        }
        Arm(false);
        if (lastHit != 0) return Explain(lastHit);
        end = start;
    }
    history_->MoveTo(history_->Oldest());
    return Finish(StopReason::HistoryStart);
}

uint64_t RunControl::StepCount() const { return history_->Now(); }

void RunControl::Edited() { history_->Begin(history_->Now()); }

void RunControl::Reset() {
    CpuReset();
    command_ = Command::None;
    history_->Begin(0);
}

void RunControl::Wake() {
    Mk.CtrlPort |= CtrlRunBit;
    Edited();
}

void ResetDebugger() {
    // Built again rather than cleared member by member, so that it is the
    // run control the program started with whatever members it gains.
    std::destroy_at(&Debugger);
    std::construct_at(&Debugger);
    Symbols = SymbolTable{};
    Caught = WatchCatch{};
}
