// Machine words as PDP-11 documentation writes them: six octal digits.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

inline std::string Octal(uint32_t word) {
    char text[12];
    std::snprintf(text, sizeof text, "%06o", unsigned(word));
    return text;
}
