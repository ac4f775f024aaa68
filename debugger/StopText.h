// Why a run stopped, and the text that tells it.
#pragma once

#include <cstdint>
#include <string>

enum class StopReason : uint8_t {
    None,         // no command has stopped yet
    Steps,        // the steps asked for have run
    Breakpoint,   // PC reached a breakpoint
    RunTo,        // PC reached the address run to (the breakpoint field's too)
    Watch,        // a watched byte was written or read
    Returned,     // step over or out: control came back to the caller
    HaltMode,     // the processor entered halt mode
    Trap,         // the processor took a trap
    Interrupted,  // the user stopped the run
    HistoryStart, // stepping back reached the oldest step kept
};

// What the watched access was: the instruction that made it (its address),
// the first watched address it touched and its value before and after the
// instruction (a byte, or a word for a word access).
struct WatchHit {
    uint16_t Instruction = 0;
    uint16_t Address = 0;
    uint16_t Old = 0;
    uint16_t New = 0;
    bool Write = false;
    bool Word = false;
    bool operator==(const WatchHit&) const = default;
};

struct Stop {
    StopReason Reason = StopReason::None;
    uint16_t Pc = 0;    // PC after the stop
    uint64_t Step = 0;  // the step count at the stop
    WatchHit Watch;     // for a watch stop
    uint16_t Vector = 0;  // for a trap stop: the trap's vector
    bool operator==(const Stop&) const = default;
};

// The stop as the console prints it and the window's state line shows it, in
// the radix: "break 0220", "watch w 0104: 0C00 -> 0400 at 0252", "returned
// to 8012", ...; names of the symbol table are used for addresses that have
// one.
std::string StopText(const Stop& stop, int32_t radix);
