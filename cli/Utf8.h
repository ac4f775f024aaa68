// UTF-8 as typed text arrives at the console: each well-formed sequence is
// one character; anything else is an invalid character that reaches no key.
#pragma once

#include <string>
#include <string_view>

// Stands for a byte sequence that is not well-formed UTF-8.
constexpr char32_t InvalidCharacter = 0xFFFFFFFF;

// The characters of the text in order. A malformed sequence (a stray
// continuation byte, a truncated sequence, an overlong form, a surrogate or a
// code point above 0x10FFFF) gives one InvalidCharacter for its lead byte,
// and decoding resumes at the next byte.
std::u32string DecodeUtf8(std::string_view text);
