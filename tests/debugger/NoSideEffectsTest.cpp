// The debugger's tools look at the machine without touching it: the same
// arguments give the same answers, and the machine is as it was, ports and
// unmapped space included.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "core/Def.h"
#include "debugger/MemoryRow.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11asm.h"
#include "debugger/Pdp11dis.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MachineDifference.h"

namespace {

// A machine whose reads have side effects to show: a key held in a selected
// column while KeyIn still holds an old scan, a zero cell that an unmapped
// read would clear, and memory of random words.
void MakeMachineWithStaleReads() {
    MakeCleanMachine();
    std::mt19937 random(85);
    for (uint8_t& byte : Mk.Memory) byte = uint8_t(random());
    Mk.PcKey = 20;
    Mk.KeyOut = 0x000E;
    Mk.KeyIn = 0x5555;
    Mk.ZeroCell = 0x5A5A;
    Mk.CtrlPort = CtrlRunBit;
    Mk.Addr = 0x1234;
}

// The reader gives what the processor would read, for every address, without
// the read's side effects.
TEST(NoSideEffects, PeekWordReadsWhatAReadGives) {
    MakeMachineWithStaleReads();
    const Machine before = Mk;
    // A read of 0x0100 scans the keys anew and an unmapped read clears
    // ZeroCell first, so what the reads change never shows in a later one.
    for (uint32_t address = 0; address <= 0xFFFF; ++address) {
        Mk.Addr = uint16_t(address);
        ASSERT_EQ(PeekWord(before, uint16_t(address)), ReadCell().Word()) << std::hex << address;
    }
    EXPECT_EQ(PeekWord(before, KeyInAddress), 0x0024);  // key 20 on the column of KeyOut bit 3
}

TEST(NoSideEffects, ToolsAnswerAlikeTwiceAndLeaveTheMachineAsItWas) {
    MakeMachineWithStaleReads();
    const Machine before = Mk;
    const WordReader read = MachineReader(Mk);
    for (const int32_t radix : {8, 10, 16}) {
        const NumberFormat numbers(radix);
        for (uint32_t address = 0; address <= 0xFFFF; address += 2) {
            const ListingLine line = DisassemblyLine(uint16_t(address), read, numbers);
            ASSERT_EQ(DisassemblyLine(uint16_t(address), read, numbers), line) << std::hex << address;
            const Disassembly listed = Disassemble(uint16_t(address), read, numbers);
            ASSERT_EQ(listed.Next, line.Next);
            const std::string text = listed.Mnemonic + " " + listed.Operands;
            ASSERT_EQ(AssembleLine(text, uint16_t(address), numbers), AssembleLine(text, uint16_t(address), numbers))
                << text;
            if (address % 16 == 0) {
                for (const int cellBytes : {1, 2}) {
                    ASSERT_EQ(MemoryRowText(Mk, uint16_t(address), cellBytes, numbers),
                              MemoryRowText(Mk, uint16_t(address), cellBytes, numbers));
                }
            }
        }
    }
    EXPECT_EQ(FirstDifference(Mk, before), "");
}

}  // namespace
