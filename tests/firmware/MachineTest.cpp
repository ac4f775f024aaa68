// The firmware and the machine: sleep, halt mode, traps, the RAM kept between
// sessions, auto-repeat, and the ROM image itself.
#include <sstream>

#include "FirmwareRun.h"
#include "asm/Command.h"

namespace {

std::string Ctrl(const CliResult& result, size_t line) { return StateField(result.Lines().at(line), "CTRL"); }

TEST(Firmware, SleepsWhileNoKeyIsHeld) {
    FirmwareFolder folder;
    const CliResult result = folder.RunFirmware(PowerOn + "state\nkey 41\ntick 2\nstate\nkey 0\ntick 40\nstate\n");
    ASSERT_EQ(result.Lines().size(), 3u) << result.out;
    EXPECT_EQ(Ctrl(result, 0), "0000");  // run bit clear: stopped, and slow so that idle steps cost little
    EXPECT_EQ(Ctrl(result, 1), "0C00");  // a held key wakes it, and it works at full speed
    EXPECT_EQ(Ctrl(result, 2), "0000");
}

// The halt key stops the program in halt mode with STOP lit; the next key
// resumes it, and is not typed.
TEST(Firmware, HaltKeyStopsUntilAKeyResumes) {
    FirmwareFolder folder;
    const CliResult result =
        folder.RunFirmware(PowerOn + "type 12`\nlcd\nstate\n" + Press(53) + "lcd\nstate\ntype 3\nlcd\n");
    const auto screens = Screens(result);
    ASSERT_EQ(screens.size(), 3u) << result.out;
    EXPECT_EQ(screens[0].indicators, "9");  // STOP, and no RUN: asleep in halt mode
    const std::vector<std::string> states = {result.Lines().at(10), result.Lines().at(21)};
    EXPECT_EQ(std::stoi(StateField(states[0], "PSW"), nullptr, 16) & 0x100, 0x100) << states[0];
    EXPECT_EQ(StateField(states[0], "CTRL"), "0000");
    EXPECT_EQ(screens[1].indicators, "3");
    EXPECT_EQ(std::stoi(StateField(states[1], "PSW"), nullptr, 16) & 0x100, 0) << states[1];
    EXPECT_EQ(Trimmed(screens[2].text), "123");
}

// The mouse raises the halt request when it lets go of the halt key while
// column 2 is selected. The halt key has no matrix code, so the firmware
// must stay awake a while after it, with that column selected, for the
// request to be raised and taken at once rather than at the next key.
TEST(Firmware, HaltKeyLetGoWithTheMouseFindsItAwake) {
    FirmwareFolder folder;
    const CliResult result = folder.RunFirmware(PowerOn + "mouse 39\ntick 10\nmouse 0\ntick 5\nstate\nlcd\n");
    const std::string state = result.Lines().at(0);
    EXPECT_EQ(StateField(state, "HALTREQUEST"), "0") << state;
    EXPECT_EQ(std::stoi(StateField(state, "PSW"), nullptr, 16) & 0x100, 0x100) << state;
    const auto screens = Screens(result);
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0].indicators, "9");
}

// Whatever a program does wrong ends in a trap whose vector shows itself,
// and the calculator goes on.
TEST(Firmware, EveryTrapShowsItsVector) {
    struct Case {
        const char* code;  // the instruction run from RAM
        const char* psw;
        const char* shown;
    };
    const Case cases[] = {
        {"0040", "0", "TRAP 04"},   // JMP R0
        {"0007", "0", "TRAP 10"},   // no such instruction
        {"7A00", "0", "TRAP 10"},   // FADD: no floating point
        {"0003", "0", "TRAP 14"},   // BPT
        {"00A0", "10", "TRAP 14"},  // NOP with the T bit
        {"0004", "0", "TRAP 20"},   // IOT
        {"8800", "0", "TRAP 30"},   // EMT
        {"8900", "0", "TRAP 34"},   // TRAP
    };
    std::string script = PowerOn;
    for (const Case& c : cases)
        script += std::string("poke 8400 ") + c.code + "\nset pc 8400\nset psw " + c.psw + "\nset ctrl 0C00\ntick 20\nlcd\n";
    script += "type 1=1\n" + Execute + "lcd\n";
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(script);
    ASSERT_EQ(screens.size(), std::size(cases) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Trimmed(screens[i].text), cases[i].shown) << cases[i].code;
    EXPECT_EQ(Trimmed(screens.back().text), "2");
}

const std::string FirstSession = PowerOn + "type 6*7\n" + Execute + "type 5\n" + Execute + "save\n";

TEST(Firmware, ResultAndHistorySurviveASavedSession) {
    FirmwareFolder folder;
    folder.RunFirmware(FirstSession);
    const auto screens = folder.ScreensOf(PowerOn + "lcd\n" + Press(KeyOlder) + Press(KeyOlder) + "lcd\n" + Clear +
                                          "type ans*2\n" + Execute + "lcd\n");
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(Trimmed(screens[0].text), "5");
    EXPECT_EQ(Trimmed(screens[1].text), "6*7");
    EXPECT_EQ(Trimmed(screens[2].text), "10");
}

// A RAM image that is not ours, or not whole, is started afresh: no result,
// no history.
TEST(Firmware, RamNotOursStartsAfresh) {
    struct Case {
        const char* name;
        void (*change)(std::vector<uint8_t>&);
    };
    const Case cases[] = {
        {"another program's", [](std::vector<uint8_t>& ram) { ram.assign(ram.size(), 0x55); }},
        {"one byte changed", [](std::vector<uint8_t>& ram) { ram[0x0B] ^= 1; }},
        {"signature changed", [](std::vector<uint8_t>& ram) { ram[0] ^= 1; }},
        {"short", [](std::vector<uint8_t>& ram) { ram.resize(7); }},
    };
    for (const Case& c : cases) {
        FirmwareFolder folder;
        folder.RunFirmware(FirstSession);
        std::vector<uint8_t> ram = folder.Read("ram.bin");
        c.change(ram);
        folder.Write("ram.bin", ram);
        const auto screens = folder.ScreensOf(PowerOn + "lcd\n" + Press(KeyOlder) + "lcd\n");
        ASSERT_EQ(screens.size(), 2u) << c.name;
        EXPECT_EQ(Trimmed(screens[0].text), "") << c.name;
        EXPECT_EQ(Trimmed(screens[1].text), "") << c.name;
    }
}

TEST(Firmware, HeldKeyRepeatsButModeKeyDoesNot) {
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(PowerOn + "key 41\ntick 100\nkey 0\ntick 10\nlcd\n" +
                                          "key 2\ntick 100\nkey 0\ntick 10\nlcd\n");
    ASSERT_EQ(screens.size(), 2u);
    // At the press, again after half a second, then ten times a second.
    const std::string sevens = Trimmed(screens[0].text);
    EXPECT_GE(sevens.size(), 5u) << sevens;
    EXPECT_LE(sevens.size(), 8u) << sevens;
    EXPECT_EQ(sevens.find_first_not_of('7'), std::string::npos) << sevens;
    EXPECT_EQ(screens[1].cursor.substr(screens[1].cursor.find(' ')), " block");
}

// Assembled twice in one process, so that nothing of one run leaks into
// the next, the firmware gives the same bytes as the build's.
TEST(Firmware, AssemblesToTheSameBytesEveryTime) {
    TempFolder folder;
    for (const char* name : {"first.bin", "second.bin"}) {
        std::ostringstream out, err;
        ASSERT_EQ(RunAssembler({"-o", folder / name, VEXAL_FIRMWARE_DIR "/rom.s"}, out, err), AsmExitDone) << err.str();
    }
    const std::vector<uint8_t> first = folder.Read("first.bin");
    EXPECT_EQ(first.size(), 0x8000u);
    EXPECT_EQ(first, folder.Read("second.bin"));
    std::ifstream built(RomPath, std::ios::binary);
    EXPECT_EQ(first, std::vector<uint8_t>(std::istreambuf_iterator<char>(built), std::istreambuf_iterator<char>()));
}

}  // namespace
