// Ctrl held alone labels every key of the face with the PC keys that reach
// it, from the key help's own list; letting go of it, or using it for a
// shortcut, leaves the face as it was.
#include "MessageLoop.h"
#include "PanelFixture.h"
#include "panel/window/KeyHelp.h"
#include "panel/KeyLayout.h"

namespace {

class KeyLabels : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        StartStill(2);
    }

    QImage Shown() const { return form->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Whether the window shows anything but the face within the key.
    static bool Labelled(const QImage& shown, const QImage& plain, int key) {
        const KeyPlace place = PlaceOfKey(key);
        const KeyGroup& group = KeyGroups[place.group];
        return shown.copy(2 * place.x, 2 * place.y, 2 * group.Width, 2 * group.Height) !=
               plain.copy(2 * place.x, 2 * place.y, 2 * group.Width, 2 * group.Height);
    }
};

TEST_F(KeyLabels, CtrlHeldAloneLabelsEveryKeyThatAPcKeyReaches) {
    const QImage plain = Shown();
    KeyDown(Qt::Key_Control);
    Serve(600);
    ASSERT_TRUE(form->KeyLabelsShown());
    const QImage labelled = Shown();
    std::vector<bool> reached(LastFaceKey + 1, false);
    for (const MachineKeyHelp& help : MachineKeysHelp())
        if (help.key <= LastFaceKey) reached[help.key] = !help.pcKeys.isEmpty();
    for (int key = SwitchKey; key <= LastFaceKey; ++key)
        EXPECT_EQ(Labelled(labelled, plain, key), reached[key]) << "key " << key;

    KeyUp(Qt::Key_Control);
    EXPECT_FALSE(form->KeyLabelsShown());
    EXPECT_TRUE(Shown() == plain);
}

TEST_F(KeyLabels, CtrlUsedForAShortcutLabelsNothing) {
    KeyDown(Qt::Key_Control);
    Key(QEvent::KeyPress, Qt::Key_2, "2", false, Qt::AltModifier);
    Serve(600);
    EXPECT_FALSE(form->KeyLabelsShown());
    KeyUp(Qt::Key_Control);
}

}  // namespace
