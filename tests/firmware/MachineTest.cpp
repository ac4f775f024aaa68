// The firmware and the machine: sleep, halt mode, traps, the RAM kept between
// sessions, auto-repeat, and the ROM image itself.
#include <algorithm>
#include <random>
#include <sstream>

#include "FirmwareRun.h"
#include "asm/Command.h"

namespace {

TEST(Firmware, SleepsWhileNoKeyIsHeld) {
    FirmwareFolder folder;
    const CliResult result = folder.RunFirmware(PowerOn + "state\nkey 41\ntick 2\nstate\nkey 0\ntick 40\nstate\n");
    const std::vector<std::string> states = States(result);
    ASSERT_EQ(states.size(), 3u) << result.out;
    EXPECT_EQ(StateField(states[0], "CTRLPORT"), "0000");  // run bit clear: stopped, and slow so that idle steps cost little
    EXPECT_EQ(StateField(states[1], "CTRLPORT"), "0C00");  // a held key wakes it, and it works at full speed
    EXPECT_EQ(StateField(states[2], "CTRLPORT"), "0000");
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
    const std::vector<std::string> states = States(result);
    ASSERT_EQ(states.size(), 2u) << result.out;
    EXPECT_EQ(std::stoi(StateField(states[0], "PSW"), nullptr, 16) & 0x100, 0x100) << states[0];
    EXPECT_EQ(StateField(states[0], "CTRLPORT"), "0000");
    EXPECT_EQ(screens[1].indicators, "");
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
    const std::vector<std::string> states = States(result);
    ASSERT_EQ(states.size(), 1u) << result.out;
    const std::string& state = states[0];
    EXPECT_EQ(StateField(state, "HALTREQUEST"), "0") << state;
    EXPECT_EQ(std::stoi(StateField(state, "PSW"), nullptr, 16) & 0x100, 0x100) << state;
    const auto screens = Screens(result);
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0].indicators, "9");
}

// Whatever a machine program does wrong ends in a trap whose vector shows
// itself, and the firmware goes on.
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
        script += std::string("poke 8400 ") + c.code + "\nset pc 8400\nset psw " + c.psw + "\nset ctrlport 0C00\ntick 20\nlcd\n";
    script += Enter("1+1") + "lcd\n";
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(script);
    ASSERT_EQ(screens.size(), std::size(cases) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Trimmed(screens[i].text), cases[i].shown) << cases[i].code;
    EXPECT_EQ(Trimmed(screens.back().text), "2");
}

const std::string FirstSession = PowerOn + Enter("6*7") + Enter("2+3") + "save\n";

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

// The end-around-carry sum of the RAM image's words from one address to
// another, as the firmware seals what it keeps.
uint16_t Sealed(const std::vector<uint8_t>& ram, uint16_t from, uint16_t to) {
    uint32_t sum = 0;
    for (uint32_t a = from; a < to; a += 2) {
        sum += uint32_t(ram[a - 0x8000] | ram[a + 1 - 0x8000] << 8);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return uint16_t(sum);
}

void PutWord(std::vector<uint8_t>& ram, uint16_t address, uint16_t value) {
    ram[address - 0x8000] = uint8_t(value);
    ram[address + 1 - 0x8000] = uint8_t(value >> 8);
}

// Seals the image again as the firmware would, after a change.
void Reseal(std::vector<uint8_t>& ram) {
    const uint16_t progend = uint16_t(ram[LabelAddress("progend") - 0x8000] | ram[LabelAddress("progend") + 1 - 0x8000] << 8);
    const uint16_t top = std::min(progend, LabelAddress("progtop"));
    PutWord(ram, LabelAddress("progsum"), Sealed(ram, LabelAddress("progend"), top));
    PutWord(ram, LabelAddress("keptsum"), Sealed(ram, LabelAddress("answer"), LabelAddress("varsend")));
}

// What the firmware keeps of a saved session whose image was changed: a
// damaged program goes with everything, damaged numbers alone go alone. A
// program whose lines break the rules is never run or listed, however well
// sealed; nor is any garbage.
TEST(Firmware, DamagedRamKeepsOnlyWhatIsWhole) {
    struct Case {
        const char* name;
        void (*change)(std::vector<uint8_t>&);
        bool programKept;
    };
    const Case cases[] = {
        {"a variable changed", [](std::vector<uint8_t>& ram) { ram[LabelAddress("vars") - 0x8000] ^= 1; }, true},
        {"the program changed", [](std::vector<uint8_t>& ram) { ram[LabelAddress("program") + 4 - 0x8000] ^= 1; },
         false},
        {"the end of the program moved", [](std::vector<uint8_t>& ram) { ram[LabelAddress("progend") - 0x8000] += 2; },
         false},
        {"an odd line length, sealed",
         [](std::vector<uint8_t>& ram) {
             ram[LabelAddress("program") + 2 - 0x8000] += 1;
             Reseal(ram);
         },
         false},
        {"the end of the program beyond its room, sealed",
         [](std::vector<uint8_t>& ram) {
             PutWord(ram, LabelAddress("progend"), 0x87F0);
             Reseal(ram);
         },
         false},
        {"lines out of order, sealed",
         [](std::vector<uint8_t>& ram) {
             PutWord(ram, LabelAddress("program"), 50);
             Reseal(ram);
         },
         false},
    };
    for (const Case& c : cases) {
        FirmwareFolder folder;
        folder.RunFirmware(PowerOn + Enter("10 PRINT A") + Enter("20 A=A+1") + Enter("A=5") + "save\n");
        std::vector<uint8_t> ram = folder.Read("ram.bin");
        c.change(ram);
        folder.Write("ram.bin", ram);
        const auto screens = folder.ScreensOf(PowerOn + Enter("LIST") + "lcd\n" + Clear + Enter("A") + "lcd\n");
        ASSERT_EQ(screens.size(), 2u) << c.name;
        EXPECT_EQ(Trimmed(screens[0].text), c.programKept ? "10 PRINT A" : "") << c.name;
        EXPECT_EQ(Trimmed(screens[1].text), "0") << c.name;
    }

    // Garbage sealed as ours: the firmware starts afresh and runs as ever.
    std::mt19937 random(85);
    for (int round = 0; round < 5; ++round) {
        FirmwareFolder folder;
        folder.RunFirmware(PowerOn + Enter("10 PRINT A") + "save\n");
        std::vector<uint8_t> ram = folder.Read("ram.bin");
        for (uint16_t a = LabelAddress("answer"); a < LabelAddress("progtop"); ++a) ram[a - 0x8000] = uint8_t(random());
        PutWord(ram, LabelAddress("progend"), uint16_t(LabelAddress("program") + (random() % 600) * 2));
        Reseal(ram);
        folder.Write("ram.bin", ram);
        const auto screens = folder.ScreensOf(PowerOn + Enter("RUN") + "lcd\n" + Enter("LIST") + "lcd\n" +
                                              Enter("MEM") + "lcd\n" + Enter("1+1") + "lcd\n");
        ASSERT_EQ(screens.size(), 4u) << round;
        EXPECT_EQ(Trimmed(screens[0].text), "") << round;
        EXPECT_EQ(Trimmed(screens[1].text), "") << round;
        EXPECT_EQ(Trimmed(screens[2].text), "1200") << round;
        EXPECT_EQ(Trimmed(screens[3].text), "2") << round;
    }
}

// A held key types at once, again after half a second, then ten times a
// second (a tick is 10 ms); INS does not repeat.
TEST(Firmware, HeldKeyRepeatsButModeKeyDoesNot) {
    struct Case {
        int ticksHeld;
        size_t typed;
    };
    const Case cases[] = {{45, 1}, {65, 3}, {110, 8}};
    std::string script = PowerOn;
    for (const Case& c : cases) script += Clear + "key 41\ntick " + std::to_string(c.ticksHeld) + "\nkey 0\nidle\nlcd\n";
    script += "key 2\ntick 100\nkey 0\nidle\nlcd\n";
    FirmwareFolder folder;
    const auto screens = folder.ScreensOf(script);
    ASSERT_EQ(screens.size(), std::size(cases) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string sevens = Trimmed(screens[i].text);
        EXPECT_EQ(sevens.find_first_not_of('7'), std::string::npos) << sevens;
        EXPECT_NEAR(double(sevens.size()), double(cases[i].typed), 1.0) << cases[i].ticksHeld << " ticks: " << sevens;
    }
    EXPECT_EQ(screens.back().cursor.substr(screens.back().cursor.find(' ')), " block");
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
