// snapshot and restore: the whole machine, ROM patches and the display
// included, saved to a file and brought back; a file that cannot be written
// or loaded is one line on standard error, and the script goes on.
#include <gtest/gtest.h>

#include "CliRun.h"

namespace {

// What the console shows of a machine: registers and flags, a patched ROM
// word, RAM, the display.
constexpr const char* Inspect = "state\npeek 200\npeek 8000\nlcd\n";

TEST(CliSnapshot, RestoreBringsBackWhatTheConsoleShowed) {
    StandardFolder folder;
    const std::string script = std::string("set r0 1234\nload 200 4567\npoke 8000 0A00\npokeb 88 1F\nkey 20\nstep 3\n") +
                               Inspect + "snapshot my snap.vxs\n" +
                               "reset\nset r0 0\nload 200 0\npoke 8000 0\npokeb 88 0\nkey 0\nstep 5\n" + Inspect +
                               "restore my snap.vxs  \n" + Inspect;
    const CliResult r = folder.Run(script);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> lines = r.Lines();
    ASSERT_EQ(lines.size() % 3, 0u) << r.out;
    const size_t block = lines.size() / 3;
    const std::vector<std::string> saved(lines.begin(), lines.begin() + long(block));
    const std::vector<std::string> changed(lines.begin() + long(block), lines.begin() + long(2 * block));
    const std::vector<std::string> restored(lines.begin() + long(2 * block), lines.end());
    EXPECT_NE(changed, saved);
    EXPECT_EQ(restored, saved);
    EXPECT_EQ(saved[1], "4567");
    EXPECT_TRUE(folder.Exists("my snap.vxs"));
}

TEST(CliSnapshot, FailuresAreOneLineEachAndTheScriptGoesOn) {
    StandardFolder folder;
    folder.Write("bad.vxs", Pattern(100, 1));
    const CliResult r =
        folder.Run("set r0 77\nstate\nrestore gone.vxs\nrestore bad.vxs\nsnapshot gone/s.vxs\nstate\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "Failed to load the file gone.vxs: there is no such file\n"
              "Failed to load the file bad.vxs: it is not a Vexal snapshot\n"
              "Failed to save the file gone/s.vxs: cannot reach its folder: No such file or directory\n");
    const std::vector<std::string> lines = r.Lines();
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(lines[1], lines[0]);
    EXPECT_EQ(StateField(lines[1], "R0"), "0077");
}

TEST(CliSnapshot, AFileNameIsNeeded) {
    StandardFolder folder;
    const struct {
        const char* line;
        const char* usage;
    } rows[] = {{"snapshot", "snapshot FILE"}, {"restore  ", "restore FILE"}};
    for (const auto& row : rows) {
        const CliResult r = folder.Run(std::string(row.line) + "\n");
        EXPECT_EQ(r.status, 2) << row.line;
        EXPECT_EQ(r.err, "line 1: missing argument; usage: " + std::string(row.usage) + "\n");
    }
}

}  // namespace
