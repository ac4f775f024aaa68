// Lines the console cannot take: the message, the exit status, and that
// nothing after the bad line runs.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "CliRun.h"

namespace {

struct BadLine {
    const char* line;
    const char* reason;  // a part of the message that names the fault
};

const BadLine BadLines[] = {
    {"frobnicate", "unknown command 'frobnicate'"},
    {"set r0", "missing argument"},
    {"set r0 1 2", "too many arguments"},
    {"set r8 1", "unknown register 'r8'"},
    {"set flags 1", "unknown register 'flags'"},
    {"set memory 1", "unknown register 'memory'"},  // only the words of the machine
    {"set r0 12G4", "malformed number '12G4'"},
    {"set r0 -1", "malformed number '-1'"},
    {"poke 8000", "missing argument"},
    {"poke 0x8000 1", "malformed number '0x8000'"},
    {"pokeb 8000 1 2", "too many arguments"},
    {"peek", "missing argument"},
    {"peekb 8000 1", "too many arguments"},
    {"load 8000", "missing argument"},
    {"step x", "malformed step count 'x'"},
    {"step -1", "malformed step count '-1'"},
    {"step 1 2", "too many arguments"},
    {"step 99999999999999999999", "too large"},
    {"tick 1.5", "malformed tick count '1.5'"},
    {"until", "missing argument"},
    {"until 8000 0", "at least 1"},
    {"until 8000 1 2", "too many arguments"},
    {"speed", "missing argument"},
    {"speed fast", "malformed speed 'fast'"},
    {"speed 3000000000", "32 bits"},
    {"speed --1", "malformed speed '-1'"},
    {"dump", "missing argument"},
    {"dump 8000 A", "malformed row count 'A'"},
    {"dis 8000 1 2", "too many arguments"},
    {"asm", "missing argument"},
    {"asm XYZ nop", "malformed number 'XYZ'"},
    {"key 57", "key index '57' is not between 0 and 56"},
    {"key -1", "malformed key index '-1'"},
    {"key", "missing argument"},
    {"mouse 100", "key index '100' is not between 0 and 56"},
    {"halt now", "too many arguments"},
    {"type", "missing argument"},
    {"hold", "missing argument"},
    {"lcd 1", "too many arguments"},
    {"bench", "missing argument"},
    {"quit now", "too many arguments"},
};

TEST(CliErrors, BadLineStopsTheScriptWithStatusTwo) {
    for (const BadLine& bad : BadLines) {
        StandardFolder folder;
        const CliResult r = folder.Run("# first\nset r0 1\n" + std::string(bad.line) + "\nset r0 2\nstate\n");
        EXPECT_EQ(r.status, 2) << bad.line;
        EXPECT_EQ(r.out, "") << bad.line;
        EXPECT_EQ(r.err.rfind("line 3: ", 0), 0u) << bad.line << ": " << r.err;
        EXPECT_NE(r.err.find(bad.reason), std::string::npos) << bad.line << ": " << r.err;
        EXPECT_EQ(r.err.back(), '\n');
    }
}

TEST(CliErrors, BadLineFromAPipeStopsToo) {
    StandardFolder folder;
    const CliResult r = folder.Run("peek 0\nset PC\npeek 0\n", {}, true);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "8000\n");
    EXPECT_EQ(r.err.rfind("line 2: missing argument", 0), 0u) << r.err;
}

TEST(CliErrors, LineNumbersCountFromOneInEachScript) {
    StandardFolder folder;
    folder.WriteText("first.txt", "\n# comment\npeek 0\n");
    folder.WriteText("second.txt", "peek 0\n\nnope\npeek 0\n");
    const CliResult r = folder.RunProgram({"first.txt", "second.txt"}, "/dev/null");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "8000\n8000\n");
    EXPECT_EQ(r.err, "line 3: unknown command 'nope' (help lists the commands)\n");
}

TEST(CliErrors, UnreadableScriptOrBadOption) {
    StandardFolder folder;
    const CliResult missing = folder.RunProgram({"no-such-script.txt"}, "/dev/null");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no-such-script.txt"), std::string::npos) << missing.err;

    const CliResult option = folder.RunProgram({"--speed", "3"}, "/dev/null");
    EXPECT_EQ(option.status, 2);
    EXPECT_NE(option.err.find("usage: vexal-cli"), std::string::npos) << option.err;

    const CliResult noValue = folder.RunProgram({"--rom"}, "/dev/null");
    EXPECT_EQ(noValue.status, 2);

    // A symbol file named on the command line must be a plain file: a folder
    // or a pipe ends the run at once, before anything waits on it.
    std::filesystem::create_directory(folder.path() / "folder.sym");
    ASSERT_EQ(mkfifo((folder.path() / "pipe.sym").c_str(), 0600), 0);
    for (const char* symbols : {"folder.sym", "pipe.sym", "missing.sym"}) {
        const CliResult bad = folder.RunProgram({"--sym", symbols}, "/dev/null");
        EXPECT_EQ(bad.status, 2) << symbols;
        EXPECT_NE(bad.err.find("cannot read the symbol file"), std::string::npos) << bad.err;
    }
}

}  // namespace
