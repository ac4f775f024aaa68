// Ctrl+V types the clipboard on the machine, key after key as the run loop
// ticks, by the console's rule; anything the user does stops it.
#include "PanelFixture.h"
#include "panel/KeyLayout.h"
#include "panel/KeyTyper.h"

#include <QClipboard>

namespace {

class Paste : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        StartStill();
        CpuSpeed = 0;  // the ticks run no steps: only the keys matter here
    }

    void CtrlV(bool autoRepeat = false) { Key(QEvent::KeyPress, Qt::Key_V, "\x16", autoRepeat, Qt::ControlModifier); }

    // The key held at each of the next ticks.
    std::vector<int> Ticks(int count) {
        std::vector<int> held;
        for (int i = 0; i < count; ++i) {
            form->OnRunTimer();
            held.push_back(Mk.PcKey);
        }
        return held;
    }
};

// Each key held for the hold time, then released as long.
std::vector<int> Typed(std::initializer_list<int> keys) {
    std::vector<int> held;
    for (int key : keys) {
        held.insert(held.end(), DefaultHoldTicks, key);
        held.insert(held.end(), DefaultHoldTicks, 0);
    }
    return held;
}

TEST_F(Paste, CtrlVTypesTheClipboardKeyAfterKeyAndSkipsWhatNoKeyProduces) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8("w+Я1\r\n"));
    CtrlV();
    ASSERT_TRUE(form->Pasting());
    EXPECT_EQ(Ticks(4 * 2 * DefaultHoldTicks), Typed({7, 27, 49, 55}));  // + and CR reach no key; LF is Enter
    EXPECT_TRUE(form->Pasting());
    Ticks(1);
    EXPECT_FALSE(form->Pasting());
}

TEST_F(Paste, ItWaitsWhileTheMachineStandsStillAndHoldsItsKeyAgainstKeyUps) {
    form->Paste("ew");
    Ticks(2);
    KeyUp(Qt::Key_V);  // the paste's own Ctrl+V let go
    EXPECT_EQ(Mk.PcKey, 0);
    Paused = true;
    Ticks(3 * DefaultHoldTicks);
    Paused = false;
    EXPECT_EQ(Ticks(3 + 2 * DefaultHoldTicks), std::vector<int>({8, 8, 8, 0, 0, 0, 0, 0, 7, 7, 7, 7, 7}));
}

TEST_F(Paste, EscapeAKeyOrAClickStopsItAndKeepsItsMeaning) {
    const KeyPlace key20 = PlaceOfKey(20);
    struct Stop {
        const char* what;
        std::function<void()> act;
        int pcKey, mouseKey;
    };
    const Stop stops[] = {
        {"Escape", [this] { KeyDown(Qt::Key_Escape); }, 52, 0},
        {"a key", [this] { KeyDown(Qt::Key_E, "e"); }, 8, 0},
        {"a modifier", [this] { KeyDown(Qt::Key_Shift); }, 0, 0},
        {"a click", [&] { Press(key20.x + 1, key20.y + 1); }, 0, 20},
    };
    for (const Stop& stop : stops) {
        form->Paste("www");
        Ticks(2);
        stop.act();
        EXPECT_FALSE(form->Pasting()) << stop.what;
        Ticks(3);
        EXPECT_EQ(Mk.PcKey, stop.pcKey) << stop.what;
        EXPECT_EQ(Mk.MouseKey, stop.mouseKey) << stop.what;
        form->ReleaseMouseKey(-1, -1);
        Mk.PcKey = 0;
    }
}

TEST_F(Paste, OnlyCtrlVIsTaken) {
    QGuiApplication::clipboard()->setText("w");
    Key(QEvent::KeyPress, Qt::Key_Insert, {}, false, Qt::ShiftModifier);  // the machine's INS
    EXPECT_FALSE(form->Pasting());
    EXPECT_EQ(Mk.PcKey, 2);
    Key(QEvent::KeyPress, Qt::Key_V, "V", false, Qt::ShiftModifier);
    EXPECT_FALSE(form->Pasting());
    EXPECT_EQ(Mk.PcKey, 30);

    CtrlV();
    Ticks(3);
    CtrlV(true);  // held down: no second paste from the start
    EXPECT_EQ(Ticks(3), std::vector<int>({7, 7, 0}));
}

}  // namespace
