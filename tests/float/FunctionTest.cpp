// Square roots, powers, logarithms, e^x and random numbers.
#include <cmath>
#include <set>

#include "DecimalReference.h"

namespace {

long double AsLongDouble(const mpq_class& value) {
    return std::strtold(Describe(value).c_str(), nullptr);
}

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
    for (int i = 0; i < 600; ++i) {
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

// The largest relative error of the routine over the operands, against long
// double.
struct Accuracy {
    Routine routine;
    const char* name;
    long double (*function)(long double);
};

TEST(FloatFunctions, LogarithmsAndExponentialAreAccurate) {
    const Accuracy functions[] = {
        {Routine::Ln, "ln", [](long double x) { return std::log(x); }},
        {Routine::Log, "log", [](long double x) { return std::log10(x); }},
        {Routine::Exp, "exp", [](long double x) { return std::exp(x); }},
    };
    FloatBench bench;
    NumberSource source(11);
    for (const Accuracy& f : functions) {
        long double worst = 0;
        for (int i = 0; i < 150; ++i) {
            mpq_class x = f.routine == Routine::Exp ? source.WithDigits(source.Between(1, 12), source.Between(-8, 2))
                                                    : abs(source.Any());
            if (x == 0) continue;
            if (i % 5 == 0 && f.routine != Routine::Exp) x = RoundTwelve(1 + Power10(-source.Between(1, 11)) * (i % 2 ? 1 : -1)).value;
            // Near 1 the logarithms go from x - 1, exact, so that long
            // double loses nothing there either.
            long double expected = f.function(AsLongDouble(x));
            if (f.routine != Routine::Exp && abs(x - 1) < mpq_class(1, 2)) {
                expected = std::log1p(AsLongDouble(x - 1)) / (f.routine == Routine::Log ? std::log(10.0L) : 1);
            }
            const CallResult call = bench.Unary(f.routine, Encode(x));
            if (std::fabs(expected) > 9.99e99L) {
                EXPECT_TRUE(call.c) << f.name << " " << Describe(x);
                continue;
            }
            EXPECT_FALSE(call.c) << f.name << " " << Describe(x);
            const long double got = AsLongDouble(ValueOf(FloatBench::X()));
            if (std::fabs(expected) < 1e-99L) {
                EXPECT_EQ(got, 0) << f.name << " " << Describe(x);
                continue;
            }
            const long double error = std::fabs(got - expected) / std::fabs(expected);
            worst = std::max(worst, error);
            EXPECT_LT(error, 2e-11L) << f.name << " " << Describe(x) << " gave " << Describe(FloatBench::X());
            if (HasFailure()) return;
        }
        RecordProperty(f.name, std::to_string(double(worst)));
    }
}

// The circular functions against long double, within a few units of the
// twelfth digit of the result, or of the angle's when the result is near 0.
TEST(FloatFunctions, CircularFunctionsAreAccurate) {
    const Accuracy functions[] = {
        {Routine::Sin, "sin", [](long double x) { return std::sin(x); }},
        {Routine::Cos, "cos", [](long double x) { return std::cos(x); }},
        {Routine::Tan, "tan", [](long double x) { return std::tan(x); }},
        {Routine::Atn, "atn", [](long double x) { return std::atan(x); }},
    };
    FloatBench bench;
    NumberSource source(13);
    for (const Accuracy& f : functions) {
        for (int i = 0; i < 120; ++i) {
            const mpq_class x = f.routine == Routine::Atn ? source.Any()
                                                          : source.WithDigits(source.Between(1, 12), source.Between(-6, 3));
            const long double angle = AsLongDouble(x);
            const long double expected = f.function(angle);
            const CallResult call = bench.Unary(f.routine, Encode(x));
            EXPECT_FALSE(call.c) << f.name << " " << Describe(x);
            const long double got = AsLongDouble(ValueOf(FloatBench::X()));
            const long double scale = std::max(std::fabs(expected), f.routine == Routine::Atn ? 0.0L : 1e-12L * std::fabs(angle));
            EXPECT_LE(std::fabs(got - expected), 2e-11L * std::max(scale, 1e-99L))
                << f.name << " " << Describe(x) << " gave " << Describe(FloatBench::X());
            if (HasFailure()) return;
        }
    }
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
