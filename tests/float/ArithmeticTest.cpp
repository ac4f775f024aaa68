// Adding, subtracting, multiplying, dividing and comparing, against the exact
// rational result rounded to twelve digits.
#include <functional>

#include "DecimalReference.h"

namespace {

struct Operation {
    Routine routine;
    const char* name;
    std::function<mpq_class(const mpq_class&, const mpq_class&)> exact;
};

const Operation Operations[] = {
    {Routine::Add, "+", [](const mpq_class& x, const mpq_class& y) { return mpq_class(x + y); }},
    {Routine::Subtract, "-", [](const mpq_class& x, const mpq_class& y) { return mpq_class(x - y); }},
    {Routine::Multiply, "*", [](const mpq_class& x, const mpq_class& y) { return mpq_class(x * y); }},
    {Routine::Divide, "/", [](const mpq_class& x, const mpq_class& y) { return mpq_class(x / y); }},
};

// Runs x op y on the bench and checks the result against the reference;
// returns the instructions it took.
uint64_t Check(FloatBench& bench, const Operation& op, const mpq_class& x, const mpq_class& y) {
    const Number before = Encode(x);
    const CallResult call = bench.Binary(op.routine, before, Encode(y));
    const std::string what = Describe(x) + " " + op.name + " " + Describe(y);
    if (op.routine == Routine::Divide && y == 0) {
        EXPECT_TRUE(call.c) << what;
        EXPECT_EQ(call.r0, 4) << what;
        return call.instructions;
    }
    const Rounded expected = RoundTwelve(op.exact(x, y));
    if (expected.overflow) {
        EXPECT_TRUE(call.c) << what;
        EXPECT_EQ(call.r0, 2) << what;
        return call.instructions;
    }
    EXPECT_FALSE(call.c) << what << ": error " << call.r0;
    EXPECT_EQ(Describe(FloatBench::X()), Describe(Encode(expected.value))) << what;
    return call.instructions;
}

TEST(FloatArithmetic, ChosenCases) {
    const struct {
        const char* x;
        char op;
        const char* y;
    } cases[] = {
        {"0.1", '+', "0.2"}, {"1", '/', "3"}, {"2", '/', "3"}, {"57", '+', "1"}, {"9999", '+', "1"},
        {"999999999999", '+', "1"}, {"999999999999", '+', "999999999999"}, {"-5", '+', "5"},
        {"1", '-', "0.000000000001"}, {"1", '-', "0.0000000000005"}, {"1", '-', "0.00000000000049"},
        {"1E50", '+', "1E-50"}, {"1E50", '-', "1E-50"}, {"123456789012", '-', "123456789011"},
        {"1.00000000001", '-', "1"}, {"0.5", '+', "0.5"}, {"2.5", '*', "4"}, {"0.000001", '*', "0.000001"},
        {"9.99999999999E99", '*', "1"}, {"9.9999999999E99", '+', "4.9E88"}, {"9.9999999999E99", '+', "5E88"},
        {"1E99", '*', "10"}, {"1E-99", '/', "10"}, {"1E-99", '/', "2"}, {"1.5E-99", '/', "1.5"},
        {"1E-50", '*', "1E-50"}, {"1", '/', "7"}, {"22", '/', "7"}, {"1", '/', "0"}, {"0", '/', "5"},
        {"0", '*', "5"}, {"123456789012", '*', "987654321098"}, {"999999999999", '*', "999999999999"},
        {"1", '/', "999999999999"}, {"999999999999", '/', "1"}, {"1E12", '-', "1"}, {"-1E12", '+', "1"},
        {"0.3", '-', "0.1"}, {"100", '-', "0.001"}, {"1234.5", '/', "0.5"}, {"-7", '/', "2"},
        {"32768", '*', "32768"}, {"5E-100", '+', "5E-100"},
    };
    FloatBench bench;
    for (const auto& c : cases) {
        const Operation& op = *std::find_if(std::begin(Operations), std::end(Operations),
                                            [&](const Operation& o) { return o.name[0] == c.op; });
        Check(bench, op, ValueOfText(c.x), ValueOfText(c.y));
    }
}

// A number of the same exponent as x's, which adding takes in place.
mpq_class WithExponentOf(const mpq_class& x, NumberSource& source) {
    const Number n = Encode(x);
    const int exponent = (n[0] | (n[1] & 0x7F) << 8) - 0x80;
    mpz_class coefficient = 0;
    for (int digits = source.Between(1, 12); digits > 0; --digits) coefficient = coefficient * 10 + source.Between(0, 9);
    mpq_class y = coefficient * Power10(exponent);
    y.canonicalize();
    return source.Between(0, 1) ? mpq_class(-y) : y;
}

// A few thousand operands of every kind for each operation; now and then
// two that nearly cancel, or two of one exponent.
TEST(FloatArithmetic, RandomOperandsRoundAsTheExactResult) {
    FloatBench bench;
    NumberSource source(20);
    for (const Operation& op : Operations) {
        for (int i = 0; i < 2000; ++i) {
            const mpq_class x = source.Any();
            mpq_class y = source.Any();
            if (i % 10 == 0) y = RoundTwelve(x * (1 + Power10(-source.Between(1, 13)))).value;
            if (i % 10 == 5 && x != 0) y = WithExponentOf(x, source);
            Check(bench, op, x, y);
            if (HasFailure()) return;
        }
    }
}

TEST(FloatArithmetic, CompareAgreesWithTheExactOrder) {
    FloatBench bench;
    NumberSource source(7);
    for (int i = 0; i < 2000; ++i) {
        const mpq_class x = source.Any();
        mpq_class y = i % 3 == 0 ? x : source.Any();
        if (i % 3 == 1) y = RoundTwelve(x + x * Power10(-source.Between(1, 11))).value;
        const Number xn = Encode(x), yn = Encode(y);
        const CallResult call = bench.Binary(Routine::Compare, xn, yn);
        const std::string what = Describe(x) + " vs " + Describe(y);
        EXPECT_EQ(call.z, x == y) << what;
        EXPECT_EQ(call.n, x < y) << what;
        EXPECT_FALSE(call.v) << what;
        EXPECT_FALSE(call.c) << what;
        EXPECT_EQ(FloatBench::X(), xn) << what;
        EXPECT_EQ(FloatBench::Read(YAddress), yn) << what;
        if (HasFailure()) return;
    }
}

// A program's counting and comparing of small whole numbers goes the short
// way: its cost in instructions, which does not depend on the host.
TEST(FloatArithmetic, SmallWholeNumbersTakeTheShortWay) {
    const struct {
        Routine routine;
        int x, y;
    } cases[] = {
        {Routine::Add, 57, 1},         {Routine::Add, 9999, 1},         {Routine::Add, -57, 1},
        {Routine::Add, 0, 5},          {Routine::Subtract, 57, 1},      {Routine::Subtract, 1, 57},
        {Routine::Subtract, 500, 500}, {Routine::Compare, 57, 500},     {Routine::Compare, 500, 500},
        {Routine::Compare, -3, 2},     {Routine::Add, 32767, 32767},    {Routine::Subtract, -32768, 1},
    };
    FloatBench bench;
    for (const auto& c : cases) {
        const CallResult call = bench.Binary(c.routine, Encode(c.x), Encode(c.y));
        EXPECT_LT(call.instructions, 100u) << int(c.routine) << " " << c.x << " " << c.y;
        if (c.routine == Routine::Compare) continue;
        EXPECT_EQ(FloatBench::X(), Encode(c.routine == Routine::Add ? c.x + c.y : c.x - c.y));
    }
}

// R0 and R1 may point at the same number.
TEST(FloatArithmetic, OperandsMayBeOneNumber) {
    FloatBench bench;
    NumberSource source(3);
    for (int i = 0; i < 200; ++i) {
        const mpq_class x = source.Any();
        for (const Operation& op : Operations) {
            FloatBench::Write(XAddress, Encode(x));
            const CallResult call = bench.Call(op.routine, XAddress, XAddress);
            const Rounded expected = RoundTwelve(op.exact(x, x == 0 && op.routine == Routine::Divide ? 1 : x));
            if (x == 0 && op.routine == Routine::Divide) {
                EXPECT_TRUE(call.c);
                continue;
            }
            EXPECT_EQ(call.c, expected.overflow) << Describe(x) << op.name;
            if (!expected.overflow) {
                EXPECT_EQ(Describe(FloatBench::X()), Describe(Encode(expected.value))) << Describe(x) << op.name;
            }
        }
    }
}

}  // namespace
