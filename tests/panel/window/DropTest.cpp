// A file or a text dropped on the window is typed on the machine, as the
// paste types the clipboard; what is not text is refused with a note. A
// snapshot file is loaded, as Ctrl+L loads one.
#include "PanelFixture.h"
#include "core/Snapshot.h"
#include "panel/window/FaceNote.h"
#include "panel/KeyTyper.h"
#include "panel/SnapshotFile.h"
#include "tests/support/MachineDifference.h"

#include <QMimeData>
#include <QUrl>

namespace {

class Drop : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        StartStill();
        CpuSpeed = 0;
    }

    // Drags the data over the window and lets go of it there.
    void DropOn(QMimeData& data) {
        const QPoint at(40, 20);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &drop);
    }
    void DropFile(const std::string& name) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder / name))});
        DropOn(data);
    }

    // The keys held at each tick until the typing ends.
    std::vector<int> TypedKeys() {
        std::vector<int> keys;
        for (int tick = 0; tick < 1000 && form->Pasting(); ++tick) {
            form->OnRunTimer();
            if (Mk.PcKey != 0 && (keys.empty() || keys.back() != Mk.PcKey)) keys.push_back(Mk.PcKey);
            if (Mk.PcKey == 0 && !keys.empty() && keys.back() != 0) keys.push_back(0);
        }
        return keys;
    }
};

TEST_F(Drop, ATextFileOrATextIsTyped) {
    folder.WriteText("lines.txt", "we\r\nw");
    DropFile("lines.txt");
    ASSERT_TRUE(form->Pasting());
    EXPECT_EQ(TypedKeys(), std::vector<int>({7, 0, 8, 0, 55, 0, 7, 0}));

    QMimeData text;
    text.setText("ew");
    DropOn(text);
    ASSERT_TRUE(form->Pasting());
    EXPECT_EQ(TypedKeys(), std::vector<int>({8, 0, 7, 0}));
}

TEST_F(Drop, WhatIsNotTextIsNotTyped) {
    folder.Write("rom.image", std::vector<uint8_t>{0x37, 0x12, 0x00, 0x80});
    folder.WriteText("bad.txt", "w\xC3(w");  // malformed UTF-8
    folder.WriteText("long.txt", std::string(MostTypedCharacters + 1, 'w'));
    std::filesystem::create_directory(folder.path() / "folder");
    for (const char* name : {"rom.image", "bad.txt", "long.txt", "folder", "missing.txt"}) {
        form->Note().hide();
        DropFile(name);
        EXPECT_FALSE(form->Pasting()) << name;
        EXPECT_TRUE(form->Note().isVisible()) << name;
        EXPECT_TRUE(form->Note().text().startsWith(name)) << form->Note().text().toStdString();
    }
    folder.WriteText("longest.txt", std::string(MostTypedCharacters, 'w'));
    DropFile("longest.txt");
    EXPECT_TRUE(form->Pasting());
}

// Known by its name or by its first bytes; one that does not load is the
// warning Ctrl+L gives, and changes nothing.
TEST_F(Drop, ASnapshotFileIsLoaded) {
    Machine saved = Mk;
    saved.Reg[4] = 0x4444;
    std::vector<uint8_t> bytes = EncodeSnapshot(saved);
    folder.Write("kept.vxs", bytes);
    folder.Write("kept.bin", bytes);
    bytes[20] ^= 1;
    folder.Write("damaged.vxs", bytes);
    folder.WriteText("empty.VXS", "");
    const struct {
        const char* name;
        std::string warning;  // empty: loaded
    } cases[] = {
        {"kept.vxs", ""},
        {"kept.bin", ""},
        {"damaged.vxs", "Failed to load the file damaged.vxs: it is damaged: its checksum does not match its contents"},
        {"empty.VXS", "Failed to load the file empty.VXS: the file is empty"},
    };
    for (const auto& c : cases) {
        Mk.Reg[4] = 0;
        const Machine before = Mk;
        warnings.clear();
        DropFile(c.name);
        EXPECT_FALSE(form->Pasting()) << c.name;
        if (c.warning.empty()) {
            EXPECT_TRUE(warnings.empty()) << c.name;
            EXPECT_EQ(FirstDifference(Mk, saved), "") << c.name;
        } else {
            EXPECT_EQ(warnings, std::vector<std::string>{c.warning}) << c.name;
            EXPECT_EQ(FirstDifference(Mk, before), "") << c.name;
        }
    }
}

}  // namespace
