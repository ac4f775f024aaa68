// The window's menu, shown by a right click off the keys, and its entries
// chosen with the mouse; and the same actions from their keys.
#include "MessageLoop.h"
#include "PanelFixture.h"
#include "panel/window/FaceNote.h"
#include "panel/window/KeyHelp.h"
#include "panel/window/ModalDialogs.h"
#include "panel/KeyLayout.h"
#include "panel/window/WindowActions.h"
#include "panel/SnapshotFile.h"
#include "tests/support/MachineDifference.h"
#include "tests/support/MemoryImage.h"

#include <QFileInfo>
#include <QMenu>

#include <memory>

namespace {

constexpr uint16_t ResetPc = 0x1000;

class Menu : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        // A ROM whose reset leads to a branch to itself.
        folder.Write("rom.bin", RomImage({{0x0000, ResetPc}, {ResetPc, 0000777}}));
        StartStill(2);
    }

    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        PanelFixture::TearDown();
    }

    // A right click as the window system delivers it, at a point of the face.
    void RightClick(QPoint face) { QTest::mouseClick(form.get(), Qt::RightButton, {}, face * form->Zoom()); }

    QMenu* ShownMenu() const { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

    // Clicks the entry with the text in the menu shown, opening its submenu
    // first where it has one.
    void Choose(const char* submenu, const char* text) {
        QMenu* menu = ShownMenu();
        ASSERT_NE(menu, nullptr);
        if (*submenu) {
            QAction* opener = Find(menu, submenu);
            ASSERT_NE(opener, nullptr) << submenu;
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(opener).center());
            menu = opener->menu();
            ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
        }
        QAction* entry = Find(menu, text);
        ASSERT_NE(entry, nullptr) << text;
        ASSERT_TRUE(entry->isEnabled()) << text;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    }

    // Answers the file chooser that the next action opens with the path, as
    // the dialog does: a name typed without a suffix gets the one the window
    // asks for.
    void AnswerChooser(const QString& path, bool saving) {
        auto previous = std::make_shared<FileChooser>();
        *previous = SetFileChooser([previous, path, saving](QWidget*, const FileChoice& choice) {
            SetFileChooser(*previous);
            EXPECT_EQ(choice.saving, saving) << choice.title.toStdString();
            return QFileInfo(path).suffix().isEmpty() ? path + "." + choice.defaultSuffix : path;
        });
    }

    static QAction* Find(const QMenu* menu, const QString& text) {
        for (QAction* action : menu->actions())
            if (action->text().startsWith(text)) return action;
        return nullptr;
    }
};

// A point on the face that no key covers, and one on key 20.
constexpr QPoint OffTheKeys(40, 20);
const QPoint OnKey20(PlaceOfKey(20).x + 3, PlaceOfKey(20).y + 3);

TEST_F(Menu, ARightClickOffTheKeysShowsItAndOnAKeyDoesNothing) {
    RightClick(OnKey20);
    EXPECT_EQ(ShownMenu(), nullptr);
    EXPECT_EQ(Mk.MouseKey, 0);

    RightClick(OffTheKeys);
    QMenu* menu = ShownMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(form->drags, 0);
    // Every action with its key.
    int entries = 0;
    std::function<void(const QMenu*)> count = [&](const QMenu* shown) {
        for (const QAction* action : shown->actions()) {
            if (action->menu()) count(action->menu());
            else if (!action->isSeparator()) {
                EXPECT_FALSE(action->shortcut().isEmpty()) << action->text().toStdString();
                ++entries;
            }
        }
    };
    count(menu);
    EXPECT_EQ(entries, WindowActionCount);
}

// The table is looked up by action, and a key does one thing.
TEST(WindowActionTable, EachActionInItsPlaceWithAKeyOfItsOwn) {
    for (int i = 0; i < WindowActionCount; ++i) {
        EXPECT_EQ(int(WindowActions[i].action), i) << WindowActions[i].text;
        EXPECT_NE(KeyOf(WindowActions[i]).key(), Qt::Key_unknown) << WindowActions[i].text;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(KeyOf(WindowActions[i]), KeyOf(WindowActions[j]))
                << WindowActions[i].text << " and " << WindowActions[j].text;
    }
}

TEST_F(Menu, ChoosingAnEntryActs) {
    struct Case {
        const char* submenu;
        const char* text;
        std::function<bool(TestForm&)> done;
    };
    const Case cases[] = {
        {"Speed", "Ten times", [](TestForm& f) { return f.Speed() == RunSpeed::TenTimes; }},
        {"Speed", "Normal", [](TestForm& f) { return f.Speed() == RunSpeed::Normal; }},
        {"Zoom", "Actual size", [](TestForm& f) { return f.Zoom() == 1 && f.size() == QSize(FaceWidth, FaceHeight); }},
        {"", "Reset", [](TestForm&) { return Mk.Reg[PC] == ResetPc && Mk.LcdRam[1] == 0; }},
        {"", "Key help", [](TestForm& f) { return f.KeyHelp() && f.KeyHelp()->isVisible(); }},
    };
    for (const Case& c : cases) {
        Mk.Reg[PC] = 0x2000;
        Mk.LcdRam[1] = 0x1F;
        RightClick(OffTheKeys);
        Choose(c.submenu, c.text);
        EXPECT_TRUE(c.done(*form)) << c.text;
        if (form->KeyHelp()) form->KeyHelp()->close();
    }
}

TEST_F(Menu, QuitClosesTheWindowAndSavesTheRam) {
    bool closed = false;
    form->OnClosed = [&] { closed = true; };
    std::memset(Mk.Ram(), 0x5A, RamSize);
    RightClick(OffTheKeys);
    Choose("", "Quit");
    EXPECT_TRUE(closed);
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(RamSize, 0x5A));
}

// "Save as..." writes the machine where the chooser says, "Open..." brings
// it back from there; the files the session runs with are never written.
TEST_F(Menu, SaveAsAndOpenGoThroughAFileChooser) {
    const QString chosen = QString::fromStdString(folder / "kept");  // the chooser adds .vxs
    Mk.Reg[2] = 0x2222;
    Mk.LcdRam[5] = 0x11;
    const Machine saved = Mk;
    AnswerChooser(chosen, true);
    RightClick(OffTheKeys);
    Choose("", "Save as...");
    ASSERT_TRUE(warnings.empty()) << warnings.front();
    Machine inFile{};
    ASSERT_EQ(LoadSnapshot(folder / "kept.vxs", inFile), "");
    EXPECT_EQ(FirstDifference(inFile, saved), "");
    EXPECT_EQ(form->Note().text(), "Machine saved to kept.vxs");

    Mk.Reg[2] = 0;
    Mk.LcdRam[5] = 0;
    AnswerChooser(chosen + ".vxs", false);
    RightClick(OffTheKeys);
    Choose("", "Open...");
    ASSERT_TRUE(warnings.empty()) << warnings.front();
    EXPECT_EQ(FirstDifference(Mk, saved), "");

    // Not there yet, it is still the RAM image of this session.
    ASSERT_FALSE(folder.Exists("ram.bin"));
    AnswerChooser(QString::fromStdString(folder / "ram.bin"), true);
    Key(QEvent::KeyPress, Qt::Key_S, "S", false, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(warnings,
              std::vector<std::string>{"Failed to save the file ram.bin: it is one of the files the emulator runs with"});
    EXPECT_FALSE(folder.Exists("ram.bin"));
}

// The keys do what the entries do, and type nothing on the machine; held
// down, an action happens once.
TEST_F(Menu, EveryActionHasItsKey) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::function<bool(TestForm&)> done;
    };
    const Case cases[] = {
        {Qt::Key_2, Qt::AltModifier, [](TestForm& f) { return f.Speed() == RunSpeed::Twice; }},
        {Qt::Key_4, Qt::AltModifier, [](TestForm& f) { return f.Speed() == RunSpeed::Fastest; }},
        {Qt::Key_1, Qt::AltModifier, [](TestForm& f) { return f.Speed() == RunSpeed::Normal; }},
        {Qt::Key_1, Qt::ControlModifier, [](TestForm& f) { return f.Zoom() == 1; }},
        {Qt::Key_R, Qt::ControlModifier, [](TestForm&) { return Mk.Reg[PC] == ResetPc; }},
        {Qt::Key_F1, Qt::NoModifier, [](TestForm& f) { return f.KeyHelp() && f.KeyHelp()->isVisible(); }},
    };
    for (const Case& c : cases) {
        Mk.Reg[PC] = 0x2000;
        Mk.PcKey = 0;
        const QString text = QKeySequence(c.key).toString();
        Key(QEvent::KeyPress, c.key, text, false, c.modifiers);
        EXPECT_TRUE(c.done(*form)) << text.toStdString();
        EXPECT_EQ(Mk.PcKey, 0) << text.toStdString();
        Key(QEvent::KeyPress, c.key, text, true, c.modifiers);  // held: once
        EXPECT_TRUE(c.done(*form)) << text.toStdString() << " repeated";
        if (form->KeyHelp()) form->KeyHelp()->close();
    }
}

// On the 800 x 600 screen of the platform without a display, only the
// actual size fits: larger zooms are offered greyed, and their keys say so.
TEST_F(Menu, AZoomThatDoesNotFitTheScreenIsNotTaken) {
    const QSize screen = form->screen()->availableGeometry().size();
    ASSERT_LT(screen.width(), 2 * FaceWidth);
    Key(QEvent::KeyPress, Qt::Key_1, "1", false, Qt::ControlModifier);
    ASSERT_EQ(form->Zoom(), 1);
    Key(QEvent::KeyPress, Qt::Key_3, "3", false, Qt::ControlModifier);
    EXPECT_EQ(form->Zoom(), 1);
    EXPECT_TRUE(form->Note().isVisible());
    EXPECT_TRUE(form->Note().text().contains("does not fit")) << form->Note().text().toStdString();

    RightClick(OffTheKeys);
    QMenu* menu = ShownMenu();
    ASSERT_NE(menu, nullptr);
    QAction* zoom = Find(menu, "Zoom");
    ASSERT_NE(zoom, nullptr);
    for (QAction* size : zoom->menu()->actions())
        EXPECT_EQ(size->isEnabled(), size->text() == "Actual size") << size->text().toStdString();
}

}  // namespace
