// A machine with every member of its list random, the spare bytes past
// Memory and LcdRam too: what a snapshot must keep, whatever it holds. Key
// indices stay keys (0..56), as the panel and the console make them.
#pragma once

#include <cstdint>
#include <random>
#include <type_traits>

#include "core/Def.h"
#include "core/Keyboard.h"

inline Machine RandomMachine(std::mt19937& rng) {
    Machine machine{};
    const auto randomize = [&rng](auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, bool>) value = rng() & 1;
        else if constexpr (std::is_same_v<T, int32_t>) value = int32_t(rng() % KeyCount);
        else if constexpr (std::is_same_v<T, StatusWord>) value = uint16_t(rng());
        else value = T(rng());
    };
    Machine::Members(
        [&randomize](const char*, auto& member) {
            if constexpr (requires { member.begin(); })
                for (auto& element : member) randomize(element);
            else randomize(member);
        },
        machine);
    return machine;
}
