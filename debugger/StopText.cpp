#include "debugger/StopText.h"

#include "debugger/Symbols.h"

std::string StopText(const Stop& stop, int32_t radix) {
    const NumberFormat numbers(radix);
    const std::string at = LabelledAddress(stop.Pc, numbers);
    switch (stop.Reason) {
    case StopReason::None:
        return "running at " + at;
    case StopReason::Steps:
        return "stepped to " + at;
    case StopReason::Breakpoint:
        return "break " + at;
    case StopReason::RunTo:
        return "reached " + at;
    case StopReason::Watch: {
        const WatchHit& hit = stop.Watch;
        const auto value = [&](uint16_t v) {
            return hit.Word ? FormatWord(v, '0', numbers) : FormatByte(uint8_t(v), '0', numbers);
        };
        std::string text = std::string("watch ") + (hit.Write ? "w " : "r ") + FormatWord(hit.Address, '0', numbers) + ": ";
        text += hit.Write ? value(hit.Old) + " -> " + value(hit.New) : value(hit.Old);
        return text + " at " + LabelledAddress(hit.Instruction, numbers);
    }
    case StopReason::Returned:
        return "returned to " + at;
    case StopReason::HaltMode:
        return "halt mode at " + at;
    case StopReason::Trap:
        return "trap " + FormatWord(stop.Vector, '0', numbers) + " to " + at;
    case StopReason::Interrupted:
        return "interrupted at " + at;
    case StopReason::HistoryStart:
        return "history start at " + at;
    }
    return at;
}
