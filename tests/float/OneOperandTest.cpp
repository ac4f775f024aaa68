// The routines of one operand and the conversions to and from words.
#include <cmath>

#include "DecimalReference.h"

namespace {

TEST(FloatOneOperand, SignsAndCopies) {
    FloatBench bench;
    NumberSource source(5);
    for (int i = 0; i < 500; ++i) {
        const mpq_class x = i == 0 ? mpq_class(0) : source.Any();
        const struct {
            Routine routine;
            mpq_class expected;
        } cases[] = {
            {Routine::Clear, 0},
            {Routine::Negate, -x},
            {Routine::Absolute, abs(x)},
            {Routine::Sign, sgn(x)},
        };
        for (const auto& c : cases) {
            const CallResult call = bench.Unary(c.routine, Encode(x));
            EXPECT_FALSE(call.c);
            EXPECT_EQ(FloatBench::X(), Encode(c.expected)) << Describe(x);
        }
        FloatBench::Write(YAddress, Encode(x));
        FloatBench::Write(XAddress, Encode(7));
        EXPECT_FALSE(bench.Call(Routine::Move, XAddress, YAddress).c);
        EXPECT_EQ(FloatBench::X(), Encode(x));
    }
}

TEST(FloatOneOperand, IntegerIsTheFloor) {
    FloatBench bench;
    NumberSource source(6);
    for (int i = 0; i < 2000; ++i) {
        const mpq_class x = i < 4 ? mpq_class(std::array{0, 1, -1, 2}[size_t(i)]) / 2 : source.Any();
        const mpz_class floor = x.get_num() / x.get_den() - (x < 0 && x.get_den() != 1 ? 1 : 0);
        EXPECT_FALSE(bench.Unary(Routine::Integer, Encode(x)).c);
        EXPECT_EQ(Describe(FloatBench::X()), Describe(Encode(mpq_class(floor)))) << Describe(x);
        if (HasFailure()) return;
    }
}

// The check of what RAM kept takes every number in its one form, as the
// reference encodes it, and nothing else: the same values in other words,
// limbs above 9999, magnitudes out of range.
TEST(FloatOneOperand, CheckTakesTheOneFormAlone) {
    FloatBench bench;
    NumberSource source(7);
    for (int i = 0; i < 500; ++i) {
        const mpq_class x = i == 0 ? mpq_class(0) : source.Any();
        EXPECT_FALSE(bench.Unary(Routine::Check, Encode(x)).c) << Describe(x);
    }
    const auto words = [](uint16_t exponent, uint16_t l0, uint16_t l1, uint16_t l2) {
        Number n;
        for (size_t i = 0; const uint16_t w : {exponent, l0, l1, l2}) {
            n[i++] = uint8_t(w);
            n[i++] = uint8_t(w >> 8);
        }
        return n;
    };
    const Number others[] = {
        words(0x8000, 0, 0, 0),         // -0
        words(0x7E, 0, 0, 0),           // 0 with an exponent
        words(0x7F, 0, 0, 50),          // 5.0
        words(0x81, 0, 0, 5),           // 50
        words(0x80, 0, 0, 10000),       // a limb too large
        words(0x80, 0xFFFF, 0xFFFF, 0xFFFF),
        words(0x7FFF, 0, 0, 1),         // far too large
        words(0x80 + 88, 9999, 9999, 9950),  // 9.99999999995E99, which shows as 1E100
        words(0x80 - 111, 0, 0, 1),     // 1E-111
        words(0, 1000, 0, 0),           // 1E-117
    };
    for (const Number& n : others) EXPECT_TRUE(bench.Unary(Routine::Check, n).c) << Describe(n);
}

// Words through a number and back: all the small ones, the ends and a
// spread between.
TEST(FloatOneOperand, WordsComeBack) {
    FloatBench bench;
    for (int n = -32768; n <= 32767; n += std::abs(n) < 10500 || std::abs(n) > 32700 ? 1 : 37) {
        FloatBench::Write(XAddress, Encode(99));
        EXPECT_FALSE(bench.Call(Routine::FromInteger, XAddress, uint16_t(n)).c);
        ASSERT_EQ(FloatBench::X(), Encode(n)) << n;
        const CallResult back = bench.Call(Routine::ToInteger, XAddress, 0);
        EXPECT_FALSE(back.c);
        ASSERT_EQ(int16_t(back.r1), n);
    }
}

TEST(FloatOneOperand, ToIntegerTruncatesOrOverflows) {
    FloatBench bench;
    NumberSource source(8);
    for (int i = 0; i < 2000; ++i) {
        const mpq_class x = i % 2 ? source.Any() : source.WithDigits(source.Between(1, 12), source.Between(-3, 5));
        const mpz_class truncated = x.get_num() / x.get_den();
        const CallResult call = bench.Unary(Routine::ToInteger, Encode(x));
        const bool fits = truncated >= -32768 && truncated <= 32767;
        EXPECT_EQ(call.c, !fits) << Describe(x);
        if (fits) EXPECT_EQ(int16_t(call.r1), truncated.get_si()) << Describe(x);
        else EXPECT_EQ(call.r0, 2) << Describe(x);
        EXPECT_EQ(FloatBench::X(), Encode(x));
        if (HasFailure()) return;
    }
}

}  // namespace
