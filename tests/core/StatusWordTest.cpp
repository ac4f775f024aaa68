#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/Def.h"
#include "tests/support/Octal.h"

namespace {

// The status word keeps its condition codes apart from the other bits; read
// back, every operation must give what the same operation gives on a plain
// 16-bit word, for any word and any mask or bits, constant or not.
TEST(StatusWord, ActsAsASixteenBitWord) {
    std::mt19937 rng(85);
    // The masks and bits the instructions use, and random ones.
    std::vector<uint16_t> operands = {0xFFF0, 0xFFF1, 0xFFF2, 0xFFF4, 0xFFF8, 0xFFFE, 0xFF10, 0x0001, 0x0002,
                                      0x0004, 0x0008, 0x000F, 0x0010, 0x0100, 0x00E0, 0xFFFF, 0x0000};
    for (int i = 0; i < 200; ++i) operands.push_back(uint16_t(rng()));
    for (int i = 0; i < 200; ++i) {
        const uint16_t word = uint16_t(rng());
        StatusWord status;
        status = word;
        ASSERT_EQ(uint16_t(status), word);
        for (const uint16_t operand : operands) {
            StatusWord cleared;
            cleared = word;
            cleared &= operand;
            ASSERT_EQ(uint16_t(cleared), word & operand) << Octal(word) << " & " << Octal(operand);
            StatusWord set;
            set = word;
            set |= operand;
            ASSERT_EQ(uint16_t(set), word | operand) << Octal(word) << " | " << Octal(operand);
        }
    }
}

}  // namespace
