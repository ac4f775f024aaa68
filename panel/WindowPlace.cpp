#include "panel/WindowPlace.h"

#include "panel/KeyLayout.h"
#include "files/ReplaceFile.h"
#include "panel/RunFolder.h"
#include "panel/Settings.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace fs = std::filesystem;

namespace {

constexpr const char* Section = "Window";
// No value in the file reads as this: a coordinate that far out fits no
// screen anyway.
constexpr int32_t Absent = INT32_MIN;

bool Inside(int64_t x, int64_t y, int width, int height, const ScreenArea& area) {
    return x >= area.x && y >= area.y && x + width <= int64_t(area.x) + area.width &&
           y + height <= int64_t(area.y) + area.height;
}

}  // namespace

fs::path WindowPlaceFile() {
    const fs::path folder = UserFolder("XDG_CONFIG_HOME", ".config");
    return folder.empty() ? folder : folder / "window.ini";
}

WindowPlace ReadWindowPlace(const fs::path& file) {
    // The settings reader takes only a plain file of a sensible size, and
    // whatever it cannot read as a 32-bit integer is no value.
    const auto read = [&file](const char* key) { return ReadIniInteger(file.string(), Section, key, Absent); };
    WindowPlace place;
    const int32_t x = read("X");
    const int32_t y = read("Y");
    if (x != Absent && y != Absent) place.position = WindowPosition{x, y};
    const int32_t zoom = read("Zoom");
    if (zoom >= 1 && zoom <= MaxZoom) place.zoom = zoom;
    return place;
}

std::string WriteWindowPlace(const fs::path& file, const WindowPlace& place) {
    std::string text = "; Where the Vexal window was when it last closed, and its zoom.\n[Window]\n";
    if (place.position)
        text += "X=" + std::to_string(place.position->x) + "\nY=" + std::to_string(place.position->y) + "\n";
    if (place.zoom) text += "Zoom=" + std::to_string(*place.zoom) + "\n";
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error) return "cannot create the folder " + file.parent_path().string() + ": " + error.message();
    return ReplaceFile(file.string(), reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

int FittingZoom(int wanted, int width, int height) {
    int zoom = std::clamp(wanted, 1, MaxZoom);
    while (zoom > 1 && (FaceWidth * zoom > width || FaceHeight * zoom > height)) --zoom;
    return zoom;
}

WindowPosition StartPosition(std::optional<WindowPosition> remembered, int width, int height,
                             const std::vector<ScreenArea>& screens, const ScreenArea& centreOn) {
    if (remembered) {
        for (const ScreenArea& area : screens)
            if (Inside(remembered->x, remembered->y, width, height, area)) return *remembered;
    }
    const WindowPosition centred{centreOn.x + (centreOn.width - width) / 2, centreOn.y + (centreOn.height - height) / 2};
    return KeptOn(centred, width, height, centreOn);
}

WindowPosition KeptOn(WindowPosition position, int width, int height, const ScreenArea& area) {
    // The right and bottom edges first, so that a window larger than the
    // area ends with its top-left corner on it.
    const auto keep = [](int at, int size, int start, int room) {
        const int64_t last = int64_t(start) + room - size;  // the last place the whole window fits
        return int(std::max<int64_t>(start, std::min<int64_t>(at, last)));
    };
    return {keep(position.x, width, area.x, area.width), keep(position.y, height, area.y, area.height)};
}
