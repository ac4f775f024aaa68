// The program vexal started as a user starts it, on the platform without a
// screen: how it ends, what it says, and what it leaves in its folder, in the
// ways a new user found it failing.
#include "TestPictures.h"
#include "core/Def.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace {

enum class Folder {
    Empty,        // nothing in it
    Installed,    // a ROM of zeros and our pictures
    SaveFails,    // installed, and the RAM image cannot be written
};

struct Case {
    const char* what;
    Folder folder;
    std::vector<std::string> arguments;  // "DIR" stands for the folder
    std::vector<std::string> settings;   // of the environment
    bool terminate;                      // SIGTERM once it catches signals
    int status;
    std::vector<std::string> said;       // each once on standard error, "DIR" for the folder
    bool ramSaved;
    std::vector<std::string> unsaid = {};  // never on standard error
};

const std::vector<std::string> NoDisplay = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};

const Case Cases[] = {
    {"timing an empty folder waits for no one", Folder::Empty, {"--dir", "DIR", "--time-first-frame"}, {}, false, 0,
     {"vexal: Failed to load the file DIR/rom.bin: there is no such file\n"
      "Failed to load the file DIR/face.bmp: there is no such file\n"
      "Failed to load the file DIR/keys.bmp: there is no such file\n"
      "vexal --dir 'DIR' --prepare fills the folder"},
     true, {"Failed to load the file rom.bin", "Failed to load the file face.bmp", "keys.bmp\n"}},
    {"a signal during the first warning box", Folder::Empty, {"--dir", "DIR"}, {}, true, 0,
     {"vexal: Failed to load the file DIR/rom.bin: there is no such file\n"}, true},
    {"a signal while running", Folder::Installed, {"--dir", "DIR"}, {}, true, 0, {}, true},
    {"a signal, and the RAM cannot be saved", Folder::SaveFails, {"--dir", "DIR"}, {}, true, 1,
     {"vexal: Failed to save the file ram.bin: cannot reach its folder: No such file or directory\n"}, false},
    {"no display at all", Folder::Installed, {"--dir", "DIR"}, NoDisplay, false, 2,
     {"vexal: found no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set.\n",
      "xvfb-run -a vexal"},
     false},
    {"a display that cannot be opened", Folder::Installed, {"--dir", "DIR"},
     {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY=:97"}, false, 2,
     {"vexal: found no display to show the window on: the display :97 cannot be opened.\n"}, false},
    {"a folder that is a file", Folder::Installed, {"--dir", "DIR/rom.bin"}, {}, false, 2,
     {"vexal: DIR/rom.bin is not a folder\n"}, false},
    {"a folder that is a file, to prepare", Folder::Installed, {"--dir", "DIR/rom.bin", "--prepare"}, {}, false, 2,
     {"vexal: DIR/rom.bin is not a folder\n"}, false},
};

std::string WithFolder(std::string text, const std::string& folder) {
    for (size_t at = 0; (at = text.find("DIR", at)) != std::string::npos; at += folder.size())
        text.replace(at, 3, folder);
    return text;
}

// The folder to run in, with a blank in its name as users' folders have.
std::filesystem::path Lay(const TempFolder& root, Folder kind) {
    const std::filesystem::path folder = root.path() / "my mk85";
    std::filesystem::create_directory(folder);
    if (kind == Folder::Empty) return folder;
    root.Write("my mk85/rom.bin", std::vector<uint8_t>(RomSize, 0));
    TestFace().save(QString::fromStdString((folder / "face.bmp").string()), "BMP");
    TestKeys().save(QString::fromStdString((folder / "keys.bmp").string()), "BMP");
    if (kind == Folder::SaveFails) std::filesystem::create_symlink("gone/ram.bin", folder / "ram.bin");
    return folder;
}

TEST(Program, EndsAsItShouldAndSaysWhy) {
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.what);
        TempFolder root, runtime;
        const std::filesystem::path folder = Lay(root, c.folder);
        std::vector<std::string> arguments{VEXAL_PATH};
        for (const std::string& argument : c.arguments) arguments.push_back(WithFolder(argument, folder));
        // Qt wants a private runtime folder, and says so when it lacks one.
        std::vector<std::string> settings{"XDG_RUNTIME_DIR=" + runtime.path().string()};
        settings.insert(settings.end(), c.settings.begin(), c.settings.end());
        ChildProcess vexal(arguments, {root.path(), "/dev/null", settings});
        if (c.terminate) {
            ASSERT_TRUE(ChildProcess::WaitUntil([&] { return vexal.Catches(SIGTERM); }));
            vexal.Signal(SIGTERM);
        }
        const ProgramResult result = vexal.Wait();
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.status, c.status) << result.err;
        for (const std::string& said : c.said) {
            const std::string text = WithFolder(said, folder);
            const size_t at = result.err.find(text);
            EXPECT_NE(at, std::string::npos) << text << "\nnot in\n" << result.err;
            EXPECT_EQ(result.err.find(text, at + 1), std::string::npos) << text << "\nmore than once in\n" << result.err;
        }
        for (const std::string& unsaid : c.unsaid)
            EXPECT_EQ(result.err.find(unsaid), std::string::npos) << unsaid << "\nin\n" << result.err;
        EXPECT_EQ(root.Read("my mk85/ram.bin").size(), c.ramSaved ? RamSize : 0);
    }
}

// Started with no folder named, as from a desktop or a terminal anywhere.
TEST(Program, WithoutAFolderItRunsInTheUsersOwnPreparedOnce) {
    TempFolder root, runtime;
    const std::filesystem::path user = root.path() / "data" / "vexal";
    const std::vector<std::string> settings{"XDG_RUNTIME_DIR=" + runtime.path().string(),
                                            "XDG_DATA_HOME=" + (root.path() / "data").string()};
    const ProgramResult first = RunProgram({VEXAL_PATH, "--time-first-frame"}, {root.path(), "/dev/null", settings});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err.find("Failed"), std::string::npos) << first.err;
    for (const char* name : {"rom.bin", "rom.sym", "face.bmp", "keys.bmp", "vexal.ini", "ram.bin"})
        EXPECT_TRUE(std::filesystem::is_regular_file(user / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(root.path() / "ram.bin")) << "nothing left where it was started";

    // --dir . is the working folder, as it is.
    const ProgramResult here =
        RunProgram({VEXAL_PATH, "--dir", ".", "--time-first-frame"}, {root.path(), "/dev/null", settings});
    EXPECT_EQ(here.status, 0) << here.err;
    EXPECT_NE(here.err.find("Failed to load the file " + (root.path() / "rom.bin").string()), std::string::npos)
        << here.err;
    EXPECT_EQ(root.Read("ram.bin").size(), RamSize);
}

// One window a folder: a second is refused while the first runs, and runs
// once the first is gone, even killed with no chance to let go of anything.
TEST(Program, ASecondWindowOnTheFolderIsRefusedWhileTheFirstRuns) {
    TempFolder root, runtime;
    const std::filesystem::path folder = Lay(root, Folder::Installed);
    const ChildProcess::Options options{root.path(), "/dev/null", {"XDG_RUNTIME_DIR=" + runtime.path().string()}};
    ChildProcess first({VEXAL_PATH, "--dir", folder.string()}, options);
    ASSERT_TRUE(ChildProcess::WaitUntil([&] { return first.Catches(SIGTERM); }));
    const ProgramResult refused = RunProgram({VEXAL_PATH, "--dir", folder.string(), "--time-first-frame"}, options);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "vexal: " + folder.string() + " is in use by process " + std::to_string(first.Pid()) + "\n");
    EXPECT_EQ(refused.out, "") << "no window was shown";

    first.Signal(SIGKILL);
    EXPECT_EQ(first.Wait().signal, SIGKILL);
    const ProgramResult after = RunProgram({VEXAL_PATH, "--dir", folder.string(), "--time-first-frame"}, options);
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_NE(after.out.find("first frame after"), std::string::npos);
}

}  // namespace
