#include "PanelFixture.h"
#include "panel/KeyLayout.h"
#include "panel/LcdLayout.h"

#include <QKeyEvent>

namespace {

// Empty when the images are equal, else where they first differ.
std::string Difference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size()) return "sizes differ";
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                char text[96];
                std::snprintf(text, sizeof text, "first difference at (%d,%d): %08x instead of %08x", x, y,
                              actual.pixel(x, y), expected.pixel(x, y));
                return text;
            }
    return {};
}

class Keys : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        InstallPictures();
        StartStill();
        form->ShowDebugWindow = [this] { ++debugWindowShown; };
        Mk.HaltRequest = false;
    }

    // The face without the display, which repaints put into it.
    QImage FaceOutsideDisplay() const {
        QImage face = form->FaceBitmap->copy();
        for (int y = LcdTop; y < LcdTop + LcdHeight; ++y)
            for (int x = LcdLeft; x < LcdLeft + LcdWidth; ++x) face.setPixel(x, y, 0);
        return face;
    }

    // The pictures the window starts with; our test pictures unless a test
    // brings its own.
    virtual void InstallPictures() {}

    void PressAndReleaseEveryKey() {
        const QImage before = FaceOutsideDisplay();
        for (int key = 1; key <= LastFaceKey; ++key) {
            const KeyPlace p = PlaceOfKey(key);
            Press(p.x + 2, p.y + 2);
            ASSERT_EQ(Mk.MouseKey, key);
            EXPECT_NE(FaceOutsideDisplay(), before) << "key " << key << " looks pressed";
            if (key == SwitchKey) {
                Move(0, 0);
                Release(0, 0);
            } else {
                Release(p.x + 2, p.y + 2);
            }
            ASSERT_EQ(Difference(FaceOutsideDisplay(), before), "") << "key " << key;
        }
    }

    int debugWindowShown = 0;
};


TEST_F(Keys, TypedCharactersHoldTheirKeys) {
    struct Case {
        int qtKey;
        const char16_t* text;
        int before, after;
        bool halt;
    };
    const Case cases[] = {
        {Qt::Key_W, u"w", 0, 7, false},        {Qt::Key_W, u"W", 0, 7, false},
        {0, u"\u0446", 0, 7, false},            // Cyrillic small tse
        {0, u"\u0426", 0, 7, false},            // capital Tse
        {Qt::Key_F, u"f", 0, 20, false},        {0, u"\u0430", 0, 20, false},  // а
        {Qt::Key_Q, u"q", 20, 20, false},       {Qt::Key_Q, u"Q", 0, 0, false},
        {Qt::Key_QuoteLeft, u"`", 0, 39, true}, {0, u"\u0451", 0, 39, true},   // ё
        {0, u"\u0401", 0, 39, true},            // Ё
        {Qt::Key_7, u"7", 0, 41, false},        {Qt::Key_0, u"0", 0, 53, false},
        {Qt::Key_Space, u" ", 0, 54, false},    {Qt::Key_A, u"a", 0, 17, false},
        {Qt::Key_Minus, u"-", 0, 37, false},    {Qt::Key_Apostrophe, u"'", 0, 36, false},
        {Qt::Key_BracketLeft, u"[", 0, 16, false}, {Qt::Key_Backslash, u"\\", 0, 40, false},
        {0, u"\u044d", 0, 36, false},           // э
        {0, u"\u00e9", 5, 5, false},            // é has no key
        {Qt::Key_Backspace, u"\b", 6, 6, false},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        Mk.PcKey = c.before;
        Mk.HaltRequest = false;
        KeyDown(c.qtKey, text);
        EXPECT_EQ(Mk.PcKey, c.after) << text.toStdString();
        EXPECT_EQ(Mk.HaltRequest, c.halt) << text.toStdString();
    }
}

TEST_F(Keys, SpecialKeysHoldTheirKeysAndF3ShowsTheDebugWindow) {
    struct Case {
        int qtKey;
        int after;
    };
    const Case cases[] = {
        {Qt::Key_Return, 55}, {Qt::Key_Enter, 55}, {Qt::Key_Escape, 52}, {Qt::Key_End, 6},  {Qt::Key_Home, 5},
        {Qt::Key_Left, 3},    {Qt::Key_Right, 4},  {Qt::Key_Insert, 2},  {Qt::Key_Delete, 48}, {Qt::Key_F8, 56},
        {Qt::Key_Up, 9},      {Qt::Key_Down, 9},   {Qt::Key_F3, 9},      {Qt::Key_F1, 9},
    };
    for (const Case& c : cases) {
        Mk.PcKey = 9;
        KeyDown(c.qtKey);
        EXPECT_EQ(Mk.PcKey, c.after) << "Qt key 0x" << std::hex << c.qtKey;
    }
    EXPECT_EQ(debugWindowShown, 1);
    form->ShowDebugWindow = nullptr;
    KeyDown(Qt::Key_F3);  // with no debug window yet, nothing happens
    EXPECT_EQ(Mk.PcKey, 9);
}

TEST_F(Keys, AHeldKeyRepeatsWithoutBeingReleased) {
    KeyDown(Qt::Key_W, "w");
    ASSERT_EQ(Mk.PcKey, 7);
    for (int i = 0; i < 5; ++i) {
        Key(QEvent::KeyRelease, Qt::Key_W, "w", true);
        EXPECT_EQ(Mk.PcKey, 7) << "auto-repeat " << i;
        Key(QEvent::KeyPress, Qt::Key_W, "w", true);
        form->OnRunTimer();
    }
    KeyUp(Qt::Key_W, "w");
    EXPECT_EQ(Mk.PcKey, 0);

    // Any real key-up releases, whichever key it was.
    KeyDown(Qt::Key_Delete);
    form->OnRunTimer();
    KeyUp(Qt::Key_Shift);
    EXPECT_EQ(Mk.PcKey, 0);
}

TEST_F(Keys, WhileTheHaltKeyIsHeldEveryCharacterRaisesTheRequestAgain) {
    KeyDown(Qt::Key_QuoteLeft, "`");
    Mk.HaltRequest = false;
    Mk.KeyOut = 0;
    KeyDown(Qt::Key_Q, "q");
    EXPECT_TRUE(Mk.HaltRequest);
    EXPECT_EQ(Mk.PcKey, 39);
}

struct HitCase {
    int x, y;
    int key;  // 0: a miss, which drags the window
};

TEST_F(Keys, ClicksHitKeysOrDragTheWindow) {
    const HitCase cases[] = {
        {83, 149, 1},  {111, 179, 1},  {112, 149, 0}, {83, 180, 0},  {82, 149, 0},   {23, 200, 7},
        {75, 242, 18}, {60, 200, 0},   {58, 200, 7},  {23, 221, 0},  {23, 326, 0},   {283, 158, 2},
        {491, 178, 6}, {535, 158, 0},  {596, 279, 54}, {647, 279, 55}, {733, 306, 55}, {734, 279, 0},
        {545, 83, 37}, {740, 279, 0},  {698, 279, 55},  {0, 0, 0},     {759, 329, 0},
    };
    for (const HitCase& c : cases) {
        const int drags = form->drags;
        Press(c.x, c.y);
        EXPECT_EQ(Mk.MouseKey, c.key) << "(" << c.x << ',' << c.y << ')';
        EXPECT_EQ(form->drags - drags, c.key == 0 ? 1 : 0) << "(" << c.x << ',' << c.y << ')';
        Move(-5, -5);  // off the key: released, so letting go does nothing
        EXPECT_EQ(Mk.MouseKey, 0);
        Release(-5, -5);
    }
    EXPECT_TRUE(form->isVisible());
}

// Off the keys it shows the menu (MenuTest), and that is all it does.
TEST_F(Keys, TheRightButtonPressesNoKeyAndDragsNothing) {
    const QImage face = FaceOutsideDisplay();
    for (const HitCase c : {HitCase{23, 200, 7}, HitCase{83, 149, 1}, HitCase{60, 200, 0}}) {
        Press(c.x, c.y, Qt::RightButton);
        Release(c.x, c.y, Qt::RightButton);
        EXPECT_EQ(Mk.MouseKey, 0);
        if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
    }
    EXPECT_EQ(form->drags, 0);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Difference(FaceOutsideDisplay(), face), "");
}

TEST_F(Keys, APressedKeyShowsItsPictureOverItsInsideMovedRightAndDown) {
    const QImage before = form->FaceBitmap->copy();
    const QImage beforeOutsideDisplay = FaceOutsideDisplay();
    const QImage keys = TestKeys();
    const KeyPlace p = PlaceOfKey(20);
    const KeyGroup& g = KeyGroups[p.group];
    QImage expected = before.copy();
    for (int j = 0; j < g.Height - 8; ++j)
        for (int i = 0; i < g.Width - 9; ++i) expected.setPixel(p.x + 5 + i, p.y + 5 + j, before.pixel(p.x + 4 + i, p.y + 4 + j));
    for (int dy = 0; dy < g.Height; ++dy)
        for (int dx = 0; dx < g.Width; ++dx)
            if (keys.pixel(g.SrcX + dx, g.SrcY + dy) != PureGreen)
                expected.setPixel(p.x + dx, p.y + dy, keys.pixel(g.SrcX + dx, g.SrcY + dy));

    Press(p.x + 10, p.y + 10);
    ASSERT_EQ(Mk.MouseKey, 20);
    EXPECT_EQ(Difference(*form->FaceBitmap, expected), "");
    const QImage window = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(Difference(window.copy(p.x, p.y, g.Width, g.Height), expected.copy(p.x, p.y, g.Width, g.Height)), "");

    // Moving within the key keeps it; moving off releases it for good.
    Move(p.x, p.y);
    EXPECT_EQ(Mk.MouseKey, 20);
    Move(p.x + g.Width, p.y);
    EXPECT_EQ(Mk.MouseKey, 0);
    EXPECT_EQ(Difference(FaceOutsideDisplay(), beforeOutsideDisplay), "");
    Move(p.x + 10, p.y + 10);
    EXPECT_EQ(Mk.MouseKey, 0);
    Release(p.x + 10, p.y + 10);
    EXPECT_EQ(Mk.MouseKey, 0);
    EXPECT_EQ(Difference(FaceOutsideDisplay(), beforeOutsideDisplay), "");
}

TEST_F(Keys, PressingAndReleasingEveryKeyLeavesTheFaceAsItWas) {
    PressAndReleaseEveryKey();
    const QImage before = FaceOutsideDisplay();
    // A second press lets go of the first key.
    Press(23, 200);
    Press(75, 242);
    EXPECT_EQ(Mk.MouseKey, 18);
    Release(75, 242);
    EXPECT_EQ(Difference(FaceOutsideDisplay(), before), "");
}

TEST_F(Keys, ReleasingOnTheSwitchKeyClosesTheProgramAndSavesTheRam) {
    Press(90, 160);
    Move(200, 10);
    Release(200, 10);
    EXPECT_TRUE(form->isVisible()) << "pressed on the switch, released elsewhere";

    bool closed = false;
    form->OnClosed = [&] { closed = true; };
    std::memset(Mk.Ram(), 0x77, RamSize);
    Press(90, 160);
    Release(90, 160);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(RamSize, 0x77));
}

TEST_F(Keys, TheHaltKeyByMouseActsOnReleaseOnlyWhileItsColumnIsSelected) {
    const KeyPlace p = PlaceOfKey(HaltKey);
    Mk.KeyOut = 0;
    Press(p.x + 1, p.y + 1);
    EXPECT_EQ(Mk.MouseKey, HaltKey);
    EXPECT_FALSE(Mk.HaltRequest) << "not on press";
    Release(p.x + 1, p.y + 1);
    EXPECT_FALSE(Mk.HaltRequest);

    Mk.KeyOut = 0x0002;
    Press(p.x + 1, p.y + 1);
    EXPECT_FALSE(Mk.HaltRequest);
    Release(p.x + 1, p.y + 1);
    EXPECT_TRUE(Mk.HaltRequest);
}

TEST_F(Keys, LosingActivationReleasesBothKeys) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const QImage before = FaceOutsideDisplay();
    Press(23, 200);
    KeyDown(Qt::Key_W, "w");
    ASSERT_EQ(Mk.MouseKey, 7);
    ASSERT_EQ(Mk.PcKey, 7);

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(Mk.MouseKey, 0);
    EXPECT_EQ(Mk.PcKey, 0);
    EXPECT_EQ(Difference(FaceOutsideDisplay(), before), "");
}

// Key pictures that are all transparent leave only the moved inside to see.
class KeysWithClearPictures : public Keys {
protected:
    void InstallPictures() override {
        QImage keys(KeysWidth, KeysHeight, QImage::Format_RGB32);
        keys.fill(PureGreen);
        ASSERT_TRUE(keys.save(QString::fromStdString(folder / "keys.bmp"), "BMP"));
    }
};

// The inside is Width - 9 pixels wide and Height - 8 high on the keys of the
// two lower blocks (2..36), Height - 9 high on the others (37..55).
TEST_F(KeysWithClearPictures, ThePressedInsideHasTheHeightOfItsKeyBlock) {
    for (const int key : {2, 6, 7, 36, 37, 54, 55}) {
        const QImage before = form->FaceBitmap->copy();
        const KeyPlace p = PlaceOfKey(key);
        const KeyGroup& g = KeyGroups[p.group];
        const int height = g.Height - (key <= 36 ? 8 : 9);
        QImage expected = before.copy();
        for (int j = 0; j < height; ++j)
            for (int i = 0; i < g.Width - 9; ++i)
                expected.setPixel(p.x + 5 + i, p.y + 5 + j, before.pixel(p.x + 4 + i, p.y + 4 + j));
        Press(p.x + 1, p.y + 1);
        ASSERT_EQ(Mk.MouseKey, key);
        EXPECT_EQ(Difference(*form->FaceBitmap, expected), "") << "key " << key;
        Move(-5, -5);
    }
}

#ifdef VEXAL_ART_DIR
// The same with the pictures that the build draws for the installation.
class KeysOnTheArtwork : public Keys {
protected:
    void InstallPictures() override {
        for (const char* name : {"face.bmp", "keys.bmp"}) {
            std::filesystem::remove(folder / name);
            std::filesystem::copy_file(std::filesystem::path(VEXAL_ART_DIR) / name, folder / name);
        }
    }
};

TEST_F(KeysOnTheArtwork, PressingAndReleasingEveryKeyLeavesTheFaceAsItWas) {
    ASSERT_TRUE(warnings.empty()) << warnings.front();
    PressAndReleaseEveryKey();
}
#endif

}  // namespace
