// Presses of the PC keyboard as the run loop's ticks see them. The machine
// looks at its keys only within ticks, so a key that goes down and up again
// between two ticks (a quick tap, or keys sent by an automation tool) would
// never reach it, least of all a sleeping processor, which only a held key
// wakes. Here a key that goes up before a tick that runs the processor has
// seen it is let go only after that tick. Presses that come while such a tap
// waits for its tick wait their turn, each held for a tick with a tick of no
// key before it, so that a key typed twice is seen twice. Otherwise nothing
// changes: PcKey is what the keys' handling made it, as soon as it made it,
// and a key still down gives way to the next one at once.
#pragma once

#include <cstdint>
#include <deque>

class KeyTaps {
public:
    // Around the handling of a PC key that went down. While a tap waits for
    // its tick, the handling starts from no key held (its key is up), and
    // the key it holds waits its turn; else PcKey is what it made it.
    void BeforePress();
    void AfterPress();
    // A PC key went up: lets go of PcKey now, or once a tick has seen the
    // press.
    void Released();
    // After a tick that ran the processor.
    void AfterTick();
    // Forgets the presses still to come, when the keys are let go at once.
    void Clear();
    // A tap waits for its tick, or presses wait their turn after it.
    bool Waiting() const;

private:
    struct Press {
        int32_t key;
        bool released;  // its PC key went up already
    };
    std::deque<Press> presses_;  // the first is held now, unless gap_
    bool seen_ = false;          // a tick has seen the first press
    bool gap_ = false;           // the next tick holds no key, before the first press
    bool waiting_ = false;       // a press is handled while a tap waits
    int32_t before_ = 0;         // PcKey before that handling
};
