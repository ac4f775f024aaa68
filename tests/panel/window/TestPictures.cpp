#include "TestPictures.h"

#include "panel/KeyLayout.h"
#include "panel/LcdLayout.h"
#include "panel/window/Main.h"

namespace {

// Never pure green, never black or white.
QRgb Colour(int a, int b, int c) { return qRgb(40 + (a * 37 + c * 11) % 200, 10 + (b * 53) % 60, 30 + (a + b * 3 + c * 5) % 200); }

// The inside of a key, which moves one pixel right and down while the key is
// pressed; with pressed set, the area it covers in either place, which the
// pressed picture must leave transparent.
bool InsideOfKey(int group, int dx, int dy, bool pressed = false) {
    const KeyGroup& g = KeyGroups[group];
    if (group == 0) return false;  // the switch key only swaps pictures
    const int shift = pressed ? 1 : 0;
    const int insideHeight = g.Height - (group <= 2 ? 8 : 9);
    return dx >= 4 && dx < 4 + g.Width - 9 + shift && dy >= 4 && dy < 4 + insideHeight + shift;
}

// What the released picture of a group shows at (dx, dy): the same for every
// key of the group, and for both groups that share their pictures.
QRgb RingColour(int group, int dx, int dy) { return Colour(KeyGroups[group].SrcX, dx, dy + 1); }

}  // namespace

QImage TestFace() {
    QImage face(FaceWidth, FaceHeight, QImage::Format_RGB32);
    for (int y = 0; y < FaceHeight; ++y)
        for (int x = 0; x < FaceWidth; ++x) face.setPixel(x, y, Colour(x, y, 0));
    for (int key = 1; key <= LastFaceKey; ++key) {
        const KeyPlace place = PlaceOfKey(key);
        const KeyGroup& g = KeyGroups[place.group];
        for (int dy = 0; dy < g.Height; ++dy)
            for (int dx = 0; dx < g.Width; ++dx)
                if (!InsideOfKey(place.group, dx, dy)) face.setPixel(place.x + dx, place.y + dy, RingColour(place.group, dx, dy));
    }
    return face;
}

QRgb IndicatorColour(int indicator, int dx, int dy) { return Colour(indicator * 13 + dx, dy, 7); }

QImage TestKeys() {
    QImage keys(KeysWidth, KeysHeight, QImage::Format_RGB32);
    keys.fill(PureGreen);
    for (int group = 0; group < KeyGroupCount; ++group) {
        const KeyGroup& g = KeyGroups[group];
        for (int dy = 0; dy < g.Height; ++dy)
            for (int dx = 0; dx < g.Width; ++dx) {
                const bool inside = InsideOfKey(group, dx, dy);
                // Pressed: its own colours, with a transparent inside.
                keys.setPixel(g.SrcX + dx, g.SrcY + dy, InsideOfKey(group, dx, dy, true) ? PureGreen : Colour(dx, dy, 99));
                keys.setPixel(g.SrcX + dx, g.SrcY + g.Height + dy, inside ? PureGreen : RingColour(group, dx, dy));
            }
    }
    for (int i = 0; i < IndicatorCount; ++i)
        for (int dy = 0; dy < IndicatorHeight; ++dy)
            for (int dx = 0; dx < Indicators[i].width; ++dx)
                keys.setPixel(Indicators[i].srcX + dx, IndicatorSrcY + dy, IndicatorColour(i, dx, dy));
    return keys;
}
