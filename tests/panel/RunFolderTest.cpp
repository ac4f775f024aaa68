#include "core/Def.h"
#include "panel/RamLock.h"
#include "panel/RunFolder.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

namespace {

namespace fs = std::filesystem;

std::string Text(const TempFolder& folder, const std::string& name) {
    const std::vector<uint8_t> bytes = folder.Read(name);
    return {bytes.begin(), bytes.end()};
}

TEST(RunFolder, PreparingCopiesWhatIsMissingAndNeverReplacesTheUsersFiles) {
    TempFolder shipped, user;
    for (const char* name : ShippedFiles) shipped.WriteText(name, std::string("shipped ") + name);
    const fs::path folder = user.path() / "new" / "vexal";
    EXPECT_TRUE(PrepareRunFolder(shipped.path(), folder).empty());
    for (const std::string name : ShippedFiles) EXPECT_EQ(Text(user, "new/vexal/" + name), "shipped " + name);

    // The user's own settings, a link to a picture not there yet, and a ROM
    // image deleted to get the shipped one back.
    user.WriteText("new/vexal/vexal.ini", "mine");
    fs::remove(folder / "face.bmp");
    fs::create_symlink("elsewhere/face.bmp", folder / "face.bmp");
    fs::remove(folder / "rom.bin");
    EXPECT_TRUE(PrepareRunFolder(shipped.path(), folder).empty());
    EXPECT_EQ(Text(user, "new/vexal/vexal.ini"), "mine");
    EXPECT_EQ(fs::read_symlink(folder / "face.bmp"), "elsewhere/face.bmp");
    EXPECT_EQ(Text(user, "new/vexal/rom.bin"), "shipped rom.bin");

    // An installation without its pictures says which file it could not copy.
    fs::remove(shipped.path() / "keys.bmp");
    fs::remove(folder / "keys.bmp");
    const std::vector<std::string> problems = PrepareRunFolder(shipped.path(), folder);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("keys.bmp"), std::string::npos) << problems[0];

    user.WriteText("a file", "");
    EXPECT_EQ(PrepareRunFolder(shipped.path(), user.path() / "a file" / "vexal").size(), 1u);
}

// A ROM image as the user left it after the first preparation, and what the
// next preparation, from an installation with a new ROM, leaves there.
TEST(RunFolder, AnUpdateReachesOnlyTheFilesTheUserLeftAsTheyWereCopied) {
    struct Case {
        const char* what;
        std::optional<std::string> before;  // the user's own, there before the first preparation
        std::optional<std::string> after;   // written by the user after it; "" removes the file
        bool link;                          // the user made it a link
        bool damagedManifest;
        std::string expected;
    };
    const Case cases[] = {
        {"left as copied", {}, {}, false, false, "v2"},
        {"changed by the user", {}, "mine", false, false, "mine"},
        {"changed, then put back as it was", {}, "v1", false, false, "v2"},
        {"removed by the user", {}, "", false, false, "v2"},
        {"made a link by the user", {}, {}, true, false, "link"},
        {"the user's own before preparing", "mine", {}, false, false, "mine"},
        {"the user's own, the same as ours", "v1", {}, false, false, "v2"},
        {"left as copied, the record damaged", {}, {}, false, true, "v1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder shipped, user;
        for (const char* name : ShippedFiles) shipped.WriteText(name, std::string("v1 ") + name);
        shipped.WriteText("rom.bin", "v1");
        const fs::path folder = user.path() / "vexal";
        fs::create_directory(folder);
        if (c.before) user.WriteText("vexal/rom.bin", *c.before);
        EXPECT_TRUE(PrepareRunFolder(shipped.path(), folder).empty());
        if (c.after && c.after->empty()) fs::remove(folder / "rom.bin");
        else if (c.after) user.WriteText("vexal/rom.bin", *c.after);
        if (c.link) {
            fs::remove(folder / "rom.bin");
            fs::create_symlink(shipped.path() / "rom.bin", folder / "rom.bin");
        }
        if (c.damagedManifest) user.WriteText(std::string("vexal/") + ShippedManifestName, "rom.bin 12\n");

        shipped.WriteText("rom.bin", "v2");
        EXPECT_TRUE(PrepareRunFolder(shipped.path(), folder).empty());
        EXPECT_EQ(fs::is_symlink(folder / "rom.bin") ? "link" : Text(user, "vexal/rom.bin"), c.expected);
        for (const std::string name : ShippedFiles) {
            if (name == "rom.bin") continue;
            EXPECT_EQ(Text(user, "vexal/" + name), "v1 " + name) << "the others unchanged";
        }

        // The record follows each replacement: a third version reaches a
        // file the second was copied into.
        shipped.WriteText("rom.bin", "v3");
        EXPECT_TRUE(PrepareRunFolder(shipped.path(), folder).empty());
        if (c.expected == "v2") {
            EXPECT_EQ(Text(user, "vexal/rom.bin"), "v3");
        }
    }
}

// The lock is the kernel's: a second holder is refused, even in the same
// process, and the lock is free again once the first is gone.
TEST(RunFolder, OneRamImageHasOneOwnerAtATime) {
    TempFolder folder;
    const fs::path image = folder / "ram.bin";
    const std::string inUse = folder.path().string() + " is in use by process " + std::to_string(getpid());
    std::optional<RamLock> first(std::in_place);
    EXPECT_EQ(first->Take(image), "");
    EXPECT_TRUE(first->Held());
    EXPECT_TRUE(fs::exists(folder / "ram.bin.lock"));
    EXPECT_FALSE(fs::exists(image)) << "the image is the user's to write";
    RamLock second;
    EXPECT_EQ(second.Take(image), inUse);
    EXPECT_FALSE(second.Held());
    EXPECT_EQ(second.Take(folder.path() / "." / "ram.bin"), inUse) << "under any name";
    RamLock other;
    EXPECT_EQ(other.Take(folder / "other.bin"), "");
    first.reset();
    EXPECT_EQ(second.Take(image), "");
    EXPECT_TRUE(second.Held());

    // A folder that takes no new file: the image itself is locked. (Root
    // writes anywhere, so there the lock file is made all the same.)
    TempFolder shut;
    shut.Write("ram.bin", std::vector<uint8_t>(RamSize, 1));
    ASSERT_EQ(chmod(shut.path().c_str(), 0555), 0);
    RamLock inside, again;
    EXPECT_EQ(inside.Take(shut / "ram.bin"), "");
    EXPECT_EQ(again.Take(shut / "ram.bin"),
              shut.path().string() + " is in use by process " + std::to_string(getpid()));
    EXPECT_EQ(fs::exists(shut / "ram.bin.lock"), geteuid() == 0);
    ASSERT_EQ(chmod(shut.path().c_str(), 0755), 0);
}

TEST(RunFolder, AFolderToRunInMustBeAFolderThatExists) {
    TempFolder folder;
    folder.WriteText("file", "");
    for (const bool mayBeCreated : {false, true}) {
        EXPECT_EQ(RunFolderProblem(folder.path(), mayBeCreated), "");
        EXPECT_EQ(RunFolderProblem(folder / "none", mayBeCreated),
                  mayBeCreated ? "" : "the folder " + folder / "none" + " does not exist");
        EXPECT_EQ(RunFolderProblem(folder / "file", mayBeCreated), folder / "file" + " is not a folder");
    }
}

// What a window warns about, named where a user can find it, and nothing
// once the folder is prepared.
TEST(RunFolder, TheMissingFilesAreNamedByTheirFullPaths) {
    TempFolder shipped, user;
    for (const char* name : ShippedFiles) shipped.WriteText(name, name);
    fs::create_directory(user.path() / "run");
    fs::create_symlink("nowhere.bmp", user.path() / "run" / "face.bmp");
    const fs::path previous = fs::current_path();
    fs::current_path(user.path());
    const std::vector<fs::path> missing = MissingRunFiles("run/./");
    fs::current_path(previous);
    EXPECT_EQ(missing, (std::vector<fs::path>{user.path() / "run/rom.bin", user.path() / "run/face.bmp",
                                              user.path() / "run/keys.bmp"}));

    fs::remove(user.path() / "run" / "face.bmp");
    EXPECT_TRUE(PrepareRunFolder(shipped.path(), user.path() / "run").empty());
    EXPECT_TRUE(MissingRunFiles(user.path() / "run").empty());
}

// Sets an environment variable, or unsets it for nothing, until the end of
// the scope.
class Environment {
public:
    Environment(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }
    ~Environment() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(RunFolder, TheUsersFolderIsUnderTheirDataHome) {
    struct Case {
        std::optional<std::string> dataHome, home;
        std::string folder;
    };
    const Case cases[] = {
        {"/data", "/home/u", "/data/vexal"},
        {"relative", "/home/u", "/home/u/.local/share/vexal"},
        {"", "/home/u", "/home/u/.local/share/vexal"},
        {std::nullopt, "/home/u", "/home/u/.local/share/vexal"},
        {std::nullopt, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const Environment dataHome("XDG_DATA_HOME", c.dataHome);
        const Environment home("HOME", c.home);
        EXPECT_EQ(UserRunFolder(), c.folder) << c.dataHome.value_or("(unset)");
    }
}

}  // namespace
