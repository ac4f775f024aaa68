// Where the console stops: at the top of memory, at names and scripts it
// cannot take, and never at the size of an answer.
#include <gtest/gtest.h>

#include <csignal>

#include "CliRun.h"

namespace {

struct Case {
    const char* what;
    std::string script;
    std::vector<std::string> arguments;  // before the script
    int status;
    std::string out;
    std::string err;
};

TEST(CliLimits, WhatTheConsoleRefusesOrCutsShort) {
    const Case cases[] = {
        {"words past the top do not wrap into the ROM at 0", "load FFFE 1111 2222 3333\npeek 0\npeek 2\n", {}, 0,
         "8000\n0000\n", "stopped at the top of memory, FFFF: 2 words not stored\n"},
        {"an instruction past the top stops there too", "asm FFFE mov #1234,r0\npeek 0\npeek 2\n", {}, 0,
         "8000\n0000\n", "stopped at the top of memory, FFFF: 1 word not stored\n"},
        {"words that end at the top all fit", "load FFFA 1111 2222 3333\npeek 0\n", {}, 0, "8000\n", ""},
        {"a NUL byte in a file name", std::string("save a\0b\nstate\n", 14), {}, 2, "",
         "line 1: a file name cannot hold a NUL byte\n"},
        {"a script that is a folder", "state\n", {"a folder"}, 2, "",
         "vexal-cli: the script a folder is a folder\n"},
        {"the settings are not written over", "trace 1 vexal.ini\n", {}, 2, "",
         "line 1: vexal.ini is read by this session; choose another file\n"},
        {"nor settings named by --ini", "snapshot ./my.ini\n", {"--ini", "my.ini"}, 2, "",
         "line 1: ./my.ini is read by this session; choose another file\n"},
        {"nor the symbols", "saverom rom.sym\n", {}, 2, "",
         "line 1: rom.sym is read by this session; choose another file\n"},
        {"nor the running script", "snapshot script.txt\n", {}, 2, "",
         "line 1: script.txt is read by this session; choose another file\n"},
        {"nor a script run before", "save first.txt\n", {"first.txt"}, 2, "",
         "line 1: first.txt is read by this session; choose another file\n"},
        {"save keeps off them too", "save rom.sym\n", {}, 2, "",
         "line 1: rom.sym is read by this session; choose another file\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandardFolder folder;
        std::filesystem::create_directory(folder / "a folder");
        folder.WriteText("first.txt", "# runs first\n");
        const CliResult r = folder.Run(c.script, c.arguments);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
        EXPECT_FALSE(folder.Exists("a"));
    }
}

// An answer far too long to hold in memory starts at once and keeps coming,
// line for line what a short one says.
TEST(CliLimits, ALongAnswerStreams) {
    StandardFolder folder;
    const CliResult brief = folder.Run("dis 0 100\n");
    ASSERT_EQ(brief.status, 0) << brief.err;
    folder.WriteText("script.txt", "dis 0 1000000000000000\n");
    ChildProcess console({VEXAL_CLI_PATH, "script.txt"}, {folder.path(), "/dev/null", {}});
    const std::uintmax_t enough = 4u << 20;
    EXPECT_TRUE(ChildProcess::WaitUntil([&] { return console.OutputSize() > enough; }));
    console.Signal(SIGKILL);
    const ProgramResult streamed = console.Wait();
    EXPECT_EQ(streamed.out.substr(0, brief.out.size()), brief.out);
}

// Ctrl+C in a script ends the run: nothing after the command runs.
TEST(CliLimits, CtrlCEndsAScriptWithoutRunningTheRest) {
    StandardFolder folder;
    folder.WriteText("script.txt", "step 1000000000000000\nsave x.bin\n");
    ChildProcess console({VEXAL_CLI_PATH, "script.txt"}, {folder.path(), "/dev/null", {}});
    EXPECT_TRUE(ChildProcess::WaitUntil([&] { return console.Catches(SIGINT); }));
    console.Signal(SIGINT);
    const ProgramResult r = console.Wait();
    EXPECT_EQ(r.status, 130);
    EXPECT_TRUE(r.out.rfind("interrupted at", 0) == 0 && InterruptedStep(r.out, "7000", "\n") &&
                r.out.back() == '\n' && r.out.find('\n') == r.out.size() - 1)
        << r.out;
    EXPECT_FALSE(folder.Exists("x.bin"));
}

}  // namespace
