// Text typed on the machine's keyboard one key after another, as a person
// types steadily: each character that reaches a key holds it for the hold
// time, then leaves the keyboard released as long before the next one. The
// console's "type" and the main window's paste both type this way. Time is
// counted in run-loop ticks, so typing keeps pace with the emulated machine
// whatever drives its ticks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How long "type" and the paste hold each key, and then wait, by default.
constexpr int64_t DefaultHoldTicks = 5;

// The longest text the window types, pasted or dropped: at the default hold
// time some half an hour of typing, and more than the machine's 2 KiB of RAM
// can take.
constexpr size_t MostTypedCharacters = 16 * 1024;

class KeyTyper {
public:
    // The text in Unicode. A character reaches the key that typing it on the
    // PC keyboard reaches, with the same halt rule; a line break reaches the
    // key of Enter. Characters that reach no key are skipped without a tick.
    KeyTyper(std::u32string text, int64_t holdTicks);

    // Before a run-loop tick: sets PcKey for that tick, pressing the next
    // character's key once the previous one has been released for the hold
    // time. PcKey is set at every tick, so a PC key let go in between cannot
    // cut a typed key short. Returns false when the text is all typed, the
    // last key released: no more ticks are needed.
    bool BeforeTick();

private:
    int PressNext();

    std::u32string text_;
    size_t next_ = 0;
    int64_t holdTicks_;
    int key_ = 0;             // the key held now; 0 while released
    int64_t ticksLeft_ = 0;   // ticks left of holding key_, or of the release after it
};
