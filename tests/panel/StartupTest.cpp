#include "panel/Startup.h"

#include "core/Def.h"
#include "debugger/Numbers.h"
#include "debugger/Symbols.h"
#include "panel/RunLoop.h"
#include "panel/Settings.h"
#include "tests/support/MemoryImage.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

struct RadixCase {
    const char* settings;
    int32_t radix, wordDigits;
};

TEST(Startup, TheDebuggerRadixComesFromTheSettingsWithinEightToSixteen) {
    const RadixCase cases[] = {
        {"[Debugger]\nRadix=8\n", 8, 6},    {"[Debugger]\nRadix=10\n", 10, 5}, {"[Debugger]\nRadix=0x10\n", 16, 4},
        {"[Debugger]\nRadix=2\n", 16, 4},   {"[Debugger]\nRadix=17\n", 16, 4}, {"[Debugger]\nRadix=octal\n", 16, 4},
        {"[Settings]\nRadix=8\n", 16, 4},   {"", 16, 4},
    };
    TempFolder folder;
    for (const RadixCase& c : cases) {
        folder.WriteText("vexal.ini", c.settings);
        const NumberFormat numbers = ReadDebuggerRadix(folder / "vexal.ini");
        EXPECT_EQ(numbers.Radix(), c.radix) << c.settings;
        EXPECT_EQ(numbers.WordDigits(), c.wordDigits) << c.settings;
    }
}

// The console's start: the window's steps in the window's order, on the
// files it is given.
TEST(Startup, AProgramWithoutWindowsStartsAsTheWindowDoes) {
    TempFolder folder;
    folder.WriteText("my.ini", "[Settings]\nCpuSpeed=99\n[Debugger]\nRadix=8\n");
    folder.Write("my.rom", RomImage({{0x0000, 0x8010}}));
    folder.Write("my.ram", Pattern(RamSize, 1));
    Mk.LcdRam[0] = Mk.LcdRam[127] = 0x5A;
    Mk.PcKey = 7;
    Paused = true;

    StartupFiles files = DefaultStartupFiles();
    files.rom = folder / "my.rom";
    files.ram = folder / "my.ram";
    files.settings = folder / "my.ini";
    std::vector<std::string> warnings;
    EXPECT_EQ(StartMachine(files, [&](const std::string& m) { warnings.push_back(m); }), RamImageState::Loaded);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(CpuSpeed, 99);
    EXPECT_EQ(Mk.RamEnd, 0x87FF);
    EXPECT_EQ(std::vector<uint8_t>(Mk.Ram(), Mk.Ram() + RamSize), Pattern(RamSize, 1));
    EXPECT_EQ(Mk.Reg[PC], 0x8010);
    EXPECT_EQ(Mk.LcdRam[0], 0);
    EXPECT_EQ(Mk.LcdRam[127], 0x5A);
    EXPECT_EQ(Mk.PcKey, 0);
    EXPECT_FALSE(Paused);
}

// Whatever stands at rom.sym, start-up says it once: a box each would stand
// before the window. Only a missing file is no fault.
TEST(Startup, ASymbolFileWarnsOnceAtMost) {
    TempFolder folder;
    std::string bad;
    for (int i = 0; i < 30; ++i) bad += "8000 pc\n";
    folder.WriteText("bad.sym", bad + "8000 main\n");
    folder.WriteText("good.sym", "8000 main\n");
    std::filesystem::create_directory(folder / "folder.sym");
    ASSERT_EQ(mkfifo((folder / "pipe.sym").c_str(), 0600), 0);
    const struct {
        const char* name;
        size_t warnings;
        bool symbols;
    } files[] = {{"bad.sym", 1, true}, {"good.sym", 0, true}, {"folder.sym", 1, false},
                 {"pipe.sym", 1, false}, {"missing.sym", 0, false}};
    for (const auto& file : files) {
        std::vector<std::string> warnings;
        LoadSymbols(folder / file.name, [&](const std::string& m) { warnings.push_back(m); });
        EXPECT_EQ(warnings.size(), file.warnings) << file.name;
        EXPECT_EQ(Symbols.Find("main").has_value(), file.symbols) << file.name;
    }
    Symbols.Clear();
}

}  // namespace

// A file the user chooses to write is refused when it is one of the
// session's files under any name, whether that file exists yet or not.
TEST(Startup, TheSessionsFilesAreKnownUnderEveryName) {
    TempFolder folder;
    const StartupFiles files = DefaultStartupFiles(folder.path().string());
    folder.Write("rom.bin", Pattern(16, 1));
    folder.Write("other.vxs", Pattern(16, 2));
    std::filesystem::create_hard_link(folder / "rom.bin", folder / "rom-link.bin");
    folder.WriteText("vexal.ini", "");
    std::filesystem::create_symlink(folder / "vexal.ini", folder / "settings-link");
    std::filesystem::create_directory(folder / "sub");
    const struct {
        std::string path;
        bool startup;
    } cases[] = {
        {folder / "rom.bin", true},
        {folder / "rom-link.bin", true},
        {(folder.path() / "sub" / ".." / "ram.bin").string(), true},  // not there yet
        {folder / "settings-link", true},
        {folder / "keys.bmp", true},
        {"rom.bin", false},  // in the working folder, another one
        {folder / "other.vxs", false},
        {folder / "snapshot.vxs", false},
        {(folder.path() / "sub" / "rom.bin").string(), false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsStartupFile(files, c.path), c.startup) << c.path;
}
