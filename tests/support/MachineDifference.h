// The first thing in which two machines differ, for a failure message that
// says more than "the machines differ": compare with ==, and on a
// difference print this.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <type_traits>

#include "core/Def.h"

// "" when a == b; otherwise the first member of the machine's list that
// differs, as "Psw: 0x4 vs 0x0" or, within an array, "Memory[0x87ff]: ...".
inline std::string FirstDifference(const Machine& a, const Machine& b) {
    const auto differ = [](const std::string& what, uint32_t valueA, uint32_t valueB) {
        std::ostringstream text;
        text << what << std::hex << ": 0x" << valueA << " vs 0x" << valueB;
        return text.str();
    };
    std::string first;
    Machine::Members(
        [&](const char* name, const auto& memberA, const auto& memberB) {
            if (!first.empty() || memberA == memberB) return;
            if constexpr (std::is_class_v<std::decay_t<decltype(memberA)>> &&
                          !std::is_same_v<std::decay_t<decltype(memberA)>, StatusWord>) {
                size_t i = 0;
                while (memberA[i] == memberB[i]) ++i;
                std::ostringstream at;
                at << name << std::hex << "[0x" << i << ']';
                first = differ(at.str(), memberA[i], memberB[i]);
            } else {
                first = differ(name, uint32_t(memberA), uint32_t(memberB));
            }
        },
        a, b);
    return first;
}
