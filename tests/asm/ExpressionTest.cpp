// The assembler's expressions on their own: numbers in each radix, names,
// the operators and their binding, and what is refused and where.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "asm/Expression.h"

namespace {

// The names the tests' expressions know; any other is refused.
std::optional<int64_t> TestNames(const std::string& name, size_t column, TextProblem& problem) {
    static const std::map<std::string, int64_t> known = {{"start", 0x100}, {"k", 5}, {"loop$", 0x20}, {"face", 7}};
    const auto found = known.find(name);
    if (found != known.end()) return found->second;
    problem = {column, "unknown '" + name + "'"};
    return std::nullopt;
}

struct Read {
    std::optional<int64_t> value;
    size_t end;
    TextProblem problem;
};

Read ReadAt(const std::string& text, int32_t radix = 16, bool checked = true, size_t from = 0) {
    Read read{std::nullopt, from, {}};
    read.value = ReadExpression(text, read.end, {radix, 0x1234, checked}, TestNames, read.problem);
    return read;
}

struct Value {
    const char* text;
    int32_t radix;
    int64_t value;
    size_t end;  // where reading stopped
};

TEST(Expression, Values) {
    const Value cases[] = {
        {"10", 16, 0x10, 2},          {"10", 10, 10, 2},          {"10", 8, 8, 2},
        {"10.", 8, 10, 3},            {"0FFFF", 16, 0xFFFF, 5},   {"0face", 16, 0xFACE, 5},
        {"face", 16, 7, 4},           {"'A'", 16, 0x41, 3},       {"'\\x7F'", 16, 0x7F, 6},
        {"'\\''", 16, 0x27, 4},       {".", 16, 0x1234, 1},       {".-2", 16, 0x1232, 3},
        {"start+k", 16, 0x105, 7},    {"loop$*2", 16, 0x40, 7},   {"-1", 16, -1, 2},
        {"--1", 16, 1, 3},            {"2+3*4", 16, 14, 5},       {"(2+3)*4", 16, 20, 7},
        {"7/2", 16, 3, 3},            {"-7/2", 16, -3, 4},        {"0F0F&0FF!1000", 16, 0x100F, 13},
        {"1+6&3", 16, 3, 5},          {"1!2&3", 16, 3, 5},        {"2*-3", 16, -6, 4},
        {"8-2-1", 16, 5, 5},          {"24/4/2", 10, 3, 6},       {"1 + 2 * 3 ", 10, 7, 9},
        {"3==3", 16, 1, 4},           {"3==4", 16, 0, 4},         {"3!=4", 16, 1, 4},
        {"3<4", 16, 1, 3},            {"4<4", 16, 0, 3},          {"4<=4", 16, 1, 4},
        {"5>4", 16, 1, 3},            {"4>=5", 16, 0, 4},         {"1+1==2", 16, 1, 6},
        {"2==2&3", 16, 1, 6},         {"1<2==1", 16, 1, 6},       {"0==1!1", 16, 1, 6},
        {"k,r1", 16, 5, 1},           {"(k)(r1)", 16, 5, 3},      {"0FFFF*0FFFF", 16, 0xFFFE0001, 11},
    };
    for (const Value& c : cases) {
        const Read read = ReadAt(c.text, c.radix);
        ASSERT_TRUE(read.value) << c.text << ": " << read.problem.reason;
        EXPECT_EQ(*read.value, c.value) << c.text;
        EXPECT_EQ(read.end, c.end) << c.text;
    }
}

struct Refused {
    std::string text;
    int32_t radix;
    size_t column;
    const char* reason;
};

TEST(Expression, Refusals) {
    const Refused cases[] = {
        {"", 16, 0, "expected a number or a label"},
        {"1+", 16, 2, "expected a number or a label"},
        {"#1", 16, 0, "expected a number or a label"},
        {"12G", 16, 0, "'12G' is no number in radix 16"},
        {"19", 8, 0, "'19' is no number in radix 8"},
        {"0A", 10, 0, "'0A' is no number in radix 10"},
        {"10000", 16, 0, "number out of range (more than 16 bits)"},
        {"65536.", 8, 0, "number out of range"},
        {"1/(2-2)", 16, 1, "division by zero"},
        {"0FFFF*0FFFF*2", 16, 11, "value out of range within the expression (more than 32 bits)"},
        {"(1+2", 16, 4, "expected ')'"},
        {std::string(33, '(') + "1" + std::string(33, ')'), 16, 32, "parentheses nested too deeply"},
        {"'ab'", 16, 2, "expected ' after the character"},
        {"'\\q'", 16, 1, "unknown escape"},
        {"'\t'", 16, 1, "only printable ASCII"},
        {"'", 16, 1, "missing the closing quote"},
        {"k+nowhere", 16, 2, "unknown 'nowhere'"},
        {"1$", 16, 0, "unknown '1$'"},
    };
    for (const Refused& c : cases) {
        const Read read = ReadAt(c.text, c.radix);
        EXPECT_FALSE(read.value) << c.text;
        EXPECT_EQ(read.problem.column, c.column) << c.text << ": " << read.problem.reason;
        EXPECT_NE(read.problem.reason.find(c.reason), std::string::npos) << c.text << ": " << read.problem.reason;
    }
}

// Values that stand in for labels not known yet may overflow or divide by
// zero without an error: they give 0.
TEST(Expression, UncheckedStepsGiveZero) {
    for (const char* text : {"1/0", "0FFFF*0FFFF*2"}) {
        const Read read = ReadAt(text, 16, false);
        ASSERT_TRUE(read.value) << text;
        EXPECT_EQ(*read.value, 0) << text;
    }
}

TEST(Expression, ReadsFromThePositionGiven) {
    const Read read = ReadAt("mov #k*2,r0", 16, true, 5);
    ASSERT_TRUE(read.value);
    EXPECT_EQ(*read.value, 10);
    EXPECT_EQ(read.end, 8u);
}

// Every operator against the host's own arithmetic on random operands.
TEST(Expression, OperatorsAgreeWithTheHost) {
    struct Host {
        const char* op;
        int64_t (*apply)(int64_t, int64_t);
    };
    const Host operators[] = {
        {"+", [](int64_t a, int64_t b) { return a + b; }},   {"-", [](int64_t a, int64_t b) { return a - b; }},
        {"*", [](int64_t a, int64_t b) { return a * b; }},   {"/", [](int64_t a, int64_t b) { return a / b; }},
        {"&", [](int64_t a, int64_t b) { return a & b; }},   {"!", [](int64_t a, int64_t b) { return a | b; }},
        {"==", [](int64_t a, int64_t b) { return int64_t(a == b); }},
        {"!=", [](int64_t a, int64_t b) { return int64_t(a != b); }},
        {"<", [](int64_t a, int64_t b) { return int64_t(a < b); }},
        {"<=", [](int64_t a, int64_t b) { return int64_t(a <= b); }},
        {">", [](int64_t a, int64_t b) { return int64_t(a > b); }},
        {">=", [](int64_t a, int64_t b) { return int64_t(a >= b); }},
    };
    std::mt19937 random(85);
    std::uniform_int_distribution<int64_t> operand(1, 0xFFFF);
    for (int round = 0; round < 200; ++round) {
        const int64_t a = operand(random), b = round % 10 == 0 ? a : operand(random);
        for (const Host& host : operators) {
            const std::string text = std::to_string(a) + ". " + host.op + " " + std::to_string(b) + ".";
            const Read read = ReadAt(text);
            ASSERT_TRUE(read.value) << text << ": " << read.problem.reason;
            EXPECT_EQ(*read.value, host.apply(a, b)) << text;
        }
    }
}

}  // namespace
