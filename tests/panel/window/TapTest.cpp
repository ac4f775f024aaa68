// A key pressed and let go between two ticks of the run loop, as automation
// tools and quick fingers do, still reaches a sleeping machine: the press
// lasts at least one whole tick that runs the processor.
#include "PanelFixture.h"
#include "panel/KeyLayout.h"
#include "tests/support/MemoryImage.h"

namespace {

constexpr uint16_t Presses = 0x8002;  // counted by the program below
constexpr uint16_t Seen = 0x8000;     // what it read from the keyboard, ORed

// Sleeps until a key is held, then counts the press, records the key and
// waits for it to go up before it sleeps again.
std::map<uint16_t, uint16_t> SleepingCounter() {
    return {
        {0x0000, 0x1000},                                     // reset: PC
        {0x1000, 0012737}, {0x1002, 0000016}, {0x1004, 0000402},  // mov #16,@#keyout: every column
        {0x1006, 0005037}, {0x1008, 0000404},                 // loop: clr @#ctrl, asleep until a key
        {0x100A, 0053737}, {0x100C, 0000400}, {0x100E, 0100000},  // bis @#keyin,@#8000
        {0x1010, 0005237}, {0x1012, 0100002},                 // inc @#8002
        {0x1014, 0005737}, {0x1016, 0000400},                 // wait: tst @#keyin
        {0x1018, 0001375},                                    // bne wait
        {0x101A, 0000765},                                    // br loop
    };
}

class Taps : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        WriteInstallation();
        folder.Write("rom.bin", RomImage(SleepingCounter()));
        StartStill();
        Ticks(3);
        ASSERT_EQ(Mk.CtrlPort & CtrlRunBit, 0) << "asleep";
    }

    void Ticks(int count) {
        for (int i = 0; i < count; ++i) form->OnRunTimer();
    }
    void Tap(int qtKey, const QString& text) {
        KeyDown(qtKey, text);
        KeyUp(qtKey, text);
    }
    void Click(int key) {
        const KeyPlace place = PlaceOfKey(key);
        Press(place.x + 2, place.y + 2);
        Release(place.x + 2, place.y + 2);
    }
};

TEST_F(Taps, APressShorterThanATickReachesASleepingMachine) {
    struct Case {
        const char* what;
        std::function<void()> taps;
        uint16_t presses;
        int ticks;  // enough for every press and the release after it
    };
    const Case cases[] = {
        {"a key tapped", [this] { Tap(Qt::Key_F, "f"); }, 1, 2},
        {"a key clicked", [this] { Click(20); }, 1, 2},
        {"the same key tapped twice", [this] {
             Tap(Qt::Key_F, "f");
             Tap(Qt::Key_F, "f");
         }, 2, 4},
        {"three keys tapped", [this] {
             Tap(Qt::Key_F, "f");
             Tap(Qt::Key_W, "w");
             Tap(Qt::Key_E, "e");
         }, 3, 6},
    };
    for (const Case& c : cases) {
        SetWordAt(Presses, 0);
        SetWordAt(Seen, 0);
        c.taps();
        Ticks(c.ticks);
        EXPECT_EQ(WordAt(Presses), c.presses) << c.what;
        EXPECT_NE(WordAt(Seen), 0) << c.what;
        EXPECT_EQ(Mk.PcKey, 0) << c.what;
        EXPECT_EQ(Mk.MouseKey, 0) << c.what;
        EXPECT_EQ(Mk.CtrlPort & CtrlRunBit, 0) << c.what << ": asleep again";
    }
}

// A key held across ticks is let go at its key-up, as before.
TEST_F(Taps, AKeyHeldLongerIsLetGoAtOnce) {
    KeyDown(Qt::Key_F, "f");
    Ticks(2);
    KeyUp(Qt::Key_F, "f");
    EXPECT_EQ(Mk.PcKey, 0);
    Ticks(1);
    const KeyPlace place = PlaceOfKey(20);
    Press(place.x + 2, place.y + 2);
    Ticks(2);
    Release(place.x + 2, place.y + 2);
    EXPECT_EQ(Mk.MouseKey, 0);
    Ticks(2);
    EXPECT_EQ(WordAt(Presses), 2);
}

}  // namespace
