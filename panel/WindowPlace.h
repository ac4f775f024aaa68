// Where the main window stands and how large it is: remembered from one run
// to the next in the user's configuration folder (the run folder's settings
// are never written), and fitted to the screens there are now, which may not
// be the ones it was remembered on.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

constexpr int MaxZoom = 4;

struct WindowPosition {
    int x;
    int y;
    bool operator==(const WindowPosition&) const = default;
};

// A screen's area that windows may take, without its panels and docks.
struct ScreenArea {
    int x, y, width, height;
};

// What is remembered; a part the file lacks, or holds garbage in, is none.
struct WindowPlace {
    std::optional<WindowPosition> position;
    std::optional<int> zoom;  // 1 to MaxZoom
};

// "window.ini" in "vexal" in $XDG_CONFIG_HOME, or in ~/.config; empty when
// HOME is not set either.
std::filesystem::path WindowPlaceFile();

// The place kept in the file. The file is read as any file a user can put
// there: missing, huge, not a plain file or garbage, it gives what it can.
WindowPlace ReadWindowPlace(const std::filesystem::path& file);

// Keeps the place in the file, creating its folder, through ReplaceFile;
// returns why that failed, or empty.
std::string WriteWindowPlace(const std::filesystem::path& file, const WindowPlace& place);

// The largest zoom up to wanted at which the face fits an area of the size
// given; 1 where none does.
int FittingZoom(int wanted, int width, int height);

// Where the window of the size given starts: at the remembered position
// where the whole window fits one of the screens there, else centred on the
// screen given (its top-left corner kept on it, should the window be larger).
WindowPosition StartPosition(std::optional<WindowPosition> remembered, int width, int height,
                             const std::vector<ScreenArea>& screens, const ScreenArea& centreOn);

// The same position moved the least that keeps the window on the area:
// wholly where it fits, else with its top-left corner on it.
WindowPosition KeptOn(WindowPosition position, int width, int height, const ScreenArea& area);
