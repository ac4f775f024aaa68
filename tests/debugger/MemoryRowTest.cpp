#include <gtest/gtest.h>

#include <string>

#include "core/Def.h"
#include "debugger/MemoryRow.h"
#include "debugger/Numbers.h"

namespace {

class MemoryRow : public ::testing::Test {
protected:
    void SetUp() override {
        machine.RamEnd = LastRamAddress;
        const uint8_t bytes[16] = {0x41, 0x42, 0x00, 0x7F, 0x1F, 0x20, 0x7E, 0x80,
                                   0xFF, 0x01, 0x34, 0x12, 0x61, 0x7A, 0x30, 0x39};
        std::copy(bytes, bytes + 16, machine.Memory.data() + 0x8010);
    }

    Machine machine;
};

// Words stand at the column of their first byte; the characters follow the
// same bytes in either mode.
TEST_F(MemoryRow, BytesAndWordsShareTheirColumnsInEveryRadix) {
    struct Case {
        int32_t radix;
        int cellBytes;
        const char* text;
    };
    const Case cases[] = {
        {16, 1, "8010: 41 42 00 7F 1F 20 7E 80 FF 01 34 12 61 7A 30 39 AB... ~...4.az09"},
        {16, 2, "8010: 4241  7F00  201F  807E  01FF  1234  7A61  3930  AB... ~...4.az09"},
        {8, 2, "100020: 041101  077400  020037  100176  000777  011064  075141  034460  AB... ~...4.az09"},
    };
    for (const Case& c : cases) {
        const NumberFormat numbers(c.radix);
        EXPECT_EQ(MemoryRowText(machine, 0x801F, c.cellBytes, numbers), c.text) << "radix " << c.radix << ", "
                                                                                  << c.cellBytes;
        EXPECT_EQ(MemoryRowText(machine, 0x8010, c.cellBytes, numbers).size(), size_t(MemoryRowLength(numbers)));
    }
}

}  // namespace
