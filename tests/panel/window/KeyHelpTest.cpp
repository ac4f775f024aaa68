// F1's key help: every machine key once, with exactly the PC keys that reach
// it, opened and closed from the keyboard.
#include "PanelFixture.h"
#include "panel/window/KeyHelp.h"
#include "panel/KeyLayout.h"

namespace {

// The machine key that a PC key of the help reaches: a named special key, or
// a typed character.
int KeyReachedBy(const QString& pcKey) {
    for (const SpecialKey& special : SpecialKeys)
        if (pcKey == special.name) return special.key;
    if (pcKey == "space bar") return KeyOfCharacter(' ');
    if (pcKey.size() != 1) return -1;
    return KeyOfCharacter(Cp1251FromUnicode(pcKey[0].unicode()));
}

TEST(KeyHelp, ListsEveryMachineKeyOnceWithExactlyThePcKeysThatReachIt) {
    const std::vector<MachineKeyHelp> help = MachineKeysHelp();
    ASSERT_EQ(help.size(), size_t(LastKey - SwitchKey));
    int listed = 0;
    for (size_t i = 0; i < help.size(); ++i) {
        EXPECT_EQ(help[i].key, SwitchKey + 1 + int(i));
        EXPECT_FALSE(help[i].pcKeys.isEmpty()) << "key " << help[i].key;
        EXPECT_EQ(help[i].label.isEmpty(), help[i].key == LastKey) << "key " << help[i].key;
        for (const QString& pcKey : help[i].pcKeys) {
            EXPECT_EQ(KeyReachedBy(pcKey), help[i].key) << pcKey.toStdString();
            ++listed;
        }
    }
    // Every special key and every upper-case character that reaches a key.
    int reaching = SpecialKeyCount;
    for (int c = 0x20; c <= 0xFF; ++c) reaching += UpperKey(uint8_t(c)) == c && KeyOfCharacter(uint8_t(c)) != 0;
    EXPECT_EQ(listed, reaching);
}

using KeyHelpWindow = PanelFixture;

TEST_F(KeyHelpWindow, F1ShowsItAndF1OrEscapeClosesIt) {
    WriteInstallation();
    StartStill();
    Mk.PcKey = 9;
    KeyDown(Qt::Key_F1);
    ASSERT_NE(form->KeyHelp(), nullptr);
    EXPECT_TRUE(form->KeyHelp()->isVisible());
    Key(QEvent::KeyPress, Qt::Key_Escape, {}, false, Qt::NoModifier, form->KeyHelp());
    EXPECT_FALSE(form->KeyHelp()->isVisible());
    EXPECT_EQ(Mk.PcKey, 9);  // no machine key from either

    KeyDown(Qt::Key_F1);
    EXPECT_TRUE(form->KeyHelp()->isVisible());
    Key(QEvent::KeyPress, Qt::Key_F1, {}, false, Qt::NoModifier, form->KeyHelp());
    EXPECT_FALSE(form->KeyHelp()->isVisible());

    KeyDown(Qt::Key_F1);
    KeyDown(Qt::Key_F1);  // F1 in the main window toggles it too
    EXPECT_FALSE(form->KeyHelp()->isVisible());
}

}  // namespace
