// Snapshots: a machine saved to bytes and loaded back is the same machine,
// and runs on as the original does; the bytes are laid out as documented;
// values that no machine holds are refused even under a good checksum.
#include "core/Snapshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "cpu/Cpu.h"
#include "core/Crc32.h"
#include "tests/support/MachineDifference.h"
#include "tests/support/RandomMachine.h"

namespace {

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t at, size_t size) {
    return {bytes.begin() + long(at), bytes.begin() + long(at + size)};
}

// The published check value of CRC-32: the checksum of "123456789".
TEST(Snapshot, ChecksumIsCrc32) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc32({reinterpret_cast<const uint8_t*>(check.data()), check.size()}), 0xCBF43926u);
    EXPECT_EQ(Crc32({}), 0u);
}

TEST(Snapshot, RandomMachinesComeBackEqualAndRunOnAlike) {
    constexpr int Machines = 40;
    constexpr uint64_t Steps = 2000;
    std::mt19937 rng(17);
    for (int i = 0; i < Machines; ++i) {
        const Machine original = RandomMachine(rng);
        Machine loaded{};
        ASSERT_EQ(DecodeSnapshot(EncodeSnapshot(original), loaded), "") << "machine " << i;
        ASSERT_EQ(FirstDifference(loaded, original), "") << "machine " << i;

        Mk = original;
        CpuRun(UnlimitedBudget, Steps, -1);
        const Machine ranOriginal = Mk;
        Mk = loaded;
        CpuRun(UnlimitedBudget, Steps, -1);
        ASSERT_EQ(FirstDifference(Mk, ranOriginal), "") << "machine " << i;
    }
}

// The documented layout, so that a file saved today loads tomorrow: each row
// sets one member and finds its little-endian bytes at the documented place.
TEST(Snapshot, BytesLieWhereTheFormatSays) {
    struct Field {
        const char* what;
        size_t at;
        std::vector<uint8_t> bytes;
        std::function<void(Machine&)> set;
    };
    const Field fields[] = {
        {"R0", 12, {0x34, 0x12}, [](Machine& m) { m.Reg[0] = 0x1234; }},
        {"PC", 26, {0x02, 0x80}, [](Machine& m) { m.Reg[PC] = 0x8002; }},
        {"Psw", 28, {0x0F, 0x01}, [](Machine& m) { m.Psw = 0x010F; }},
        {"Cpc", 30, {0x01, 0x02}, [](Machine& m) { m.Cpc = 0x0201; }},
        {"Cps", 32, {0x03, 0x04}, [](Machine& m) { m.Cps = 0x0403; }},
        {"Opcode", 34, {0x05, 0x06}, [](Machine& m) { m.Opcode = 0x0605; }},
        {"Addr", 36, {0x07, 0x08}, [](Machine& m) { m.Addr = 0x0807; }},
        {"AddrMask", 38, {0xFE, 0xFF}, [](Machine& m) { m.AddrMask = 0xFFFE; }},
        {"KeyIn", 40, {0x09, 0x0A}, [](Machine& m) { m.KeyIn = 0x0A09; }},
        {"KeyOut", 42, {0x0B, 0x0C}, [](Machine& m) { m.KeyOut = 0x0C0B; }},
        {"CtrlPort", 44, {0x00, 0x05}, [](Machine& m) { m.CtrlPort = 0x0500; }},
        {"RamEnd", 46, {0xFF, 0x87}, [](Machine& m) { m.RamEnd = 0x87FF; }},
        {"Waiting", 48, {1}, [](Machine& m) { m.Waiting = true; }},
        {"HaltRequest", 49, {1}, [](Machine& m) { m.HaltRequest = true; }},
        {"StepFlag", 50, {1}, [](Machine& m) { m.StepFlag = true; }},
        {"TraceInhibit", 51, {1}, [](Machine& m) { m.TraceInhibit = true; }},
        {"MouseKey", 52, {38, 0, 0, 0}, [](Machine& m) { m.MouseKey = 38; }},
        {"PcKey", 56, {56, 0, 0, 0}, [](Machine& m) { m.PcKey = 56; }},
        {"ZeroCell", 60, {0x0D, 0x0E}, [](Machine& m) { m.ZeroCell = 0x0E0D; }},
        {"SinkCell", 62, {0x0F, 0x10}, [](Machine& m) { m.SinkCell = 0x100F; }},
        {"LcdRam[0]", 64, {0x11}, [](Machine& m) { m.LcdRam[0] = 0x11; }},
        {"LcdRam spare", 192, {0x12}, [](Machine& m) { m.LcdRam[LcdRamSize] = 0x12; }},
        {"ROM[0]", 193, {0x13}, [](Machine& m) { m.Memory[0] = 0x13; }},
        {"RAM[0]", 193 + 0x8000, {0x14}, [](Machine& m) { m.Memory[RamStart] = 0x14; }},
        {"Memory spare", 193 + MemorySize, {0x15}, [](Machine& m) { m.Memory[MemorySize] = 0x15; }},
    };
    const std::vector<uint8_t> fresh = EncodeSnapshot(Machine{});
    ASSERT_EQ(fresh.size(), 35014u);
    EXPECT_EQ(std::string(fresh.begin(), fresh.begin() + 12), std::string("VEXALSNP\1\0\0\0", 12));
    for (const Field& field : fields) {
        Machine machine{};
        field.set(machine);
        const std::vector<uint8_t> bytes = EncodeSnapshot(machine);
        ASSERT_EQ(bytes.size(), fresh.size()) << field.what;
        EXPECT_EQ(Slice(bytes, field.at, field.bytes.size()), field.bytes) << field.what;
        // Nothing else of the body changed; the checksum did.
        size_t changed = 0;
        for (size_t i = 0; i + 4 < bytes.size(); ++i) changed += bytes[i] != fresh[i];
        EXPECT_EQ(changed, size_t(std::count_if(field.bytes.begin(), field.bytes.end(), [](uint8_t b) { return b; })))
            << field.what;
        EXPECT_NE(Slice(bytes, bytes.size() - 4, 4), Slice(fresh, fresh.size() - 4, 4)) << field.what;
    }
}

// Under a good checksum, as a faulty writer would leave them.
TEST(Snapshot, ValuesNoMachineHoldsAreRefused) {
    const struct {
        size_t at;
        uint8_t value;
        std::string reason;
    } rows[] = {
        {48, 2, "it is damaged: Waiting is neither 0 nor 1"},
        {51, 0xFF, "it is damaged: TraceInhibit is neither 0 nor 1"},
        {52, 57, "it is damaged: MouseKey holds no key index"},
        {59, 0x80, "it is damaged: PcKey holds no key index"},  // negative
    };
    std::mt19937 rng(5);
    const Machine original = RandomMachine(rng);
    for (const auto& row : rows) {
        std::vector<uint8_t> bytes = EncodeSnapshot(Machine{});
        bytes[row.at] = row.value;
        const uint32_t crc = Crc32({bytes.data(), bytes.size() - 4});
        for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = uint8_t(crc >> (8 * i));
        Machine machine = original;
        EXPECT_EQ(DecodeSnapshot(bytes, machine), row.reason);
        EXPECT_EQ(FirstDifference(machine, original), "") << row.reason;
    }
}

}  // namespace
