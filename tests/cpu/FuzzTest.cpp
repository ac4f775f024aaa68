// Random machines: random ROM and RAM, registers, status word, halt-mode
// registers, ports and keys. No opcode or memory content may crash the
// emulator or trip the sanitizers, and every step keeps a few invariants.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "TestMachine.h"
#include "cpu/Cpu.h"

namespace {

constexpr uint32_t Seeds[] = {1, 7, 42, 1985, 0xC0FFEE, 0xDEADBEEF, 123456789, 2718281828};
constexpr int RoundsPerSeed = 300;  // 8 x 300 x 4096: about ten million steps
constexpr int StepsPerRound = 4096;

TEST(Fuzz, RandomMachinesRunWithoutFaults) {
    static uint8_t rom[RomSize];
    for (uint32_t seed : Seeds) {
        std::mt19937 rng(seed);
        for (int round = 0; round < RoundsPerSeed; ++round) {
            RandomizeMachine(rng);
            std::memcpy(rom, Mk.Rom(), RomSize);
            for (int step = 0; step < StepsPerRound; ++step) {
                // A random held key occasionally comes and goes, as on the panel.
                if ((step & 0x3FF) == 0x200) Mk.PcKey = int32_t(rng() % 57);
                if ((step & 0x7FF) == 0x400) Mk.HaltRequest = true;
                const int32_t expectedCost = (Mk.CtrlPort & CtrlSpeedBit) ? 1 : 8;
                const int32_t cost = CpuStep();
                if (cost != expectedCost || (Mk.Reg[PC] & 1) != 0) {
                    FAIL() << "seed " << seed << ", round " << round << ", step " << step << ": cost " << cost
                           << ", PC " << Octal(Mk.Reg[PC]) << ", last opcode " << Octal(Mk.Opcode);
                }
            }
            ASSERT_EQ(std::memcmp(rom, Mk.Rom(), RomSize), 0)
                << "the processor changed ROM: seed " << seed << ", round " << round;
        }
    }
}

}  // namespace
