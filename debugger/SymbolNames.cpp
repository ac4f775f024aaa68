#include "debugger/SymbolNames.h"

#include <algorithm>

#include "debugger/Numbers.h"
#include "debugger/Pdp11dis.h"

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = LowerCase(c);
    return lower;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerCase(x) == LowerCase(y); });
}

bool NameBefore(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return LowerCase(x) < LowerCase(y); });
}

bool IsRegisterName(std::string_view name) {
    return std::any_of(std::begin(RegisterNames), std::end(RegisterNames),
                       [&](const MnemonicRecord& r) { return SameName(r.Name, name); });
}

std::string NameProblem(std::string_view name) {
    const bool local = !name.empty() && name.back() == '$';
    const std::string_view body = local ? name.substr(0, name.size() - 1) : name;
    const bool wellFormed = !body.empty() && (local || IsNameStart(body[0])) &&
                            std::all_of(body.begin(), body.end(), [](char c) { return IsNameChar(c); });
    if (!wellFormed) return "'" + std::string(name) + "' is no name";
    if (name.size() > NameLimit) return "a name longer than " + std::to_string(NameLimit) + " characters";
    if (IsRegisterName(name)) return "'" + std::string(name) + "' is a register name";
    return {};
}

std::string LocalLabelName(std::string_view routine, std::string_view local) {
    return std::string(routine) + "." + std::string(local);
}

std::string SymbolNameProblem(std::string_view text) {
    const size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
        if (!text.empty() && text.back() == '$')
            return "the local label '" + std::string(text) + "' stands under no routine";
        return NameProblem(text);
    }
    const std::string_view routine = text.substr(0, dot);
    const std::string_view local = text.substr(dot + 1);
    if (routine.empty() || routine.back() == '$' || local.empty() || local.back() != '$')
        return "'" + std::string(text) + "' is no local label under its routine";
    if (std::string problem = NameProblem(routine); !problem.empty()) return problem;
    return NameProblem(local);
}

bool IsSymbolName(std::string_view text) { return SymbolNameProblem(text).empty(); }

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

SymbolLine ReadSymbolLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view text = Trimmed(line);
    if (text.empty()) return {};
    const auto bad = [](std::string problem) { return SymbolLine{SymbolLine::Bad, {0, {}}, std::move(problem)}; };
    if (line.size() > SymbolLineLimit)
        return bad("a line longer than " + std::to_string(SymbolLineLimit) + " characters");
    // "ADDRESS NAME": one to four hexadecimal digits, blanks, a name.
    const size_t blank = text.find_first_of(" \t");
    if (blank == std::string_view::npos) return bad("not an address and a name");
    const std::string_view digits = text.substr(0, blank);
    const std::string_view name = Trimmed(text.substr(blank));
    if (digits.size() > 4 || !std::all_of(digits.begin(), digits.end(), [](char c) { return DigitValue(c) < 16; }))
        return bad("'" + std::string(digits) + "' is no address (one to four hexadecimal digits)");
    if (std::string problem = SymbolNameProblem(name); !problem.empty()) return bad(std::move(problem));
    return {SymbolLine::Good, {uint16_t(ParseNumber(digits, 16)), std::string(name)}, {}};
}

SymbolFile SymbolFileText(std::vector<Symbol> symbols) {
    if (symbols.size() > SymbolCountLimit)
        return {{}, std::to_string(symbols.size()) + " labels; a symbol file holds at most " +
                        std::to_string(SymbolCountLimit)};
    std::stable_sort(symbols.begin(), symbols.end(),
                     [](const Symbol& a, const Symbol& b) { return a.Address < b.Address; });
    std::string text;
    for (const Symbol& symbol : symbols) {
        if (!IsSymbolName(symbol.Name)) return {{}, "'" + symbol.Name + "' cannot be a symbol's name"};
        const std::string address = FormatNumber(symbol.Address, 16, '0');
        text += address.substr(address.size() - 4) + " " + symbol.Name + "\n";
    }
    return {text, {}};
}
