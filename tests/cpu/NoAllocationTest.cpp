// The processor step runs hundreds of times per 10 ms tick: it must never
// allocate. Every allocation of this test program is counted.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>

#include "TestMachine.h"
#include "cpu/Cpu.h"

namespace {
long allocations = 0;
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
// These operators free what the ones above took from malloc; GCC 12 at -O1
// sees only free after operator new (-Wmismatched-new-delete, a false
// positive for replaced operators).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop

namespace {

TEST(NoAllocation, StepsAllocateNothing) {
    const long counted = allocations;
    ::operator delete(::operator new(16));
    ASSERT_EQ(allocations, counted + 1) << "the counter must see allocations";

    // Random code in RAM reaches every kind of instruction, trap and mode.
    PrepareMachine();
    std::mt19937 rng(2024);
    for (uint32_t at = RomSize; at < MemorySize; ++at) Mk.Memory[at] = uint8_t(rng());
    const long before = allocations;
    for (int step = 0; step < 200000; ++step) {
        CpuStep();
        if (!IsRam(Mk.Reg[PC]) || Mk.Waiting || !(Mk.CtrlPort & CtrlRunBit)) {
            Mk.Reg[PC] = uint16_t(CodeStart + (rng() & 0x7FE));
            Mk.Waiting = false;
            Mk.CtrlPort |= CtrlRunBit;
        }
    }
    EXPECT_EQ(allocations, before);
}

}  // namespace
