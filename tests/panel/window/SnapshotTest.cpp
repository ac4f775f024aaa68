// Ctrl+S saves the whole machine to "snapshot.vxs" in the run folder and
// Ctrl+L loads it back, each with a note over the face that goes away by
// itself. A loaded machine holds no key and shows its own display at once; a
// file that does not load is a warning and changes nothing.
#include "MessageLoop.h"
#include "PanelFixture.h"
#include "core/Snapshot.h"
#include "panel/window/FaceNote.h"
#include "panel/window/KeyHelp.h"
#include "panel/KeyLayout.h"
#include "panel/KeyMap.h"
#include "panel/SnapshotFile.h"
#include "tests/support/MachineDifference.h"

#include <QLabel>

namespace {

class Snapshots : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        StartStill();
        form->RenderLcd();  // the empty display, as the first refresh draws it
        form->OnMachineLoaded = [this] { ++loads; };
    }

    void CtrlS(bool autoRepeat = false) { Key(QEvent::KeyPress, Qt::Key_S, "\x13", autoRepeat, Qt::ControlModifier); }
    void CtrlL() { Key(QEvent::KeyPress, Qt::Key_L, "\x0C", false, Qt::ControlModifier); }

    QImage KeyPicture(int key) const {
        const KeyPlace place = PlaceOfKey(key);
        const KeyGroup& group = KeyGroups[place.group];
        return form->FaceBitmap->copy(place.x, place.y, group.Width, group.Height);
    }

    int loads = 0;
};

TEST_F(Snapshots, CtrlLBringsBackWhatCtrlSSaved) {
    // A machine whose display has a row byte of 0xFF, which a display
    // emptied for its first refresh takes for "drawn nothing yet": only a
    // redraw that trusts no earlier drawing shows that row.
    Mk.Reg[0] = 0x1234;
    Mk.Rom()[0x200] = 0x55;  // patched as in the debugger
    const std::pair<int, uint8_t> display[] = {{1, 0xFF}, {9, 0x15}, {0, 0x07}, {48, 0x1F}, {96, 0x02}};
    for (const auto& [index, value] : display) Mk.LcdRam[index] = value;
    Mk.PcKey = 7;  // held when saved
    form->RenderLcd();
    const QImage shownWhenSaved = form->LcdBitmap->copy();
    const Machine saved = Mk;

    CtrlS();
    EXPECT_TRUE(warnings.empty());
    Machine inFile{};
    ASSERT_EQ(DecodeSnapshot(folder.Read("snapshot.vxs"), inFile), "");
    EXPECT_EQ(FirstDifference(inFile, saved), "");
    EXPECT_TRUE(form->Note().isVisible());
    EXPECT_EQ(form->Note().text(), "Machine saved to snapshot.vxs");

    // The machine goes on: other registers, ROM and display, a key held on
    // the face and one on the PC keyboard.
    Mk.Reg[0] = 0;
    Mk.Rom()[0x200] = 0;
    for (int index : {1, 9, 0, 48, 96}) Mk.LcdRam[index] = 0;
    Mk.LcdRam[10] = 0x1F;
    form->RenderLcd();
    ASSERT_NE(form->LcdBitmap->copy(), shownWhenSaved);
    const QImage released = KeyPicture(20);
    const KeyPlace key20 = PlaceOfKey(20);
    Press(key20.x + 2, key20.y + 2);
    KeyDown(Qt::Key_E, "e");
    ASSERT_EQ(Mk.MouseKey, 20);
    ASSERT_EQ(Mk.PcKey, 8);

    CtrlL();
    EXPECT_TRUE(warnings.empty());
    Machine expected = saved;
    expected.PcKey = 0;
    EXPECT_EQ(FirstDifference(Mk, expected), "");
    EXPECT_EQ(form->LcdBitmap->copy(), shownWhenSaved) << "drawn at once, every part of it";
    EXPECT_EQ(KeyPicture(20), released);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(form->Note().text(), "Machine loaded from snapshot.vxs");
    Release(key20.x + 2, key20.y + 2);
    EXPECT_EQ(Mk.MouseKey, 0);
}

TEST_F(Snapshots, AFileThatDoesNotLoadIsAWarningAndChangesNothing) {
    const struct {
        const char* what;
        std::vector<uint8_t> file;  // empty: no file
        std::string warning;
    } rows[] = {
        {"missing", {}, "Failed to load the file snapshot.vxs: there is no such file"},
        {"a RAM image", Pattern(RamSize, 4), "Failed to load the file snapshot.vxs: it is not a Vexal snapshot"},
    };
    for (const auto& row : rows) {
        std::filesystem::remove(folder / "snapshot.vxs");
        if (!row.file.empty()) folder.Write("snapshot.vxs", row.file);
        const KeyPlace key20 = PlaceOfKey(20);
        Press(key20.x + 2, key20.y + 2);
        Mk.Reg[3] = 0x3333;
        const Machine before = Mk;
        warnings.clear();
        CtrlL();
        EXPECT_EQ(warnings, std::vector<std::string>{row.warning}) << row.what;
        EXPECT_EQ(FirstDifference(Mk, before), "") << row.what;
        EXPECT_FALSE(form->Note().isVisible()) << row.what;
        Release(key20.x + 2, key20.y + 2);
    }
    EXPECT_EQ(loads, 0);

    std::filesystem::remove(folder / "snapshot.vxs");
    std::filesystem::create_directory(folder / "snapshot.vxs");
    warnings.clear();
    CtrlS();
    EXPECT_EQ(warnings, std::vector<std::string>{"Failed to save the file snapshot.vxs: it is a folder"});
    EXPECT_FALSE(form->Note().isVisible());
}

// The open key help lists the PC keys by the key map of the loaded ROM, as
// a help opened afresh does.
TEST_F(Snapshots, TheOpenKeyHelpFollowsTheLoadedRom) {
    KeyMap map;
    map.shiftKey = 36;
    map.codes[7] = 'W';
    map.shiftCodes[7] = 'Q';
    const std::vector<uint8_t> mapBytes = EncodeKeyMap(map);
    Machine withMap = Mk;
    std::copy(mapBytes.begin(), mapBytes.end(), withMap.Rom() + KeyMapAddress);
    ASSERT_EQ(SaveSnapshot(folder / "snapshot.vxs", withMap), "");
    const auto listed = [](const QWidget& help) { return help.findChild<QLabel*>()->text(); };

    KeyDown(Qt::Key_F1);
    ASSERT_NE(form->KeyHelp(), nullptr);
    const QString before = listed(*form->KeyHelp());
    CtrlL();
    ASSERT_TRUE(warnings.empty());
    ASSERT_TRUE(form->KeyHelp()->isVisible());
    EXPECT_NE(listed(*form->KeyHelp()), before);
    const TKeyHelpForm afresh(nullptr);
    EXPECT_EQ(listed(*form->KeyHelp()), listed(afresh));
}

TEST_F(Snapshots, TheNoteGoesAwayAndAHeldCtrlSSavesOnce) {
    form->Note().HideTimer.setInterval(20);
    CtrlS();
    EXPECT_TRUE(form->Note().isVisible());
    Serve(100);
    EXPECT_FALSE(form->Note().isVisible());

    std::filesystem::remove(folder / "snapshot.vxs");
    CtrlS(true);
    EXPECT_FALSE(folder.Exists("snapshot.vxs"));
}

}  // namespace
