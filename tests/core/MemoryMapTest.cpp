#include <gtest/gtest.h>

#include <algorithm>

#include "core/Def.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MachineDifference.h"
#include "tests/support/MemoryImage.h"

namespace {

class MemoryMap : public ::testing::Test {
protected:
    void SetUp() override {
        MakeCleanMachine();
        // Distinct contents everywhere so that a wrong decode shows.
        for (uint32_t i = 0; i < MemorySize; ++i) Mk.Memory[i] = uint8_t(i * 7 + 3);
    }
};

uint16_t ReadWord(uint16_t address) {
    Mk.Addr = address;
    return ReadCell().Word();
}
uint8_t ReadByte(uint16_t address) {
    Mk.Addr = address;
    return ReadCell().Byte();
}
void WriteWord(uint16_t address, uint16_t value) {
    Mk.Addr = address;
    WriteCell().SetWord(value);
}
void WriteByte(uint16_t address, uint8_t value) {
    Mk.Addr = address;
    WriteCell().SetByte(value);
}

TEST_F(MemoryMap, EveryRowReadsAsTheMapSays) {
    struct Row {
        uint16_t first, last;
        enum { Rom, Port, Zero, Ram } reads;
    };
    const Row rows[] = {
        {0x0000, 0x007F, Row::Rom},  {0x0080, 0x00FF, Row::Rom},  {0x0101, 0x0103, Row::Zero},
        {0x0105, 0x0107, Row::Zero}, {0x0108, 0x7FFF, Row::Rom},  {0x8000, 0x87FF, Row::Ram},
        {0x8800, 0xFFFF, Row::Zero},
    };
    for (const Row& row : rows) {
        for (uint32_t a = row.first; a <= row.last; ++a) {
            const uint16_t address = uint16_t(a);
            if (row.reads == Row::Zero) {
                ASSERT_EQ(ReadByte(address), 0) << std::hex << a;
                ASSERT_EQ(ReadWord(address), 0) << std::hex << a;
            } else {
                ASSERT_EQ(ReadByte(address), Mk.Memory[a]) << std::hex << a;
                if (a < LastRamAddress) {
                    ASSERT_EQ(ReadWord(address), WordAt(a)) << std::hex << a;
                }
            }
        }
    }
}

TEST_F(MemoryMap, WritesReachOnlyRamDisplayAndPorts) {
    const Machine before = Mk;
    for (uint32_t a = 0; a <= 0xFFFF; a += 1) {
        if (IsRam(uint16_t(a))) continue;
        WriteByte(uint16_t(a), 0xA5);
        WriteWord(uint16_t(a & 0xFFFE), 0x5AA5);
    }
    EXPECT_TRUE(std::equal(Mk.Rom(), Mk.Rom() + RomSize, before.Rom())) << "ROM must be read-only to the processor";
    EXPECT_TRUE(std::equal(Mk.Ram(), Mk.Ram() + RamSize, before.Ram()));
    EXPECT_EQ(Mk.KeyOut, 0x5AA5);
    EXPECT_EQ(Mk.CtrlPort, 0x5AA5);
    EXPECT_EQ(Mk.KeyIn, 0);
    EXPECT_EQ(Mk.LcdRam[0], 0xA5);
    EXPECT_EQ(Mk.LcdRam[1], 0x5A);
}

TEST_F(MemoryMap, DisplayIsWrittenButReadsGiveRom) {
    WriteWord(0x0080, 0x1234);
    EXPECT_EQ(Mk.LcdRam[0], 0x34);
    EXPECT_EQ(Mk.LcdRam[1], 0x12);
    EXPECT_EQ(ReadWord(0x0080), WordAt(0x0080));
    WriteWord(0x00FE, 0xBEEF);
    EXPECT_EQ(Mk.LcdRam[126], 0xEF);
    EXPECT_EQ(Mk.LcdRam[127], 0xBE);
    WriteByte(0x00C1, 0x77);
    EXPECT_EQ(Mk.LcdRam[0x41], 0x77);
}

TEST_F(MemoryMap, PortsDecodeByTheFirstByteAddress) {
    WriteWord(0x0104, 0x1234);
    EXPECT_EQ(ReadWord(0x0104), 0x1234);
    WriteByte(0x0105, 0xFF);  // no port at the odd address
    EXPECT_EQ(Mk.CtrlPort, 0x1234);
    WriteByte(0x0104, 0x00);  // the low byte only
    EXPECT_EQ(Mk.CtrlPort, 0x1200);
    EXPECT_EQ(ReadByte(0x0105), 0);

    WriteWord(0x0102, 0x000E);
    EXPECT_EQ(Mk.KeyOut, 0x000E);
    EXPECT_EQ(ReadWord(0x0102), 0) << "KeyOut is write-only";
    WriteByte(0x0103, 0xFF);
    EXPECT_EQ(Mk.KeyOut, 0x000E);
    WriteWord(0x0100, 0xFFFF);
    EXPECT_EQ(ReadWord(0x0100), 0) << "no key held";
}

TEST_F(MemoryMap, RamWordsAreLittleEndianAndOddWordsJoinNeighbours) {
    EXPECT_EQ(ReadWord(0x8000), Mk.Ram()[0] + 256 * Mk.Ram()[1]);
    EXPECT_EQ(ReadWord(0x87FE), Mk.Ram()[0x7FE] + 256 * Mk.Ram()[0x7FF]);
    // The word at 0x7FFF joins the last ROM byte and the first RAM byte.
    EXPECT_EQ(ReadWord(0x7FFF), Mk.Rom()[0x7FFF] + 256 * Mk.Ram()[0]);
    WriteWord(0x8001, 0xCAFE);
    EXPECT_EQ(Mk.Ram()[1], 0xFE);
    EXPECT_EQ(Mk.Ram()[2], 0xCA);
    WriteWord(0x8000, 0x1234);
    EXPECT_EQ(Mk.Ram()[0], 0x34);
    EXPECT_EQ(Mk.Ram()[1], 0x12);
}

// The high byte of such a word goes to the spare byte past the array, which
// a word read at 0x87FF gives back.
TEST_F(MemoryMap, WordAccessPastTheEndOfAnArrayStaysInsideIt) {
    for (int r = 0; r < 8; ++r) Mk.Reg[r] = uint16_t(0x1111 * r);
    Mk.KeyOut = 0x0002;
    Mk.CtrlPort = 0x0400;
    Machine expected = Mk;

    WriteWord(0x00FF, 0xABCD);
    WriteWord(0x87FF, 0x1357);
    EXPECT_EQ(Mk.LcdRam[127], 0xCD);
    EXPECT_EQ(Mk.Ram()[0x7FF], 0x57);
    EXPECT_EQ(ReadByte(0x87FF), 0x57);
    EXPECT_EQ(ReadWord(0x87FF), 0x1357);
    EXPECT_EQ(ReadWord(0x8800), 0) << "nothing beyond RAM became readable";

    // Only the addressed bytes and the spare bytes changed.
    expected.LcdRam[127] = 0xCD;
    expected.LcdRam[LcdRamSize] = 0xAB;
    expected.Memory[LastRamAddress] = 0x57;
    expected.Memory[MemorySize] = 0x13;
    expected.Addr = Mk.Addr;
    EXPECT_EQ(FirstDifference(Mk, expected), "");
}

TEST_F(MemoryMap, UnmappedReadsStayZeroWhateverIsStoredThroughThem) {
    for (uint16_t address : {0x0101, 0x0103, 0x0105, 0x0107, 0x8800, 0xC000, 0xFFFE}) {
        Mk.Addr = address;
        ReadCell().SetWord(0xFFFF);  // as a debugger store would
        EXPECT_EQ(ReadWord(0x0101), 0) << std::hex << address;
        EXPECT_EQ(ReadWord(0xFFFE), 0) << std::hex << address;
    }
}

TEST_F(MemoryMap, RamEndZeroMeansNoRam) {
    Mk.RamEnd = 0;
    EXPECT_FALSE(IsRam(0x8000));
    EXPECT_EQ(ReadWord(0x8000), 0);
    const uint8_t before = Mk.Ram()[0];
    WriteByte(0x8000, uint8_t(before + 1));
    EXPECT_EQ(Mk.Ram()[0], before);
}

}  // namespace
