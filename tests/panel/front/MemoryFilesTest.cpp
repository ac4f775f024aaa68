#include "panel/MemoryFiles.h"

#include "tests/support/TempFolder.h"
#include "core/Def.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>

namespace {

// How a test lays out one image file.
enum class FileKind { Missing, Short, Exact, Long, Folder, Pipe };

void Prepare(const TempFolder& folder, const std::string& name, FileKind kind, size_t size, uint8_t seed) {
    switch (kind) {
    case FileKind::Missing: break;
    case FileKind::Short: folder.Write(name, Pattern(100, seed)); break;
    case FileKind::Exact: folder.Write(name, Pattern(size, seed)); break;
    case FileKind::Long: folder.Write(name, Pattern(2 * size, seed)); break;
    case FileKind::Folder: std::filesystem::create_directory(folder.path() / name); break;
    case FileKind::Pipe: mkfifo((folder / name).c_str(), 0600); break;
    }
}

// The bytes a file of that kind leaves in memory that started as zeros.
std::vector<uint8_t> Expected(FileKind kind, size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size, 0);
    if (kind == FileKind::Short) std::memcpy(bytes.data(), Pattern(100, seed).data(), 100);
    if (kind == FileKind::Exact || kind == FileKind::Long) bytes = Pattern(size, seed);
    return bytes;
}

struct LoadCase {
    FileKind rom, ram;
    std::vector<std::string> warnings;
    RamImageState ramState;
};

TEST(MemoryFiles, EachImageMissingShortExactLongOrUnreadable) {
    const std::string romWarning = "Failed to load the file rom.bin";
    const std::string ramWarning = "Failed to load the file ram.bin";
    const LoadCase cases[] = {
        {FileKind::Missing, FileKind::Missing, {romWarning}, RamImageState::Missing},
        {FileKind::Exact, FileKind::Exact, {}, RamImageState::Loaded},
        {FileKind::Short, FileKind::Short, {}, RamImageState::Loaded},
        {FileKind::Long, FileKind::Long, {}, RamImageState::Loaded},
        {FileKind::Missing, FileKind::Exact, {romWarning}, RamImageState::Loaded},
        // An unreadable ROM image must not keep the RAM image from loading:
        // the RAM is written back at exit and would lose the user's data.
        {FileKind::Folder, FileKind::Exact, {romWarning}, RamImageState::Loaded},
        {FileKind::Exact, FileKind::Folder, {ramWarning}, RamImageState::Unreadable},
        {FileKind::Folder, FileKind::Folder, {romWarning, ramWarning}, RamImageState::Unreadable},
        {FileKind::Pipe, FileKind::Pipe, {romWarning, ramWarning}, RamImageState::Unreadable},
    };
    int index = 0;
    for (const LoadCase& c : cases) {
        SCOPED_TRACE("case " + std::to_string(index++));
        TempFolder folder;
        Prepare(folder, "rom.bin", c.rom, RomSize, 11);
        Prepare(folder, "ram.bin", c.ram, RamSize, 29);
        ClearMachine();
        std::vector<std::string> warnings;
        const RamImageState state = LoadMemoryImages(folder / "rom.bin", folder / "ram.bin",
                                                     [&](const std::string& m) { warnings.push_back(m); });
        EXPECT_EQ(warnings, c.warnings);
        EXPECT_EQ(state, c.ramState);
        EXPECT_EQ(std::vector<uint8_t>(Rom, Rom + RomSize), Expected(c.rom, RomSize, 11));
        EXPECT_EQ(std::vector<uint8_t>(Ram, Ram + RamSize), Expected(c.ram, RamSize, 29));
    }
}

TEST(MemoryFiles, SaveWritesExactlyTheRamEvenOverALongerImage) {
    TempFolder folder;
    folder.Write("ram.bin", Pattern(4096, 1));
    const std::vector<uint8_t> ram = Pattern(RamSize, 99);
    std::memcpy(Ram, ram.data(), RamSize);
    ASSERT_TRUE(SaveRam(folder / "ram.bin"));
    EXPECT_EQ(folder.Read("ram.bin"), ram);
    EXPECT_FALSE(std::filesystem::exists(RamTemporaryPath(folder / "ram.bin")));
}

TEST(MemoryFiles, SaveCreatesAMissingImage) {
    TempFolder folder;
    std::memset(Ram, 0x5A, RamSize);
    ASSERT_TRUE(SaveRam(folder / "ram.bin"));
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(RamSize, 0x5A));
}

TEST(MemoryFiles, AFailedSaveLeavesTheOldImageWhole) {
    TempFolder folder;
    const std::vector<uint8_t> old = Pattern(RamSize, 5);
    folder.Write("ram.bin", old);
    std::memset(Ram, 0xEE, RamSize);

    // The temporary file cannot be created.
    std::filesystem::create_directory(RamTemporaryPath(folder / "ram.bin"));
    EXPECT_FALSE(SaveRam(folder / "ram.bin"));
    EXPECT_EQ(folder.Read("ram.bin"), old);
    std::filesystem::remove(RamTemporaryPath(folder / "ram.bin"));

    // The disk fills up in the middle of the write: a file size limit makes
    // the write stop short, as a full disk would.
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 1000;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool saved_ok = SaveRam(folder / "ram.bin");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(folder.Read("ram.bin"), old);
    EXPECT_FALSE(std::filesystem::exists(RamTemporaryPath(folder / "ram.bin"))) << "no leftover";

    // The folder is gone.
    EXPECT_FALSE(SaveRam(folder / "gone/ram.bin"));
}

}  // namespace
