#include "debugger/ListingStart.h"

#include <algorithm>

#include "debugger/History.h"
#include "debugger/Symbols.h"
#include "debugger/TraceLog.h"

uint16_t ListingStart(uint16_t address, std::span<const uint16_t> knownStarts, uint16_t lowest,
                      const WordReader& read, int contextLines) {
    // The numbers' format does not change an instruction's length.
    const NumberFormat numbers(16);
    uint16_t best = address;
    int bestCount = 0;
    for (const uint16_t start : knownStarts) {
        if (start >= address || start < lowest || start % 2 != 0) continue;
        uint16_t next = start;
        int count = 0;
        while (next < address && next >= start && count <= contextLines) {
            next = Disassemble(next, read, numbers).Next;
            ++count;
        }
        if (next == address && count <= contextLines && count > bestCount) {
            best = start;
            bestCount = count;
        }
    }
    return best;
}

std::vector<uint16_t> RecentInstructionStarts(History& history, size_t count) {
    if (!history.Follows()) return {};
    std::vector<uint16_t> starts;
    for (const TraceEntry& entry : RecentSteps(history, count))
        if (entry.Executed) starts.push_back(entry.Address);
    return starts;
}

std::vector<uint16_t> LabelsBetween(const SymbolTable& symbols, uint16_t first, uint16_t last) {
    std::vector<uint16_t> addresses;
    const std::vector<Symbol>& all = symbols.All();
    auto symbol = std::lower_bound(all.begin(), all.end(), first,
                                   [](const Symbol& s, uint16_t key) { return s.Address < key; });
    for (; symbol != all.end() && symbol->Address <= last; ++symbol) addresses.push_back(symbol->Address);
    return addresses;
}
