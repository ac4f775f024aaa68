// The window's place kept between runs, read back as hostile input, and
// fitted to the screens there are.
#include "panel/KeyLayout.h"
#include "panel/WindowPlace.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::string Describe(const WindowPlace& place) {
    std::string text = place.position ? std::to_string(place.position->x) + "," + std::to_string(place.position->y)
                                      : std::string("no position");
    return text + (place.zoom ? " zoom " + std::to_string(*place.zoom) : std::string(" no zoom"));
}

bool Same(const WindowPlace& a, const WindowPlace& b) { return a.position == b.position && a.zoom == b.zoom; }

TEST(WindowPlace, WhatIsWrittenIsReadBack) {
    const WindowPlace places[] = {
        {WindowPosition{100, 200}, 2},
        {WindowPosition{-1800, -5}, 1},  // a screen left of and above the primary one
        {WindowPosition{0, 0}, std::nullopt},
        {std::nullopt, 4},
        {std::nullopt, std::nullopt},
    };
    TempFolder folder;
    const std::filesystem::path file = folder.path() / "config" / "vexal" / "window.ini";
    for (const WindowPlace& place : places) {
        ASSERT_EQ(WriteWindowPlace(file, place), "") << Describe(place);
        EXPECT_TRUE(Same(ReadWindowPlace(file), place)) << Describe(place);
    }
}

TEST(WindowPlace, AFileOfAnyKindGivesWhatItCanAndNeverFails) {
    struct Case {
        const char* what;
        std::string text;
        WindowPlace expected;
    };
    const Case cases[] = {
        {"garbage", "\x7f" "ELF\x01\x02\x03\n\xff\xfe", {}},
        {"a zoom out of range", "[Window]\nX=10\nY=20\nZoom=9\n", {WindowPosition{10, 20}, std::nullopt}},
        {"a zoom that is no number", "[Window]\nZoom=two\n", {}},
        {"half a position", "[Window]\nX=10\nZoom=3\n", {std::nullopt, 3}},
        {"numbers past 32 bits", "[Window]\nX=99999999999\nY=1\n", {}},
        {"another section", "[Settings]\nX=1\nY=2\nZoom=2\n", {}},
        {"a long line before", ";" + std::string(100000, 'x') + "\n[Window]\nZoom=2\n", {std::nullopt, 2}},
        {"too large to be one", "[Window]\nZoom=2\n;" + std::string(2 << 20, 'x') + "\n", {}},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        folder.WriteText("window.ini", c.text);
        EXPECT_TRUE(Same(ReadWindowPlace(folder.path() / "window.ini"), c.expected))
            << c.what << ": " << Describe(ReadWindowPlace(folder.path() / "window.ini"));
    }
    TempFolder folder;
    EXPECT_TRUE(Same(ReadWindowPlace(folder.path() / "missing.ini"), {}));
    std::filesystem::create_directory(folder.path() / "window.ini");
    EXPECT_TRUE(Same(ReadWindowPlace(folder.path() / "window.ini"), {})) << "a folder";
    ASSERT_EQ(mkfifo((folder.path() / "pipe.ini").c_str(), 0600), 0);
    EXPECT_TRUE(Same(ReadWindowPlace(folder.path() / "pipe.ini"), {})) << "a pipe, which nothing writes to";
}

TEST(WindowPlace, AFileThatCannotBeWrittenSaysWhyAndLeavesTheRest) {
    TempFolder folder;
    folder.WriteText("config", "a file where the folder would be");
    EXPECT_NE(WriteWindowPlace(folder.path() / "config" / "vexal" / "window.ini", {WindowPosition{1, 2}, 1}), "");
    const std::vector<uint8_t> kept = folder.Read("config");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "a file where the folder would be");
}

TEST(WindowPlace, TheFileIsInTheUsersConfigurationFolder) {
    struct Case {
        std::optional<std::string> configHome, home;
        std::string file;
    };
    const Case cases[] = {
        {"/xdg/config", "/home/ann", "/xdg/config/vexal/window.ini"},
        {"relative/config", "/home/ann", "/home/ann/.config/vexal/window.ini"},
        {std::nullopt, "/home/ann", "/home/ann/.config/vexal/window.ini"},
        {std::nullopt, std::nullopt, ""},
    };
    const auto set = [](const char* name, const std::optional<std::string>& value) {
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    };
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::optional<std::string> savedConfigHome = configHome ? std::optional<std::string>(configHome) : std::nullopt;
    const std::optional<std::string> savedHome = home ? std::optional<std::string>(home) : std::nullopt;
    for (const Case& c : cases) {
        set("XDG_CONFIG_HOME", c.configHome);
        set("HOME", c.home);
        EXPECT_EQ(WindowPlaceFile().string(), c.file) << c.configHome.value_or("(unset)");
    }
    set("XDG_CONFIG_HOME", savedConfigHome);
    set("HOME", savedHome);
}

TEST(WindowPlace, TheZoomIsTheLargestThatFits) {
    struct Case {
        int wanted, width, height, zoom;
    };
    const Case cases[] = {
        {4, 3840, 2160, 4}, {4, 2560, 1440, 3}, {3, 1920, 1080, 2}, {2, 1520, 660, 2}, {2, 1519, 660, 1},
        {2, 1520, 659, 1},  {1, 640, 480, 1},   {0, 3840, 2160, 1}, {9, 3840, 2160, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FittingZoom(c.wanted, c.width, c.height), c.zoom)
            << c.wanted << " on " << c.width << " x " << c.height;
}

TEST(WindowPlace, AWindowStartsWhereItWasOnlyIfItFitsAScreenThere) {
    const ScreenArea left{-1280, 0, 1280, 1024};
    const ScreenArea primary{0, 0, 1920, 1040};
    const std::vector<ScreenArea> screens{left, primary};
    const WindowPosition centred{(1920 - FaceWidth) / 2, (1040 - FaceHeight) / 2};
    struct Case {
        const char* what;
        std::optional<WindowPosition> remembered;
        int width, height;
        WindowPosition start;
    };
    const Case cases[] = {
        {"nothing remembered", std::nullopt, FaceWidth, FaceHeight, centred},
        {"on the primary screen", WindowPosition{1000, 700}, FaceWidth, FaceHeight, {1000, 700}},
        {"on the left screen", WindowPosition{-1200, 50}, FaceWidth, FaceHeight, {-1200, 50}},
        {"across both screens", WindowPosition{-300, 50}, FaceWidth, FaceHeight, centred},
        {"past the right edge", WindowPosition{1500, 100}, FaceWidth, FaceHeight, centred},
        {"where a screen was", WindowPosition{4000, 100}, FaceWidth, FaceHeight, centred},
        {"far out", WindowPosition{2147483000, -2147483000}, FaceWidth, FaceHeight, centred},
        {"larger than the screen", std::nullopt, 4 * FaceWidth, 4 * FaceHeight, {0, 0}},
    };
    for (const Case& c : cases) {
        const WindowPosition start = StartPosition(c.remembered, c.width, c.height, screens, primary);
        EXPECT_EQ(start, c.start) << c.what << ": " << start.x << "," << start.y;
    }
}

TEST(WindowPlace, AGrownWindowIsKeptOnItsScreen) {
    const ScreenArea area{100, 50, 1920, 1080};
    struct Case {
        WindowPosition at;
        int width, height;
        WindowPosition kept;
    };
    const Case cases[] = {
        {{500, 300}, 1520, 660, {500, 300}},  {{1500, 900}, 1520, 660, {500, 470}},
        {{0, 0}, 760, 330, {100, 50}},        {{1500, 900}, 3040, 1320, {100, 50}},
    };
    for (const Case& c : cases) {
        const WindowPosition kept = KeptOn(c.at, c.width, c.height, area);
        EXPECT_EQ(kept, c.kept) << c.at.x << "," << c.at.y << ": " << kept.x << "," << kept.y;
    }
}

}  // namespace
