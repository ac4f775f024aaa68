// The output of each command, and what each one does to the machine, seen
// from a script.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>

#include "CliRun.h"

namespace {

// 8000: inc r5; br 8000. R5 counts the instructions the loop runs.
constexpr const char* CountingLoop = "load 8000 0A85 01FE\n";

TEST(CliCommands, Scripts) {
    const std::string loop = CountingLoop;
    const ScriptCase cases[] = {
        {"peek and poke go through the memory map",
         "peek 0\npeekb 1\n"
         "poke 8100 BEEF\npeek 8100\npeekb 8101\n"
         "pokeb 8100 12\npeek 8100\n"
         "poke 0 1234\npeek 0\n"           // ROM writes vanish
         "poke 80 1F1F\npeek 80\n"         // the display range reads as ROM
         "poke 102 000E\npeek 102\n"       // KeyOut is write-only
         "poke 104 0D00\npeek 104\npeekb 105\n"
         "poke 9000 FFFF\npeek 9000\n"     // unmapped
         "pokeb 8101 1FFFF\npeekb 8101\n"  // low bits of a wide value
         "state\n",
         {"8000", "80", "BEEF", "BE", "BE12", "8000", "0000", "0000", "0D00", "00", "0000", "FF",
          "state: KEYOUT=000E CTRLPORT=0D00"}},
        // state shows the last scan and does not scan again; the PC key
        // hides the mouse key.
        {"a peek at the key port scans the held key",
         "state\nset KEYOUT E\nkey 20\npeek 100\nstate\n"
         "set keyout 2\npeek 100\n"
         "key 0\nmouse 36\nset keyout 4\npeek 100\npeekb 100\n"
         "key 45\nmouse 3\nset keyout 2\npeek 100\n",
         {"state: KEYIN=0000", "0024", "state: KEYIN=0024", "0000", "0140", "40", "0050"}},
        {"set stores every name as given",
         "set R0 1\nset r1 2\nset R2 3\nset R3 4\nset R4 5\nset R5 6\nset R6 8401\nset PC 8003\n"
         "set psw FFFF\nset CPC 11\nset Cps 22\nset CTRLPORT 33\nset KEYOUT 44\nstate\n"
         "set SP 10\nset r7 20\nstate\n",
         {"R0=0001 R1=0002 R2=0003 R3=0004 R4=0005 R5=0006 SP=8401 PC=8003 PSW=FFFF CPC=0011 CPS=0022 "
          "CTRLPORT=0033 KEYOUT=0044 KEYIN=0000 WAITING=0 HALTREQUEST=0 STEPFLAG=0 TRACEINHIBIT=0",
          "state: SP=0010 PC=0020"}},
        // 8000: br 8000, so that only the halt request can move PC elsewhere.
        {"halt, reset and the halt request", "load 8000 01FF\nhalt\nstate\nstep\nstate\nhalt\nreset\nstate\n",
         {"state: HALTREQUEST=1", "state: HALTREQUEST=0 PC=7000 CPC=8000 PSW=01E0",
          "state: HALTREQUEST=0 PC=8000 PSW=0000"}},
        // Every second step is the inc.
        {"tick spends the speed budget",
         loop +
             "tick\nstate\n"                        // 250 units at 8 a step: 32 steps
             "set r5 0\nspeed 16\ntick 3\nstate\n"  // 2 steps a tick
             "set r5 0\nspeed 17\ntick\nstate\n"    // 3 steps: the budget is overspent
             "set r5 0\nset ctrlport 0C00\nspeed 10\ntick 2\nstate\n"  // 1 unit a step
             "set r5 0\nspeed -3\ntick 5\nspeed 0\ntick\nstate\n",
         {"state: R5=0010", "state: R5=0003", "state: R5=0002", "state: R5=000A", "state: R5=0000"}},
        // idle runs whole ticks until the program has cleared the run bit,
        // and not while a key is held, which sets it again at every step:
        // 100 rounds of three instructions and the clr, 301 steps of 32 a tick.
        {"idle runs until the program stops itself",
         "asm 8000 inc r5\nasm 8002 cmp r5,#64\nasm 8006 bne 8000\nasm 8008 clr @#104\nasm 800C br 8000\n"
         "idle\nstate\nkey 41\nidle 5\nkey 0\nset ctrlport 400\nidle 0\n",
         {"8002", "8006", "8008", "800C", "800E", "idle after 10 ticks", "state: R5=0064",
          "still running after 5 ticks", "still running after 0 ticks"}},
        {"the speed setting in hexadecimal", loop + "tick\nstate\n", {"state: R5=0001"}, "[Settings]\nCpuSpeed=0x10\n"},
        {"a malformed speed setting", loop + "tick\nstate\n", {"state: R5=0010"}, "[Settings]\nCpuSpeed=many\n"},
        {"no speed setting", loop + "tick\nstate\n", {"state: R5=0010"}, "[Settings]\n"},
        {"a negative speed setting", loop + "tick\nstate\n", {"state: R5=0000"}, "[Settings]\nCpuSpeed=-1\n"},
        {"dump shows byte rows",
         "load 8010 4241 7F20 1F7E 0000 FFFF\n"
         "dump 8015\ndump 7FF0 2\ndump 87F0 3\ndump 8800 2\ndump FFF0 5\n",
         {"8010: 41 42 20 7F 7E 1F 00 00 FF FF 00 00 00 00 00 00 AB .~...........",
          "7FF0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................",
          "8000: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................",
          "87F0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................",
          // Past the RAM the processor reads 0; rows stop at the top of memory.
          "8800: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................",
          "8810: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................",
          "8800: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................",
          "8810: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................",
          "FFF0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................"}},
        // In radix 8 the characters start at column 6 + 48 + 18 = 72.
        {"dump in octal uses wider columns", "load 100000 20101 7\ndump 100001\n",
         {"100000: 101 040 007 000 000 000 000 000 000 000 000 000 000 000 000 000 A .............."},
         "[Debugger]\nRadix=8\n"},
        {"dump drops trailing blanks", "load 802E 2020\ndump 8020\n",
         {"8020: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 20 20 .............."}},
        {"comments, blank lines, case and line ends",
         "# a comment\n\n   \r\n  # indented comment\r\nSET R0 12\r\nPeek 0\r\nStAtE\n", {"8000", "state: R0=0012"}},
    };
    for (const ScriptCase& c : cases) ExpectScript(c);
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
    double seconds = -1, rate = -1;
    char after = 0;
    EXPECT_EQ(std::sscanf(lines[2].c_str(), "1000 steps in %lf s, %lf Msteps/s%c", &seconds, &rate, &after), 2)
        << lines[2];
    EXPECT_GE(seconds, 0);
    EXPECT_GE(rate, 0);
    EXPECT_EQ(StateField(lines[3], "R5"), "01F9");  // 5 + 500
}

// Every command help lists is one the console takes, and when one is given
// too many arguments its usage is the one help shows. A name help leaves out
// is refused (see the error tests).
TEST(CliCommands, HelpListsTheCommandsTheConsoleTakes) {
    StandardFolder folder;
    const CliResult help = folder.Run("help\n");
    ASSERT_EQ(help.status, 0) << help.err;
    std::vector<std::string> lines = help.Lines();
    ASSERT_GT(lines.size(), 1u) << help.out;
    EXPECT_EQ(lines.back().rfind("Numbers are in radix", 0), 0u) << lines.back();
    lines.pop_back();
    std::set<std::string> names;
    size_t usagesCompared = 0;
    for (const std::string& line : lines) {
        const std::string name = line.substr(0, line.find(' '));
        EXPECT_TRUE(names.insert(name).second) << name << " listed twice";
        const CliResult r = folder.Run(name + " ? ? ? ? ? ? ? ?\n");
        EXPECT_EQ(r.err.find("unknown command"), std::string::npos) << name << ": " << r.err;
        const size_t usage = r.err.find("usage: ");
        if (r.err.find("too many arguments") != std::string::npos && usage != std::string::npos) {
            const std::string shown = r.err.substr(usage + 7, r.err.find('\n', usage) - usage - 7);
            EXPECT_EQ(line.rfind(shown, 0), 0u) << line << " | " << shown;
            ++usagesCompared;
        }
    }
    EXPECT_TRUE(names.count("help") && names.count("quit")) << help.out;
    EXPECT_GT(usagesCompared, names.size() / 2);  // most commands take a fixed number of words

    // The reference's tables name the same commands: each name in backquotes
    // that begins a table's first cell, or follows a comma in it.
    std::set<std::string> documented;
    for (const char* page : {"/docs/vexal-cli.md", "/docs/debugging.md"}) {
        std::ifstream in(std::string(VEXAL_SOURCE_DIR) + page);
        ASSERT_TRUE(in) << page;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("| `", 0) != 0) continue;
            const std::string cell = line.substr(2, line.find(" | ") - 2);
            for (size_t at = cell.find('`'); at != std::string::npos; at = cell.find(", `", at)) {
                at = cell.find('`', at) + 1;
                const size_t end = cell.find_first_of(" `", at);
                const std::string name = cell.substr(at, end - at);
                if (!name.empty() && std::islower(static_cast<unsigned char>(name[0]))) documented.insert(name);
            }
        }
    }
    EXPECT_EQ(documented, names);
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
