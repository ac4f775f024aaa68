#include "panel/window/LaunchOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Action = LaunchOptions::Action;

struct Case {
    std::vector<const char*> arguments;
    Action action;
    int zoom;
    const char* folder;
    bool userFolder;
    const char* error;  // the start of the message, for a command line that fails
};

bool Is(const char* a, const char* b) { return std::string(a) == b; }

TEST(LaunchOptions, TheCommandLineAsAUserWritesIt) {
    const Case cases[] = {
        {{}, Action::Run, 1, "", true, ""},
        {{"--zoom", "3"}, Action::Run, 3, "", true, ""},
        {{"--dir", "."}, Action::Run, 1, ".", false, ""},
        {{"--zoom=4", "--dir", "my mk85"}, Action::Run, 4, "my mk85", false, ""},
        {{"--dir=run", "--prepare"}, Action::Prepare, 1, "run", false, ""},
        {{"--user-folder"}, Action::Run, 1, "", true, ""},
        {{"--user-folder", "--prepare", "--zoom", "2"}, Action::Prepare, 2, "", true, ""},
        {{"--time-first-frame"}, Action::Run, 1, "", true, ""},
        {{"--help"}, Action::ShowHelp, 1, "", false, ""},
        {{"-h", "--zoom", "9"}, Action::ShowHelp, 1, "", false, ""},
        {{"--version"}, Action::ShowVersion, 1, "", false, ""},
        {{"--zoom", "0"}, Action::Fail, 1, "", false, "--zoom takes a whole number from 1 to 4, not '0'."},
        {{"--zoom", "5"}, Action::Fail, 1, "", false, "--zoom takes"},
        {{"--zoom", "two"}, Action::Fail, 1, "", false, "--zoom takes"},
        {{"--zoom"}, Action::Fail, 1, "", false, "Missing value after '--zoom'."},
        {{"--dir"}, Action::Fail, 1, "", false, "Missing value after '--dir'."},
        {{"--dir", ""}, Action::Fail, 1, "", false, "--dir needs the name of a folder."},
        {{"--dir", "a", "--user-folder"}, Action::Fail, 1, "", false, "--dir and --user-folder"},
        {{"--speed", "3"}, Action::Fail, 1, "", false, "Unknown option 'speed'."},
        {{"rom.bin"}, Action::Fail, 1, "", false, "Unexpected argument 'rom.bin'."},
    };
    for (const Case& c : cases) {
        QStringList arguments{"vexal"};
        for (const char* argument : c.arguments) arguments << argument;
        const LaunchOptions options(arguments);
        const std::string line = arguments.join(' ').toStdString();
        EXPECT_EQ(options.action, c.action) << line;
        if (c.action == Action::Fail) {
            EXPECT_TRUE(options.error.startsWith(c.error)) << line << ": " << options.error.toStdString();
            continue;
        }
        EXPECT_EQ(options.error, "") << line;
        EXPECT_EQ(options.zoom, c.zoom) << line;
        EXPECT_EQ(options.folder.toStdString(), c.folder) << line;
        EXPECT_EQ(options.userFolder, c.userFolder) << line;
        EXPECT_EQ(options.timeFirstFrame, c.arguments.size() == 1 && Is(c.arguments[0], "--time-first-frame"));
    }
}

}  // namespace
