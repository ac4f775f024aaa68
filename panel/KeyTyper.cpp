#include "panel/KeyTyper.h"

#include "core/Def.h"
#include "panel/KeyLayout.h"

#include <algorithm>
#include <utility>

KeyTyper::KeyTyper(std::u32string text, int64_t holdTicks)
    : text_(std::move(text)), holdTicks_(std::max<int64_t>(holdTicks, 0)) {}

int KeyTyper::PressNext() {
    const char32_t c = text_[next_++];
    if (c == U'\n') {
        Mk.PcKey = KeyOfSpecialKey(VkEnter);
        return Mk.PcKey;
    }
    return PressCharacterKey(Cp1251FromUnicode(c));
}

bool KeyTyper::BeforeTick() {
    while (ticksLeft_ == 0) {
        if (key_ != 0) {
            key_ = 0;
            Mk.PcKey = 0;
            ticksLeft_ = holdTicks_;
        } else if (next_ == text_.size()) {
            return false;
        } else {
            key_ = PressNext();
            if (key_ != 0) ticksLeft_ = holdTicks_;
        }
    }
    Mk.PcKey = key_;
    --ticksLeft_;
    return true;
}
