#include "DecimalReference.h"

#include <cstdlib>
#include <sstream>

namespace {

const mpz_class Limb = 10000;
const mpz_class Twelve = mpz_class("1000000000000");

// floor(log10(a)) of a positive rational.
int AdjustedExponent(const mpq_class& a) {
    int x = int(mpz_sizeinbase(a.get_num_mpz_t(), 10)) - int(mpz_sizeinbase(a.get_den_mpz_t(), 10));
    while (a < Power10(x)) --x;
    while (a >= Power10(x + 1)) ++x;
    return x;
}

}  // namespace

mpq_class Power10(int n) {
    mpz_class p;
    mpz_ui_pow_ui(p.get_mpz_t(), 10, unsigned(std::abs(n)));
    return n >= 0 ? mpq_class(p) : mpq_class(mpz_class(1), p);
}

mpq_class ValueOfText(const std::string& text) {
    std::string s = text;
    int exponent = 0;
    if (const size_t e = s.find('E'); e != std::string::npos) exponent = std::stoi(s.substr(e + 1)), s.resize(e);
    if (const size_t point = s.find('.'); point != std::string::npos) {
        exponent -= int(s.size() - point - 1);
        s.erase(point, 1);
    }
    mpq_class value = mpz_class(s, 10) * Power10(exponent);
    value.canonicalize();
    return value;
}

mpq_class ValueOf(const Number& number) {
    const auto word = [&](int i) { return unsigned(number[size_t(2 * i)] | number[size_t(2 * i + 1)] << 8); };
    if (word(0) == 0) return 0;
    const mpz_class coefficient = (mpz_class(word(1)) * Limb + word(2)) * Limb + word(3);
    mpq_class value = coefficient * Power10(int(word(0) & 0x7FFF) - 0x80);
    value.canonicalize();
    return word(0) & 0x8000 ? mpq_class(-value) : value;
}

Number Encode(const mpq_class& value) {
    Number number{};
    if (value == 0) return number;
    const mpq_class a = abs(value);
    // The smallest exponent that makes the coefficient whole, then the one
    // nearest 0 that keeps it below 10^12.
    int exponent = AdjustedExponent(a) - 11;
    mpz_class coefficient;
    for (;;) {
        const mpq_class scaled = a / Power10(exponent);
        if (scaled.get_den() == 1) {
            coefficient = scaled.get_num();
            break;
        }
        --exponent;
    }
    while (exponent < 0 && coefficient % 10 == 0) coefficient /= 10, ++exponent;
    while (exponent > 0 && coefficient * 10 < Twelve) coefficient *= 10, --exponent;
    const unsigned words[4] = {unsigned(exponent + 0x80) | (value < 0 ? 0x8000u : 0u),
                               unsigned(mpz_class(coefficient / Limb / Limb).get_ui()),
                               unsigned(mpz_class(coefficient / Limb % Limb).get_ui()),
                               unsigned(mpz_class(coefficient % Limb).get_ui())};
    for (size_t i = 0; i < 4; ++i) number[2 * i] = uint8_t(words[i]), number[2 * i + 1] = uint8_t(words[i] >> 8);
    return number;
}

Rounded RoundTwelve(const mpq_class& exact) {
    Rounded result;
    if (exact == 0) return result;
    const mpq_class a = abs(exact);
    int x = AdjustedExponent(a);
    const mpq_class scaled = a / Power10(x - 11) + mpq_class(1, 2);
    mpz_class coefficient = scaled.get_num() / scaled.get_den();
    if (coefficient == Twelve) coefficient /= 10, ++x;
    if (x < -99) return result;
    if (x > 99 || (x == 99 && coefficient >= mpz_class("999999999950"))) {
        result.overflow = true;
        return result;
    }
    result.value = coefficient * Power10(x - 11);
    result.value.canonicalize();
    if (exact < 0) result.value = -result.value;
    return result;
}

std::string Describe(const mpq_class& value) {
    if (value == 0) return "0";
    const mpq_class a = abs(value);
    const int x = AdjustedExponent(a);
    mpq_class scaled = a / Power10(x - 30);
    const mpz_class digits = scaled.get_num() / scaled.get_den();
    std::string text = digits.get_str();
    text.insert(1, ".");
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    std::ostringstream out;
    out << (value < 0 ? "-" : "") << text << "E" << x;
    if (mpq_class(digits) != scaled) out << "...";
    return out.str();
}

std::string Describe(const Number& number) {
    std::ostringstream out;
    out << Describe(ValueOf(number)) << " [";
    for (size_t i = 0; i < 8; i += 2) out << std::hex << (number[i] | number[i + 1] << 8) << (i < 6 ? " " : "]");
    return out.str();
}

mpq_class NumberSource::WithDigits(int digits, int adjustedExponent) {
    mpz_class coefficient = Between(1, 9);
    for (int i = 1; i < digits; ++i) coefficient = coefficient * 10 + Between(0, 9);
    mpq_class value = coefficient * Power10(adjustedExponent - digits + 1);
    value.canonicalize();
    return Between(0, 1) ? mpq_class(-value) : value;
}

mpq_class NumberSource::Whole(int64_t limit) {
    const int64_t n = std::uniform_int_distribution<int64_t>(-limit + 1, limit - 1)(random_);
    return mpq_class(mpz_class(std::to_string(n)));
}

mpq_class NumberSource::Any() {
    switch (Between(0, 5)) {
    case 0: return Whole(100000);
    case 1: return Whole(1000000000000);
    case 2: return WithDigits(Between(1, 12), Between(-12, 12));
    case 3: return WithDigits(12, Between(-99, 99));
    case 4: return WithDigits(Between(1, 3), Between(-99, 99));
    default: return WithDigits(Between(1, 12), Between(-3, 3));
    }
}
