// A small program run to its end, and the state line it leaves.
#include <gtest/gtest.h>

#include "CliRun.h"

namespace {

// Sums 10 + 9 + ... + 1 into R0, then halts:
//   8000  005000          clr  r0
//   8002  012701 000012   mov  #12,r1      (octal 12 = 10)
//   8006  060100          add  r1,r0
//   8010  077102          sob  r1,8006     (octal addresses)
//   8012  000000          halt
const std::vector<uint16_t> SumProgram = {005000, 012701, 000012, 060100, 077102, 000000};

std::vector<uint8_t> RamWith(const std::vector<uint16_t>& words) {
    std::vector<uint8_t> ram(0x800);
    for (size_t i = 0; i < words.size(); ++i) {
        ram[2 * i] = uint8_t(words[i]);
        ram[2 * i + 1] = uint8_t(words[i] >> 8);
    }
    return ram;
}

// clr, mov, ten times add and sob, halt: 23 steps. The halt enters halt mode
// through the vector at 0x0078 and keeps PC after the halt in CPC.
constexpr const char* StateAfterSum =
    "R0=0037 R1=0000 R2=0000 R3=0000 R4=0000 R5=0000 SP=0000 PC=7000 PSW=01E0 CPC=800C CPS=0000 "
    "CTRLPORT=0500 KEYOUT=0000 KEYIN=0000 WAITING=0 HALTREQUEST=0 STEPFLAG=0 TRACEINHIBIT=0";

TEST(CliProgram, RunFromRamImageToHalt) {
    StandardFolder folder;
    folder.Write("ram.bin", RamWith(SumProgram));
    const CliResult r = folder.Run("state\nuntil 7000\nstate\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 3u) << r.out;
    EXPECT_EQ(lines[0],
              "R0=0000 R1=0000 R2=0000 R3=0000 R4=0000 R5=0000 SP=0000 PC=8000 PSW=0000 CPC=0000 CPS=0000 "
              "CTRLPORT=0500 KEYOUT=0000 KEYIN=0000 WAITING=0 HALTREQUEST=0 STEPFLAG=0 TRACEINHIBIT=0");
    EXPECT_EQ(lines[1], "reached 7000 after 23 steps");
    EXPECT_EQ(lines[2], StateAfterSum);
}

TEST(CliProgram, LoadedWordsRunTheSameAsTheImage) {
    StandardFolder folder;
    const CliResult r = folder.Run("load 8000 0A00 15C1 000A 6040 7E42 0000\nstep 23\nstate\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(StateAfterSum) + "\n");
}

TEST(CliProgram, OctalRadixFromTheSettings) {
    StandardFolder folder;
    folder.Write("ram.bin", RamWith(SumProgram));
    folder.WriteText("vexal.ini", "[Debugger]\nRadix=8\n");
    const CliResult r = folder.Run("until 070000\nstate\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(lines[0], "reached 070000 after 23 steps");
    EXPECT_EQ(lines[1],
              "R0=000067 R1=000000 R2=000000 R3=000000 R4=000000 R5=000000 SP=000000 PC=070000 PSW=000740 "
              "CPC=100014 CPS=000000 CTRLPORT=002400 KEYOUT=000000 KEYIN=000000 WAITING=0 HALTREQUEST=0 STEPFLAG=0 "
              "TRACEINHIBIT=0");
}

TEST(CliProgram, RadixOutOfRangeOrOddFormsGiveSixteen) {
    for (const char* setting : {"Radix=7", "Radix=17", "Radix=ten", "Radix=0x0A"}) {
        StandardFolder folder;
        folder.WriteText("vexal.ini", std::string("[Debugger]\n") + setting + "\n");
        const CliResult r = folder.Run("peek 0\n");
        ASSERT_EQ(r.status, 0) << r.err;
        // 0x0A is ten in the settings' number syntax.
        EXPECT_EQ(r.out, std::string(setting) == "Radix=0x0A" ? "32768\n" : "8000\n") << setting;
    }
}

TEST(CliProgram, UntilMissStopsAtTheLimit) {
    StandardFolder folder;
    folder.Write("ram.bin", RamWith(SumProgram));
    const CliResult r = folder.Run("until 8012 5\nstate\nuntil 8006\nuntil 8006 1\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 4u) << r.out;
    EXPECT_EQ(lines[0], "not reached after 5 steps");
    // clr, mov, add, sob, add: PC after the fifth step is the sob at 8008.
    EXPECT_EQ(StateField(lines[1], "PC"), "8008");
    EXPECT_EQ(StateField(lines[1], "R0"), "0013");
    // Already on 8006 after the next step: at least one step is always taken.
    EXPECT_EQ(lines[2], "reached 8006 after 1 steps");
    EXPECT_EQ(lines[3], "not reached after 1 steps");
}

}  // namespace
