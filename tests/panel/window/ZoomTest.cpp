// --zoom: the window N times larger, pixel for pixel, with clicks landing
// where they land at zoom 1.
#include "PanelFixture.h"
#include "panel/KeyLayout.h"
#include "panel/LcdLayout.h"

#include <QPainter>

namespace {

class Zoom : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        StartStill(2);
    }
};

TEST_F(Zoom, AClickAtZoomTwoHitsWhatItHitsAtZoomOne) {
    EXPECT_EQ(form->size(), QSize(2 * 760, 2 * 330));
    int drags = 0;
    for (int key = SwitchKey + 1; key <= LastFaceKey; ++key) {
        const KeyPlace p = PlaceOfKey(key);
        const KeyGroup& g = KeyGroups[p.group];
        // Both window pixels of each face pixel at the key's edges, and the
        // face pixels just outside it.
        for (const QPoint face : {QPoint(p.x, p.y), QPoint(p.x + g.Width - 1, p.y + g.Height - 1),
                                  QPoint(p.x - 1, p.y), QPoint(p.x + g.Width, p.y + g.Height - 1)}) {
            KeyPlace place;
            const int expected = KeyAtPoint(face.x(), face.y(), place);
            for (const QPoint window : {face * 2, face * 2 + QPoint(1, 1)}) {
                Press(window.x(), window.y());
                EXPECT_EQ(Mk.MouseKey, expected) << "window (" << window.x() << "," << window.y() << ")";
                drags += expected == 0;
                Release(window.x(), window.y());
            }
        }
    }
    EXPECT_EQ(form->drags, drags);
}

TEST_F(Zoom, EveryFacePixelIsAnUnsmoothedSquare) {
    // A pressed key and a lit row of the display show too.
    const KeyPlace key = PlaceOfKey(20);
    Press(2 * key.x + 3, 2 * key.y + 3);
    ASSERT_EQ(Mk.MouseKey, 20);
    Mk.LcdRam[1] = 0x1F;
    form->OnRefreshTimer();
    const QImage window = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(window.size(), form->size());
    QImage face = form->FaceBitmap->copy();
    QPainter(&face).drawImage(LcdLeft, LcdTop, *form->LcdBitmap);
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x)
            ASSERT_EQ(window.pixel(x, y), face.pixel(x / 2, y / 2)) << "window (" << x << "," << y << ")";
}

}  // namespace
