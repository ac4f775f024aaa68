#include "debugger/Symbols.h"

#include <algorithm>
#include <fstream>

#include "debugger/Numbers.h"

SymbolTable Symbols;

namespace {

// A symbol file is a few thousand short lines; anything far larger is not
// one.
constexpr size_t SymbolFileLimit = SymbolCountLimit * (SymbolLineLimit + 1);

bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

bool IsName(std::string_view text) {
    return !text.empty() && IsNameStart(text[0]) && std::all_of(text.begin(), text.end(), IsNameChar);
}

char Lowered(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lowered(x) < Lowered(y); });
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Lowered(x) == Lowered(y);
           });
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "ADDRESS NAME": one to four hexadecimal digits, blanks, a name.
std::optional<Symbol> ParseLine(std::string_view line) {
    line = Trimmed(line);
    const size_t blank = line.find_first_of(" \t");
    if (blank == std::string_view::npos) return std::nullopt;
    const std::string_view digits = line.substr(0, blank);
    const std::string_view name = Trimmed(line.substr(blank));
    if (digits.empty() || digits.size() > 4) return std::nullopt;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return DigitValue(c) < 16; })) return std::nullopt;
    if (!IsName(name)) return std::nullopt;
    return Symbol{uint16_t(ParseNumber(digits, 16)), std::string(name)};
}

}  // namespace

SymbolTable::LoadResult SymbolTable::Load(const std::string& path) {
    LoadResult result;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        result.Error = "cannot read the symbol file " + path;
        return result;
    }
    std::string text;
    char block[1 << 16];
    while (file.read(block, sizeof block) || file.gcount() > 0) {
        text.append(block, size_t(file.gcount()));
        if (text.size() > SymbolFileLimit) {
            result.Error = "the symbol file " + path + " is too large";
            return result;
        }
    }
    if (file.bad()) {
        result.Error = "cannot read the symbol file " + path;
        return result;
    }
    return Parse(text, path);
}

SymbolTable::LoadResult SymbolTable::Parse(std::string_view text, std::string_view fileName) {
    LoadResult result;
    std::vector<Symbol> symbols;
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (Trimmed(line).empty()) continue;
        const std::string where = std::string(fileName) + ":" + std::to_string(lineNumber) + ": ";
        if (symbols.size() == SymbolCountLimit) {
            result.Warnings.push_back(where + "more than " + std::to_string(SymbolCountLimit) +
                                      " symbols; the rest is skipped");
            break;
        }
        std::optional<Symbol> symbol;
        if (line.size() <= SymbolLineLimit) symbol = ParseLine(line);
        if (!symbol) {
            result.Warnings.push_back(where + "not an address and a name; skipped");
            continue;
        }
        symbols.push_back(std::move(*symbol));
    }
    std::stable_sort(symbols.begin(), symbols.end(),
                     [](const Symbol& a, const Symbol& b) { return a.Address < b.Address; });
    byAddress_ = std::move(symbols);
    byName_.resize(byAddress_.size());
    for (size_t i = 0; i < byName_.size(); ++i) byName_[i] = i;
    std::stable_sort(byName_.begin(), byName_.end(),
                     [&](size_t a, size_t b) { return LessIgnoringCase(byAddress_[a].Name, byAddress_[b].Name); });
    result.Count = byAddress_.size();
    return result;
}

void SymbolTable::Clear() {
    byAddress_.clear();
    byName_.clear();
}

std::optional<uint16_t> SymbolTable::Find(std::string_view name) const {
    const auto found = std::lower_bound(byName_.begin(), byName_.end(), name, [&](size_t index, std::string_view key) {
        return LessIgnoringCase(byAddress_[index].Name, key);
    });
    if (found == byName_.end() || !EqualIgnoringCase(byAddress_[*found].Name, name)) return std::nullopt;
    return byAddress_[*found].Address;
}

const std::string* SymbolTable::NameAt(uint16_t address) const {
    const auto found = std::lower_bound(byAddress_.begin(), byAddress_.end(), address,
                                        [](const Symbol& symbol, uint16_t key) { return symbol.Address < key; });
    if (found == byAddress_.end() || found->Address != address) return nullptr;
    return &found->Name;
}

std::optional<uint16_t> ParseAddress(std::string_view text, int32_t radix, const SymbolTable& symbols) {
    text = Trimmed(text);
    if (const std::optional<uint16_t> address = symbols.Find(text)) return address;
    if (text.empty() || !std::all_of(text.begin(), text.end(), [&](char c) { return DigitValue(c) < radix; }))
        return std::nullopt;
    // ParseNumber wraps modulo 2^32, which leaves the low 16 bits exact.
    return uint16_t(ParseNumber(text, radix));
}

std::string SymbolFileText(std::vector<Symbol> labels) {
    std::stable_sort(labels.begin(), labels.end(), [](const Symbol& a, const Symbol& b) { return a.Address < b.Address; });
    std::string text;
    for (const Symbol& label : labels) {
        std::string address = FormatNumber(label.Address, 16, '0');
        text += address.substr(address.size() - 4) + " " + label.Name + "\n";
    }
    return text;
}
