#include "panel/MemoryFiles.h"

#include "core/Def.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_FALSE(std::filesystem::exists(RamTemporaryPath(folder / "ram.bin")));
}

TEST(MemoryFiles, SaveCreatesAMissingImage) {
    TempFolder folder;
    std::memset(Mk.Ram(), 0x5A, RamSize);
    ASSERT_EQ(SaveRam(folder / "ram.bin"), "");
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(RamSize, 0x5A));
}

struct stat StatusOf(const std::string& path) {
    struct stat status = {};
    ::lstat(path.c_str(), &status);
    return status;
}

// A file or folder with exactly these permission bits, whatever the umask.
void SetMode(const std::string& path, mode_t mode) { ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path; }

// The old image and the RAM of this session, different in every byte.
const std::vector<uint8_t> OldImage = Pattern(RamSize, 5);
const std::vector<uint8_t> SessionRam = Pattern(RamSize, 200);

void StartSession() { std::memcpy(Mk.Ram(), SessionRam.data(), RamSize); }

// No write bit means no: root, who may write anything, keeps the file too.
TEST(MemoryFiles, AWriteProtectedImageIsLeftAsItIs) {
    TempFolder folder;
    folder.Write("ram.bin", OldImage);
    SetMode(folder / "ram.bin", 0444);
    ASSERT_EQ(::symlink("ram.bin", (folder / "link.bin").c_str()), 0);
    StartSession();
    for (const char* name : {"ram.bin", "link.bin"}) {
        EXPECT_EQ(SaveRam(folder / name), "it is write-protected") << name;
        EXPECT_EQ(folder.Read("ram.bin"), OldImage) << name;
        EXPECT_EQ(StatusOf(folder / "ram.bin").st_mode & 07777, 0444u) << name;
        EXPECT_FALSE(folder.Exists("ram.bin.new")) << name;
    }
}

// The link stays, and its target gets the RAM, through a temporary file
// beside the target: nothing is left beside the link or the target.
TEST(MemoryFiles, ASymbolicLinkIsKeptAndItsTargetWritten) {
    struct LinkCase {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // name, what it points to
        std::string target;                                      // the file that gets the RAM
        bool targetExists = true;
    };
    TempFolder folder;
    const std::string absolute = folder / "data/absolute.bin";
    const LinkCase cases[] = {
        {"relative", {{"ram.bin", "data/real.bin"}}, "data/real.bin"},
        {"absolute", {{"ram.bin", absolute}}, "data/absolute.bin"},
        {"a chain", {{"ram.bin", "data/middle.bin"}, {"data/middle.bin", "end.bin"}}, "data/end.bin"},
        {"dangling", {{"ram.bin", "data/new.bin"}}, "data/new.bin", false},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder.path() / "data");
        std::filesystem::remove(folder.path() / "ram.bin");
        std::filesystem::create_directory(folder.path() / "data");
        if (c.targetExists) folder.Write(c.target, OldImage);
        for (const auto& [name, to] : c.links) ASSERT_EQ(::symlink(to.c_str(), (folder / name).c_str()), 0);

        StartSession();
        EXPECT_EQ(SaveRam(folder / "ram.bin"), "");
        EXPECT_EQ(folder.Read(c.target), SessionRam);
        for (const auto& [name, to] : c.links) EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / name)) << name;
        EXPECT_FALSE(folder.Exists("ram.bin.new"));
        EXPECT_FALSE(folder.Exists(c.target + ".new"));
    }

    // A loop of links leads to no file: nothing is written.
    std::filesystem::remove(folder.path() / "ram.bin");
    ASSERT_EQ(::symlink("loop.bin", (folder / "ram.bin").c_str()), 0);
    ASSERT_EQ(::symlink("ram.bin", (folder / "loop.bin").c_str()), 0);
    EXPECT_EQ(SaveRam(folder / "ram.bin"), "Too many levels of symbolic links");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "ram.bin"));
    EXPECT_FALSE(folder.Exists("ram.bin.new"));
}

// Where no new file can take the old one's place, the old one is written:
// the same file (the same inode) holds exactly the RAM afterwards.
TEST(MemoryFiles, WhereNoNewFileCanReplaceItTheImageIsWrittenInPlace) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "closed");
    folder.Write("closed/ram.bin", Pattern(2 * RamSize, 5));
    const ino_t inode = StatusOf(folder / "closed/ram.bin").st_ino;
    SetMode(folder / "closed", 0555);
    StartSession();
    EXPECT_EQ(SaveRam(folder / "closed/ram.bin"), "");
    EXPECT_EQ(SaveRam(folder / "closed/missing.bin"), "its folder is closed to writing");
    SetMode(folder / "closed", 0755);
    EXPECT_EQ(folder.Read("closed/ram.bin"), SessionRam);
    EXPECT_EQ(StatusOf(folder / "closed/ram.bin").st_ino, inode);
    EXPECT_FALSE(folder.Exists("closed/ram.bin.new"));
    EXPECT_FALSE(folder.Exists("closed/missing.bin"));

    // A file with a second name: both names see the new RAM.
    folder.Write("ram.bin", OldImage);
    ASSERT_EQ(::link((folder / "ram.bin").c_str(), (folder / "backup.bin").c_str()), 0);
    EXPECT_EQ(SaveRam(folder / "ram.bin"), "");
    EXPECT_EQ(folder.Read("ram.bin"), SessionRam);
    EXPECT_EQ(folder.Read("backup.bin"), SessionRam);
}

TEST(MemoryFiles, TheNewFileKeepsTheOldOnesPermissionsAndOwner) {
    TempFolder folder;
    folder.Write("ram.bin", OldImage);
    SetMode(folder / "ram.bin", 0660);  // group write, which the usual umask takes away
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? 4321 : ::geteuid();
    const gid_t group = root ? 4322 : ::getegid();
    if (root) {
        ASSERT_EQ(::chown((folder / "ram.bin").c_str(), owner, group), 0);
    }
    const ino_t inode = StatusOf(folder / "ram.bin").st_ino;

    StartSession();
    EXPECT_EQ(SaveRam(folder / "ram.bin"), "");
    EXPECT_EQ(folder.Read("ram.bin"), SessionRam);
    const struct stat saved = StatusOf(folder / "ram.bin");
    EXPECT_NE(saved.st_ino, inode) << "replaced through the temporary file";
    EXPECT_EQ(saved.st_mode & 07777, 0660u);
    EXPECT_EQ(saved.st_uid, owner);
    EXPECT_EQ(saved.st_gid, group);
}

TEST(MemoryFiles, AFailedSaveLeavesTheOldImageWhole) {
    TempFolder folder;
    const std::vector<uint8_t> old = Pattern(RamSize, 5);
    folder.Write("ram.bin", old);
    std::memset(Mk.Ram(), 0xEE, RamSize);

    // The temporary file cannot be created.
    std::filesystem::create_directory(RamTemporaryPath(folder / "ram.bin"));
    EXPECT_EQ(SaveRam(folder / "ram.bin"), "cannot create ram.bin.new beside it: Is a directory");
    EXPECT_EQ(folder.Read("ram.bin"), old);
    std::filesystem::remove(RamTemporaryPath(folder / "ram.bin"));

    // The disk fills up in the middle of the write.
    std::string problem;
    {
        const FileSizeLimit diskFull(1000);
        problem = SaveRam(folder / "ram.bin");
    }
    EXPECT_EQ(problem, "File too large");
    EXPECT_EQ(folder.Read("ram.bin"), old);
    EXPECT_FALSE(std::filesystem::exists(RamTemporaryPath(folder / "ram.bin"))) << "no leftover";

    // The folder is gone.
    EXPECT_EQ(SaveRam(folder / "gone/ram.bin"), "cannot reach its folder: No such file or directory");
}

}  // namespace
