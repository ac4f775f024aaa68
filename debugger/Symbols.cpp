#include "debugger/Symbols.h"

#include <algorithm>
#include <fstream>

SymbolTable Symbols;

namespace {

// A symbol file is a few thousand short lines; anything far larger is not
// one. Each line may end in CR LF.
constexpr size_t SymbolFileLimit = SymbolCountLimit * (SymbolLineLimit + 2);

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
        const SymbolLine line = ReadSymbolLine(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.Is == SymbolLine::Blank) continue;
        const std::string where = std::string(fileName) + ":" + std::to_string(lineNumber) + ": ";
        if (symbols.size() == SymbolCountLimit) {
            result.Warnings.push_back(where + "more than " + std::to_string(SymbolCountLimit) +
                                      " symbols; the rest is skipped");
            break;
        }
        if (line.Is == SymbolLine::Bad) {
            result.Warnings.push_back(where + "not an address and a name; skipped");
            continue;
        }
        symbols.push_back(line.Value);
    }
    std::stable_sort(symbols.begin(), symbols.end(),
                     [](const Symbol& a, const Symbol& b) { return a.Address < b.Address; });
    byAddress_ = std::move(symbols);
    byName_.resize(byAddress_.size());
    for (size_t i = 0; i < byName_.size(); ++i) byName_[i] = i;
    std::stable_sort(byName_.begin(), byName_.end(),
                     [&](size_t a, size_t b) { return NameBefore(byAddress_[a].Name, byAddress_[b].Name); });
    result.Count = byAddress_.size();
    return result;
}

void SymbolTable::Clear() {
    byAddress_.clear();
    byName_.clear();
}

std::optional<uint16_t> SymbolTable::Find(std::string_view name) const {
    const auto found = std::lower_bound(byName_.begin(), byName_.end(), name, [&](size_t index, std::string_view key) {
        return NameBefore(byAddress_[index].Name, key);
    });
    if (found == byName_.end() || !SameName(byAddress_[*found].Name, name)) return std::nullopt;
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

std::string LabelledAddress(uint16_t address, const NumberFormat& numbers) {
    std::string text = FormatWord(address, '0', numbers);
    if (const std::string* name = Symbols.NameAt(address)) text += " (" + *name + ")";
    return text;
}
