// The first thing in which two machines differ, for a failure message that
// says more than "the machines differ": compare with ==, and on a
// difference print this.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

#include "core/Def.h"

// "" when a == b. A member not named here still counts: two machines that
// differ only there give "some other member".
inline std::string FirstDifference(const Machine& a, const Machine& b) {
    if (a == b) return "";
    const auto differ = [](const std::string& what, int valueA, int valueB) {
        std::ostringstream text;
        text << what << std::hex << ": 0x" << valueA << " vs 0x" << valueB;
        return text.str();
    };
    const auto at = [](uint32_t index) {
        std::ostringstream text;
        text << std::hex << "[0x" << index << ']';
        return text.str();
    };
    for (uint32_t i = 0; i < a.Memory.size(); ++i)
        if (a.Memory[i] != b.Memory[i]) return differ("Memory" + at(i), a.Memory[i], b.Memory[i]);
    for (uint32_t i = 0; i < a.LcdRam.size(); ++i)
        if (a.LcdRam[i] != b.LcdRam[i]) return differ("LcdRam" + at(i), a.LcdRam[i], b.LcdRam[i]);
    for (uint32_t i = 0; i < a.Reg.size(); ++i)
        if (a.Reg[i] != b.Reg[i]) return differ("R" + std::to_string(i), a.Reg[i], b.Reg[i]);
    const struct {
        const char* name;
        int a, b;
    } scalars[] = {
        {"RamEnd", a.RamEnd, b.RamEnd},       {"Psw", a.Psw, b.Psw},
        {"Cpc", a.Cpc, b.Cpc},                {"Cps", a.Cps, b.Cps},
        {"Opcode", a.Opcode, b.Opcode},       {"Addr", a.Addr, b.Addr},
        {"AddrMask", a.AddrMask, b.AddrMask}, {"KeyIn", a.KeyIn, b.KeyIn},
        {"KeyOut", a.KeyOut, b.KeyOut},       {"CtrlPort", a.CtrlPort, b.CtrlPort},
        {"ZeroCell", a.ZeroCell, b.ZeroCell}, {"SinkCell", a.SinkCell, b.SinkCell},
        {"Waiting", a.Waiting, b.Waiting},    {"HaltRequest", a.HaltRequest, b.HaltRequest},
        {"StepFlag", a.StepFlag, b.StepFlag}, {"TraceInhibit", a.TraceInhibit, b.TraceInhibit},
        {"MouseKey", a.MouseKey, b.MouseKey}, {"PcKey", a.PcKey, b.PcKey},
    };
    for (const auto& s : scalars)
        if (s.a != s.b) return differ(s.name, s.a, s.b);
    return "some other member";
}
