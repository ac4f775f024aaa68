#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <tuple>

#include "panel/KeyLayout.h"
#include "panel/LcdLayout.h"

namespace {

constexpr QRgb Green = 0xFF00FF00;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;

QString ArtFile(const char* name) { return QStringLiteral(VEXAL_ART_DIR "/") + QString::fromLatin1(name); }

const QImage& Face() {
    static const QImage face = QImage(ArtFile("face.bmp")).convertToFormat(QImage::Format_RGB32);
    return face;
}

const QImage& Keys() {
    static const QImage keys = QImage(ArtFile("keys.bmp")).convertToFormat(QImage::Format_RGB32);
    return keys;
}

std::string Hex(QRgb pixel) { return QString::number(pixel & 0xFFFFFF, 16).rightJustified(6, '0').toStdString(); }

std::string At(int x, int y) { return QString("(%1,%2)").arg(x).arg(y).toStdString(); }

// The inside of key 2..55, relative to its corner: what moves while it is held.
QRect InsideOf(int key) {
    const KeyGroup& g = KeyGroups[PlaceOfKey(key).group];
    return {4, 4, g.Width - 9, key <= 36 ? g.Height - 8 : g.Height - 9};
}

int FirstKeyOf(int group) {
    int first = 1;
    for (int g = 0; g < group; ++g) first += KeyGroups[g].Count;
    return first;
}

QRect PictureRect(int group, bool pressed) {
    const KeyGroup& g = KeyGroups[group];
    return {g.SrcX, g.SrcY + (pressed ? 0 : g.Height), g.Width, g.Height};
}

QImage Picture(int group, bool pressed) { return Keys().copy(PictureRect(group, pressed)); }

// Draws picture onto image with pure green transparent, as the window does.
void DrawGreenTransparent(QImage& image, int x, int y, const QImage& picture) {
    QImage masked = picture.convertToFormat(QImage::Format_ARGB32);
    for (int py = 0; py < masked.height(); ++py)
        for (int px = 0; px < masked.width(); ++px)
            if (masked.pixel(px, py) == Green) masked.setPixel(px, py, 0);
    QPainter painter(&image);
    painter.drawImage(x, y, masked);
}

// Moves the inside of a key one pixel right and down (press) or back
// (release), then draws the key's picture; the switch key only swaps pictures.
void PressOrRelease(QImage& image, int key, bool press) {
    const KeyPlace place = PlaceOfKey(key);
    if (key != SwitchKey) {
        const QRect inside = InsideOf(key).translated(place.x, place.y);
        const QRect from = press ? inside : inside.translated(1, 1);
        const QPoint to = press ? inside.topLeft() + QPoint(1, 1) : inside.topLeft();
        const QImage moved = image.copy(from);
        QPainter painter(&image);
        painter.drawImage(to, moved);
    }
    DrawGreenTransparent(image, place.x, place.y, Picture(place.group, press));
}

std::string FirstDifference(const QImage& before, const QImage& after) {
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                return "first difference at " + At(x, y) + ": " + Hex(before.pixel(x, y)) + " became " +
                       Hex(after.pixel(x, y));
    return "none";
}

TEST(Artwork, FilesAreUncompressedTwentyFourBitWindowsBitmaps) {
    for (const auto& [name, width, height] : {std::tuple{"face.bmp", 760, 330}, std::tuple{"keys.bmp", 188, 63}}) {
        QFile file(ArtFile(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray header = file.read(54);
        ASSERT_EQ(header.size(), 54) << name;
        auto field = [&](int offset, int bytes) {
            uint32_t value = 0;
            for (int i = bytes - 1; i >= 0; --i) value = value << 8 | uint8_t(header[offset + i]);
            return value;
        };
        EXPECT_EQ(header.left(2), QByteArray("BM")) << name;
        EXPECT_EQ(field(18, 4), uint32_t(width)) << name;
        EXPECT_EQ(field(22, 4), uint32_t(height)) << name;
        EXPECT_EQ(field(28, 2), 24u) << name << ": bits per pixel";
        EXPECT_EQ(field(30, 4), 0u) << name << ": compression";
        EXPECT_EQ(QImage(ArtFile(name), "BMP").size(), QSize(width, height)) << name;
    }
}

TEST(Artwork, DisplayWindowIsPlainWhite) {
    for (int y = LcdTop; y < LcdTop + LcdHeight; ++y)
        for (int x = LcdLeft; x < LcdLeft + LcdWidth; ++x)
            ASSERT_EQ(Face().pixel(x, y), White) << At(x, y);
}

// Released pictures let the printed label show through exactly on the inside;
// pressed pictures let the moved inside show through. Neither may be
// transparent on the key's walls, which the press changes.
TEST(Artwork, KeyPicturesAreTransparentWhereTheInsideShows) {
    for (int group = 1; group < KeyGroupCount; ++group) {
        const QRect inside = InsideOf(FirstKeyOf(group));
        const QImage released = Picture(group, false);
        const QImage pressed = Picture(group, true);
        for (int y = 0; y < released.height(); ++y)
            for (int x = 0; x < released.width(); ++x) {
                const QPoint p(x, y);
                const bool changedByPress = inside.translated(1, 1).contains(p) || pressed.pixel(p) != Green;
                if (inside.contains(p)) {
                    EXPECT_EQ(released.pixel(p), Green) << "released picture of group " << group << " at " << At(x, y);
                } else if (changedByPress) {
                    EXPECT_NE(released.pixel(p), Green) << "released picture of group " << group << " at " << At(x, y);
                }
                if (inside.translated(1, 1).contains(p)) {
                    EXPECT_EQ(pressed.pixel(p), Green) << "pressed picture of group " << group << " at " << At(x, y);
                }
            }
    }
}

// The switch only swaps pictures, so its released picture must cover all
// that the pressed one paints.
TEST(Artwork, SwitchPicturesCoverEachOther) {
    const QImage released = Picture(0, false);
    const QImage pressed = Picture(0, true);
    for (int y = 0; y < released.height(); ++y)
        for (int x = 0; x < released.width(); ++x)
            if (pressed.pixel(x, y) != Green) {
                EXPECT_NE(released.pixel(x, y), Green) << At(x, y);
            }
    EXPECT_NE(released, pressed);
}

TEST(Artwork, PressingThenReleasingEveryKeyLeavesTheFaceAsItWas) {
    for (int key = 1; key <= LastFaceKey; ++key) {
        QImage image = Face().copy();
        PressOrRelease(image, key, true);
        EXPECT_NE(image, Face()) << "key " << key << " does not look pressed";
        PressOrRelease(image, key, false);
        EXPECT_EQ(image, Face()) << "key " << key << ": " << FirstDifference(Face(), image);
    }
}

// Every key carries a label: its inside on the face is not a plain fill.
TEST(Artwork, EveryKeyIsLabelled) {
    for (int key = 2; key <= LastFaceKey; ++key) {
        const KeyPlace place = PlaceOfKey(key);
        const QRect inside = InsideOf(key).translated(place.x, place.y);
        const QRgb fill = Face().pixel(inside.topLeft());
        int ink = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x) ink += Face().pixel(x, y) != fill;
        EXPECT_GE(ink, 6) << "key " << key << " at " << At(place.x, place.y);
    }
}

// The indicators are opaque black-on-white pictures, 7 rows high, inked over
// their whole height, with white gaps between them.
TEST(Artwork, IndicatorStripHoldsTenPicturesInTheirPlaces) {
    const QRect strip(0, IndicatorSrcY, Indicators[IndicatorCount - 1].srcX + Indicators[IndicatorCount - 1].width,
                      IndicatorHeight);
    std::vector<bool> covered(strip.width(), false);
    for (const Indicator& indicator : Indicators) {
        int inkTop = IndicatorHeight, inkBottom = -1;
        for (int y = 0; y < IndicatorHeight; ++y)
            for (int x = indicator.srcX; x < indicator.srcX + indicator.width; ++x) {
                covered[x] = true;
                const QRgb pixel = Keys().pixel(x, IndicatorSrcY + y);
                ASSERT_TRUE(pixel == Black || pixel == White) << indicator.name << " at " << At(x, IndicatorSrcY + y);
                if (pixel == Black) {
                    inkTop = std::min(inkTop, y);
                    inkBottom = std::max(inkBottom, y);
                }
            }
        EXPECT_EQ(inkTop, 0) << indicator.name;
        EXPECT_EQ(inkBottom, IndicatorHeight - 1) << indicator.name;
    }
    for (int x = 0; x < strip.width(); ++x)
        if (!covered[x]) {
            for (int y = strip.top(); y <= strip.bottom(); ++y) EXPECT_EQ(Keys().pixel(x, y), White) << At(x, y);
        }
    for (int group = 0; group < KeyGroupCount; ++group)
        for (const bool pressed : {true, false}) {
            const QRect picture = PictureRect(group, pressed);
            EXPECT_TRUE(QRect(0, 0, 188, 63).contains(picture)) << "group " << group;
            EXPECT_FALSE(picture.intersects(strip)) << "group " << group << (pressed ? " pressed" : " released");
        }
}

}  // namespace
