#include "TestMachine.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <iomanip>
#include <sstream>

#include "cpu/Cpu.h"
#include "cpu/Exec.h"
#include "tests/support/CleanMachine.h"

void PrepareMachine() {
    MakeCleanMachine();
    Mk.CtrlPort = CtrlRunBit;
    for (uint16_t vector : {VectorBadJump, VectorIllegal, VectorBreakpoint, VectorIot, VectorEmt, VectorTrap}) {
        SetWordAt(vector, HandlerOf(vector));
        SetWordAt(vector + 2, VectorStatus);
    }
    SetWordAt(0x0078, HaltEntryWord);
    SetWordAt(0x007A, HaltEntryStatus);
    Mk.Reg[SP] = StackTop;
    Mk.Reg[PC] = CodeStart;
}

void RandomizeMachine(std::mt19937& rng) {
    MakeCleanMachine();
    for (uint32_t at = 0; at < MemorySize; at += 4) {
        const uint32_t bits = rng();
        std::memcpy(Mk.Memory.data() + at, &bits, 4);
    }
    for (uint16_t& r : Mk.Reg) r = uint16_t(rng());
    const uint32_t bits = rng();
    // Mostly a program counter in RAM, so that stores can change the code.
    Mk.Reg[PC] = bits & 1 ? uint16_t(0x8000 + (rng() & 0x7FE)) : uint16_t(rng() & 0xFFFE);
    Mk.Psw = uint16_t(rng());
    Mk.Cpc = uint16_t(rng());
    Mk.Cps = uint16_t(rng());
    Mk.KeyOut = uint16_t(rng());
    // Mostly running: a stopped processor exercises nothing.
    Mk.CtrlPort = uint16_t(rng() | ((bits & 0x6) ? CtrlRunBit : 0));
    Mk.PcKey = (bits & 0x18) == 0 ? int32_t(rng() % 57) : 0;
    Mk.MouseKey = (bits & 0x60) == 0 ? int32_t(rng() % 57) : 0;
    Mk.HaltRequest = (bits & 0x380) == 0;
    Mk.StepFlag = (bits & 0x400) != 0;
    Mk.TraceInhibit = (bits & 0x800) != 0;
    Mk.Waiting = (bits & 0x7000) == 0;
}

void LoadWords(uint16_t address, std::initializer_list<uint16_t> words) {
    for (uint16_t word : words) {
        SetWordAt(address, word);
        address += 2;
    }
}

namespace {

std::string Hex(uint16_t value) {
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << std::setfill('0') << std::setw(4) << value;
    return text.str();
}

std::string Describe(const InstructionCase& row) {
    std::ostringstream text;
    text << "code";
    for (uint16_t word : row.code) text << ' ' << Octal(word);
    return text.str();
}

}  // namespace

void RunCase(const InstructionCase& row) {
    PrepareMachine();
    uint16_t address = CodeStart;
    for (uint16_t word : row.code) {
        SetWordAt(address, word);
        address += 2;
    }
    for (auto [n, value] : row.regs) Mk.Reg[n] = value;
    for (auto [at, value] : row.memory) SetWordAt(at, value);
    Mk.Psw = row.psw;

    std::array<uint16_t, 8> wantRegs = Mk.Reg;
    wantRegs[PC] = address;
    for (auto [n, value] : row.changedRegs) wantRegs[n] = value;
    auto wantMemory = Mk.Memory;
    for (auto [at, value] : row.changedMemory) {
        wantMemory[at] = uint8_t(value);
        wantMemory[at + 1] = uint8_t(value >> 8);
    }

    CpuStep();

    for (int n = 0; n < 8; ++n) {
        if (Mk.Reg[n] != wantRegs[n]) {
            ADD_FAILURE() << Describe(row) << ": R" << n << " is " << Hex(Mk.Reg[n]) << ", expected "
                          << Hex(wantRegs[n]);
            return;
        }
    }
    if (Mk.Psw != row.wantPsw) {
        ADD_FAILURE() << Describe(row) << ": PSW is " << Hex(Mk.Psw) << ", expected " << Hex(row.wantPsw);
        return;
    }
    for (uint32_t at = 0; at < MemorySize; ++at) {
        if (Mk.Memory[at] != wantMemory[at]) {
            ADD_FAILURE() << Describe(row) << ": byte at " << Hex(uint16_t(at)) << " is " << int(Mk.Memory[at])
                          << ", expected " << int(wantMemory[at]);
            return;
        }
    }
}

void RunCases(std::initializer_list<InstructionCase> rows) {
    for (const InstructionCase& row : rows) RunCase(row);
}

void ExpectTrapEntered(uint16_t vector, uint16_t oldPsw, uint16_t returnPc) {
    EXPECT_EQ(Mk.Reg[PC], HandlerOf(vector)) << "vector " << Octal(vector);
    EXPECT_EQ(Mk.Psw, VectorStatus);
    EXPECT_EQ(Mk.Reg[SP], StackTop - 4);
    EXPECT_EQ(WordAt(StackTop - 2), oldPsw) << "saved PSW";
    EXPECT_EQ(WordAt(StackTop - 4), returnPc) << "saved PC";
}
