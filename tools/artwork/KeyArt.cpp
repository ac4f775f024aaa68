#include "KeyArt.h"

#include "ArtPalette.h"
#include "panel/KeyLayout.h"

namespace {

// Grey letter and cursor keys (groups 1 and 2 share one picture), the light
// number pad and the orange execute key. The switch is drawn on its own.
constexpr KeyStyle GreyKeys = {0xFF08090A, 0xFF8A9098, 0xFFA7ADB4, 0xFF2A2D32, 0xFF1F2226, 0xFF121315,
                               0xFF4C5159, 0xFF5A5F67, 0xFF41454C, 0xFFF2F3F5, 0xFFF0B84A};
constexpr KeyStyle PadKeys = {0xFF08090A, 0xFFD9DCE0, 0xFFEEF0F2, 0xFF6E737A, 0xFF5A5E64, 0xFF141517,
                              0xFFB4B8BE, 0xFFC4C8CD, 0xFF9CA0A6, 0xFF17181B, 0xFFB23A2A};
constexpr KeyStyle ExecuteKey = {0xFF08090A, 0xFFF0A070, 0xFFF8C09A, 0xFF8A3C17, 0xFF702F10, 0xFF141517,
                                 0xFFD8652C, 0xFFE8834E, 0xFFBB5322, 0xFFFFFFFF, 0xFFFFE2C8};
const KeyStyle* const Styles[KeyGroupCount] = {&GreyKeys, &GreyKeys, &GreyKeys, &PadKeys, &ExecuteKey};

int FirstKeyOfGroup(int group) {
    int first = 1;
    for (int g = 0; g < group; ++g) first += KeyGroups[g].Count;
    return first;
}

// Fills the rectangle from (left, top) to (right, bottom), both inclusive.
void Fill(QImage& image, int left, int top, int right, int bottom, QRgb colour) {
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) image.setPixel(x, y, colour);
}

void FillRect(QImage& image, const QRect& r, QRgb colour) {
    Fill(image, r.left(), r.top(), r.right(), r.bottom(), colour);
}

// The key top: a slightly domed surface, lighter along its upper and left
// edges, darker along the others.
void DrawKeyTop(QImage& image, const QRect& top, const KeyStyle& style) {
    FillRect(image, top, style.top);
    Fill(image, top.right(), top.top(), top.right(), top.bottom(), style.topShade);
    Fill(image, top.left(), top.bottom(), top.right(), top.bottom(), style.topShade);
    Fill(image, top.left(), top.top(), top.right(), top.top(), style.topLight);
    Fill(image, top.left(), top.top(), top.left(), top.bottom(), style.topLight);
}

// The four corner pixels show the case, which rounds the key off.
void RoundCorners(QImage& image) {
    const int r = image.width() - 1, b = image.height() - 1;
    for (const QPoint p : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)})
        image.setPixel(p, art::Transparent);
}

// A key standing up: lit walls above and to the left, shaded walls to the
// right and below, the key top around the inside.
QImage ReleasedKey(int width, int height, const QRect& inside, const KeyStyle& style) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(style.outline);
    const QRect top = inside.adjusted(-1, -1, 1, 1);
    Fill(image, 1, 1, width - 2, height - 2, style.side);
    Fill(image, 1, top.bottom() + 1, width - 2, height - 2, style.bottom);
    Fill(image, 1, 1, top.right(), 2, style.bevelLight);
    Fill(image, 1, 1, 2, top.bottom(), style.bevelLight);
    Fill(image, 1, 1, top.right(), 1, style.bevelEdge);
    DrawKeyTop(image, top, style);
    FillRect(image, inside, art::Transparent);
    RoundCorners(image);
    return image;
}

// A key pushed in: the top has moved one pixel right and down, the walls
// above and to the left fall into shadow, the others almost disappear.
QImage PressedKey(int width, int height, const QRect& inside, const KeyStyle& style) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(style.outline);
    const QRect top = inside.adjusted(-1, -1, 1, 1).translated(1, 1);
    Fill(image, 1, 1, width - 2, height - 2, style.sunk);
    Fill(image, top.right() + 1, top.top(), width - 2, top.bottom(), style.side);
    Fill(image, top.left(), top.bottom() + 1, width - 2, height - 2, style.bottom);
    DrawKeyTop(image, top, style);
    FillRect(image, inside.translated(1, 1), art::Transparent);
    RoundCorners(image);
    return image;
}

// The switch: a slide switch in a recessed plate, the knob up (on) while
// released and down (off) while held, since releasing it ends the program.
QImage SwitchPicture(int width, int height, bool off) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xFF08090A);
    Fill(image, 1, 1, width - 2, height - 2, 0xFF18191C);
    Fill(image, 1, 1, width - 2, 1, 0xFF0E0F11);
    Fill(image, 1, 1, 1, height - 2, 0xFF0E0F11);
    Fill(image, 1, height - 2, width - 2, height - 2, 0xFF3A3D42);
    Fill(image, width - 2, 1, width - 2, height - 2, 0xFF3A3D42);
    const int slotLeft = width / 2 - 3, slotRight = width / 2 + 3;
    Fill(image, slotLeft, 4, slotRight, height - 5, 0xFF030303);
    const int knobHeight = (height - 8) / 2;
    const int knobTop = off ? height - 4 - knobHeight : 4;
    const int knobLeft = 5, knobRight = width - 6;
    const int knobBottom = knobTop + knobHeight - 1;
    Fill(image, knobLeft, knobTop, knobRight, knobBottom, 0xFFB9BDC3);
    Fill(image, knobLeft, knobTop, knobRight, knobTop, 0xFFE6E8EB);
    Fill(image, knobLeft, knobTop, knobLeft, knobBottom, 0xFFE6E8EB);
    Fill(image, knobLeft, knobBottom, knobRight, knobBottom, 0xFF6B7077);
    Fill(image, knobRight, knobTop, knobRight, knobBottom, 0xFF6B7077);
    for (int y = knobTop + 3; y < knobBottom - 1; y += 2)
        Fill(image, knobLeft + 3, y, knobRight - 3, y, 0xFF80858C);
    RoundCorners(image);
    return image;
}

}  // namespace

QRect KeyInside(int key) {
    if (key == SwitchKey) return {};
    const KeyGroup& g = KeyGroups[PlaceOfKey(key).group];
    // The keys of the number pad and the execute key have a deeper bottom wall.
    constexpr int LastKeyOfShortWall = 36;
    return {4, 4, g.Width - 9, key <= LastKeyOfShortWall ? g.Height - 8 : g.Height - 9};
}

const KeyStyle& StyleOfGroup(int group) { return *Styles[group]; }

QImage KeyPicture(int group, bool pressed) {
    const KeyGroup& g = KeyGroups[group];
    const int first = FirstKeyOfGroup(group);
    if (first == SwitchKey) return SwitchPicture(g.Width, g.Height, pressed);
    const QRect inside = KeyInside(first);
    const KeyStyle& style = *Styles[group];
    return pressed ? PressedKey(g.Width, g.Height, inside, style)
                   : ReleasedKey(g.Width, g.Height, inside, style);
}

void DrawTransparent(QImage& image, int x, int y, const QImage& picture) {
    for (int py = 0; py < picture.height(); ++py)
        for (int px = 0; px < picture.width(); ++px) {
            const QRgb pixel = picture.pixel(px, py);
            if (pixel != art::Transparent) image.setPixel(x + px, y + py, pixel);
        }
}
