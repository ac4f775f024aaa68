// Replacing a file: the new bytes all in place or the old file whole, the
// file's links, permissions and owner kept, and nothing left beside it.
#include "files/ReplaceFile.h"

#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <set>

namespace {

constexpr size_t Size = 2048;

// The old file and the new bytes, different in every byte.
const std::vector<uint8_t> OldBytes = Pattern(Size, 5);
const std::vector<uint8_t> NewBytes = Pattern(Size, 200);

std::string Replace(const std::string& path) { return ReplaceFile(path, NewBytes.data(), NewBytes.size()); }

struct stat StatusOf(const std::string& path) {
    struct stat status = {};
    ::lstat(path.c_str(), &status);
    return status;
}

// A file or folder with exactly these permission bits, whatever the umask.
void SetMode(const std::string& path, mode_t mode) { ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path; }

// Every name in the folder and its subfolders, to see that no temporary file
// is left behind.
std::set<std::string> Names(const TempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path()))
        names.insert(entry.path().lexically_relative(folder.path()).string());
    return names;
}

// A process that may open no more files, for as long as the value lives.
class OpenFileLimit {
public:
    OpenFileLimit() {
        getrlimit(RLIMIT_NOFILE, &saved_);
        // The lowest free descriptor is the one the next open would take.
        const int next = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        ::close(next);
        rlimit limit = saved_;
        limit.rlim_cur = rlim_t(next);
        setrlimit(RLIMIT_NOFILE, &limit);
    }
    ~OpenFileLimit() { setrlimit(RLIMIT_NOFILE, &saved_); }
    OpenFileLimit(const OpenFileLimit&) = delete;
    OpenFileLimit& operator=(const OpenFileLimit&) = delete;

private:
    rlimit saved_{};
};

// No write bit means no: root, who may write anything, keeps the file too.
TEST(ReplaceFile, AWriteProtectedFileIsLeftAsItIs) {
    TempFolder folder;
    folder.Write("ram.bin", OldBytes);
    SetMode(folder / "ram.bin", 0444);
    ASSERT_EQ(::symlink("ram.bin", (folder / "link.bin").c_str()), 0);
    const std::set<std::string> before = Names(folder);
    for (const char* name : {"ram.bin", "link.bin"}) {
        EXPECT_EQ(Replace(folder / name), "it is write-protected") << name;
        EXPECT_EQ(folder.Read("ram.bin"), OldBytes) << name;
        EXPECT_EQ(StatusOf(folder / "ram.bin").st_mode & 07777, 0444u) << name;
        EXPECT_EQ(Names(folder), before) << name;
    }
}

// The link stays, and its target gets the bytes, through a temporary file
// beside the target: nothing is left beside the link or the target.
TEST(ReplaceFile, ASymbolicLinkIsKeptAndItsTargetWritten) {
    struct LinkCase {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // name, what it points to
        std::string target;                                      // the file that gets the bytes
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
        if (c.targetExists) folder.Write(c.target, OldBytes);
        for (const auto& [name, to] : c.links) ASSERT_EQ(::symlink(to.c_str(), (folder / name).c_str()), 0);
        std::set<std::string> expected = Names(folder);
        expected.insert(c.target);

        EXPECT_EQ(Replace(folder / "ram.bin"), "");
        EXPECT_EQ(folder.Read(c.target), NewBytes);
        for (const auto& [name, to] : c.links) EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / name)) << name;
        EXPECT_EQ(Names(folder), expected);
    }

    // A loop of links leads to no file: nothing is written.
    std::filesystem::remove(folder.path() / "ram.bin");
    ASSERT_EQ(::symlink("loop.bin", (folder / "ram.bin").c_str()), 0);
    ASSERT_EQ(::symlink("ram.bin", (folder / "loop.bin").c_str()), 0);
    const std::set<std::string> before = Names(folder);
    EXPECT_EQ(Replace(folder / "ram.bin"), "Too many levels of symbolic links");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "ram.bin"));
    EXPECT_EQ(Names(folder), before);
}

// Where no new file can take the old one's place, the old one is written:
// the same file (the same inode) holds exactly the new bytes afterwards.
TEST(ReplaceFile, WhereNoNewFileCanReplaceItTheFileIsWrittenInPlace) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "closed");
    folder.Write("closed/ram.bin", Pattern(2 * Size, 5));
    const ino_t inode = StatusOf(folder / "closed/ram.bin").st_ino;
    const std::set<std::string> before = Names(folder);
    SetMode(folder / "closed", 0555);
    EXPECT_EQ(Replace(folder / "closed/ram.bin"), "");
    EXPECT_EQ(Replace(folder / "closed/missing.bin"), "its folder is closed to writing");
    SetMode(folder / "closed", 0755);
    EXPECT_EQ(folder.Read("closed/ram.bin"), NewBytes);
    EXPECT_EQ(StatusOf(folder / "closed/ram.bin").st_ino, inode);
    EXPECT_EQ(Names(folder), before);

    // A file with a second name: both names see the new bytes.
    folder.Write("ram.bin", OldBytes);
    ASSERT_EQ(::link((folder / "ram.bin").c_str(), (folder / "backup.bin").c_str()), 0);
    EXPECT_EQ(Replace(folder / "ram.bin"), "");
    EXPECT_EQ(folder.Read("ram.bin"), NewBytes);
    EXPECT_EQ(folder.Read("backup.bin"), NewBytes);
}

TEST(ReplaceFile, TheNewFileKeepsTheOldOnesPermissionsAndOwner) {
    TempFolder folder;
    folder.Write("ram.bin", OldBytes);
    SetMode(folder / "ram.bin", 0660);  // group write, which the usual umask takes away
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? 4321 : ::geteuid();
    const gid_t group = root ? 4322 : ::getegid();
    if (root) {
        ASSERT_EQ(::chown((folder / "ram.bin").c_str(), owner, group), 0);
    }
    const ino_t inode = StatusOf(folder / "ram.bin").st_ino;

    EXPECT_EQ(Replace(folder / "ram.bin"), "");
    EXPECT_EQ(folder.Read("ram.bin"), NewBytes);
    const struct stat saved = StatusOf(folder / "ram.bin");
    EXPECT_NE(saved.st_ino, inode) << "replaced through the temporary file";
    EXPECT_EQ(saved.st_mode & 07777, 0660u);
    EXPECT_EQ(saved.st_uid, owner);
    EXPECT_EQ(saved.st_gid, group);
}

TEST(ReplaceFile, AFailedWriteLeavesTheOldFileWholeAndNothingBeside) {
    TempFolder folder;
    folder.Write("ram.bin", OldBytes);
    const std::set<std::string> before = Names(folder);

    // The temporary file cannot be created.
    std::string problem;
    {
        const OpenFileLimit noMoreFiles;
        problem = Replace(folder / "ram.bin");
    }
    EXPECT_EQ(problem, "cannot create a temporary file beside it: Too many open files");
    EXPECT_EQ(folder.Read("ram.bin"), OldBytes);
    EXPECT_EQ(Names(folder), before);

    // The disk fills up in the middle of the write.
    {
        const FileSizeLimit diskFull(1000);
        problem = Replace(folder / "ram.bin");
    }
    EXPECT_EQ(problem, "File too large");
    EXPECT_EQ(folder.Read("ram.bin"), OldBytes);
    EXPECT_EQ(Names(folder), before) << "no leftover";

    // The folder is gone.
    EXPECT_EQ(Replace(folder / "gone/ram.bin"), "cannot reach its folder: No such file or directory");
    EXPECT_EQ(Names(folder), before);
}

// The temporary file is a hidden name of its own beside the target, created
// where no file is: a file named as another file's temporary could be (the
// source "prog.bin.new" of "prog.bin"), or an output that other one replaces
// at the same time, keeps what it holds. Several replacements wait together,
// each in its own temporary file, and nothing is left once they are in.
TEST(ReplaceFile, TheTemporaryFileIsANewNameOfItsOwn) {
    struct Case {
        const char* what;
        std::vector<std::string> present;  // files there before, each keeping its bytes
        std::vector<std::string> targets;  // replaced together, in this order
    };
    const Case cases[] = {
        {"a file named as the target with .new", {"prog.bin.new"}, {"prog.bin"}},
        {"the target and another with .new, together", {"x"}, {"x.new", "x"}},
        {"the other order", {"x.new"}, {"x", "x.new"}},
        {"a new file beside another", {"ram.bin"}, {"rom.bin"}},
    };
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        for (size_t i = 0; i < c.present.size(); ++i) folder.Write(c.present[i], Pattern(100, uint8_t(i + 1)));
        std::set<std::string> after = Names(folder);
        after.insert(c.targets.begin(), c.targets.end());

        std::vector<std::vector<uint8_t>> bytes;
        for (size_t i = 0; i < c.targets.size(); ++i) bytes.push_back(Pattern(Size, uint8_t(50 + i)));
        std::vector<std::unique_ptr<FileReplacement>> pending;
        for (size_t i = 0; i < c.targets.size(); ++i)
            pending.push_back(std::make_unique<FileReplacement>(folder / c.targets[i], bytes[i].data(), Size));
        // One hidden temporary file for each target, beside the files there.
        EXPECT_EQ(Names(folder).size(), c.present.size() + c.targets.size());
        for (const std::string& target : c.targets)
            EXPECT_EQ(std::ranges::count_if(Names(folder),
                                            [&](const std::string& name) {
                                                return name.starts_with("." + target + ".") &&
                                                       name.size() == target.size() + 8;
                                            }),
                      1)
                << target;

        for (auto& replacement : pending) EXPECT_EQ(replacement->Commit(), "");
        pending.clear();
        EXPECT_EQ(Names(folder), after);
        for (size_t i = 0; i < c.present.size(); ++i) {
            if (std::ranges::find(c.targets, c.present[i]) == c.targets.end()) {
                EXPECT_EQ(folder.Read(c.present[i]), Pattern(100, uint8_t(i + 1))) << c.present[i];
            }
        }
        for (size_t i = 0; i < c.targets.size(); ++i) {
            EXPECT_EQ(folder.Read(c.targets[i]), bytes[i]) << c.targets[i];
            if (std::ranges::find(c.present, c.targets[i]) == c.present.end()) {
                EXPECT_EQ(StatusOf(folder / c.targets[i]).st_mode & 07777, 0644u & ~mask) << "a new file, as usual";
            }
        }
    }
}

// A replacement never committed leaves the old file and nothing else.
TEST(ReplaceFile, AReplacementNotCommittedLeavesNothing) {
    TempFolder folder;
    folder.Write("ram.bin", OldBytes);
    const std::set<std::string> before = Names(folder);
    {
        const FileReplacement replacement(folder / "ram.bin", NewBytes.data(), NewBytes.size());
        EXPECT_EQ(replacement.Problem(), "");
        EXPECT_EQ(Names(folder).size(), before.size() + 1);
    }
    EXPECT_EQ(Names(folder), before);
    EXPECT_EQ(folder.Read("ram.bin"), OldBytes);
}

// A new file takes only a free name, whole, and leaves whatever has the name
// as it is: a file, a folder, a symbolic link even where it leads nowhere.
TEST(ReplaceFile, ANewFileTakesOnlyAFreeName) {
    struct Case {
        const char* what;
        std::string name;
        bool taken;
        std::string problem;
    };
    const Case cases[] = {
        {"a free name", "free.png", false, ""},
        {"a file's", "file.png", true, "File exists"},
        {"a folder's", "folder", true, "File exists"},
        {"a dangling link's", "dangling.png", true, "File exists"},
        {"in a folder that is not there", "gone/new.png", false, "cannot reach its folder: No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        folder.Write("file.png", OldBytes);
        std::filesystem::create_directory(folder.path() / "folder");
        ASSERT_EQ(::symlink("nowhere.png", (folder / "dangling.png").c_str()), 0);
        std::set<std::string> after = Names(folder);
        if (c.problem.empty()) after.insert(c.name);

        bool taken = !c.taken;
        EXPECT_EQ(CreateNewFile(folder / c.name, NewBytes.data(), NewBytes.size(), taken), c.problem);
        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(Names(folder), after);
        EXPECT_EQ(folder.Read("file.png"), OldBytes);
        if (c.problem.empty()) {
            EXPECT_EQ(folder.Read(c.name), NewBytes);
        }
    }
}

}  // namespace
