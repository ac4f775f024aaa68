// The PC keyboard and the key help with our firmware, which carries a key
// map: each character is typed by its own PC key, through the machine's
// shift key where the firmware needs it.
#include "PanelFixture.h"
#include "panel/window/KeyHelp.h"
#include "panel/KeyLayout.h"
#include "panel/KeyTyper.h"

#include <fstream>
#include <iterator>

namespace {

class MappedKeys : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        std::ifstream in(VEXAL_FIRMWARE_DIR "/rom.bin", std::ios::binary);
        folder.Write("rom.bin", {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
        StartStill();
        CpuSpeed = 1;
    }

    // The keys pressed over the next ticks as the ticks see them, one entry
    // each time one goes down: each tick runs one traced step, after which
    // the run loop asks for the debug window.
    std::vector<int> Pressed(int ticks) {
        std::vector<int> keys;
        int held = 0;
        form->ShowDebugWindow = [&] {
            if (Mk.PcKey != 0 && Mk.PcKey != held) keys.push_back(Mk.PcKey);
            held = Mk.PcKey;
        };
        for (int i = 0; i < ticks; ++i) {
            TraceCount = 1;
            form->OnRunTimer();
        }
        form->ShowDebugWindow = nullptr;
        return keys;
    }
};

TEST_F(MappedKeys, EachCharacterByItsOwnPcKey) {
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        std::vector<int> keys;
    };
    const Case cases[] = {
        {Qt::Key_Equal, Qt::NoModifier, "=", {36, 38}},
        {Qt::Key_Plus, Qt::ShiftModifier, "+", {38}},
        {Qt::Key_Plus, Qt::KeypadModifier, "+", {38}},
        {Qt::Key_Slash, Qt::NoModifier, "/", {40}},
        {Qt::Key_Slash, Qt::KeypadModifier, "/", {40}},
        {Qt::Key_QuoteDbl, Qt::ShiftModifier, "\"", {36, 53}},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", {36, 48}},
        {Qt::Key_Q, Qt::NoModifier, "q", {36, 7}},
        {Qt::Key_W, Qt::NoModifier, "w", {7}},
        {Qt::Key_7, Qt::KeypadModifier, "7", {41}},
    };
    for (const Case& c : cases) {
        Key(QEvent::KeyPress, c.qtKey, QString::fromUtf8(c.text), false, c.modifiers);
        EXPECT_EQ(Pressed(4 * DefaultHoldTicks), c.keys) << c.text;
        Key(QEvent::KeyRelease, c.qtKey, QString::fromUtf8(c.text), false, c.modifiers);
        Pressed(2 * DefaultHoldTicks);
    }
}

// A key that types without the shift key is held while the PC key is down,
// as without a map, and a tap shorter than a tick still gets its tick; one
// that needs the shift key, and whatever follows while it types, goes key
// after key, so that quick typing keeps its order.
TEST_F(MappedKeys, QuickTypingKeepsItsOrder) {
    KeyDown(Qt::Key_W, "w");
    EXPECT_EQ(Mk.PcKey, 7);
    KeyUp(Qt::Key_W, "w");
    KeyDown(Qt::Key_Equal, "=");
    KeyUp(Qt::Key_Equal, "=");
    KeyDown(Qt::Key_1, "1");
    KeyUp(Qt::Key_1, "1");
    KeyDown(Qt::Key_Return, "\r");
    KeyUp(Qt::Key_Return, "\r");
    EXPECT_EQ(Pressed(10 * DefaultHoldTicks), (std::vector<int>{7, 36, 38, 49, 55}));
}

// The help lists, for every key, exactly the PC keys that type on it by the
// map, alone and through the shift key, as a typer types them.
TEST_F(MappedKeys, TheKeyHelpListsThePcKeysOfTheMap) {
    const auto typed = [](const QString& pcKey) {
        const char32_t c = pcKey == "space bar" ? U' ' : pcKey == "Backspace" ? U'\b' : char32_t(pcKey[0].unicode());
        KeyTyper typer(std::u32string(1, c), 1);
        std::vector<int> keys;
        while (typer.BeforeTick())
            if (Mk.PcKey != 0) keys.push_back(Mk.PcKey);
        return keys;
    };
    int shifted = 0;
    for (const MachineKeyHelp& line : MachineKeysHelp()) {
        for (const QString& pcKey : line.pcKeys) {
            bool special = false;
            for (const SpecialKey& s : SpecialKeys) special = special || pcKey == s.name;
            if (!special) {
                EXPECT_EQ(typed(pcKey), std::vector<int>{line.key}) << pcKey.toStdString();
            }
        }
        for (const QString& pcKey : line.shiftedPcKeys) {
            EXPECT_EQ(typed(pcKey), (std::vector<int>{36, line.key})) << pcKey.toStdString();
            ++shifted;
        }
        EXPECT_EQ(line.secondLabel.isEmpty(), line.shiftedPcKeys.isEmpty()) << line.key;
    }
    EXPECT_EQ(shifted, 21);  // twenty characters and Backspace
}

}  // namespace
