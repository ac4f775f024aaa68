// The program vexal keeps its window's place and zoom in the user's
// configuration folder from one run to the next, on virtual screens of
// known sizes: a primary 1920 x 1080 and a 1280 x 1024 to its right.
#include "TestPictures.h"
#include "core/Def.h"
#include "panel/KeyLayout.h"
#include "panel/WindowPlace.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* Screens = R"({
  "windowFrameMargins": false,
  "screens": [
    {"name": "primary", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "dpr": 1},
    {"name": "right", "x": 1920, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "dpr": 1}
  ]
})";

struct Case {
    const char* what;
    const char* remembered;  // the file's text before the run; null for no file
    std::vector<std::string> arguments;
    WindowPlace after;
    const char* said;  // on standard error; empty for nothing about the zoom
};

constexpr int CentredX(int zoom) { return (1920 - FaceWidth * zoom) / 2; }
constexpr int CentredY(int zoom) { return (1080 - FaceHeight * zoom) / 2; }

const Case Cases[] = {
    {"a first run", nullptr, {}, {WindowPosition{CentredX(1), CentredY(1)}, 1}, ""},
    {"where it was, on the right screen", "[Window]\nX=2000\nY=100\nZoom=1\n", {}, {WindowPosition{2000, 100}, 1},
     ""},
    {"where no screen is now", "[Window]\nX=5000\nY=100\nZoom=1\n", {}, {WindowPosition{CentredX(1), CentredY(1)}, 1},
     ""},
    {"at the zoom it had", "[Window]\nX=10\nY=20\nZoom=2\n", {}, {WindowPosition{10, 20}, 2}, ""},
    {"--zoom wins", "[Window]\nX=10\nY=20\nZoom=2\n", {"--zoom", "1"}, {WindowPosition{10, 20}, 1}, ""},
    {"a zoom too large for the primary screen", "[Window]\nZoom=3\n", {},
     {WindowPosition{CentredX(2), CentredY(2)}, 2},
     "vexal: at zoom 3 the window does not fit the screen (1920 x 1080); it opens at zoom 2\n"},
    {"a zoom too large for the screen it was on", "[Window]\nX=2000\nY=100\nZoom=2\n", {},
     {WindowPosition{2000, 100}, 1},
     "vexal: at zoom 2 the window does not fit the screen (1280 x 1024); it opens at zoom 1\n"},
    {"--zoom too large", nullptr, {"--zoom", "4"}, {WindowPosition{CentredX(2), CentredY(2)}, 2},
     "vexal: at zoom 4 the window does not fit the screen (1920 x 1080); it opens at zoom 2\n"},
    {"garbage", "\x01\x02garbage\n[Window\nX=", {}, {WindowPosition{CentredX(1), CentredY(1)}, 1}, ""},
};

std::string Describe(const WindowPlace& place) {
    return (place.position ? std::to_string(place.position->x) + "," + std::to_string(place.position->y)
                           : std::string("no position")) +
           " zoom " + (place.zoom ? std::to_string(*place.zoom) : std::string("none"));
}

TEST(Place, TheWindowOpensWhereItClosedWhereThatFits) {
    TempFolder root;
    root.WriteText("screens.json", Screens);
    const std::filesystem::path file = root.path() / "config" / "vexal" / "window.ini";
    for (const Case& c : Cases) {
        std::filesystem::remove(file);
        if (c.remembered) {
            std::filesystem::create_directories(file.parent_path());
            root.WriteText("config/vexal/window.ini", c.remembered);
        }
        std::vector<std::string> arguments{VEXAL_PATH, "--time-first-frame"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const ProgramResult run = RunProgram(
            arguments, {root.path(), "/dev/null",
                        {"QT_QPA_PLATFORM=offscreen:configfile=" + root / "screens.json",
                         "XDG_CONFIG_HOME=" + (root.path() / "config").string(),
                         "XDG_DATA_HOME=" + (root.path() / "data").string()}});
        ASSERT_EQ(run.status, 0) << c.what << "\n" << run.err;
        const WindowPlace after = ReadWindowPlace(file);
        EXPECT_TRUE(after.position == c.after.position && after.zoom == c.after.zoom)
            << c.what << ": " << Describe(after);
        const bool aboutZoom = run.err.find("zoom") != std::string::npos;
        if (*c.said) EXPECT_NE(run.err.find(c.said), std::string::npos) << c.what << "\n" << run.err;
        else EXPECT_FALSE(aboutZoom) << c.what << "\n" << run.err;
    }
}

}  // namespace
