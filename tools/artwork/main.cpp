// Draws the front-panel pictures "face.bmp" and "keys.bmp" into the folder
// given on the command line. Runs headless at build time.
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "ArtPalette.h"
#include "FaceArt.h"
#include "IndicatorArt.h"
#include "KeyArt.h"
#include "panel/KeyLayout.h"

namespace {

constexpr int KeysWidth = 188;
constexpr int KeysHeight = 63;

// The labels use DejaVu Sans from fonts-dejavu-core, loaded by file so that
// no other font of the same family is picked instead.
bool LoadFonts() {
    for (const char* file : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                             "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"})
        if (QFontDatabase::addApplicationFont(QString::fromLatin1(file)) < 0) {
            std::fprintf(stderr, "vexal_artwork: cannot load the font %s\n", file);
            return false;
        }
    return true;
}

// Every group's pressed picture at its source corner and the released one
// directly below; the indicators in the strip underneath. What is left over
// stays white.
QImage DrawKeys() {
    QImage keys(KeysWidth, KeysHeight, QImage::Format_RGB32);
    keys.fill(art::LcdGlass);
    for (int group = 0; group < KeyGroupCount; ++group) {
        const KeyGroup& g = KeyGroups[group];
        const QImage pressed = KeyPicture(group, true);
        const QImage released = KeyPicture(group, false);
        for (int y = 0; y < g.Height; ++y)
            for (int x = 0; x < g.Width; ++x) {
                keys.setPixel(g.SrcX + x, g.SrcY + y, pressed.pixel(x, y));
                keys.setPixel(g.SrcX + x, g.SrcY + g.Height + y, released.pixel(x, y));
            }
    }
    if (!DrawIndicatorStrip(keys)) return {};
    return keys;
}

bool Save(const QImage& image, const QString& path) {
    if (!image.isNull() && image.save(path, "BMP")) return true;
    std::fprintf(stderr, "vexal_artwork: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vexal_artwork <output folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!LoadFonts()) return 1;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = Save(DrawFace(), folder + QStringLiteral("/face.bmp")) &&
                    Save(DrawKeys(), folder + QStringLiteral("/keys.bmp"));
    return ok ? 0 : 1;
}
