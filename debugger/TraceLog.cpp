#include "debugger/TraceLog.h"

#include <algorithm>

#include "core/Cpu.h"
#include "debugger/History.h"
#include "debugger/Numbers.h"

namespace {

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
            entry.Words[i] = PeekWord(Mk, uint16_t(entry.Address + 2 * i));
        entry.WordCount = entry.Executed ? 1 : 0;
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

namespace {

std::string Full(uint16_t value, int32_t radix) {
    const std::string widest = FormatNumber(0xFFFF, radix, ' ');
    const size_t digits = widest.size() - widest.find_first_not_of(' ');
    const std::string text = FormatNumber(value, radix, '0');
    return text.substr(text.size() - digits);
}

}  // namespace

std::string TraceLine(const TraceEntry& entry, int32_t radix) {
    std::string line = std::to_string(entry.Step) + " " + Full(entry.Address, radix) + ":";
    if (!entry.Executed) {
        line += " (nothing run)";
    } else {
        for (uint8_t i = 0; i < entry.WordCount; ++i) line += " " + Full(entry.Words[i], radix);
    }
    static const char* const names[8] = {"R0", "R1", "R2", "R3", "R4", "R5", "SP", "PC"};
    line += " ;";
    for (int n = 0; n < 8; ++n) line += std::string(" ") + names[n] + "=" + Full(entry.Reg[n], radix);
    return line + " PSW=" + Full(entry.Psw, radix);
}

void WriteTrace(const std::vector<TraceEntry>& entries, int32_t radix, std::ostream& out) {
    for (size_t i = 0; i < entries.size() && out; ++i) out << TraceLine(entries[i], radix) << '\n';
}
