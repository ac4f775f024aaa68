// The trace log: the last instructions run, each with its address, its words,
// its disassembly and the registers after it. It is made by replaying the
// history, so it costs nothing while the processor runs.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/Def.h"

class History;

constexpr size_t TraceLogLimit = 100000;  // entries one call may ask for

struct TraceEntry {
    uint64_t Step = 0;       // the step count after it
    bool Executed = false;   // false: the processor slept or waited
    uint16_t Address = 0;    // where the instruction was fetched
    std::array<uint16_t, 3> Words{};  // at Address, as many as the longest instruction has
    std::array<uint16_t, 8> Reg{};  // after the step
    uint16_t Psw = 0;
    bool operator==(const TraceEntry&) const = default;
};

// The last count steps of the history that end at Now (fewer when the
// history is shorter), oldest first. The machine Mk is left as it was.
std::vector<TraceEntry> RecentSteps(History& history, size_t count);

// One line of the log in the radix: the step count after it, the address,
// the instruction's words and its disassembly (labels of the session's
// symbol table for the addresses that have one), then the registers and PSW
// after it.
std::string TraceLine(const TraceEntry& entry, int32_t radix);

// The lines of the entries to out, one each; stops early once out fails.
void WriteTrace(const std::vector<TraceEntry>& entries, int32_t radix, std::ostream& out);
