#include <gtest/gtest.h>

#include <bit>

#include "core/Def.h"
#include "core/Keyboard.h"

namespace {

uint16_t ReadKeyIn(uint16_t keyOut) {
    Mk.KeyOut = keyOut;
    Mk.Addr = KeyInAddress;
    return ReadCell().Word();
}

TEST(KeyScan, HeldKeyAnswersOnlyInItsColumn) {
    struct Case {
        int pcKey, mouseKey;
        uint16_t keyOut, keyIn;
    };
    const Case cases[] = {
        {20, 0, 0x000E, 0x0024}, {20, 0, 0x0002, 0x0000}, {20, 0, 0x0008, 0x0024},
        {36, 0, 0x0004, 0x0140}, {45, 3, 0x0002, 0x0050}, {0, 3, 0x0004, 0x0014},
        {8, 0, 0x0008, 0x000C},  {8, 0, 0x0002, 0x0000}, {37, 0, 0x0002, 0x000C},
        {37, 0, 0x0008, 0x0000}, {56, 0, 0x0002, 0x0018}, {2, 0, 0xFFF1, 0x0000},
    };
    for (const Case& c : cases) {
        Mk.PcKey = c.pcKey;
        Mk.MouseKey = c.mouseKey;
        EXPECT_EQ(ReadKeyIn(c.keyOut), c.keyIn)
            << "PcKey " << c.pcKey << " MouseKey " << c.mouseKey << " KeyOut " << c.keyOut;
        EXPECT_EQ(Mk.KeyIn, c.keyIn) << "the scan leaves its result in KeyIn";
    }
}

TEST(KeyScan, ByteReadGivesTheLowLines) {
    Mk.PcKey = 36;
    Mk.KeyOut = 0x0004;
    Mk.Addr = KeyInAddress;
    EXPECT_EQ(ReadCell().Byte(), 0x40);
}

TEST(KeyScan, KeysWithoutAMatrixCodeAndNoKeyGiveNothing) {
    for (int key : {0, 1, 39}) {
        Mk.PcKey = key;
        for (uint16_t keyOut = 0; keyOut < 16; ++keyOut) EXPECT_EQ(ReadKeyIn(keyOut), 0) << key;
    }
}

TEST(KeyScan, EveryKeyConnectsTwoLinesInOneColumn) {
    for (int key = 2; key < KeyCount; ++key) {
        if (key == 39) continue;
        Mk.PcKey = key;
        int columns = 0;
        for (uint16_t select : {0x0002, 0x0004, 0x0008}) {
            const uint16_t code = ReadKeyIn(select);
            if (code == 0) continue;
            ++columns;
            EXPECT_EQ(std::popcount(code), 2) << "key " << key;
            EXPECT_EQ(code & ~0x01FC, 0) << "key " << key << " uses lines 2..8 only";
        }
        EXPECT_EQ(columns, 1) << "key " << key;
    }
}

TEST(KeyScan, NoTwoKeysShareColumnAndCode) {
    for (int a = 2; a < KeyCount; ++a)
        for (int b = a + 1; b < KeyCount; ++b)
            for (const KeyColumn& column : KeyMatrix) {
                if (column.code[a] != 0) {
                    EXPECT_NE(column.code[a], column.code[b]) << "keys " << a << " and " << b;
                }
            }
}

TEST(KeyScan, OutOfRangeKeyIndexScansAsNoKey) {
    for (int key : {-1, 57, 1000}) {
        Mk.PcKey = key;
        EXPECT_EQ(ReadKeyIn(0x000E), 0);
    }
}

TEST(KeyScan, WritesToTheKeyInPortNeverScan) {
    Mk.PcKey = 20;
    Mk.KeyOut = 0x0008;
    Mk.Addr = KeyInAddress;
    WriteCell().SetWord(0xFFFF);
    EXPECT_EQ(Mk.KeyIn, 0);
}

}  // namespace
