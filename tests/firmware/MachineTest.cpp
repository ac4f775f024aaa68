// The firmware and the machine: sleep, halt mode, traps, the RAM kept between
// sessions, auto-repeat, and the ROM image itself.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>

#include "FirmwareRun.h"
#include "asm/Command.h"
#include "core/Snapshot.h"

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

// Power-on with no RAM image starts in silence; an image that is not ours,
// or not whole, is started afresh and says so until a key (AC here): no
// result, no history.
TEST(Firmware, RamNotOursStartsAfresh) {
    struct Case {
        const char* name;
        void (*change)(std::vector<uint8_t>&);
        const char* message;
    };
    const Case cases[] = {
        {"no image", [](std::vector<uint8_t>& ram) { ram.clear(); }, ""},
        {"another program's", [](std::vector<uint8_t>& ram) { ram.assign(ram.size(), 0x55); }, "MEMORY CLEA"},
        {"one byte of ANS changed", [](std::vector<uint8_t>& ram) { ram[0x0B] ^= 1; }, "VARIABLES C"},
        {"signature changed", [](std::vector<uint8_t>& ram) { ram[0] ^= 1; }, "MEMORY CLEA"},
        {"short", [](std::vector<uint8_t>& ram) { ram.resize(7); }, "MEMORY CLEA"},
    };
    for (const Case& c : cases) {
        FirmwareFolder folder;
        folder.RunFirmware(FirstSession);
        std::vector<uint8_t> ram = folder.Read("ram.bin");
        c.change(ram);
        if (ram.empty()) {
            std::filesystem::remove(folder / "ram.bin");
        } else {
            folder.Write("ram.bin", ram);
        }
        const auto screens = folder.ScreensOf(PowerOn + "lcd\n" + Clear + Press(KeyOlder) + "lcd\n");
        ASSERT_EQ(screens.size(), 2u) << c.name;
        EXPECT_EQ(Trimmed(screens[0].text.substr(0, std::string(c.message).size() + !*c.message * CellCount)),
                  c.message)
            << c.name;
        EXPECT_EQ(Trimmed(screens[1].text), "") << c.name;
    }
}

uint16_t WordAt(const std::vector<uint8_t>& ram, uint16_t address) {
    return uint16_t(ram[address - 0x8000] | ram[address + 1 - 0x8000] << 8);
}

void PutWord(std::vector<uint8_t>& ram, uint16_t address, uint16_t value) {
    ram[address - 0x8000] = uint8_t(value);
    ram[address + 1 - 0x8000] = uint8_t(value >> 8);
}

// The CRC-16 of the image's bytes from one address to another, bit by bit:
// the polynomial 1021, the top bit first, from FFFF.
uint16_t Crc(const std::vector<uint8_t>& ram, uint16_t from, uint16_t to) {
    uint16_t crc = 0xFFFF;
    for (uint32_t a = from; a < to; ++a) {
        crc ^= uint16_t(ram[a - 0x8000] << 8);
        for (int bit = 0; bit < 8; ++bit) crc = uint16_t(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
    }
    return crc;
}

// The end-around-carry sum of the words from one address to another, the
// check of the images of the firmware's first version.
uint16_t OnesSum(const std::vector<uint8_t>& ram, uint16_t from, uint16_t to) {
    uint32_t sum = 0;
    for (uint32_t a = from; a < to; a += 2) {
        sum += WordAt(ram, uint16_t(a));
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return uint16_t(sum);
}

// Seals the image again as the firmware would after a change, or as its
// first version did, under "VXB1".
void Reseal(std::vector<uint8_t>& ram, bool firstVersion = false) {
    const auto check = firstVersion ? OnesSum : Crc;
    if (firstVersion) ram[3] = '1';
    const uint16_t top = std::min(WordAt(ram, LabelAddress("progend")), LabelAddress("progtop"));
    PutWord(ram, LabelAddress("progsum"), check(ram, LabelAddress("progend"), top));
    PutWord(ram, LabelAddress("keptsum"), check(ram, LabelAddress("answer"), LabelAddress("varsend")));
}

// A number's four words into variable A.
void PutA(std::vector<uint8_t>& ram, uint16_t exponent, uint16_t l0, uint16_t l1, uint16_t l2) {
    for (uint16_t i = 0; const uint16_t word : {exponent, l0, l1, l2}) PutWord(ram, uint16_t(LabelAddress("vars") + 2 * i++), word);
}

// What the firmware keeps of a saved session whose image was changed, and
// what it says: a damaged program goes with everything, damaged numbers or
// history alone go alone. A program whose lines break the rules is never run
// or listed, nor a number outside the one form used, however well sealed;
// nor is any garbage. An image of the first version, under its sums, keeps
// all.
TEST(Firmware, DamagedRamKeepsOnlyWhatIsWhole) {
    struct Case {
        const char* name;
        void (*change)(std::vector<uint8_t>&);
        const char* message;
        bool programKept;
    };
    const Case cases[] = {
        {"a variable changed", [](std::vector<uint8_t>& ram) { ram[LabelAddress("vars") - 0x8000] ^= 1; }, "VARIABLES C",
         true},
        {"the program changed", [](std::vector<uint8_t>& ram) { ram[LabelAddress("program") + 4 - 0x8000] ^= 1; },
         "MEMORY CLEA", false},
        {"the end of the program moved", [](std::vector<uint8_t>& ram) { ram[LabelAddress("progend") - 0x8000] += 2; },
         "MEMORY CLEA", false},
        {"two words of the program swapped",
         [](std::vector<uint8_t>& ram) {
             const uint16_t line = LabelAddress("program");
             const uint16_t first = WordAt(ram, line + 4);
             PutWord(ram, line + 4, WordAt(ram, line + 6));
             PutWord(ram, line + 6, first);
         },
         "MEMORY CLEA", false},
        {"an odd line length, sealed",
         [](std::vector<uint8_t>& ram) {
             ram[LabelAddress("program") + 2 - 0x8000] += 1;
             Reseal(ram);
         },
         "MEMORY CLEA", false},
        {"the end of the program beyond its room, sealed",
         [](std::vector<uint8_t>& ram) {
             PutWord(ram, LabelAddress("progend"), 0x87F0);
             Reseal(ram);
         },
         "MEMORY CLEA", false},
        {"lines out of order, sealed",
         [](std::vector<uint8_t>& ram) {
             PutWord(ram, LabelAddress("program"), 50);
             Reseal(ram);
         },
         "MEMORY CLEA", false},
        {"a control byte in a line, sealed",
         [](std::vector<uint8_t>& ram) {
             ram[LabelAddress("program") + 4 - 0x8000] = 0x07;
             Reseal(ram);
         },
         "MEMORY CLEA", false},
        {"a byte above the tokens in a line, sealed",
         [](std::vector<uint8_t>& ram) {
             ram[LabelAddress("program") + 4 - 0x8000] = 0xFE;
             Reseal(ram);
         },
         "MEMORY CLEA", false},
        {"limbs FFFF, sealed", [](std::vector<uint8_t>& ram) { PutA(ram, 0x80, 0xFFFF, 0xFFFF, 0xFFFF), Reseal(ram); },
         "VARIABLES C", true},
        {"exponent 7FFF, sealed", [](std::vector<uint8_t>& ram) { PutA(ram, 0x7FFF, 0, 0, 5), Reseal(ram); },
         "VARIABLES C", true},
        {"an exponent with a zero coefficient, sealed",
         [](std::vector<uint8_t>& ram) { PutA(ram, 0x7E, 0, 0, 0), Reseal(ram); }, "VARIABLES C", true},
        {"a trailing zero of a fraction, sealed",
         [](std::vector<uint8_t>& ram) { PutA(ram, 0x7E, 0, 0, 50), Reseal(ram); }, "VARIABLES C", true},
        {"a token in the history, sealed",
         [](std::vector<uint8_t>& ram) {
             ram[LabelAddress("history") + 1 - 0x8000] = 0x80;
             Reseal(ram);
         },
         "VARIABLES C", true},
        {"B's first word 0000 made FFFF in a first version's image, whose sum sees no change",
         [](std::vector<uint8_t>& ram) {
             Reseal(ram, true);
             const uint16_t b = LabelAddress("vars") + 8;
             EXPECT_EQ(WordAt(ram, b), 0);
             PutWord(ram, b, 0xFFFF);
             EXPECT_EQ(OnesSum(ram, LabelAddress("answer"), LabelAddress("varsend")), WordAt(ram, LabelAddress("keptsum")));
         },
         "VARIABLES C", true},
        {"a first version's image", [](std::vector<uint8_t>& ram) { Reseal(ram, true); }, "", true},
    };
    for (const Case& c : cases) {
        FirmwareFolder folder;
        folder.RunFirmware(PowerOn + Enter("10 PRINT A") + Enter("20 A=A+1") + Enter("A=5") + "save\n");
        std::vector<uint8_t> ram = folder.Read("ram.bin");
        c.change(ram);
        folder.Write("ram.bin", ram);
        const auto screens = folder.ScreensOf(PowerOn + "lcd\n" + Enter("LIST") + "lcd\n" + Clear + Enter("A/2") +
                                              "lcd\n" + Enter("PRINT A") + "lcd\n");
        ASSERT_EQ(screens.size(), 4u) << c.name;
        EXPECT_EQ(screens[0].text.substr(0, std::string(c.message).size()), c.message) << c.name;
        EXPECT_EQ(Trimmed(screens[1].text), c.programKept ? "10 PRINT A" : "") << c.name;
        EXPECT_EQ(Trimmed(screens[2].text), *c.message ? "0" : "2.5") << c.name;
        EXPECT_EQ(Trimmed(screens[3].text), *c.message ? "0" : "5") << c.name;
    }
}

// A session to damage: a program, numbers of every form, a history.
std::vector<uint8_t> SessionImage() {
    FirmwareFolder folder;
    folder.RunFirmware(PowerOn + Enter("10 FOR I=1 TO 3") + Enter("20 PRINT A;I") + Enter("30 A=A/2+I:B=SQR(A)") +
                       Enter("40 NEXT I") + Enter("50 IF A<9 THEN 20") + Enter("A=5.25:B=-1E-50:C=123456789012") +
                       Enter("D=1.5E80:E=-7:F=PI") + Enter("X=RND") + "save\n");
    return folder.Read("ram.bin");
}

// The changes the fuzz makes to a session's image, or the image it makes.
std::vector<uint8_t> Fuzzed(const std::vector<uint8_t>& session, std::mt19937& random) {
    std::vector<uint8_t> ram = session;
    const auto in = [&](uint16_t from, uint16_t to) { return uint16_t(from + random() % (to - from)); };
    const uint16_t kept = LabelAddress("answer"), end = LabelAddress("progtop");
    switch (random() % 6) {
    case 0:  // bytes changed anywhere it keeps
        for (int n = 1 + random() % 3; n > 0; --n) ram[in(kept, end) - 0x8000] = uint8_t(random());
        break;
    case 1: {  // two words swapped
        const uint16_t a = in(kept, end) & ~1, b = in(kept, end) & ~1;
        const uint16_t first = WordAt(ram, a);
        PutWord(ram, a, WordAt(ram, b));
        PutWord(ram, b, first);
        break;
    }
    case 2:  // numbers of no form
        for (int n = 1 + random() % 4; n > 0; --n) {
            const uint16_t words[] = {0, 0x7FFF, 0xFFFF, 0x8000, 9999, 10000, uint16_t(random()), uint16_t(0x80 + random() % 256 - 128)};
            PutWord(ram, in(kept, LabelAddress("varsend")) & ~1, words[random() % std::size(words)]);
        }
        break;
    case 3:  // history bytes of any value, with any length
        for (int n = 1 + random() % 4; n > 0; --n)
            ram[in(LabelAddress("histbytes"), LabelAddress("vars")) - 0x8000] = uint8_t(random());
        break;
    case 4:  // a line's bytes, length and number
        for (int n = 1 + random() % 3; n > 0; --n) ram[in(LabelAddress("program"), LabelAddress("program") + 40) - 0x8000] = uint8_t(random());
        break;
    default:  // garbage under our signature
        for (uint16_t a = kept; a < end; ++a) ram[a - 0x8000] = uint8_t(random());
        PutWord(ram, LabelAddress("progend"), in(LabelAddress("program") - 8, end + 8));
        break;
    }
    const unsigned sealing = random() % 8;  // mostly sealed, a few under version 1's sums, a few not
    if (sealing < 6) Reseal(ram);
    if (sealing == 6) Reseal(ram, true);
    return ram;
}

// Images damaged at random, most of them sealed as the firmware seals,
// each booted and driven by one script: no trap, no hang, no write outside
// RAM, the display and the ports, the stack where it belongs, and the
// machine answers at the end. VEXAL_RAM_FUZZ_IMAGES and _SEED run more
// (tools/ram-fuzz.sh).
TEST(Firmware, RamFuzz) {
    const char* count = std::getenv("VEXAL_RAM_FUZZ_IMAGES");
    const char* seed = std::getenv("VEXAL_RAM_FUZZ_SEED");
    const int images = count ? std::atoi(count) : 50;
    std::mt19937 random(seed ? unsigned(std::atoi(seed)) : 26u);
    const std::vector<uint8_t> session = SessionImage();
    // A write outside lands in the one sink cell, which a poke of ROM sets
    // first; an idle that finds the processor still running is a hang.
    const std::string sentinel = "5AA5";
    const std::string wait = "idle 1000\nlcd\n";
    const std::string script = "poke 7FFE " + sentinel + "\n" + wait + Enter("PRINT A") + "lcd\n" + Execute + wait +
                               Enter("A/2") + "lcd\n" + Press(KeyOlder) + Press(KeyOlder) + Execute + wait + Clear +
                               wait + Enter("LIST") + "lcd\n" + Execute + wait + Clear + Enter("RUN") + "tick 100\n" +
                               Clear + wait + Clear + wait + Clear + Enter("1+1") + "lcd\n";
    size_t shown = 0;  // screens an image shows
    for (size_t at = script.find("lcd\n"); at != std::string::npos; at = script.find("lcd\n", at + 1)) ++shown;
    FirmwareFolder folder;
    for (int batch = 0; batch < images; batch += 25) {
        std::string all;
        std::vector<std::vector<uint8_t>> made;
        for (int i = batch; i < std::min(images, batch + 25); ++i) {
            made.push_back(Fuzzed(session, random));
            all += "load 8000";
            for (uint16_t a = 0x8000; a < 0x8800; a += 2) {
                char word[8];
                std::snprintf(word, sizeof word, " %X", WordAt(made.back(), a));
                all += word;
            }
            all += "\nreset\n" + script + "snapshot s" + std::to_string(i) + ".vxs\n";
        }
        const CliResult result = folder.RunFirmware(all);
        const auto screens = Screens(result);
        ASSERT_EQ(screens.size(), made.size() * shown) << result.out;
        for (size_t i = 0; i < made.size(); ++i) {
            const size_t image = size_t(batch) + i;
            EXPECT_EQ(Trimmed(screens[(i + 1) * shown - 1].text), "2") << "image " << image;
            for (size_t s = i * shown; s < (i + 1) * shown; ++s)
                EXPECT_EQ(screens[s].text.find("TRAP"), std::string::npos) << "image " << image << ", screen " << s;
            Machine machine;
            const std::vector<uint8_t> snapshot = folder.Read("s" + std::to_string(image) + ".vxs");
            ASSERT_EQ(DecodeSnapshot(snapshot, machine), "") << image;
            EXPECT_EQ(machine.SinkCell, std::stoi(sentinel, nullptr, 16)) << "image " << image << ": a write outside";
            EXPECT_GE(machine.Reg[SP], LabelAddress("workend")) << image;
            EXPECT_LE(machine.Reg[SP], LabelAddress("stacktop")) << image;
            EXPECT_FALSE(machine.Psw & HaltModeBit) << image;
        }
        EXPECT_EQ(result.out.find("still running"), std::string::npos) << "a hang:\n" << result.out.substr(0, 4000);
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
