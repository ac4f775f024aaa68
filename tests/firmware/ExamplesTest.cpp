// The example programs of firmware/examples, typed as a paste types them:
// each lists exactly as written, and runs.
#include <filesystem>

#include "FirmwareRun.h"

namespace {

std::vector<std::string> LinesOf(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

TEST(Examples, ListAsWrittenAndRun) {
    const std::map<std::string, std::string> firstScreens = {
        {"countdown.bas", "T MINUS 5"}, {"guess.bas", "GUESS?"},        {"primes.bas", "2 3 5 7 11 1"},
        {"roots.bas", "1 1 1"},         {"savings.bas", "START?"},
    };
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VEXAL_FIRMWARE_SOURCE "/examples")) {
        const std::string name = entry.path().filename().string();
        const std::vector<std::string> lines = LinesOf(entry.path());
        ASSERT_FALSE(lines.empty()) << name;
        std::string script = PowerOn;
        for (const std::string& line : lines) script += Enter(line);
        const std::string walk = Repeat(Press(KeyRight) + "lcd\n", 50);
        script += Enter("LIST");
        for (size_t i = 0; i < lines.size(); ++i) script += "lcd\n" + walk + Execute + "idle\n";
        script += Press(KeyClear) + Enter("RUN") + "lcd\n";
        FirmwareFolder folder;
        const auto screens = folder.ScreensOf(script);
        ASSERT_EQ(screens.size(), lines.size() * 51 + 1) << name;
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::vector<Screen> line(screens.begin() + long(i * 51), screens.begin() + long((i + 1) * 51));
            EXPECT_EQ(ListedLine(line), lines[i]) << name;
        }
        ASSERT_TRUE(firstScreens.count(name)) << name << " has no first screen in this test";
        EXPECT_EQ(Trimmed(screens.back().text), firstScreens.at(name)) << name;
        ++examples;
    }
    EXPECT_EQ(examples, int(firstScreens.size()));
}

}  // namespace
