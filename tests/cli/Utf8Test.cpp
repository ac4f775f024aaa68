#include "cli/Utf8.h"

#include <gtest/gtest.h>

namespace {

constexpr char32_t X = InvalidCharacter;

struct Case {
    const char* bytes;
    std::u32string decoded;
};

const Case Cases[] = {
    {"", U""},
    {"Aw ", U"Aw "},
    {"\xD1\x86\xD0\x81", U"\u0446\u0401"},                 // ц Ё
    {"\xE2\x82\xAC", U"\u20AC"},                           // €
    {"\xF0\x9F\x98\x80", U"\U0001F600"},                   // four bytes
    {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},                   // the last code point
    {"\x80w", {X, U'w'}},                                  // stray continuation
    {"\xD1w", {X, U'w'}},                                  // truncated before an ASCII byte
    {"\xD1", {X}},                                         // truncated at the end
    {"\xE2\x82", {X, X}},                                  // lead, then a stray continuation
    {"\xC0\xB7", {X, X}},                                  // overlong two-byte form
    {"\xC1\xBF", {X, X}},
    {"\xE0\x81\xB7", {X, X, X}},                           // overlong three-byte form
    {"\xF0\x80\x81\xB7", {X, X, X, X}},                    // overlong four-byte form
    {"\xED\xA0\x80", {X, X, X}},                           // a surrogate
    {"\xF4\x90\x80\x80", {X, X, X, X}},                    // above 0x10FFFF
    {"\xF8\x88\x80\x80\x80", {X, X, X, X, X}},             // five-byte forms do not exist
    {"\xFF\xFE", {X, X}},
    {"a\xC3\xA9" "b", U"a\u00E9b"},
};

TEST(Utf8, DecodesWellFormedAndRejectsEverythingElse) {
    for (const Case& c : Cases) {
        const std::u32string decoded = DecodeUtf8(c.bytes);
        ASSERT_EQ(decoded.size(), c.decoded.size()) << "bytes of '" << c.bytes << "'";
        for (size_t i = 0; i < decoded.size(); ++i)
            EXPECT_EQ(uint32_t(decoded[i]), uint32_t(c.decoded[i])) << "character " << i << " of '" << c.bytes << "'";
    }
}

}  // namespace
