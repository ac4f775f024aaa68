#include "panel/KeyTaps.h"

#include "core/Def.h"

void KeyTaps::BeforePress() {
    before_ = Mk.PcKey;
    waiting_ = Waiting();
    if (waiting_) Mk.PcKey = 0;
}

void KeyTaps::AfterPress() {
    const int32_t key = Mk.PcKey;
    if (waiting_) {
        Mk.PcKey = before_;
        if (key != 0) presses_.push_back({key, false});
        return;
    }
    // A key still down gives way to the next one at once, as keys always do.
    if (key == before_ || key == 0) return;  // nothing new is held
    presses_.assign(1, {key, false});
    seen_ = false;
}

void KeyTaps::Released() {
    if (presses_.empty()) {
        Mk.PcKey = 0;
        return;
    }
    // A key-up does not say which key went up: the earliest press still
    // down takes it.
    for (Press& press : presses_) {
        if (press.released) continue;
        if (&press == &presses_.front() && seen_ && !gap_) {
            presses_.pop_front();
            Mk.PcKey = 0;
            gap_ = !presses_.empty();
        } else {
            press.released = true;
        }
        return;
    }
}

void KeyTaps::AfterTick() {
    if (presses_.empty()) return;
    if (gap_) {
        gap_ = false;
        seen_ = false;
        Mk.PcKey = presses_.front().key;
        return;
    }
    seen_ = true;
    if (!presses_.front().released) return;
    presses_.pop_front();
    Mk.PcKey = 0;
    gap_ = !presses_.empty();
}

bool KeyTaps::Waiting() const {
    return !presses_.empty() && (presses_.size() > 1 || gap_ || presses_.front().released);
}

void KeyTaps::Clear() {
    presses_.clear();
    seen_ = false;
    gap_ = false;
}
