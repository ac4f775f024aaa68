#include "panel/RunFolder.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

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
