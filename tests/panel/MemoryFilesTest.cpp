#include "panel/MemoryFiles.h"

#include "core/Def.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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
        Mk = Machine{};
        std::vector<std::string> warnings;
        const RamImageState state = LoadMemoryImages(folder / "rom.bin", folder / "ram.bin",
                                                     [&](const std::string& m) { warnings.push_back(m); });
        EXPECT_EQ(warnings, c.warnings);
        EXPECT_EQ(state, c.ramState);
        EXPECT_EQ(std::vector<uint8_t>(Mk.Rom(), Mk.Rom() + RomSize), Expected(c.rom, RomSize, 11));
        EXPECT_EQ(std::vector<uint8_t>(Mk.Ram(), Mk.Ram() + RamSize), Expected(c.ram, RamSize, 29));
    }
}

TEST(MemoryFiles, SaveWritesExactlyTheRamEvenOverALongerImage) {
    TempFolder folder;
    folder.Write("ram.bin", Pattern(4096, 1));
    const std::vector<uint8_t> ram = Pattern(RamSize, 99);
    std::memcpy(Mk.Ram(), ram.data(), RamSize);
    ASSERT_EQ(SaveRam(folder / "ram.bin"), "");
    EXPECT_EQ(folder.Read("ram.bin"), ram);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no temporary left";
}

TEST(MemoryFiles, SaveCreatesAMissingImage) {
    TempFolder folder;
    std::memset(Mk.Ram(), 0x5A, RamSize);
    ASSERT_EQ(SaveRam(folder / "ram.bin"), "");
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(RamSize, 0x5A));
}

}  // namespace
