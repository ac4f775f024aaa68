// Draws the front-panel pictures "face.bmp" and "keys.bmp" into the folder
// given on the command line, and the program's icon as "vexal-N.png" for each
// size N that follows it. Runs headless at build time.
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "ArtPalette.h"
#include "FaceArt.h"
#include "IconArt.h"
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
        QPainter painter(&keys);
        painter.drawImage(g.SrcX, g.SrcY, KeyPicture(group, true));
        painter.drawImage(g.SrcX, g.SrcY + g.Height, KeyPicture(group, false));
    }
    if (!DrawIndicatorStrip(keys)) return {};
    return keys;
}

bool Save(const QImage& image, const QString& path, const char* format = "BMP") {
    if (!image.isNull() && image.save(path, format)) return true;
    std::fprintf(stderr, "vexal_artwork: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vexal_artwork <output folder> [icon size ...]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!LoadFonts()) return 1;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = Save(DrawFace(), folder + QStringLiteral("/face.bmp")) &&
              Save(DrawKeys(), folder + QStringLiteral("/keys.bmp"));
    for (int i = 2; ok && i < argc; ++i) {
        const QString size = QString::fromLocal8Bit(argv[i]);
        ok = Save(DrawIcon(size.toInt()), folder + QStringLiteral("/vexal-%1.png").arg(size), "PNG");
    }
    return ok ? 0 : 1;
}
