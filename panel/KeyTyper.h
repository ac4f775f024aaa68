// Text typed on the machine's keyboard one key after another, as a person
// types steadily: each key holds for the hold time, then leaves the keyboard
// released as long before the next one. The console's "type" and the main
// window's paste both type this way, and so does the window for characters
// typed on the PC that need the firmware's shift key. Time is counted in
// run-loop ticks, so typing keeps pace with the emulated machine whatever
// drives its ticks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "panel/KeyMap.h"

// How long "type" and the paste hold each key, and then wait, by default.
constexpr int64_t DefaultHoldTicks = 5;

// The longest text the window types, pasted or dropped: at the default hold
// time some half an hour of typing, and more than the machine's 2 KiB of RAM
// can take.
constexpr size_t MostTypedCharacters = 16 * 1024;

class KeyTyper {
public:
    // The text in Unicode. When the ROM image carries a key map, a character
    // reaches the keys the map gives for it (the shift key first where it
    // needs it); characters the map does not name, and every character of a
    // firmware without a map, reach the key that typing it on the PC
    // keyboard reaches, with the same halt rule. A line break reaches the key
    // of Enter. Characters that reach no key are skipped without a tick.
    KeyTyper(const std::u32string& text, int64_t holdTicks);

    void Append(char32_t c);
    void AppendKey(int key);  // a machine key by its index

    // Before a run-loop tick: sets PcKey for that tick, pressing the next
    // key once the previous one has been released for the hold time. PcKey
    // is set at every tick, so a PC key let go in between cannot cut a typed
    // key short. Returns false when all is typed, the last key released: no
    // more ticks are needed.
    bool BeforeTick();

private:
    // A key to press, or a character that the key tables translate when its
    // turn comes, so that the halt rule sees the key held at that moment.
    struct Stroke {
        int key;
        char32_t character;
    };

    std::optional<KeyMap> map_;
    std::deque<Stroke> strokes_;
    int64_t holdTicks_;
    int key_ = 0;            // the key held now; 0 while released
    int64_t ticksLeft_ = 0;  // ticks left of holding key_, or of the release after it
};

// The PC keyboard in the main window, where the firmware in use carries a
// key map: a character that one key types holds that key while the PC key
// is down, as without a map; a character typed through the shift key is
// typed as its keys one after another, and while such typing is under way
// every key joins it, so that nothing typed quickly is lost or shifted
// wrongly. A PC key held down repeats a character of the shift key once the
// typing before it is done.
class MappedKeyboard {
public:
    // A character typed: false when the firmware has no map or the map no
    // key for it, so the key tables' translation applies.
    bool Character(char32_t c, bool autoRepeat);
    // A special PC key that holds machine key `key`: true when it joined
    // typing under way, false when the window is to hold it.
    bool Special(int key);
    // Before a run-loop tick that runs the processor.
    void BeforeTick();
    void Stop();
    // Typing through the shift key is under way.
    bool Typing() const { return typing_ != nullptr; }

private:
    std::unique_ptr<KeyTyper> typing_;
};
