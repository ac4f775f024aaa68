// The settings file "vexal.ini": integers read by section and key, both
// matched without regard to case. The first occurrence of a key in its
// section counts, and every line stands on its own, indented or not. Reading
// never fails; whatever cannot be read gives the default.
#pragma once

#include <cstdint>
#include <string>

constexpr const char* SettingsFileName = "vexal.ini";
constexpr int32_t DefaultCpuSpeed = 250;

// The integer under [section] key in the file at path: decimal, or
// hexadecimal after 0x or 0X, with an optional sign. A missing file, section
// or key, or a value that is not such an integer or does not fit in 32 bits,
// gives fallback.
int32_t ReadIniInteger(const std::string& path, const std::string& section, const std::string& key,
                       int32_t fallback);

// The same rule applied to one value as written in the file.
int32_t ParseIniInteger(const std::string& text, int32_t fallback);
