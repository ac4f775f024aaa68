// The debugger's console commands, as a script would use them: a program with
// a label file, breakpoints by name, step over and out, a watch on the control
// port, back in time, the trace log and the saved ROM; and bad arguments that
// change nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Console.h"
#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/History.h"
#include "debugger/RunControl.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/TempFolder.h"

namespace {

class DebugCommands : public ::testing::Test {
protected:
    void SetUp() override {
        MakeCleanMachine();
        folder.Write("rom.bin", std::vector<uint8_t>(RomSize, 0));
        // main calls sub twice (JSR PC,sub, relative), then writes the
        // control port, which stops the processor.
        for (const char* line : {"load 8000 09F7 00FC 09F7 00F8 15DF 0C00 0104 0000", "load 8100 0A81 0087",
                                 "load 8200 0A82 0087", "set sp 8400", "set pc 8000", "set ctrlport 0500"})
            ASSERT_FALSE(Execute(line).failed) << line;
        Debugger.Past().Begin(0);
    }

    ConsoleReply Execute(std::string_view line) {
        std::ostringstream out;
        const ConsoleReply reply = console.Execute(line, out);
        output = out.str();
        return reply;
    }

    TempFolder folder;
    Console console{folder / "ram.bin", NumberFormat(16), folder / "rom.bin"};
    std::string output;
};

TEST_F(DebugCommands, AScriptedSession) {
    folder.WriteText("prog.sym", "8000 main\n8100 sub\nnot a line\n8200 inner\n");
    const ConsoleReply sym = Execute("sym " + (folder / "prog.sym"));
    ASSERT_FALSE(sym.failed) << sym.error;
    EXPECT_EQ(output, "sym 3 labels from " + (folder / "prog.sym") + "\n");
    EXPECT_EQ(sym.warnings, "1 line of " + (folder / "prog.sym") + " skipped:\n" + (folder / "prog.sym") +
                                ":3: 'not' is no address (one to four hexadecimal digits)\n");
    // A file without a symbol says so and keeps the table.
    folder.WriteText("bad.sym", "not a line\n8000 pc\n");
    const ConsoleReply empty = Execute("sym " + (folder / "bad.sym"));
    EXPECT_TRUE(empty.failed);
    EXPECT_NE(empty.error.find("the 3 labels before are kept"), std::string::npos) << empty.error;

    const std::vector<std::pair<std::string, std::string>> steps = {
        {"break sub", "break 8100 (sub)\n"},
        {"break", "breaks: 8100 (sub)\n"},
        {"go", "break 8100 (sub)\n"},
        {"out", "returned to 8004\n"},
        {"unbreak sub", "unbreak 8100 (sub)\n"},
        {"over", "returned to 8008\n"},
        {"watch w 0104", "watch w 0104-0105\n"},
        {"go", "watch w 0104: 0500 -> 0C00 at 8008\n"},
        {"back 2", "stepped to 8102, step 5\n"},
        {"reverse", "history start at 8000 (main), step 0\n"},
        {"unwatch w 0104", "unwatch w 0104-0105\n"},
        {"watch", "watches: none\n"},
    };
    for (const auto& [line, want] : steps) {
        const ConsoleReply reply = Execute(line);
        EXPECT_FALSE(reply.failed) << line << ": " << reply.error;
        EXPECT_EQ(output, want) << line;
    }
}

TEST_F(DebugCommands, TraceWritesTheLastSteps) {
    ASSERT_FALSE(Execute("step 4").failed);
    ASSERT_FALSE(Execute("trace 3 " + (folder / "trace.txt")).failed);
    EXPECT_EQ(output, "trace 3 steps to " + (folder / "trace.txt") + "\n");
    const std::vector<uint8_t> bytes = folder.Read("trace.txt");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_EQ(Debugger.StepCount(), 4u);
}

TEST_F(DebugCommands, NoOutputOverwritesTheSessionsImages) {
    folder.Write("ram.bin", std::vector<uint8_t>(RamSize, 0x11));
    Mk.Memory[0x10] = 0x5A;
    for (const char* command : {"trace 3 ", "snapshot ", "saverom ", "save "}) {
        for (const char* image : {"rom.bin", "ram.bin"}) {
            if (std::string(command) == "save " && std::string(image) == "ram.bin") continue;  // its own file
            EXPECT_TRUE(Execute(command + (folder / image)).failed) << command << image;
        }
    }
    EXPECT_EQ(folder.Read("rom.bin"), std::vector<uint8_t>(RomSize, 0));
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(RamSize, 0x11));
}

// Each output goes through a temporary file of its own: a session whose
// images are named as another file with ".new" keeps them whole while it
// writes that other file.
TEST_F(DebugCommands, OutputsLeaveImagesNamedWithNewAlone) {
    const std::vector<uint8_t> rom(RomSize, 0x22), ram(RamSize, 0x11);
    folder.Write("rom.bin.new", rom);
    folder.Write("ram.bin.new", ram);
    Console session{folder / "ram.bin.new", NumberFormat(16), folder / "rom.bin.new"};
    Mk.Memory[0x10] = 0x5A;
    ASSERT_FALSE(Execute("step 4").failed);
    for (const char* command : {"trace 3 ", "snapshot ", "saverom ", "save "}) {
        for (const char* name : {"rom.bin", "ram.bin"}) {
            std::ostringstream out;
            const ConsoleReply reply = session.Execute(command + (folder / name), out);
            EXPECT_FALSE(reply.failed) << command << name << ": " << reply.error;
            EXPECT_EQ(reply.warnings, "") << command << name;
            EXPECT_EQ(folder.Read("rom.bin.new"), rom) << command << name;
            EXPECT_EQ(folder.Read("ram.bin.new"), ram) << command << name;
        }
    }
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(Mk.Ram(), Mk.Ram() + RamSize)) << "save came last";
    // The images and the files written, with the locks that save takes on
    // the images it writes.
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"rom.bin.new", "ram.bin.new", "rom.bin", "ram.bin", "rom.bin.lock",
                                            "ram.bin.lock"}))
        << "no temporary left";
}

TEST_F(DebugCommands, SaveRomRefusesTheLoadedImage) {
    Mk.Memory[0x10] = 0x5A;
    const ConsoleReply refused = Execute("saverom " + (folder / "rom.bin"));
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(folder.Read("rom.bin")[0x10], 0);
    ASSERT_FALSE(Execute("saverom " + (folder / "patched.bin")).failed);
    EXPECT_EQ(output, "saverom " + (folder / "patched.bin") + "\n");
    const std::vector<uint8_t> saved = folder.Read("patched.bin");
    ASSERT_EQ(saved.size(), RomSize);
    EXPECT_EQ(saved[0x10], 0x5A);
}

// The display memory cannot be read back: dump shows the ROM under it and
// lcdram the bytes the program wrote there.
TEST_F(DebugCommands, DumpReadsAsTheProcessorAndLcdramShowsTheDisplay) {
    for (const char* line : {"load 0080 4241", "poke 0082 4443", "pokeb 00FF 45", "set ctrlport 0533"})
        ASSERT_FALSE(Execute(line).failed) << line;
    const std::string zeros = " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ";
    const struct {
        const char* line;
        std::string want;
    } cases[] = {
        {"dump 80", "0080: 41 42 00 00" + zeros.substr(0, 37) + "AB..............\n"},
        {"dump 9000 2", "9000:" + zeros + "00 00 ................\n9010:" + zeros + "00 00 ................\n"},
        {"dump 100", "0100: 00 00 00 00 33 00 00 00 00 00 00 00 00 00 00 00 ....3...........\n"},
        {"lcdram", "0080: 00 00 43 44" + zeros.substr(0, 37) + "..CD............\n"},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(Execute(c.line).failed) << c.line;
        EXPECT_EQ(output.substr(0, c.want.size()), c.want) << c.line;
    }
    ASSERT_FALSE(Execute("lcdram").failed);
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 8);
    EXPECT_NE(output.find("\n00F0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 45 ...............E\n"),
              std::string::npos)
        << output;
    // Byte for byte what peekb reads.
    ASSERT_FALSE(Execute("dump 100").failed);
    const std::string row = output;
    for (int i = 0; i < 16; ++i) {
        ASSERT_FALSE(Execute("peekb " + FormatWord(uint16_t(0x100 + i), '0', NumberFormat(16))).failed);
        EXPECT_EQ(row.substr(6 + 3 * size_t(i), 2), output.substr(0, 2)) << i;
    }
}

// A trap at 8300 goes through vector 001C to 8310; the halt request enters
// halt mode at 7000, where a branch waits on itself.
TEST_F(DebugCommands, StopsOnTrapsAndHaltModeAreOptional) {
    for (const char* line : {"load 8300 8900 0000", "load 8310 01FF", "load 001C 8310 0000", "load 0078 7000 00E0",
                             "load 7000 01FF"})
        ASSERT_FALSE(Execute(line).failed) << line;
    const struct {
        const char* stop;  // the stop command given first
        bool halt;         // whether the halt request is made before the run
        const char* answer;
    } cases[] = {
        {"stop traps on", false, "trap 001C to 8310\n"},
        {"stop traps off", false, "no stop after 50 steps, at 8310\n"},
        {"stop halt on", true, "halt mode at 7000\n"},
        {"stop halt off", true, "no stop after 50 steps, at 7000\n"},
        {"stop", true, "no stop after 50 steps, at 7000\n"},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(Execute("set pc 8300").failed);
        ASSERT_FALSE(Execute("set psw 0").failed);
        if (c.halt) {
            ASSERT_FALSE(Execute("halt").failed);
        }
        ASSERT_FALSE(Execute(c.stop).failed) << c.stop;
        ASSERT_FALSE(Execute("go 50").failed) << c.stop;
        EXPECT_EQ(output, c.answer) << c.stop;
    }
    ASSERT_FALSE(Execute("stop traps on").failed);
    EXPECT_EQ(output, "stop traps on\n");
    ASSERT_FALSE(Execute("stop").failed);
    EXPECT_EQ(output, "stop traps on, halt off\n");
    for (const char* line : {"stop trap on", "stop halt", "stop halt yes", "stop traps off 1"}) {
        EXPECT_TRUE(Execute(line).failed) << line;
        EXPECT_TRUE(Debugger.StopOnTrap) << line;
        EXPECT_FALSE(Debugger.StopOnHaltMode) << line;
    }
    Debugger.StopOnTrap = false;
}

// The program clears the control port, which stops the processor after a
// few steps; the steps after that are counted at once, and the history still
// gives back every step.
TEST_F(DebugCommands, StepsOfASleepingProcessorCountAtOnce) {
    ASSERT_FALSE(Execute("load 800A 0000").failed);
    Debugger.Past().Begin(0);
    const Machine start = Mk;
    std::vector<Machine> oneByOne;  // after each step, stepped one at a time
    for (int i = 0; i < 20; ++i) {
        ASSERT_FALSE(Execute("step").failed);
        oneByOne.push_back(Mk);
    }
    ASSERT_EQ(StateOf(Mk), ProcessorState::Asleep);
    ASSERT_FALSE(Execute("step 19980").failed);
    const Machine asleep = Mk;

    Mk = start;
    Debugger.Past().Begin(0);
    ASSERT_FALSE(Execute("step 20000").failed);
    EXPECT_TRUE(Mk == asleep);
    ASSERT_FALSE(Execute("step 999999999980000").failed);
    EXPECT_EQ(Debugger.StepCount(), 1'000'000'000'000'000u);
    EXPECT_TRUE(Mk == asleep);
    ASSERT_FALSE(Execute("back 999999999999995").failed);
    EXPECT_EQ(output, "stepped to 8102, step 5\n");
    EXPECT_TRUE(Mk == oneByOne[4]);
    ASSERT_FALSE(Execute("step 15").failed);
    EXPECT_TRUE(Mk == oneByOne[19]);
    ASSERT_FALSE(Execute("back 30000").failed);
    EXPECT_EQ(output, "history start at 8000, step 0\n");
}

// out runs fast while SP stays within the routine's frame, and a step at a
// time above it; with the stop on halt mode on, it runs a step at a time
// throughout. Both ways end at the same step with the same machine. The
// program starts at 8300 with SP at 8400; emt goes to 8380, trap to 8390.
TEST_F(DebugCommands, OutEndsAsWhenRunStepByStep) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        int stepsIn;  // steps run before out
        std::string answer;
    };
    const std::vector<Case> cases = {
        {"jsr and rts",
         {"asm 8300 jsr pc,8340", "asm 8304 br 8304", "asm 8340 inc r1", "asm 8342 rts pc"}, 2, "returned to 8304"},
        {"recursion returns one level",
         {"asm 8300 mov #3,r0", "asm 8304 jsr pc,8340", "asm 8308 br 8308", "asm 8340 dec r0", "asm 8342 beq 8348",
          "asm 8344 jsr pc,8340", "asm 8348 rts pc"},
         6, "returned to 8348"},
        {"jsr r5 with a word after the call",
         {"asm 8300 jsr r5,8340", "load 8304 1234", "asm 8306 br 8306", "asm 8340 mov (r5)+,r1", "asm 8342 rts r5"},
         1, "returned to 8306"},
        {"emt and rti", {"asm 8300 emt 12", "asm 8302 br 8302", "asm 8380 inc r1", "asm 8382 rti"}, 1,
         "returned to 8302"},
        {"trap and rtt", {"asm 8300 trap 3", "asm 8302 br 8302", "asm 8390 inc r1", "asm 8392 rtt"}, 2,
         "returned to 8302"},
        {"a routine that pops its own return address, then a return",
         {"asm 8300 jsr pc,8340", "asm 8304 jsr pc,8360", "asm 8308 br 8308", "asm 8340 mov (sp)+,r0",
          "asm 8342 jmp (r0)", "asm 8360 rts pc"},
         1, "returned to 8308"},
        {"unwinding by resetting SP",
         {"asm 8300 jsr pc,8340", "asm 8304 br 8304", "asm 8340 jsr pc,8360", "asm 8360 mov #8400,sp",
          "asm 8364 jmp 8304"},
         2, "no stop after 1000 steps, at 8304"},
        {"a breakpoint on the way", {"asm 8300 jsr pc,8340", "asm 8304 br 8304", "asm 8340 inc r1",
                                     "asm 8342 rts pc", "break 8342"},
         1, "break 8342"},
        {"the top level", {"asm 8300 br 8300"}, 0, "no stop after 1000 steps, at 8300"},
    };
    for (const std::string line : {"load 0018 8380 0000", "load 001C 8390 0000"}) ASSERT_FALSE(Execute(line).failed);
    const Machine base = Mk;
    for (const Case& c : cases) {
        struct End {
            std::string answer;
            Machine machine;
            uint64_t step;
        } ends[2];
        for (int slow = 0; slow < 2; ++slow) {
            Mk = base;
            Debugger.ClearBreakpoints();
            for (const std::string& line : c.lines) ASSERT_FALSE(Execute(line).failed) << c.what << ": " << line;
            ASSERT_FALSE(Execute("set pc 8300").failed);
            Debugger.Past().Begin(0);
            ASSERT_FALSE(Execute("step " + std::to_string(c.stepsIn)).failed);
            Debugger.StopOnHaltMode = slow == 1;
            ASSERT_FALSE(Execute("out 1000").failed) << c.what;
            Debugger.StopOnHaltMode = false;
            ends[slow] = {output, Mk, Debugger.StepCount()};
        }
        EXPECT_EQ(ends[0].answer, c.answer + "\n") << c.what;
        EXPECT_EQ(ends[0].answer, ends[1].answer) << c.what;
        EXPECT_EQ(ends[0].step, ends[1].step) << c.what;
        EXPECT_TRUE(ends[0].machine == ends[1].machine) << c.what;
    }
}

TEST_F(DebugCommands, BadArgumentsChangeNothing) {
    ASSERT_FALSE(Execute("break 8100").failed);
    ASSERT_FALSE(Execute("watch r 8200 8203").failed);
    for (const char* line : {"break nowhere", "unbreak 8000", "watch x 0104", "watch w 0104 0100", "watch w",
                             "unwatch w 8200", "go 12x", "back -1", "trace 5", "trace 999999999 t.txt",
                             "sym /no/such/file.sym", "saverom", "over 1 2"}) {
        const ConsoleReply reply = Execute(line);
        EXPECT_TRUE(reply.failed) << line;
        EXPECT_EQ(output, "") << line;
        EXPECT_EQ(Debugger.Breakpoints(), std::vector<uint16_t>{0x8100}) << line;
        ASSERT_EQ(Debugger.Watches().size(), 1u) << line;
        EXPECT_EQ(Mk.Reg[PC], 0x8000) << line;
    }
}

}  // namespace
