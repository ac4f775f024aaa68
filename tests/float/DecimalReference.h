// An independent reference for the firmware's decimal numbers: exact
// rationals (GMP) and the eight-byte layout, rounded to twelve digits as the
// module promises.
#pragma once

#include <gmpxx.h>

#include <optional>
#include <random>
#include <string>

#include "FloatBench.h"

// A number's value, or overflow.
struct Rounded {
    bool overflow = false;
    mpq_class value;  // exactly representable when not an overflow
};

// The value of the eight bytes, which must be a valid number.
mpq_class ValueOf(const Number& number);

// The one form of a value that twelve digits represent exactly.
Number Encode(const mpq_class& value);

// The exact value rounded to twelve significant digits, to nearest, ties
// away from zero; 0 below 1E-99; an overflow from 9.9999999995E99 on.
Rounded RoundTwelve(const mpq_class& exact);

// The exact value rounded to the given number of significant digits, to
// nearest, ties away from zero, with no limit on the exponent.
mpq_class RoundDigits(const mpq_class& exact, int digits);

// ten to the power n, n of either sign.
mpq_class Power10(int n);

// The value of a decimal text ("-1.25E-7", "0.3"), read exactly.
mpq_class ValueOfText(const std::string& text);

// The value as text for a failure message: "-1.25E-7".
std::string Describe(const mpq_class& value);
std::string Describe(const Number& number);

// The true values of the functions to about 95 digits, from their series
// in GMP floating point of 320 bits: a way of their own, which shares
// nothing with the firmware's but the mathematics.
using Real = mpf_class;
Real RealOf(const mpq_class& value);
Real TrueExp(const Real& x);
Real TrueLn(const Real& x);
Real TrueSin(const Real& x);
Real TrueCos(const Real& x);
Real TrueAtn(const Real& x);

// How far a result lies from the true value, as a part of the true value.
double RelativeError(const Number& got, const Real& truth);

// Whether the ten digits a result shows are the true value's, or one off in
// the last.
bool TenDigitsRight(const Number& got, const Real& truth);

// Random numbers of every kind: whole numbers, short and long coefficients,
// small and extreme exponents.
class NumberSource {
public:
    explicit NumberSource(unsigned seed) : random_(seed) {}
    mpq_class Any();
    mpq_class Whole(int64_t limit);            // an integer of either sign below limit in magnitude
    mpq_class WithDigits(int digits, int adjustedExponent);
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

private:
    std::mt19937 random_;
};
