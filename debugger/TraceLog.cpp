#include "debugger/TraceLog.h"

#include <algorithm>

#include "core/Cpu.h"
#include "debugger/History.h"

namespace {

// The word at an address where it is plain memory; 0 at the ports and in
// unmapped space, which a trace must not read (a read of the keyboard port
// rescans it).
uint16_t PlainWordAt(const Machine& machine, uint16_t address) {
    const auto plain = [&](uint16_t a) { return a < RamStart ? (a & 0xFFF8) != KeyInAddress : a <= machine.RamEnd; };
    if (!plain(address) || !plain(uint16_t(address + 1)) || address > LastRamAddress) return 0;
    return Location{const_cast<uint8_t*>(machine.Memory.data()) + address}.Word();
}

bool ExecutesInstruction(const Machine& machine) {
    if (!(machine.CtrlPort & CtrlRunBit)) return machine.MouseKey != 0 || machine.PcKey != 0;
    return !machine.Waiting || machine.HaltRequest;
}

}  // namespace

std::vector<TraceEntry> RecentSteps(History& history, size_t count) {
    count = std::min(count, TraceLogLimit);
    const Machine present = Mk;
    const uint64_t now = history.Now();
    const uint64_t first = now - std::min<uint64_t>(count, now - history.Oldest());
    std::vector<TraceEntry> entries;
    entries.reserve(size_t(now - first));
    history.MoveTo(first);
    while (history.Now() < now) {
        TraceEntry entry;
        entry.Executed = ExecutesInstruction(Mk);
        entry.Address = Mk.Reg[PC] & 0xFFFE;
        for (uint16_t i = 0; i < entry.Words.size(); ++i)
            entry.Words[i] = PlainWordAt(Mk, uint16_t(entry.Address + 2 * i));
        CpuStep();
        history.Ran(1);
        entry.Step = history.Now();
        entry.Reg = Mk.Reg;
        entry.Psw = Mk.Psw;
        entries.push_back(entry);
    }
    Mk = present;
    history.Leave();
    return entries;
}
