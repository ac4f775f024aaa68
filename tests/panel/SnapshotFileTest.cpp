// Snapshot files: a machine saved and loaded back through a file is the same
// machine; a file that is no snapshot this program can load is refused with
// the reason, and the machine stays as it was; a save that fails
// half-way leaves the previous file whole.
#include "panel/SnapshotFile.h"

#include "core/Crc32.h"
#include "core/Snapshot.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/MachineDifference.h"
#include "tests/support/RandomMachine.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace {

void SetChecksum(std::vector<uint8_t>& bytes) {
    const uint32_t crc = Crc32({bytes.data(), bytes.size() - 4});
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = uint8_t(crc >> (8 * i));
}

TEST(SnapshotFile, AMachineComesBackThroughAFile) {
    TempFolder folder;
    std::mt19937 rng(85);
    const Machine saved = RandomMachine(rng);
    ASSERT_EQ(SaveSnapshot(folder / "a.vxs", saved), "");
    EXPECT_EQ(folder.Read("a.vxs"), EncodeSnapshot(saved));
    Machine loaded = RandomMachine(rng);
    ASSERT_EQ(LoadSnapshot(folder / "a.vxs", loaded), "");
    EXPECT_EQ(FirstDifference(loaded, saved), "");
}

TEST(SnapshotFile, WhatIsNoSnapshotIsRefusedAndChangesNothing) {
    std::mt19937 rng(1);
    const std::vector<uint8_t> good = EncodeSnapshot(RandomMachine(rng));
    const std::string damaged = "it is damaged: its checksum does not match its contents";
    const std::string notOurs = "it is not a Vexal snapshot";
    struct Row {
        std::string what;
        std::function<void(const TempFolder&, const std::string& name)> make;
        std::string reason;
    };
    const auto bytes = [](std::vector<uint8_t> content) {
        return [content](const TempFolder& folder, const std::string& name) { folder.Write(name, content); };
    };
    const auto changed = [&good](const std::function<void(std::vector<uint8_t>&)>& change) {
        std::vector<uint8_t> content = good;
        change(content);
        return content;
    };
    std::vector<Row> rows = {
        {"missing", [](const TempFolder&, const std::string&) {}, "there is no such file"},
        {"empty", bytes({}), "the file is empty"},
        {"short by one byte", bytes({good.begin(), good.end() - 1}),
         "it is shorter than a snapshot (35013 bytes, not 35014)"},
        {"one byte too long", bytes(changed([](auto& b) { b.push_back(0); })),
         "it is longer than a snapshot (35015 bytes, not 35014)"},
        {"a folder", [](const TempFolder& f, const std::string& n) { std::filesystem::create_directory(f / n); },
         "it is a folder"},
        {"a pipe", [](const TempFolder& f, const std::string& n) { mkfifo((f / n).c_str(), 0600); },
         "it is not a plain file"},
        {"larger than any snapshot",
         [](const TempFolder& f, const std::string& n) {
             f.Write(n, {});
             std::filesystem::resize_file(f / n, 2 * MaxSnapshotBytes);
         },
         "it is larger than any snapshot"},
        {"a RAM image", bytes(Pattern(RamSize, 9)), notOurs},
        {"a bitmap's magic", bytes(changed([](auto& b) { b[0] = 'B'; b[1] = 'M'; })), notOurs},
        {"a newer version", bytes(changed([](auto& b) {
             b[8] = 2;
             SetChecksum(b);
         })),
         "it was made by a newer version of Vexal (snapshot format 2; this version reads formats up to 1)"},
        {"version 0", bytes(changed([](auto& b) {
             b[8] = 0;
             SetChecksum(b);
         })),
         damaged},
        {"a byte of RAM flipped", bytes(changed([](auto& b) { b[193 + RamStart] ^= 0xFF; })), damaged},
        {"the checksum flipped", bytes(changed([](auto& b) { b.back() ^= 0xFF; })), damaged},
    };
    for (size_t at = 0; at < 12; ++at)
        rows.push_back({"header byte " + std::to_string(at) + " flipped",
                        bytes(changed([at](auto& b) { b[at] ^= 0xFF; })), at < 8 ? notOurs : damaged});

    for (const Row& row : rows) {
        TempFolder folder;
        row.make(folder, "bad.vxs");
        const Machine before = RandomMachine(rng);
        Machine machine = before;
        EXPECT_EQ(LoadSnapshot(folder / "bad.vxs", machine), row.reason) << row.what;
        EXPECT_EQ(FirstDifference(machine, before), "") << row.what;
    }
}

TEST(SnapshotFile, AFailedSaveLeavesThePreviousSnapshotWhole) {
    TempFolder folder;
    std::mt19937 rng(3);
    const Machine first = RandomMachine(rng);
    ASSERT_EQ(SaveSnapshot(folder / "s.vxs", first), "");
    const std::vector<uint8_t> old = folder.Read("s.vxs");

    // The disk fills up in the middle of the write.
    const Machine second = RandomMachine(rng);
    std::string problem;
    {
        const FileSizeLimit diskFull(1000);
        problem = SaveSnapshot(folder / "s.vxs", second);
    }
    EXPECT_EQ(problem, "File too large");
    EXPECT_EQ(folder.Read("s.vxs"), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no leftover";

    EXPECT_EQ(SaveSnapshot(folder / "gone/s.vxs", first), "cannot reach its folder: No such file or directory");
}

}  // namespace
