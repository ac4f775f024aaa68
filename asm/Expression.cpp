#include "asm/Expression.h"

#include <algorithm>
#include <cstdlib>

#include "debugger/Numbers.h"
#include "debugger/SymbolNames.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A binary operator: its text and how tightly it binds, as in C.
struct Operator {
    std::string_view text;
    int precedence;
};

// Two-character operators before the one-character ones they begin with.
constexpr Operator Operators[] = {
    {"==", 3}, {"!=", 3}, {"<=", 4}, {">=", 4}, {"!", 1}, {"&", 2},
    {"<", 4},  {">", 4},  {"+", 5},  {"-", 5},  {"*", 6}, {"/", 6},
};

class Reader {
public:
    Reader(std::string_view text, size_t& pos, const ExpressionSettings& settings, const NameValue& names,
           TextProblem& problem)
        : text_(text), pos_(pos), settings_(settings), names_(names), problem_(problem) {}

    std::optional<int64_t> Expression() { return Binary(1); }

private:
    // The operator at pos, or none.
    const Operator* OperatorAt(size_t at) const {
        for (const Operator& op : Operators)
            if (text_.substr(at, op.text.size()) == op.text) return &op;
        return nullptr;
    }

    // Operands and the operators that bind at least as tightly as minimum,
    // from the left. Each level of recursion binds tighter, so the depth is
    // bounded by the levels and by the nesting of parentheses.
    std::optional<int64_t> Binary(int minimum) {
        std::optional<int64_t> left = Term();
        while (left) {
            size_t look = pos_;
            while (look < text_.size() && text_[look] == ' ') ++look;
            const Operator* op = OperatorAt(look);
            if (!op || op->precedence < minimum) break;
            pos_ = look + op->text.size();
            SkipBlanks();
            const std::optional<int64_t> right = Binary(op->precedence + 1);
            if (!right) return right;
            left = Apply(op->text, *left, *right, look);
        }
        return left;
    }

    // One operator on two values. A step whose result no 16-bit place could
    // use is an error; so is a division by zero.
    std::optional<int64_t> Apply(std::string_view op, int64_t a, int64_t b, size_t column) {
        int64_t value = 0;
        switch (op[0]) {
            case '+': value = a + b; break;
            case '-': value = a - b; break;
            case '&': value = a & b; break;
            case '=': value = a == b; break;
            case '<': value = op.size() == 2 ? a <= b : a < b; break;
            case '>': value = op.size() == 2 ? a >= b : a > b; break;
            case '!': value = op.size() == 2 ? a != b : a | b; break;
            case '*':
                if (b != 0 && std::abs(a) > ExpressionLimit / std::abs(b)) value = ExpressionLimit + 1;
                else value = a * b;
                break;
            default:
                if (b == 0) return settings_.checked ? Fail(column, "division by zero") : std::optional<int64_t>(0);
                value = a / b;  // toward zero
        }
        if (value < -ExpressionLimit || value > ExpressionLimit) {
            return settings_.checked ? Fail(column, "value out of range within the expression (more than 32 bits)")
                                     : std::optional<int64_t>(0);
        }
        return value;
    }

    std::optional<int64_t> Term() {
        if (pos_ == text_.size()) return Fail(pos_, "expected a number or a label");
        const char c = text_[pos_];
        if (c == '-') {
            bool negative = false;
            for (; pos_ < text_.size() && text_[pos_] == '-'; ++pos_) negative = !negative;
            const std::optional<int64_t> term = Term();
            return term && negative ? std::optional(-*term) : term;
        }
        if (c == '(') return Bracketed();
        if (c == '\'') return QuotedChar();
        if (c == '.' && !(pos_ + 1 < text_.size() && IsNameChar(text_[pos_ + 1]))) {
            ++pos_;
            return settings_.location;
        }
        if (!IsNameChar(c)) return Fail(pos_, "expected a number or a label");
        const size_t start = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '$') ++pos_;  // a local label
        const std::string token(text_.substr(start, pos_ - start));
        const bool local = token.back() == '$';
        if (!local && pos_ < text_.size() && text_[pos_] == '.' && AllDigitsOf(token, 10)) {
            ++pos_;
            return Number(token, 10, start);
        }
        if (IsDigit(c) && !local) {
            if (!AllDigitsOf(token, settings_.radix)) {
                return Fail(start, "'" + token + "' is no number in radix " + std::to_string(settings_.radix));
            }
            return Number(token, settings_.radix, start);
        }
        return names_(token, start, problem_);
    }

    // "(" expression ")".
    std::optional<int64_t> Bracketed() {
        if (nesting_ == MaxExpressionNesting) return Fail(pos_, "parentheses nested too deeply (more than 32)");
        ++pos_;
        SkipBlanks();
        ++nesting_;
        const std::optional<int64_t> value = Binary(1);
        --nesting_;
        if (!value) return value;
        SkipBlanks();
        if (pos_ == text_.size() || text_[pos_] != ')') return Fail(pos_, "expected ')'");
        ++pos_;
        return value;
    }

    std::optional<int64_t> Number(std::string_view digits, int32_t radix, size_t column) {
        int64_t value = 0;
        for (char c : digits) {
            value = value * radix + DigitValue(c);
            if (value > 0xFFFF) return Fail(column, "number out of range (more than 16 bits)");
        }
        return value;
    }

    // 'c': the character's code.
    std::optional<int64_t> QuotedChar() {
        ++pos_;
        const std::optional<char> c = ReadTextChar(text_, pos_, problem_);
        if (!c) return std::nullopt;
        if (pos_ == text_.size() || text_[pos_] != '\'') return Fail(pos_, "expected ' after the character");
        ++pos_;
        return uint8_t(*c);
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }

    std::nullopt_t Fail(size_t column, std::string reason) {
        problem_ = {column, std::move(reason)};
        return std::nullopt;
    }

    std::string_view text_;
    size_t& pos_;
    const ExpressionSettings& settings_;
    const NameValue& names_;
    TextProblem& problem_;
    int nesting_ = 0;  // parentheses open
};

}  // namespace

std::optional<int64_t> ReadExpression(std::string_view text, size_t& pos, const ExpressionSettings& settings,
                                      const NameValue& names, TextProblem& problem) {
    return Reader(text, pos, settings, names, problem).Expression();
}

std::optional<char> ReadTextChar(std::string_view text, size_t& pos, TextProblem& problem) {
    const auto fail = [&](std::string reason) {
        problem = {pos, std::move(reason)};
        return std::nullopt;
    };
    if (pos == text.size()) return fail("missing the closing quote");
    const char c = text[pos];
    if (c != '\\') {
        if (c < ' ' || c > '~') return fail("only printable ASCII characters stand in quotes; write others as \\xHH");
        ++pos;
        return c;
    }
    const char escaped = pos + 1 < text.size() ? text[pos + 1] : 0;
    if (escaped == '\\' || escaped == '"' || escaped == '\'') {
        pos += 2;
        return escaped;
    }
    if (escaped == 'x' && pos + 3 < text.size() && DigitValue(text[pos + 2]) < 16 && DigitValue(text[pos + 3]) < 16) {
        const char value = char(DigitValue(text[pos + 2]) * 16 + DigitValue(text[pos + 3]));
        pos += 4;
        return value;
    }
    return fail("unknown escape; write \\\\, \\\", \\' or \\x and two hexadecimal digits");
}


bool AllDigitsOf(std::string_view token, int32_t radix) {
    return std::all_of(token.begin(), token.end(), [&](char c) { return DigitValue(c) < radix; });
}
