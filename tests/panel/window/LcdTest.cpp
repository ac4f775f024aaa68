#include "MessageLoop.h"
#include "PanelFixture.h"
#include "TestPictures.h"
#include "panel/window/LcdView.h"

#include <QPaintEvent>
#include <QRegion>

#include <cstring>
#include <random>
#include <sstream>

namespace {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb White = 0xFFFFFFFF;

struct Box {
    int left, top, right, bottom;
};

// The display as it must look, drawn here from the machine's display layout
// written out again, independently of the window's tables.
struct IndicatorPlace {
    int index, bit, x, y, width, srcX;
};
constexpr IndicatorPlace IndicatorPlaces[10] = {
    {0, 0, 0, 5, 16, 0},      {0, 1, 19, 0, 5, 17},    {0, 2, 19, 9, 5, 41},    {8, 0, 27, 0, 17, 23},
    {8, 1, 26, 9, 19, 47},    {8, 4, 49, 5, 16, 67},   {24, 0, 71, 5, 17, 84},  {32, 0, 93, 5, 17, 102},
    {40, 0, 116, 5, 11, 120}, {88, 3, 204, 5, 23, 132},
};
constexpr Box Digit0[7] = {
    {142, 3, 144, 8}, {143, 8, 148, 10}, {141, 9, 143, 14}, {142, 14, 147, 16},
    {147, 10, 149, 15}, {148, 4, 150, 9}, {144, 2, 149, 4},
};

void FillBox(QImage& image, Box box, QRgb colour) {
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) image.setPixel(x, y, colour);
}

QImage ExpectedDisplay(const uint8_t* lcd, bool cursorShown) {
    QImage image(227, 51, QImage::Format_RGB32);
    image.fill(White);
    for (int k = 0; k < 12; ++k)
        for (int r = 1; r <= 7; ++r) {
            uint8_t v = lcd[8 * k + r];
            if (cursorShown && (lcd[96] & 0x0F) == k) v = (r == 7 || !(lcd[96] & 0x10)) ? 0x1F : 0;
            for (int c = 0; c < 5; ++c) {
                const int x = 2 + 19 * k + 3 * c, y = 24 + 4 * (r - 1);
                FillBox(image, {x, y, x + 2, y + 3}, (v >> c & 1) ? Black : White);
            }
        }
    for (const IndicatorPlace& p : IndicatorPlaces)
        if (lcd[p.index] >> p.bit & 1)
            for (int dy = 0; dy < 7; ++dy)
                for (int dx = 0; dx < p.width; ++dx)
                    image.setPixel(p.x + dx, p.y + dy, IndicatorColour(int(&p - IndicatorPlaces), dx, dy));
    for (int n = 0; n < 28; ++n) {
        const int d = n / 7;
        const Box b = Digit0[n % 7];
        if (lcd[48 + 8 * (n / 5)] >> (n % 5) & 1) FillBox(image, {b.left + 16 * d, b.top, b.right + 16 * d, b.bottom}, Black);
    }
    return image;
}

std::string FirstDifference(const QImage& actual, const QImage& expected) {
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                std::ostringstream out;
                out << "first difference at (" << x << ',' << y << "): 0x" << std::hex << actual.pixel(x, y)
                    << " instead of 0x" << expected.pixel(x, y);
                return out.str();
            }
    return {};
}

class Lcd : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        StartStill();
        form->CursorPhase = false;
        form->LcdDirty = false;
        form->RenderLcd();
    }

    void ExpectDisplay(const std::string& what) {
        EXPECT_EQ(FirstDifference(*form->LcdBitmap, ExpectedDisplay(Mk.LcdRam.data(), form->CursorPhase)), "") << what;
    }
    void RenderAndExpect(const std::string& what) {
        form->LcdDirty = false;
        form->RenderLcd();
        EXPECT_TRUE(form->LcdDirty) << what;
        ExpectDisplay(what);
    }
};

TEST_F(Lcd, TheFirstRenderAfterShowingPaintsABlankDisplay) {
    ExpectDisplay("blank");
    EXPECT_TRUE(form->LcdDirty);
    for (int i = 0; i < 96; ++i)
        if (i % 8 != 0 || i == 0 || i == 8 || (i >= 24 && i <= 88)) {
            EXPECT_EQ(form->LcdShadow[i], 0) << "index " << i;
        }
}

// The self-test of a firmware lights everything at once: bytes of 0xFF, the
// very value the shadow starts with, are drawn all the same.
TEST_F(Lcd, TheFirstFrameDrawsEveryByteEvenOneEqualToTheShadow) {
    form->FormShow();
    std::memset(Mk.LcdRam.data(), 0xFF, 96);
    form->LcdDirty = false;
    form->RenderLcd();
    EXPECT_TRUE(form->LcdDirty);
    ExpectDisplay("all lit");
    // After it only what changes is drawn again.
    form->LcdDirty = false;
    form->RenderLcd();
    EXPECT_FALSE(form->LcdDirty);
}

TEST_F(Lcd, CharacterRowsLightTheirDotsAndIgnoreBits5To7) {
    const uint8_t rows[] = {0x1F, 0xE0, 0x15, 0x0A, 0x01, 0x10, 0xFF, 0x00};
    for (int k = 0; k < 12; ++k)
        for (int r = 1; r <= 7; ++r) Mk.LcdRam[8 * k + r] = rows[(k * 7 + r) % 8];
    RenderAndExpect("a page of rows");
    for (int k = 0; k < 12; ++k) Mk.LcdRam[8 * k + 3] = 0xE0;
    RenderAndExpect("rows cleared by their high bits");
}

TEST_F(Lcd, EveryIndicatorShowsItsPictureAndClearsToWhite) {
    for (int i = 0; i < 10; ++i) {
        const IndicatorPlace& p = IndicatorPlaces[i];
        Mk.LcdRam[p.index] = uint8_t(1 << p.bit);
        RenderAndExpect("indicator " + std::to_string(i) + " on");
        Mk.LcdRam[p.index] = 0;
        RenderAndExpect("indicator " + std::to_string(i) + " off");
    }
}

TEST_F(Lcd, EverySegmentLightsItsOwnRectangle) {
    for (int n = 0; n < 28; ++n) {
        const int index = 48 + 8 * (n / 5);
        Mk.LcdRam[index] = uint8_t(1 << (n % 5));
        RenderAndExpect("segment " + std::to_string(n));
        Mk.LcdRam[index] = 0;
        RenderAndExpect("segment " + std::to_string(n) + " off");
    }
    // The named cases: lower left and upper right of digit 0.
    Mk.LcdRam[48] = 0x04;
    Mk.LcdRam[56] = 0x01;
    form->RenderLcd();
    EXPECT_EQ(form->LcdBitmap->pixel(141, 9), Black);
    EXPECT_EQ(form->LcdBitmap->pixel(142, 13), Black);
    EXPECT_EQ(form->LcdBitmap->pixel(148, 4), Black);
    EXPECT_EQ(form->LcdBitmap->pixel(149, 8), Black);
    EXPECT_EQ(form->LcdBitmap->pixel(143, 9), White);
}

TEST_F(Lcd, BothCursorShapesBlinkOverTheirCell) {
    for (int r = 1; r <= 7; ++r) Mk.LcdRam[8 * 3 + r] = 0x0A;
    struct Case {
        uint8_t cursor;
        const char* what;
    };
    for (const Case c : {Case{0x03, "block"}, Case{0x13, "underline"}, Case{0xE3, "block, high bits set"},
                         Case{0x0C, "cell 12: none"}, Case{0x0F, "cell 15: none"}}) {
        Mk.LcdRam[96] = c.cursor;
        for (int half = 0; half < 4; ++half) {
            form->OnCursorTimer();
            form->RenderLcd();
            ExpectDisplay(std::string(c.what) + (form->CursorPhase ? " shown" : " hidden"));
        }
    }
    Mk.LcdRam[96] = 0x03;
    form->CursorPhase = true;
    form->RenderLcd();
    for (int r = 1; r <= 7; ++r) EXPECT_EQ(form->LcdShadow[8 * 3 + r], 0x1F) << "the block stands for the rows";
    Mk.LcdRam[96] = 0x13;
    form->RenderLcd();
    EXPECT_EQ(form->LcdBitmap->pixel(2 + 19 * 3, 24), White) << "underline: row 1 blank";
    EXPECT_EQ(form->LcdBitmap->pixel(2 + 19 * 3, 48), Black) << "underline: row 7 lit";
}

TEST_F(Lcd, AnUnchangedBytePaintsNothing) {
    Mk.LcdRam[8 * 5 + 2] = 0x11;
    Mk.LcdRam[8] = 0x13;  // indicators RUN, WRT, DEG
    Mk.LcdRam[64] = 0x1F;
    form->RenderLcd();
    // Marks on pixels that only a repaint would cover.
    const QPoint marks[] = {{2 + 19 * 5, 28}, {2 + 19 * 5, 24}, {49, 5}, {27, 0}, {142 + 16 * 1, 9}};
    for (const QPoint m : marks) form->LcdBitmap->setPixel(m, 0xFF123456);

    Mk.LcdRam[8 * 5 + 2] = 0x11;  // written again with the same values
    Mk.LcdRam[8] = 0x13;
    Mk.LcdRam[64] = 0x1F;
    Mk.LcdRam[16] = 0xFF;  // address 0x90 is not shown
    for (int i = 97; i < 128; ++i) Mk.LcdRam[i] = 0xFF;  // nor is anything past the cursor byte
    form->LcdDirty = false;
    form->RenderLcd();
    EXPECT_FALSE(form->LcdDirty);
    for (const QPoint m : marks) EXPECT_EQ(form->LcdBitmap->pixel(m), 0xFF123456) << m.x() << ',' << m.y();

    // A change repaints all that its byte controls, and nothing else.
    Mk.LcdRam[8] = 0x12;
    form->RenderLcd();
    EXPECT_TRUE(form->LcdDirty);
    EXPECT_EQ(form->LcdBitmap->pixel(49, 5), IndicatorColour(5, 0, 0)) << "DEG repainted with its byte";
    EXPECT_EQ(form->LcdBitmap->pixel(27, 0), White) << "RUN went off";
    EXPECT_EQ(form->LcdBitmap->pixel(2 + 19 * 5, 28), 0xFF123456) << "other bytes untouched";
}

// Collects the areas of the window that are painted.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion painted;
};

// A refresh that drew something asks the window to repaint the display, and
// one that drew nothing asks for nothing.
TEST_F(Lcd, ARefreshThatDrewSomethingRepaintsTheDisplayOnTheWindow) {
    PaintRecorder recorder(*form);
    Serve(50);
    recorder.painted = {};
    form->OnRefreshTimer();
    Serve(50);
    EXPECT_TRUE(recorder.painted.isEmpty()) << "nothing changed";

    Mk.LcdRam[8 * 4 + 2] = 0x1F;
    form->OnRefreshTimer();
    EXPECT_TRUE(ServeUntil([&] { return recorder.painted.contains(QRect(70, 41, 227, 51)); }));
}

TEST_F(Lcd, TheRefreshShowsTheDisplayOnTheWindow) {
    Mk.LcdRam[8 * 0 + 1] = 0x1F;
    Mk.LcdRam[88] = 0x08;  // STOP
    form->RefreshTimer.start();
    form->CursorTimer.start();
    ServeUntil([&] {
        return FirstDifference(*form->LcdBitmap, ExpectedDisplay(Mk.LcdRam.data(), form->CursorPhase)).empty() &&
               !form->LcdDirty;
    });
    ExpectDisplay("through the timers");

    const QImage window = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(window.copy(70, 41, 227, 51), *form->LcdBitmap);
    EXPECT_EQ(form->FaceBitmap->copy(70, 41, 227, 51), *form->LcdBitmap);
    EXPECT_FALSE(form->LcdDirty);
}

// The view draws without a window what the window shows: random displays,
// each drawn over the one before as the refresh does, match the display drawn
// here and the window's own picture of the same bytes.
TEST_F(Lcd, TheViewAloneDrawsWhatTheWindowShows) {
    QImage bitmap(LcdWidth, LcdHeight, QImage::Format_RGB32);
    const QImage keys = TestKeys().convertToFormat(QImage::Format_RGB32);
    std::array<uint8_t, DrawnBytes> shadow{};
    bool redrawAll = false, dirty = false;
    LcdView view(bitmap, keys, shadow, redrawAll, dirty);
    view.Clear();
    std::mt19937 rng(85);
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Sparse rows, so that some bytes stay as they were and some change.
        for (int i = 0; i <= CursorByte; ++i)
            if (rng() % 3 == 0) Mk.LcdRam[i] = uint8_t(rng());
        const bool cursorShown = round % 2 == 1;
        dirty = false;
        view.Render(Mk.LcdRam.data(), cursorShown);
        EXPECT_TRUE(dirty);
        EXPECT_EQ(FirstDifference(bitmap, ExpectedDisplay(Mk.LcdRam.data(), cursorShown)), "");

        form->CursorPhase = cursorShown;
        form->RedrawDisplay();
        form->repaint();
        const QImage window = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(FirstDifference(window.copy(LcdLeft, LcdTop, LcdWidth, LcdHeight), bitmap), "");

        dirty = false;
        view.Render(Mk.LcdRam.data(), cursorShown);
        EXPECT_FALSE(dirty) << "nothing changed since";
    }
}

}  // namespace
