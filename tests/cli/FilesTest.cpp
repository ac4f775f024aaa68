// The files around a run: the images and settings read at start, and the RAM
// written only when save asks, safely.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CliRun.h"
#include "core/Def.h"
#include "panel/MemoryFiles.h"
#include "panel/RamLock.h"
#include "tests/support/FileSizeLimit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<uint8_t> RamPattern() { return Pattern(RamSize, 3); }

TEST(CliFiles, MissingRomIsReportedAndTheRunGoesOn) {
    CliFolder folder;
    const CliResult r = folder.Run("peek 0\nstate\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Failed to load the file rom.bin\n");
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(lines[0], "0000");
    EXPECT_EQ(StateField(lines[1], "PC"), "0000");
}

TEST(CliFiles, MissingRamIsSilent) {
    StandardFolder folder;
    const CliResult r = folder.Run("peek 8000\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "0000\n");
    EXPECT_FALSE(folder.Exists("ram.bin"));
}

TEST(CliFiles, FilesGivenOnTheCommandLine) {
    StandardFolder folder;
    folder.WriteRom({{0x0000, 0x8123}, {0x0002, 0x0040}}, "other.rom");
    folder.Write("other.ram", RamPattern());
    folder.WriteText("other.ini", "[Debugger]\nRadix=10\n");
    const CliResult r =
        folder.Run("state\npeekb 32769\n", {"--rom", "other.rom", "--ram", "other.ram", "--ini", "other.ini"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(StateField(lines[0], "PC"), "33058");  // 0x8122: reset clears bit 0
    EXPECT_EQ(StateField(lines[0], "PSW"), "00064");
    EXPECT_EQ(lines[1], "010");

    const CliResult missing = folder.Run("peek 0\n", {"--rom", "gone.rom"});
    EXPECT_EQ(missing.err, "Failed to load the file gone.rom\n");
}

TEST(CliFiles, RamIsWrittenOnlyWhenSaveAsks) {
    StandardFolder folder;
    const std::vector<uint8_t> original = RamPattern();
    folder.Write("ram.bin", original);
    const CliResult r = folder.Run("poke 8000 ABCD\nstep 100\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(folder.Read("ram.bin"), original);
}

TEST(CliFiles, SaveWritesTheRam) {
    StandardFolder folder;
    folder.Write("ram.bin", RamPattern());
    const CliResult r = folder.Run("poke 8000 ABCD\npokeb 87FF 5A\nsave copy.bin\nsave\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    std::vector<uint8_t> expected = RamPattern();
    expected[0] = 0xCD;
    expected[1] = 0xAB;
    expected[0x7FF] = 0x5A;
    EXPECT_EQ(folder.Read("copy.bin"), expected);
    EXPECT_EQ(folder.Read("ram.bin"), expected);
}

TEST(CliFiles, SaveWithoutNameWritesTheRamFileThatWasLoaded) {
    StandardFolder folder;
    folder.Write("mine.bin", RamPattern());
    const CliResult r = folder.Run("pokeb 8000 77\nsave\n", {"--ram", "mine.bin"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(folder.Read("mine.bin")[0], 0x77);
    EXPECT_FALSE(folder.Exists("ram.bin"));
}

TEST(CliFiles, FailedSaveIsReportedAndLeavesTheOldFileWhole) {
    StandardFolder folder;
    const std::vector<uint8_t> original = RamPattern();
    folder.Write("ram.bin", original);
    // The disk fills up in the middle of the write.
    CliResult r;
    {
        const FileSizeLimit diskFull(1000);
        r = folder.Run("poke 8000 ABCD\nsave\nsave no/such/folder/ram.bin\npeek 8000\n");
    }
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Failed to save the file ram.bin: File too large\n"
                     "Failed to save the file no/such/folder/ram.bin: cannot reach its folder: No such file or "
                     "directory\n");
    EXPECT_EQ(r.out, "ABCD\n");
    EXPECT_EQ(folder.Read("ram.bin"), original);
    EXPECT_FALSE(std::ranges::any_of(std::filesystem::directory_iterator(folder.path()),
                                     [](const auto& entry) { return entry.path().filename().string()[0] == '.'; }))
        << "no temporary left";
}

// Another program owns the image: a window on the folder, here this test.
TEST(CliFiles, ASaveOntoAnImageAnotherProgramOwnsIsRefusedAndTheRunGoesOn) {
    StandardFolder folder;
    folder.Write("ram.bin", RamPattern());
    RamLock window;
    ASSERT_EQ(window.Take(folder / "ram.bin"), "");
    const CliResult r = folder.Run("pokeb 8000 42\nsave\nsave ./ram.bin\nsave copy.bin\npeekb 8000\n");
    EXPECT_EQ(r.status, 0);
    const std::string inUse = folder.path().string() + " is in use by process " + std::to_string(getpid()) + "\n";
    EXPECT_EQ(r.err, "Failed to save the file ram.bin: " + inUse + "Failed to save the file ./ram.bin: " + inUse);
    EXPECT_EQ(r.out, "42\n");
    EXPECT_EQ(folder.Read("ram.bin"), RamPattern());
    EXPECT_EQ(folder.Read("copy.bin")[0], 0x42);
}

// From its first save the console owns the image until it ends.
TEST(CliFiles, TheFirstSaveOwnsTheImageUntilTheRunEnds) {
    StandardFolder folder;
    const std::string commands = folder / "commands";
    ASSERT_EQ(mkfifo(commands.c_str(), 0600), 0);
    // Closed in the console at its start, so that only this end keeps the
    // pipe open.
    const int writer = open(commands.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ChildProcess console({VEXAL_CLI_PATH}, {folder.path(), commands, {}});
    const std::string save = "save\n";
    ASSERT_EQ(write(writer, save.data(), save.size()), ssize_t(save.size()));
    // The image is renamed into place whole, after the lock is taken.
    ASSERT_TRUE(ChildProcess::WaitUntil([&] { return std::filesystem::exists(folder / "ram.bin"); }));
    RamLock window;
    EXPECT_EQ(window.Take(folder / "ram.bin"), folder.path().string() + " is in use by process " + std::to_string(console.Pid()));
    close(writer);
    const CliResult r = console.Wait();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(window.Take(folder / "ram.bin"), "");
}

TEST(CliFiles, SaveNameMayHoldBlanks) {
    StandardFolder folder;
    const CliResult r = folder.Run("pokeb 8000 42\nsave my ram.bin  \n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<uint8_t> saved = folder.Read("my ram.bin");
    ASSERT_EQ(saved.size(), 0x800u);
    EXPECT_EQ(saved[0], 0x42);
}

}  // namespace
