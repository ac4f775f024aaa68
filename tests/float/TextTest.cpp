// Numbers read from text and shown as text: fparse, fformat and the two
// together.
#include "DecimalReference.h"

namespace {

// The number's text by the rule firmware/README.md states, worked out on
// exact rationals.
std::string ShownAs(const mpq_class& x) {
    if (x == 0) return "0";
    const bool negative = x < 0;
    const mpq_class a = abs(x);
    int first = 0;  // the exponent of the first digit
    while (a >= Power10(first + 1)) ++first;
    while (a < Power10(first)) --first;
    std::string digits;
    int exponent = 0;
    const auto roundTo = [&](int k) {
        const mpq_class scaled = a / Power10(first - k + 1) + mpq_class(1, 2);
        mpz_class c = scaled.get_num() / scaled.get_den();
        exponent = first;
        digits = c.get_str();
        if (int(digits.size()) > k) ++exponent;
        while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    };
    roundTo(10);
    const int sign = negative ? 1 : 0;
    bool plain = exponent < 10 && exponent >= 0;
    if (exponent < 0) {
        const int fit = 11 - sign + exponent;
        if (int(digits.size()) <= fit) plain = true;
        else if (fit >= 6) roundTo(fit), plain = true;
    }
    std::string text = negative ? "-" : "";
    if (plain) {
        if (exponent >= 0) {
            for (int i = 0; i <= exponent; ++i) text += i < int(digits.size()) ? digits[size_t(i)] : '0';
            if (int(digits.size()) > exponent + 1) text += "." + digits.substr(size_t(exponent + 1));
        } else {
            text += "0." + std::string(size_t(-exponent - 1), '0') + digits;
        }
        return text;
    }
    const int fit = 9 - sign - (exponent < 0) - (std::abs(exponent) >= 10);
    if (int(digits.size()) > fit) roundTo(fit);
    if (exponent == 100) digits = std::string(size_t(fit), '9'), exponent = 99;
    text += digits.substr(0, 1);
    if (digits.size() > 1) text += "." + digits.substr(1);
    return text + "E" + std::to_string(exponent);
}

std::string Format(FloatBench& bench, const Number& x) {
    FloatBench::Write(XAddress, x);
    std::memset(Mk.Ram() + (TextAddress - RamStart), 0x55, 16);
    const CallResult call = bench.Call(Routine::Format, XAddress, TextAddress);
    EXPECT_FALSE(call.c);
    const std::string text = FloatBench::Text(TextAddress, 16);
    EXPECT_EQ(call.r1, TextAddress + text.size()) << text;
    EXPECT_LE(text.size(), 12u) << text;
    EXPECT_EQ(FloatBench::X(), x) << text;
    return text;
}

TEST(FloatText, ParseReadsTheNumberAndStopsAfterIt) {
    const struct {
        const char* text;
        const char* value;  // nullptr: no number; "overflow"
        size_t length;
    } cases[] = {
        {"12", "12", 2}, {"0.1+2", "0.1", 3}, {".5", "0.5", 2}, {"5.", "5", 2}, {"007", "7", 3}, {"0.000", "0", 5},
        {"2.5.3", "2.5", 3}, {"1E5X", "1E5", 3}, {"1E", "1", 1}, {"1E+", "1", 1}, {"1E-5", "1E-5", 4},
        {"1e5", "1", 1}, {"1E+05", "1E5", 5}, {"1E123", "1E12", 4}, {"1E99", "1E99", 4}, {"12E-100", "1.2E-9", 6},
        {"9.9999999994E99", "9.9999999994E99", 15}, {"9.9999999995E99", "overflow", 15}, {"10E99", "overflow", 5}, {"0.1E-99", "0", 7},
        {"1234567890123456789", "1.23456789012E18", 19}, {"0.99999999999951", "1", 16},
        {"0.123456789012449", "0.123456789012", 17}, {"0.00000000000000000001234", "1.234E-20", 25},
        {"123456789012345678901234567890", "1.23456789012E29", 30},
        {".", nullptr, 0}, {"E5", nullptr, 0}, {"", nullptr, 0}, {"+1", nullptr, 0}, {"..1", nullptr, 0},
    };
    FloatBench bench;
    for (const auto& c : cases) {
        FloatBench::PutText(TextAddress, c.text);
        FloatBench::Write(XAddress, Encode(99));
        const CallResult call = bench.Call(Routine::Parse, XAddress, TextAddress);
        if (!c.value) {
            EXPECT_TRUE(call.c) << c.text;
            EXPECT_EQ(call.r0, 0) << c.text;
            EXPECT_EQ(call.r1, TextAddress) << c.text;
            continue;
        }
        EXPECT_EQ(call.r1, TextAddress + c.length) << c.text;
        if (std::string(c.value) == "overflow") {
            EXPECT_TRUE(call.c) << c.text;
            EXPECT_EQ(call.r0, 2) << c.text;
            continue;
        }
        EXPECT_FALSE(call.c) << c.text;
        EXPECT_EQ(Describe(FloatBench::X()), Describe(Encode(ValueOfText(c.value)))) << c.text;
    }
}

TEST(FloatText, FormatChosenNumbers) {
    const struct {
        const char* value;
        const char* text;
    } cases[] = {
        {"0", "0"}, {"408", "408"}, {"-1234567890", "-1234567890"}, {"0.3", "0.3"}, {"-0.125", "-0.125"},
        {"3.14159265359", "3.141592654"}, {"0.333333333333", "0.3333333333"}, {"-0.333333333333", "-0.333333333"},
        {"0.999999999999", "1"}, {"-0.999999999999", "-1"}, {"9999999999.5", "1E10"}, {"9999999999.4", "9999999999"},
        {"12345678901", "1.2345679E10"}, {"1E15", "1E15"}, {"-1.2345E-12", "-1.2345E-12"}, {"0.00001", "0.00001"},
        {"1E-10", "0.0000000001"}, {"1.5E-10", "1.5E-10"}, {"1.23456789012E-7", "1.2345679E-7"},
        {"1.23456789012E-6", "1.2345679E-6"}, {"9.9999999994E99", "9.9999999E99"}, {"-9.99999996E-10", "-1E-9"}, {"-9.9999999996E-10", "-0.000000001"}, {"0.0000123456789", "0.0000123457"}, {"-1E-99", "-1E-99"},
        {"-9.87654321E-99", "-9.87654E-99"}, {"0.1", "0.1"}, {"-5", "-5"}, {"123456.789012", "123456.789"},
    };
    FloatBench bench;
    for (const auto& c : cases) {
        const mpq_class value = ValueOfText(c.value[0] == '-' ? c.value + 1 : c.value);
        const mpq_class x = c.value[0] == '-' ? mpq_class(-value) : value;
        EXPECT_EQ(ShownAs(x), c.text) << c.value;
        EXPECT_EQ(Format(bench, Encode(x)), c.text) << c.value;
    }
}

// The module's text against the rule worked out on rationals; and what it
// shows reads back as exactly the number the text says, so a number whose
// digits are all shown comes back whole.
TEST(FloatText, FormatFollowsTheRuleAndReadsBack) {
    FloatBench bench;
    NumberSource source(12);
    for (int i = 0; i < 3000; ++i) {
        const mpq_class x = i % 2 ? source.Any() : source.WithDigits(source.Between(1, 10), source.Between(-12, 12));
        const std::string text = Format(bench, Encode(x));
        EXPECT_EQ(text, ShownAs(x)) << Describe(x);
        const std::string unsigned_text = text[0] == '-' ? text.substr(1) : text;
        FloatBench::PutText(TextAddress, unsigned_text);
        const CallResult call = bench.Call(Routine::Parse, YAddress, TextAddress);
        EXPECT_FALSE(call.c) << text;
        EXPECT_EQ(call.r1, TextAddress + unsigned_text.size()) << text;
        const mpq_class read = ValueOfText(unsigned_text);
        EXPECT_EQ(ValueOf(FloatBench::Read(YAddress)), read) << text;
        if (HasFailure()) return;
    }
}

}  // namespace
