// Square roots, powers, logarithms, e^x and random numbers.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "DecimalReference.h"

namespace {

// The root, correctly rounded: the floor of the root of x * 10^2k, of at
// least 14 digits, rounds as the root itself.
mpq_class RootOf(const mpq_class& x) {
    int k = 20;
    while (mpq_class(x * Power10(2 * k)).get_den() != 1 || x * Power10(2 * k) < Power10(28)) ++k;
    const mpz_class scaled = mpz_class(x * Power10(2 * k));
    mpz_class root;
    mpz_sqrt(root.get_mpz_t(), scaled.get_mpz_t());
    return RoundTwelve(root * Power10(-k)).value;
}

TEST(FloatFunctions, SquareRootIsCorrectlyRounded) {
    FloatBench bench;
    NumberSource source(9);
    for (int i = 0; i < 1000; ++i) {
        mpq_class x = abs(source.Any());
        if (i % 4 == 0) x = RoundTwelve(x * x).value;  // near a perfect square
        if (x == 0) continue;
        const CallResult call = bench.Unary(Routine::SquareRoot, Encode(x));
        EXPECT_FALSE(call.c) << Describe(x);
        EXPECT_EQ(Describe(FloatBench::X()), Describe(Encode(RootOf(x)))) << Describe(x);
        if (HasFailure()) return;
    }
    const CallResult negative = bench.Unary(Routine::SquareRoot, Encode(-1));
    EXPECT_TRUE(negative.c);
    EXPECT_EQ(negative.r0, 6);
    EXPECT_FALSE(bench.Unary(Routine::SquareRoot, Encode(0)).c);
    EXPECT_EQ(FloatBench::X(), Encode(0));
}

// Whole powers whose results fit are exact, a negative one correctly rounded
// from there.
TEST(FloatFunctions, WholePowersAreExact) {
    FloatBench bench;
    NumberSource source(10);
    for (int i = 0; i < 1500; ++i) {
        const mpq_class x = source.WithDigits(source.Between(1, 3), source.Between(-3, 3));
        const int n = source.Between(-12, 12);
        mpq_class power = 1;
        for (int j = 0; j < std::abs(n); ++j) power *= x;
        if (Encode(RoundTwelve(power).value) != Encode(power) || RoundTwelve(power).value != power) continue;
        const mpq_class expected = n < 0 ? RoundTwelve(1 / power).value : power;
        const CallResult call = bench.Binary(Routine::Power, Encode(x), Encode(n));
        EXPECT_FALSE(call.c) << Describe(x) << "^" << n;
        EXPECT_EQ(Describe(FloatBench::X()), Describe(Encode(expected))) << Describe(x) << "^" << n;
        if (HasFailure()) return;
    }
}

TEST(FloatFunctions, PowerErrorsAndEdges) {
    const struct {
        mpq_class x, y;
        int error;  // 0, or the code
        mpq_class expected;
    } cases[] = {
        {2, 10, 0, 1024},
        {10, -3, 0, mpq_class(1, 1000)},
        {-2, 3, 0, -8},
        {-2, mpq_class(1, 2), 6, 0},
        {0, -1, 6, 0},
        {0, mpq_class(-1, 2), 6, 0},
        {0, 0, 0, 1},
        {5, 0, 0, 1},
        {0, 3, 0, 0},
        {10, 100, 2, 0},
        {10, -100, 0, 0},
        {mpq_class(1, 10), 100, 0, 0},
        {mpq_class(1, 10), -100, 2, 0},
        {-1, mpz_class("100000000000000"), 0, 1},
        {-1, mpz_class("100001"), 0, -1},
        {2, mpz_class("100000"), 2, 0},
        {4, mpq_class(1, 2), 0, 2},
    };
    FloatBench bench;
    for (const auto& c : cases) {
        const CallResult call = bench.Binary(Routine::Power, Encode(c.x), Encode(c.y));
        const std::string what = Describe(c.x) + "^" + Describe(c.y);
        EXPECT_EQ(call.c, c.error != 0) << what;
        if (c.error) EXPECT_EQ(call.r0, c.error) << what;
        else EXPECT_EQ(Describe(FloatBench::X()), Describe(Encode(c.expected))) << what;
    }
}

// The largest errors of the functions, as a part of the true value, at any
// argument: what firmware/README.md states. Powers come from e^(y ln x),
// where x within a few units of the twelfth digit of 1 to a power beyond
// 10^13 is the hardest.
constexpr double FunctionError = 1e-11, PowerError = 1e-10;

Real TruePower(const mpq_class& x, const mpq_class& y) {
    const Real power = TrueExp(Real(RealOf(y) * TrueLn(RealOf(abs(x))), 320));
    const bool odd = x < 0 && mpz_class(y.get_num() % 2) != 0;
    return odd ? Real(-power, 320) : power;
}

// A function, its true value and where its random arguments come from.
struct Function {
    Routine routine;
    const char* name;
    Real (*truth)(const mpq_class& x, const mpq_class& y);
    std::pair<mpq_class, mpq_class> (*argument)(NumberSource& source, int i);
    double maxError = FunctionError;
};

// An angle, every fourth one the twelve digits nearest a multiple of pi/2,
// where the remainder after the multiple is all that is left.
std::pair<mpq_class, mpq_class> Angle(NumberSource& source, int i) {
    if (i % 4 == 0) {
        const int k = i % 8 ? source.Between(1, 12) : source.Between(13, 32700);
        const mpq_class x = RoundDigits(mpq_class(Real(k * TrueAtn(RealOf(1)) * 2, 320)), 12);
        return {source.Between(0, 1) ? mpq_class(-x) : x, 0};
    }
    const mpq_class x = source.WithDigits(source.Between(1, 12), source.Between(-6, 4));
    return {abs(x) > 51000 ? RoundDigits(x / 2, 12) : x, 0};
}

// A number near 1 every fifth time, as logarithms and powers meet them.
mpq_class Positive(NumberSource& source, int i) {
    if (i % 5 == 0) return RoundDigits(1 + source.WithDigits(source.Between(1, 12), -source.Between(1, 11)), 12);
    const mpq_class x = abs(source.Any());
    return x == 0 ? mpq_class(7) : x;
}

const Function Functions[] = {
    {Routine::Sin, "SIN", [](const mpq_class& x, const mpq_class&) { return TrueSin(RealOf(x)); }, Angle},
    {Routine::Cos, "COS", [](const mpq_class& x, const mpq_class&) { return TrueCos(RealOf(x)); }, Angle},
    {Routine::Tan, "TAN",
     [](const mpq_class& x, const mpq_class&) { return Real(TrueSin(RealOf(x)) / TrueCos(RealOf(x)), 320); }, Angle},
    {Routine::Atn, "ATN", [](const mpq_class& x, const mpq_class&) { return TrueAtn(RealOf(x)); },
     [](NumberSource& source, int) { return std::pair(source.Any(), mpq_class(0)); }},
    {Routine::Exp, "EXP", [](const mpq_class& x, const mpq_class&) { return TrueExp(RealOf(x)); },
     [](NumberSource& source, int) {
         const mpq_class x = source.WithDigits(source.Between(1, 12), source.Between(-12, 2));
         return std::pair(abs(x) > 230 ? RoundDigits(x / 5, 12) : x, mpq_class(0));
     }},
    {Routine::Ln, "LN", [](const mpq_class& x, const mpq_class&) { return TrueLn(RealOf(x)); },
     [](NumberSource& source, int i) { return std::pair(Positive(source, i), mpq_class(0)); }},
    {Routine::Log, "LOG",
     [](const mpq_class& x, const mpq_class&) { return Real(TrueLn(RealOf(x)) / TrueLn(RealOf(10)), 320); },
     [](NumberSource& source, int i) { return std::pair(Positive(source, i), mpq_class(0)); }},
    // Powers y ln x from -230 to 230, where the result neither overflows nor
    // vanishes and y ln x needs all its digits; every fourth a negative x
    // to a whole power.
    {Routine::Power, "^", TruePower, [](NumberSource& source, int i) {
         if (i % 4 == 3) {
             const mpq_class x = -source.WithDigits(source.Between(1, 6), source.Between(-1, 1));
             return std::pair(mpq_class(-abs(x)), mpq_class(source.Between(-200, 200)));
         }
         const mpq_class x = Positive(source, i);
         const mpq_class t = source.WithDigits(source.Between(1, 12), source.Between(-3, 2)) * 23 / 10;
         const mpq_class y = RoundDigits(mpq_class(Real(RealOf(t) / TrueLn(RealOf(x == 1 ? mpq_class(2) : x)), 320)), 12);
         return std::pair(x == 1 ? mpq_class(2) : x, y);
     }, PowerError},
};

std::string Call(const Function& f, const mpq_class& x, const mpq_class& y) {
    return std::string(f.name) + "(" + Describe(x) + (f.routine == Routine::Power ? ", " + Describe(y) : "") + ")";
}

// Calls the function and checks its result against the true value: the ten
// digits shown right or one off in the last, and within its largest error.
// Returns the error.
double Check(FloatBench& bench, const Function& f, const mpq_class& x, const mpq_class& y, uint64_t& steps) {
    const Real truth = f.truth(x, y);
    const CallResult call = bench.Binary(f.routine, Encode(x), Encode(y));
    steps += call.instructions;
    const Rounded expected = RoundTwelve(mpq_class(truth));
    if (expected.overflow) {
        EXPECT_TRUE(call.c && call.r0 == 2) << Call(f, x, y) << " should overflow";
        return 0;
    }
    EXPECT_FALSE(call.c) << Call(f, x, y) << ": error " << call.r0;
    if (expected.value == 0) {
        EXPECT_EQ(FloatBench::X(), Encode(0)) << Call(f, x, y);
        return 0;
    }
    const double error = RelativeError(FloatBench::X(), truth);
    EXPECT_TRUE(TenDigitsRight(FloatBench::X(), truth)) << Call(f, x, y) << " gave " << Describe(FloatBench::X());
    EXPECT_LE(error, f.maxError) << Call(f, x, y) << " gave " << Describe(FloatBench::X()) << ", not "
                               << Describe(mpq_class(truth));
    return error;
}

// Arguments where digits cancel: results near 0 of the circular functions,
// large y ln x in powers, logarithms near 1.
TEST(FloatFunctions, HardArgumentsAreExact) {
    const struct {
        Routine routine;
        const char *x, *y;
    } cases[] = {
        {Routine::Power, "7", "11.3"},           {Routine::Power, "8.71", "5.083"},
        {Routine::Power, "3.74", "10.81"},       {Routine::Power, "1.65", "21.044"},
        {Routine::Power, "0.99", "-2000.5"},     {Routine::Power, "0.3", "45.6"},
        {Routine::Power, "1.0000001", "2E9"},    {Routine::Power, "2", "327.5"},
        {Routine::Power, "1E99", "0.5"},         {Routine::Power, "0.999999999999", "-1.7E14"},
        {Routine::Power, "-1.5", "-501"},        {Routine::Tan, "-1.5707963268", "0"},
        {Routine::Cos, "1.57079632679", "0"},    {Routine::Tan, "1.57079632679", "0"},
        {Routine::Sin, "3.14159265359", "0"},    {Routine::Sin, "6.28318530718", "0"},
        {Routine::Cos, "4.71238898038", "0"},    {Routine::Sin, "8125.72939851", "0"},
        {Routine::Tan, "51000", "0"},            {Routine::Exp, "230", "0"},
        {Routine::Exp, "-227.5", "0"},           {Routine::Exp, "1E-12", "0"},
        {Routine::Ln, "0.999999999999", "0"},    {Routine::Ln, "1.00000000001", "0"},
        {Routine::Log, "9.99999999999", "0"},    {Routine::Ln, "9.99999999999E99", "0"},
        {Routine::Atn, "0.267949192431", "0"},   {Routine::Atn, "3.73205080757", "0"},
        {Routine::Power, "0.55", "-166"},        {Routine::Power, "-0.242211", "153"},
        {Routine::Power, "25", "8"},             {Routine::Power, "1E-60", "-2"},
    };
    FloatBench bench;
    uint64_t steps = 0;
    for (const auto& c : cases) {
        const Function& f = *std::find_if(std::begin(Functions), std::end(Functions),
                                          [&](const Function& g) { return g.routine == c.routine; });
        Check(bench, f, ValueOfText(c.x), ValueOfText(c.y), steps);
    }
}

// A thousand random arguments a function; the largest error and the
// instructions a call takes on average go to the test's properties.
TEST(FloatFunctions, RandomArgumentsAreAccurate) {
    FloatBench bench;
    NumberSource source(11);
    for (const Function& f : Functions) {
        double worst = 0;
        uint64_t steps = 0;
        constexpr int Count = 1000;
        for (int i = 0; i < Count; ++i) {
            const auto [x, y] = f.argument(source, i);
            worst = std::max(worst, Check(bench, f, x, y, steps));
            if (HasFailure()) return;
        }
        char text[16];
        std::snprintf(text, sizeof text, "%.2g", worst);
        RecordProperty(std::string(f.name) + " error", text);
        RecordProperty(std::string(f.name) + " steps", std::to_string(steps / Count));
    }
}

TEST(FloatFunctions, CircularEdges) {
    FloatBench bench;
    const CallResult far = bench.Unary(Routine::Sin, Encode(mpz_class("100000")));
    EXPECT_TRUE(far.c);
    EXPECT_EQ(far.r0, 6);
    for (Routine routine : {Routine::Sin, Routine::Tan, Routine::Atn}) {
        EXPECT_FALSE(bench.Unary(routine, Encode(0)).c);
        EXPECT_EQ(FloatBench::X(), Encode(0));
    }
    EXPECT_FALSE(bench.Unary(Routine::Cos, Encode(0)).c);
    EXPECT_EQ(FloatBench::X(), Encode(1));
}

TEST(FloatFunctions, ExactLogarithmsAndTheirErrors) {
    FloatBench bench;
    for (int k = -99; k <= 99; ++k) {
        EXPECT_FALSE(bench.Unary(Routine::Log, Encode(Power10(k))).c) << k;
        EXPECT_EQ(FloatBench::X(), Encode(k)) << k;
    }
    EXPECT_FALSE(bench.Unary(Routine::Ln, Encode(1)).c);
    EXPECT_EQ(FloatBench::X(), Encode(0));
    EXPECT_FALSE(bench.Unary(Routine::Exp, Encode(0)).c);
    EXPECT_EQ(FloatBench::X(), Encode(1));
    for (const mpq_class& bad : {mpq_class(0), mpq_class(-1), mpq_class(-1, 1000)}) {
        for (Routine routine : {Routine::Ln, Routine::Log}) {
            const CallResult call = bench.Unary(routine, Encode(bad));
            EXPECT_TRUE(call.c);
            EXPECT_EQ(call.r0, 6);
        }
    }
    const CallResult large = bench.Unary(Routine::Exp, Encode(231));
    EXPECT_TRUE(large.c);
    EXPECT_EQ(large.r0, 2);
    EXPECT_FALSE(bench.Unary(Routine::Exp, Encode(-231)).c);
    EXPECT_EQ(FloatBench::X(), Encode(0));
    EXPECT_FALSE(bench.Unary(Routine::Exp, Encode(mpz_class("-1000000000000000"))).c);
    EXPECT_EQ(FloatBench::X(), Encode(0));
}

// The generator against its formula, s := (s * a + c) mod 10^12, worked
// out on whole numbers; and its numbers lie in [0, 1) with ten digits.
TEST(FloatFunctions, RandomNumbersFollowTheGenerator) {
    FloatBench bench;
    std::memset(Mk.Ram() + (SeedAddress - RamStart), 0xFF, 8);  // a damaged seed is folded into range
    mpz_class seed = (65535 % 10000) * mpz_class("100010001");
    std::set<int> firstDigits;
    for (int i = 0; i < 1000; ++i) {
        const CallResult call = bench.Unary(Routine::Random, Encode(5));
        EXPECT_FALSE(call.c);
        seed = (seed * mpz_class("738429161621") + 7) % mpz_class("1000000000000");
        mpq_class expected = mpq_class(mpz_class(seed / 100), mpz_class("10000000000"));
        expected.canonicalize();
        EXPECT_EQ(ValueOf(FloatBench::X()), expected) << i;
        EXPECT_TRUE(expected >= 0 && expected < 1);
        firstDigits.insert(int(mpz_class(seed / mpz_class("100000000000")).get_si()));
        if (HasFailure()) return;
    }
    EXPECT_EQ(firstDigits.size(), 10u);
}

}  // namespace
