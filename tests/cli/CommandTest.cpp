// The output of each command, and what each one does to the machine, seen
// from a script.
#include <gtest/gtest.h>

#include <regex>

#include "CliRun.h"

namespace {

TEST(CliCommands, PeekAndPokeGoThroughTheMemoryMap) {
    StandardFolder folder;
    const CliResult r = folder.Run(
        "peek 0\npeekb 1\n"
        "poke 8100 BEEF\npeek 8100\npeekb 8101\n"
        "pokeb 8100 12\npeek 8100\n"
        "poke 0 1234\npeek 0\n"             // ROM writes vanish
        "poke 80 1F1F\npeek 80\n"           // the display range reads as ROM
        "poke 102 000E\npeek 102\n"         // KeyOut is write-only
        "poke 104 0D00\npeek 104\npeekb 105\n"
        "poke 9000 FFFF\npeek 9000\n"       // unmapped
        "pokeb 8101 1FFFF\npeekb 8101\n"    // low bits of a wide value
        "state\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> expected = {"8000", "80", "BEEF", "BE", "BE12", "8000", "0000", "0000",
                                               "0D00", "00", "0000", "FF"};
    auto lines = r.Lines();
    ASSERT_EQ(lines.size(), expected.size() + 1) << r.out;
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(StateField(lines.back(), "KEYOUT"), "000E");
    EXPECT_EQ(StateField(lines.back(), "CTRL"), "0D00");
}

TEST(CliCommands, PeekAtTheKeyPortScansTheHeldKey) {
    StandardFolder folder;
    const CliResult r = folder.Run(
        "state\nset KEYOUT E\nkey 20\npeek 100\nstate\n"
        "set keyout 2\npeek 100\n"
        "key 0\nmouse 36\nset keyout 4\npeek 100\npeekb 100\n"
        "key 45\nmouse 3\nset keyout 2\npeek 100\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 7u) << r.out;
    EXPECT_EQ(StateField(lines[0], "KEYIN"), "0000");
    EXPECT_EQ(lines[1], "0024");
    // state shows the last scan and does not scan again.
    EXPECT_EQ(StateField(lines[2], "KEYIN"), "0024");
    EXPECT_EQ(lines[3], "0000");
    EXPECT_EQ(lines[4], "0140");
    EXPECT_EQ(lines[5], "40");
    EXPECT_EQ(lines[6], "0050");  // the PC key hides the mouse key
}

TEST(CliCommands, SetStoresEveryNameAsGiven) {
    StandardFolder folder;
    const CliResult r = folder.Run(
        "set R0 1\nset r1 2\nset R2 3\nset R3 4\nset R4 5\nset R5 6\nset R6 8401\nset PC 8003\n"
        "set psw FFFF\nset CPC 11\nset Cps 22\nset CTRL 33\nset KEYOUT 44\nstate\n"
        "set SP 10\nset r7 20\nstate\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(lines[0],
              "R0=0001 R1=0002 R2=0003 R3=0004 R4=0005 R5=0006 SP=8401 PC=8003 PSW=FFFF CPC=0011 CPS=0022 "
              "CTRL=0033 KEYOUT=0044 KEYIN=0000 WAITING=0 HALTREQUEST=0 STEPFLAG=0 TRACEINHIBIT=0");
    EXPECT_EQ(StateField(lines[1], "SP"), "0010");
    EXPECT_EQ(StateField(lines[1], "PC"), "0020");
}

TEST(CliCommands, HaltResetAndTheHaltRequest) {
    StandardFolder folder;
    // 8000: br 8000, so that only the halt request can move PC elsewhere.
    const CliResult r = folder.Run(
        "load 8000 01FF\nhalt\nstate\nstep\nstate\nhalt\nreset\nstate\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 3u) << r.out;
    EXPECT_EQ(StateField(lines[0], "HALTREQUEST"), "1");
    EXPECT_EQ(StateField(lines[1], "HALTREQUEST"), "0");
    EXPECT_EQ(StateField(lines[1], "PC"), "7000");
    EXPECT_EQ(StateField(lines[1], "CPC"), "8000");
    EXPECT_EQ(StateField(lines[1], "PSW"), "01E0");
    EXPECT_EQ(StateField(lines[2], "HALTREQUEST"), "0");
    EXPECT_EQ(StateField(lines[2], "PC"), "8000");
    EXPECT_EQ(StateField(lines[2], "PSW"), "0000");
}

// 8000: inc r5; br 8000. R5 counts the instructions the loop runs.
constexpr const char* CountingLoop = "load 8000 0A85 01FE\n";

TEST(CliCommands, TickSpendsTheSpeedBudget) {
    StandardFolder folder;
    const CliResult r = folder.Run(std::string(CountingLoop) +
                                   "tick\nstate\n"                        // 250 units at 8 a step: 32 steps
                                   "set r5 0\nspeed 16\ntick 3\nstate\n"  // 2 steps a tick
                                   "set r5 0\nspeed 17\ntick\nstate\n"    // 3 steps: the budget is overspent
                                   "set r5 0\nset ctrl 0C00\nspeed 10\ntick 2\nstate\n"  // 1 unit a step
                                   "set r5 0\nspeed -3\ntick 5\nspeed 0\ntick\nstate\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 5u) << r.out;
    // Every second step is the inc.
    EXPECT_EQ(StateField(lines[0], "R5"), "0010");
    EXPECT_EQ(StateField(lines[1], "R5"), "0003");
    EXPECT_EQ(StateField(lines[2], "R5"), "0002");
    EXPECT_EQ(StateField(lines[3], "R5"), "000A");
    EXPECT_EQ(StateField(lines[4], "R5"), "0000");
}

// idle runs whole ticks until the program has cleared the run bit, and not
// while a key is held, which sets it again at every step.
TEST(CliCommands, IdleRunsUntilTheProgramStopsItself) {
    StandardFolder folder;
    const CliResult r = folder.Run(
        "asm 8000 inc r5\nasm 8002 cmp r5,#64\nasm 8006 bne 8000\nasm 8008 clr @#104\nasm 800C br 8000\n"
        "idle\nstate\nkey 41\nidle 5\nkey 0\nset ctrl 400\nidle 0\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = r.Lines();
    ASSERT_EQ(all.size(), 9u) << r.out;  // asm prints the next address
    const std::vector<std::string> lines(all.begin() + 5, all.end());
    // 100 rounds of three instructions and the clr: 301 steps of 32 a tick.
    EXPECT_EQ(lines[0], "idle after 10 ticks");
    EXPECT_EQ(StateField(lines[1], "R5"), "0064");
    EXPECT_EQ(lines[2], "still running after 5 ticks");
    EXPECT_EQ(lines[3], "still running after 0 ticks");
}

TEST(CliCommands, SettingsGiveTheSpeed) {
    for (const auto& [setting, r5] : std::vector<std::pair<std::string, std::string>>{
             {"CpuSpeed=0x10", "0001"}, {"CpuSpeed=many", "0010"}, {"", "0010"}, {"CpuSpeed=-1", "0000"}}) {
        StandardFolder folder;
        folder.WriteText("vexal.ini", "[Settings]\n" + setting + "\n");
        const CliResult r = folder.Run(std::string(CountingLoop) + "tick\nstate\n");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(StateField(r.out, "R5"), r5) << setting;
    }
}

TEST(CliCommands, StepCountsAndBench) {
    StandardFolder folder;
    const CliResult r =
        folder.Run(std::string(CountingLoop) + "step\nstate\nstep 0\nstep 9\nstate\nbench 1000\nstate\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 4u) << r.out;
    EXPECT_EQ(StateField(lines[0], "R5"), "0001");
    EXPECT_EQ(StateField(lines[1], "R5"), "0005");
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(R"(1000 steps in \d+\.\d+ s, \d+\.\d+ Msteps/s)"))) << lines[2];
    EXPECT_EQ(StateField(lines[3], "R5"), "01F9");  // 5 + 500
}

TEST(CliCommands, DumpShowsByteRows) {
    StandardFolder folder;
    const CliResult r = folder.Run(
        "load 8010 4241 7F20 1F7E 0000 FFFF\n"
        "dump 8015\ndump 7FF0 2\ndump 87F0 3\ndump 8800 2\ndump FFF0 5\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    // Past the RAM the processor reads 0; rows stop at the top of memory.
    ASSERT_EQ(lines.size(), 9u) << r.out;
    EXPECT_EQ(lines[0], "8010: 41 42 20 7F 7E 1F 00 00 FF FF 00 00 00 00 00 00 AB .~...........");
    const char* const zeros = ": 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................";
    const char* const rows[] = {"7FF0", "8000", "87F0", "8800", "8810", "8800", "8810", "FFF0"};
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(lines[i + 1], rows[i] + std::string(zeros)) << i;
}

TEST(CliCommands, DumpInOctalUsesWiderColumns) {
    StandardFolder folder;
    folder.WriteText("vexal.ini", "[Debugger]\nRadix=8\n");
    // In radix 8 the characters start at column 6 + 48 + 18 = 72.
    const CliResult r = folder.Run("load 100000 20101 7\ndump 100001\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "100000: 101 040 007 000 000 000 000 000 000 000 000 000 000 000 000 000 A ..............\n");
}

TEST(CliCommands, DumpDropsTrailingBlanks) {
    StandardFolder folder;
    const CliResult r = folder.Run("load 802E 2020\ndump 8020\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "8020: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 20 20 ..............\n");
}

TEST(CliCommands, HelpNamesEveryCommand) {
    StandardFolder folder;
    const CliResult r = folder.Run("help\n");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* name : {"state", "set", "step", "tick", "until", "idle", "speed", "peek", "peekb", "poke", "pokeb",
                             "load", "dump", "dis", "asm", "key", "mouse", "halt", "type", "hold", "lcd", "reset",
                             "save", "snapshot", "restore", "bench", "help", "quit"})
        EXPECT_TRUE(std::regex_search(r.out, std::regex("(^|\n)" + std::string(name) + " "))) << name;
}

TEST(CliCommands, CommentsBlankLinesCaseAndLineEnds) {
    StandardFolder folder;
    const CliResult r = folder.Run("# a comment\n\n   \r\n  # indented comment\r\nSET R0 12\r\nPeek 0\r\nStAtE\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(lines[0], "8000");
    EXPECT_EQ(StateField(lines[1], "R0"), "0012");
}

TEST(CliCommands, QuitEndsTheRun) {
    StandardFolder folder;
    folder.WriteText("second.txt", "peek 0\n");
    folder.WriteText("first.txt", "peek 0\nquit\npeek 0\nbogus\n");
    const CliResult r = folder.RunProgram({"first.txt", "second.txt"}, "/dev/null");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "8000\n");
    EXPECT_EQ(r.err, "");
}

TEST(CliCommands, ScriptsRunInTurn) {
    StandardFolder folder;
    folder.WriteText("first.txt", "set r0 1\n");
    folder.WriteText("second.txt", "set r1 2\nstate\n");
    const CliResult r = folder.RunProgram({"first.txt", "second.txt"}, "/dev/null");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(StateField(r.out, "R0"), "0001");
    EXPECT_EQ(StateField(r.out, "R1"), "0002");
}

TEST(CliCommands, StandardInputWhenNoScriptIsGiven) {
    StandardFolder folder;
    const CliResult r = folder.Run("peek 0\n", {}, true);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "8000\n");
}

}  // namespace
