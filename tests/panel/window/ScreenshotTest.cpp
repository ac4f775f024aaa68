// F12 saves the face as the window shows it, at its zoom, as a PNG file of a
// name of its own in the run folder, and copies it to the clipboard.
#include "PanelFixture.h"
#include "panel/window/FaceNote.h"
#include "panel/KeyLayout.h"
#include "panel/window/Screenshot.h"

#include <QClipboard>
#include <QDir>

namespace {

QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

class Screenshot : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        StartStill();
        // Something on the display and a key held down, so that both must
        // show in the picture.
        Mk.LcdRam[1] = 0x15;
        Mk.LcdRam[48] = 0x1F;
        form->OnRefreshTimer();
        const KeyPlace key = PlaceOfKey(20);
        Press(key.x + 3, key.y + 3);
    }

    QStringList Screenshots() const {
        return QDir(QString::fromStdString(folder.path().string())).entryList({"vexal-*.png"}, QDir::Files, QDir::Name);
    }
};

TEST_F(Screenshot, F12SavesWhatTheWindowShowsAndCopiesIt) {
    for (const int zoom : {1, 2}) {
        form->SetZoom(zoom);
        form->Note().hide();  // the last one's
        const QImage shown = Rgb(form->grab().toImage());
        ASSERT_EQ(shown.size(), QSize(FaceWidth, FaceHeight) * zoom);
        const QStringList before = Screenshots();
        KeyDown(Qt::Key_F12);
        QStringList added = Screenshots();
        for (const QString& old : before) added.removeOne(old);
        ASSERT_EQ(added.size(), 1) << "zoom " << zoom;
        const QString name = added.first();
        const QImage saved(QString::fromStdString(folder / name.toStdString()), "PNG");
        EXPECT_TRUE(Rgb(saved) == shown) << "zoom " << zoom;
        EXPECT_TRUE(Rgb(QGuiApplication::clipboard()->image()) == shown) << "zoom " << zoom;
        EXPECT_TRUE(form->Note().isVisible());
        EXPECT_TRUE(form->Note().text().contains(name)) << form->Note().text().toStdString();
    }
}

// Names are taken in turn within one second; a file already there, the
// user's or an earlier screenshot, is never replaced.
TEST(ScreenshotFile, EachTakesANameOfItsOwn) {
    TempFolder folder;
    const QString in = QString::fromStdString(folder.path().string());
    const QDateTime when(QDate(2026, 12, 8), QTime(10, 9, 8));
    folder.WriteText("vexal-20261208-100908.png", "the user's own");
    QImage picture(4, 3, QImage::Format_RGB32);
    QStringList written;
    for (int i = 0; i < 3; ++i) {
        picture.fill(qRgb(10 * i, 20, 30));
        const SavedScreenshot saved = SaveScreenshot(picture, in, when);
        ASSERT_TRUE(saved.problem.isEmpty()) << saved.problem.toStdString();
        written << QFileInfo(saved.path).fileName();
    }
    EXPECT_EQ(written, QStringList({"vexal-20261208-100908-2.png", "vexal-20261208-100908-3.png",
                                    "vexal-20261208-100908-4.png"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(QImage(in + "/" + written[i]).pixel(0, 0), qRgb(10 * i, 20, 30)) << written[i].toStdString();
    const std::vector<uint8_t> own = folder.Read("vexal-20261208-100908.png");
    EXPECT_EQ(std::string(own.begin(), own.end()), "the user's own");

    const SavedScreenshot nowhere = SaveScreenshot(picture, in + "/missing", when);
    EXPECT_TRUE(nowhere.path.isEmpty());
    EXPECT_FALSE(nowhere.problem.isEmpty());
}

}  // namespace
