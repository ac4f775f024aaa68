// The whole machine as one value: saved, restored and compared, so that two
// ways of running it can start alike and be checked to end alike. ROM is
// left out: nothing the processor does changes it.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "core/Def.h"

struct MachineState {
    std::array<uint8_t, sizeof Memory - RomSize> ram;
    std::array<uint8_t, sizeof LcdRam> lcdRam;
    std::array<uint16_t, 8> reg;
    uint16_t ramEnd, psw, cpc, cps, opcode, addr, addrMask, keyIn, keyOut, ctrlPort, zeroCell, sinkCell;
    bool waiting, haltRequest, stepFlag, traceInhibit;
    int32_t mouseKey, pcKey;
};

inline MachineState SaveMachine() {
    MachineState s;
    std::memcpy(s.ram.data(), Ram, s.ram.size());
    std::memcpy(s.lcdRam.data(), LcdRam, sizeof LcdRam);
    std::memcpy(s.reg.data(), Reg, sizeof Reg);
    s.ramEnd = RamEnd, s.psw = Psw, s.cpc = Cpc, s.cps = Cps, s.opcode = Opcode, s.addr = Addr;
    s.addrMask = AddrMask, s.keyIn = KeyIn, s.keyOut = KeyOut, s.ctrlPort = CtrlPort;
    s.zeroCell = ZeroCell, s.sinkCell = SinkCell;
    s.waiting = Waiting, s.haltRequest = HaltRequest, s.stepFlag = StepFlag, s.traceInhibit = TraceInhibit;
    s.mouseKey = MouseKey, s.pcKey = PcKey;
    return s;
}

inline void RestoreMachine(const MachineState& s) {
    std::memcpy(Ram, s.ram.data(), s.ram.size());
    std::memcpy(LcdRam, s.lcdRam.data(), sizeof LcdRam);
    std::memcpy(Reg, s.reg.data(), sizeof Reg);
    RamEnd = s.ramEnd, Psw = s.psw, Cpc = s.cpc, Cps = s.cps, Opcode = s.opcode, Addr = s.addr;
    AddrMask = s.addrMask, KeyIn = s.keyIn, KeyOut = s.keyOut, CtrlPort = s.ctrlPort;
    ZeroCell = s.zeroCell, SinkCell = s.sinkCell;
    Waiting = s.waiting, HaltRequest = s.haltRequest, StepFlag = s.stepFlag, TraceInhibit = s.traceInhibit;
    MouseKey = s.mouseKey, PcKey = s.pcKey;
}

// The first thing in which two machines differ, or "" when they are alike.
inline std::string FirstDifference(const MachineState& a, const MachineState& b) {
    const auto differ = [](const std::string& what, int valueA, int valueB) {
        std::ostringstream text;
        text << what << std::hex << ": 0x" << valueA << " vs 0x" << valueB;
        return text.str();
    };
    for (size_t i = 0; i < a.ram.size(); ++i)
        if (a.ram[i] != b.ram[i]) return differ("RAM byte " + std::to_string(i), a.ram[i], b.ram[i]);
    for (size_t i = 0; i < a.lcdRam.size(); ++i)
        if (a.lcdRam[i] != b.lcdRam[i]) return differ("display byte " + std::to_string(i), a.lcdRam[i], b.lcdRam[i]);
    for (size_t i = 0; i < a.reg.size(); ++i)
        if (a.reg[i] != b.reg[i]) return differ("R" + std::to_string(i), a.reg[i], b.reg[i]);
    const struct {
        const char* name;
        int a, b;
    } scalars[] = {
        {"RamEnd", a.ramEnd, b.ramEnd},       {"PSW", a.psw, b.psw},
        {"Cpc", a.cpc, b.cpc},                {"Cps", a.cps, b.cps},
        {"Opcode", a.opcode, b.opcode},       {"Addr", a.addr, b.addr},
        {"AddrMask", a.addrMask, b.addrMask}, {"KeyIn", a.keyIn, b.keyIn},
        {"KeyOut", a.keyOut, b.keyOut},       {"CtrlPort", a.ctrlPort, b.ctrlPort},
        {"ZeroCell", a.zeroCell, b.zeroCell}, {"SinkCell", a.sinkCell, b.sinkCell},
        {"Waiting", a.waiting, b.waiting},    {"HaltRequest", a.haltRequest, b.haltRequest},
        {"StepFlag", a.stepFlag, b.stepFlag}, {"TraceInhibit", a.traceInhibit, b.traceInhibit},
        {"MouseKey", a.mouseKey, b.mouseKey}, {"PcKey", a.pcKey, b.pcKey},
    };
    for (const auto& s : scalars)
        if (s.a != s.b) return differ(s.name, s.a, s.b);
    return "";
}
