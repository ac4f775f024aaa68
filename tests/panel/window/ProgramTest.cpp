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
    std::vector<std::string> said;       // on standard error, "DIR" for the folder
    bool ramSaved;
};

const std::vector<std::string> NoDisplay = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};

const Case Cases[] = {
    {"timing an empty folder waits for no one", Folder::Empty, {"--dir", "DIR", "--time-first-frame"}, {}, false, 0,
     {"vexal: DIR/rom.bin is missing\n", "vexal: DIR/face.bmp is missing\n", "vexal: DIR/keys.bmp is missing\n",
      "vexal: vexal --dir DIR --prepare fills the folder", "vexal: Failed to load the file rom.bin\n",
      "vexal: Failed to load the file keys.bmp\n", "vexal: Failed to load the file face.bmp\n"},
     true},
    {"a signal during the first warning box", Folder::Empty, {"--dir", "DIR"}, {}, true, 0,
     {"vexal: DIR/rom.bin is missing\n"}, true},
    {"a signal while running", Folder::Installed, {"--dir", "DIR"}, {}, true, 0, {}, true},
    {"a signal, and the RAM cannot be saved", Folder::SaveFails, {"--dir", "DIR"}, {}, true, 1,
     {"vexal: Failed to save the file ram.bin: cannot create ram.bin.new beside it: Is a directory\n"}, false},
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
    for (size_t at; (at = text.find("DIR")) != std::string::npos;) text.replace(at, 3, folder);
    return text;
}

void Lay(const TempFolder& folder, Folder kind) {
    if (kind == Folder::Empty) return;
    folder.Write("rom.bin", std::vector<uint8_t>(RomSize, 0));
    ASSERT_TRUE(TestFace().save(QString::fromStdString(folder / "face.bmp"), "BMP"));
    ASSERT_TRUE(TestKeys().save(QString::fromStdString(folder / "keys.bmp"), "BMP"));
    if (kind == Folder::SaveFails) std::filesystem::create_directory(folder / "ram.bin.new");
}

TEST(Program, EndsAsItShouldAndSaysWhy) {
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder, runtime;
        Lay(folder, c.folder);
        std::vector<std::string> arguments{VEXAL_PATH};
        for (const std::string& argument : c.arguments) arguments.push_back(WithFolder(argument, folder.path()));
        // Qt wants a private runtime folder, and says so when it lacks one.
        std::vector<std::string> settings{"XDG_RUNTIME_DIR=" + runtime.path().string()};
        settings.insert(settings.end(), c.settings.begin(), c.settings.end());
        ChildProcess vexal(arguments, {folder.path(), "/dev/null", settings});
        if (c.terminate) {
            ASSERT_TRUE(ChildProcess::WaitUntil([&] { return vexal.Catches(SIGTERM); }));
            vexal.Signal(SIGTERM);
        }
        const ProgramResult result = vexal.Wait();
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.status, c.status) << result.err;
        for (const std::string& said : c.said) {
            const std::string text = WithFolder(said, folder.path());
            EXPECT_NE(result.err.find(text), std::string::npos) << text << "\nnot in\n" << result.err;
        }
        EXPECT_EQ(folder.Read("ram.bin").size(), c.ramSaved ? RamSize : 0);
    }
}

TEST(Program, SaysOnceWhatFillsTheFolder) {
    TempFolder folder;
    const ProgramResult result = RunProgram({VEXAL_PATH, "--dir", folder / "my mk85", "--time-first-frame"},
                                            {folder.path(), "/dev/null", {}});
    // A folder that does not exist is no place to run; once it does, its
    // files are missing.
    EXPECT_EQ(result.status, 2);
    std::filesystem::create_directory(folder / "my mk85");
    const ProgramResult empty = RunProgram({VEXAL_PATH, "--dir", folder / "my mk85", "--time-first-frame"},
                                           {folder.path(), "/dev/null", {}});
    EXPECT_EQ(empty.status, 0) << empty.err;
    const std::string hint = "vexal --dir '" + folder / "my mk85" + "' --prepare fills the folder";
    const size_t first = empty.err.find(hint);
    EXPECT_NE(first, std::string::npos) << empty.err;
    EXPECT_EQ(empty.err.find(hint, first + 1), std::string::npos) << "said once";

    // And that command does fill it: then nothing is missing.
    EXPECT_EQ(RunProgram({VEXAL_PATH, "--dir", folder / "my mk85", "--prepare"}, {folder.path(), "/dev/null", {}})
                  .status,
              0);
    const ProgramResult prepared = RunProgram({VEXAL_PATH, "--dir", folder / "my mk85", "--time-first-frame"},
                                              {folder.path(), "/dev/null", {}});
    EXPECT_EQ(prepared.status, 0);
    EXPECT_EQ(prepared.err.find("missing"), std::string::npos) << prepared.err;
}

}  // namespace
