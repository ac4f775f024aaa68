// The source assembler's expressions: numbers, names, '.', quoted characters,
// operators that bind as in C and parentheses. The reader knows nothing of
// labels or passes: the assembler answers for names and says whether a step
// out of range is an error yet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

constexpr int MaxExpressionNesting = 32;          // parentheses within one expression
constexpr int64_t ExpressionLimit = 0xFFFFFFFF;  // what any step of an expression may reach

// Where an expression or a quoted text went wrong; column counts from 0.
struct TextProblem {
    size_t column = 0;
    std::string reason;
};

// The value of a name (a label or a constant, ending in '$' for a local
// one) that starts at the column, or nullopt with the problem set.
using NameValue = std::function<std::optional<int64_t>(const std::string& name, size_t column, TextProblem& problem)>;

struct ExpressionSettings {
    int32_t radix = 16;    // of the numbers that begin with a digit
    int64_t location = 0;  // what '.' stands for
    // A step beyond 32 bits and a division by zero are errors; when false
    // they give 0, for values that stand in for labels not known yet.
    bool checked = true;
};

// Reads the expression that starts at pos in text, blanks allowed around the
// operators, and leaves pos after it; nullopt with the problem set when it
// cannot. The operators, loosest first: ! (or), & (and), == and !=, < <= >
// >=, + and -, * and / (toward zero); a comparison gives 1 or 0, and a '-'
// before a term negates it.
std::optional<int64_t> ReadExpression(std::string_view text, size_t& pos, const ExpressionSettings& settings,
                                      const NameValue& names, TextProblem& problem);

// One character of quoted text at pos: printable ASCII stands for itself, and
// \\, \", \' and \xHH for others, as the machine's character set is not the
// host's.
std::optional<char> ReadTextChar(std::string_view text, size_t& pos, TextProblem& problem);

// Whether every character of the token is a digit of the radix.
bool AllDigitsOf(std::string_view token, int32_t radix);
