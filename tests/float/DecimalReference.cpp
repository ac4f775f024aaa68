#include "DecimalReference.h"

#include <cmath>
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

constexpr int TrueBits = 320;

// The sum of the series whose first term is given and whose each next term
// is the last times step(n), n counting from 1, to below 1E-100.
template <typename Step>
Real SeriesSum(Real term, Step step) {
    Real sum(term, TrueBits);
    for (int n = 1; abs(term) > Real("1e-100", TrueBits) || n < 3; ++n) {
        term = term * step(n);
        sum += term;
    }
    return sum;
}

// pi by Machin's formula, 16 atn(1/5) - 4 atn(1/239).
const Real& Pi() {
    static const Real pi = [] {
        const auto atnOfInverse = [](int n) {
            const Real square(Real(n, TrueBits) * n, TrueBits);
            Real sum(0, TrueBits), power(Real(1, TrueBits) / n, TrueBits);
            for (int k = 0; power > Real("1e-100", TrueBits); ++k, power /= square) {
                const Real term(power / (2 * k + 1), TrueBits);
                if (k % 2) sum -= term;
                else sum += term;
            }
            return sum;
        };
        return Real(16 * atnOfInverse(5) - 4 * atnOfInverse(239), TrueBits);
    }();
    return pi;
}

}  // namespace

Real RealOf(const mpq_class& value) {
    return Real(value, TrueBits);
}

// e^x = (e^(x / 2^s))^(2^s), the small power by its series.
Real TrueExp(const Real& x) {
    Real r(x, TrueBits);
    int halvings = 0;
    for (; abs(r) > Real("0.001", TrueBits); ++halvings) r /= 2;
    Real e = SeriesSum(Real(1, TrueBits), [&](int n) { return Real(r / n, TrueBits); });
    for (int i = 0; i < halvings; ++i) e *= e;
    return e;
}

// Newton's steps on e^y = x from the double's logarithm, each of which
// triples the digits.
Real TrueLn(const Real& x) {
    Real y(std::log(x.get_d()), TrueBits);
    for (int i = 0; i < 5; ++i) {
        const Real e = TrueExp(y);
        y += 2 * (x - e) / (x + e);
    }
    return y;
}

// From the remainder of x after the nearest multiple of pi/2, at most pi/4.
Real TrueSin(const Real& x) {
    const Real quarter(Pi() / 2, TrueBits);
    Real k(x / quarter + Real(1, TrueBits) / 2, TrueBits);
    k = floor(k);
    const Real r(x - k * quarter, TrueBits);
    const Real square(r * r, TrueBits);
    const Real sine = SeriesSum(r, [&](int n) { return Real(-square / ((2 * n) * (2 * n + 1)), TrueBits); });
    const Real cosine = SeriesSum(Real(1, TrueBits), [&](int n) { return Real(-square / ((2 * n - 1) * (2 * n)), TrueBits); });
    const long quarters = ((k.get_si() % 4) + 4) % 4;
    const Real& result = quarters % 2 ? cosine : sine;
    return quarters >= 2 ? Real(-result, TrueBits) : result;
}

Real TrueCos(const Real& x) {
    return TrueSin(Real(x + Pi() / 2, TrueBits));
}

// atn x = pi/2 - atn(1/x) above 1; atn a = 2 atn(a / (1 + sqr(1 + a^2)))
// four times halves the angle to below 0.05 for the series.
Real TrueAtn(const Real& x) {
    if (abs(x) > 1) {
        const Real quarter(x > 0 ? Real(Pi() / 2, TrueBits) : Real(-Pi() / 2, TrueBits), TrueBits);
        return Real(quarter - TrueAtn(Real(1 / x, TrueBits)), TrueBits);
    }
    Real a(x, TrueBits);
    for (int i = 0; i < 4; ++i) a = a / (1 + sqrt(Real(1 + a * a, TrueBits)));
    const Real square(a * a, TrueBits);
    const Real sum = SeriesSum(a, [&](int n) { return Real(-square * (2 * n - 1) / (2 * n + 1), TrueBits); });
    return Real(16 * sum, TrueBits);
}

double RelativeError(const Number& got, const Real& truth) {
    return Real(abs(RealOf(ValueOf(got)) - truth) / abs(truth), TrueBits).get_d();
}

bool TenDigitsRight(const Number& got, const Real& truth) {
    const mpq_class shown = RoundDigits(ValueOf(got), 10), right = RoundDigits(mpq_class(truth), 10);
    if (shown == 0 || right == 0) return shown == right;
    return abs(shown - right) <= Power10(AdjustedExponent(std::min(abs(shown), abs(right))) - 9);
}

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

mpq_class RoundDigits(const mpq_class& exact, int digits) {
    if (exact == 0) return 0;
    const mpq_class a = abs(exact);
    const int unit = AdjustedExponent(a) - digits + 1;
    const mpq_class scaled = a / Power10(unit) + mpq_class(1, 2);
    mpq_class rounded = mpz_class(scaled.get_num() / scaled.get_den()) * Power10(unit);
    rounded.canonicalize();
    return exact < 0 ? mpq_class(-rounded) : rounded;
}

Rounded RoundTwelve(const mpq_class& exact) {
    Rounded result;
    if (exact == 0) return result;
    const mpq_class rounded = RoundDigits(exact, 12);
    const int x = AdjustedExponent(abs(rounded));
    if (x < -99) return result;
    if (x > 99 || abs(rounded) >= ValueOfText("9.9999999995E99")) {
        result.overflow = true;
        return result;
    }
    result.value = rounded;
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
