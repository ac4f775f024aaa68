#include "debugger/TraceLog.h"

#include <algorithm>

#include "cpu/Cpu.h"
#include "debugger/History.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11dis.h"
#include "debugger/Symbols.h"

std::vector<TraceEntry> RecentSteps(History& history, size_t count) {
    count = std::min(count, TraceLogLimit);
    const Machine present = Mk;
    const uint64_t now = history.Now();
    const uint64_t first = now - std::min<uint64_t>(count, now - history.Oldest());
    // A history not yet begun has no checkpoint to move to.
    if (first == now) return {};
    std::vector<TraceEntry> entries;
    entries.reserve(size_t(now - first));
    history.MoveTo(first);
    while (history.Now() < now) {
        TraceEntry entry;
        entry.Executed = !CpuRunsNoInstruction();
        entry.Address = Mk.Reg[PC] & 0xFFFE;
        for (uint16_t i = 0; i < entry.Words.size(); ++i)
            entry.Words[i] = PeekWord(Mk, uint16_t(entry.Address + 2 * i));
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

std::string TraceLine(const TraceEntry& entry, int32_t radix) {
    const NumberFormat numbers(radix);
    const auto full = [&](uint16_t value) { return FormatWord(value, '0', numbers); };
    std::string line = std::to_string(entry.Step) + " " + full(entry.Address) + ":";
    const size_t wordsColumn = line.size();
    if (entry.Executed) {
        // The words as they were when the step ran, not as memory holds them now.
        const WordReader recorded = [&](uint16_t address) {
            const uint16_t index = uint16_t(address - entry.Address) / 2;
            return index < entry.Words.size() ? entry.Words[index] : uint16_t(0);
        };
        const Disassembly instruction = Disassemble(entry.Address, recorded, numbers, &Symbols);
        const size_t count = std::min<size_t>(uint16_t(instruction.Next - entry.Address) / 2, entry.Words.size());
        // GCC 12 at -O3 warns that the copy inside "..." + std::string may
        // overlap (-Wrestrict): a known false positive in its standard library.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
        for (size_t i = 0; i < count; ++i) line += " " + full(entry.Words[i]);
#pragma GCC diagnostic pop
        line.resize(wordsColumn + 3 * size_t(numbers.WordDigits() + 1) + 2, ' ');
        line += instruction.Mnemonic;
        line.resize(std::max(line.size(), wordsColumn + 3 * size_t(numbers.WordDigits() + 1) + 8), ' ');
        line += instruction.Operands;
    } else {
        line += " (nothing run)";
    }
    line.resize(std::max(line.size() + 2, wordsColumn + 3 * size_t(numbers.WordDigits() + 1) + 32), ' ');
    static const char* const names[8] = {"R0", "R1", "R2", "R3", "R4", "R5", "SP", "PC"};
    for (int n = 0; n < 8; ++n) line += std::string(names[n]) + "=" + full(entry.Reg[n]) + " ";
    return line + "PSW=" + full(entry.Psw);
}

void WriteTrace(const std::vector<TraceEntry>& entries, int32_t radix, std::ostream& out) {
    for (size_t i = 0; i < entries.size() && out; ++i) out << TraceLine(entries[i], radix) << '\n';
}
