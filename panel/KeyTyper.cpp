#include "panel/KeyTyper.h"

#include "core/Def.h"
#include "panel/KeyLayout.h"

#include <algorithm>
#include <vector>

KeyTyper::KeyTyper(const std::u32string& text, int64_t holdTicks)
    : map_(KeyMapOfRom()), holdTicks_(std::max<int64_t>(holdTicks, 0)) {
    for (const char32_t c : text) Append(c);
}

void KeyTyper::Append(char32_t c) {
    if (map_) {
        const std::vector<int> keys = KeysByMap(c, *map_);
        for (const int key : keys) AppendKey(key);
        if (!keys.empty()) return;
    }
    if (c == U'\n') AppendKey(KeyOfSpecialKey(VkEnter));
    else strokes_.push_back({0, c});
}

void KeyTyper::AppendKey(int key) { strokes_.push_back({key, 0}); }

bool KeyTyper::BeforeTick() {
    while (ticksLeft_ == 0) {
        if (key_ != 0) {
            key_ = 0;
            Mk.PcKey = 0;
            ticksLeft_ = holdTicks_;
        } else if (strokes_.empty()) {
            return false;
        } else {
            const Stroke stroke = strokes_.front();
            strokes_.pop_front();
            if (stroke.key != 0) {
                key_ = stroke.key;
                HoldPcKey(key_);
            } else {
                key_ = PressCharacterKey(Cp1251FromUnicode(stroke.character));
            }
            if (key_ != 0) ticksLeft_ = holdTicks_;
        }
    }
    Mk.PcKey = key_;
    --ticksLeft_;
    return true;
}

bool MappedKeyboard::Character(char32_t c, bool autoRepeat) {
    const std::optional<KeyMap> map = KeyMapOfRom();
    if (!map) return false;
    const std::vector<int> keys = KeysByMap(c, *map);
    if (keys.empty()) return false;
    if (typing_) {
        if (!autoRepeat) typing_->Append(c);
    } else if (keys.size() == 1) {
        HoldPcKey(keys[0]);
    } else {
        typing_ = std::make_unique<KeyTyper>(std::u32string(1, c), DefaultHoldTicks);
    }
    return true;
}

bool MappedKeyboard::Special(int key) {
    if (!typing_) return false;
    typing_->AppendKey(key);
    return true;
}

void MappedKeyboard::BeforeTick() {
    if (typing_ && !typing_->BeforeTick()) typing_.reset();
}

void MappedKeyboard::Stop() { typing_.reset(); }
