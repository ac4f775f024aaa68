// Where the debugger stops a run: breakpoints, one bit for each address, and
// watchpoints, ranges of bytes watched for writes or reads. RunControl keeps
// them and arms the processor's run and the bus watch with them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class WatchAccess : uint8_t { Write = 1, Read = 2, ReadWrite = 3 };

// Stops when the program writes (or reads) any byte of First..Last; ports and
// display memory included. Instruction fetches are reads too, as on the bus.
struct Watchpoint {
    uint16_t First = 0;
    uint16_t Last = 0;
    WatchAccess Access = WatchAccess::Write;
    bool operator==(const Watchpoint&) const = default;
};

constexpr size_t BreakpointLimit = 65536;  // every address may hold one
constexpr size_t WatchpointLimit = 64;

class StopPoints {
public:
    StopPoints();

    // Breakpoints: a run stops after a step that leaves PC on one. Each stays
    // until removed. Set and Clear tell whether anything changed.
    bool SetBreakpoint(uint16_t address);
    bool ClearBreakpoint(uint16_t address);
    void ClearBreakpoints();
    bool IsBreakpoint(uint16_t address) const;
    std::vector<uint16_t> Breakpoints() const;  // sorted
    size_t BreakpointCount() const { return breakCount_; }
    // The breakpoints as the processor's run tests them (RunStops::PcSet):
    // bit a % 64 of word a / 64 for address a.
    const std::vector<uint64_t>& BreakpointBits() const { return breakBits_; }

    // Watchpoints: false when WatchpointLimit are set or the range is
    // reversed (SetWatch), or no such watchpoint is set (ClearWatch).
    bool SetWatch(const Watchpoint& watch);
    bool ClearWatch(const Watchpoint& watch);
    void ClearWatches();
    const std::vector<Watchpoint>& Watches() const { return watches_; }

private:
    std::vector<uint64_t> breakBits_;
    size_t breakCount_ = 0;
    std::vector<Watchpoint> watches_;
};
