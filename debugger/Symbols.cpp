#include "debugger/Symbols.h"

#include <algorithm>
#include <unordered_map>

#include "files/ReadFileStart.h"

SymbolTable Symbols;

namespace {

// A symbol file is a few thousand short lines; anything far larger is not
// one. Each line may end in CR LF.
constexpr size_t SymbolFileLimit = SymbolCountLimit * (SymbolLineLimit + 2);

}  // namespace

SymbolTable::LoadResult SymbolTable::Load(const std::string& path) {
    LoadResult result;
    // Never a pipe, which would wait for a writer for ever, nor a folder.
    const FileStart file = ReadFileStart(path, SymbolFileLimit + 1);
    if (file.outcome != FileStart::Outcome::Read) {
        result.Error = "cannot read the symbol file " + path + ": " + file.problem;
        return result;
    }
    if (file.bytes.size() > SymbolFileLimit) {
        result.Error = "the symbol file " + path + " is too large";
        return result;
    }
    return Parse(std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()), path);
}

SymbolTable::LoadResult SymbolTable::Parse(std::string_view text, std::string_view fileName) {
    LoadResult result;
    std::vector<Symbol> symbols;
    std::unordered_map<std::string, uint16_t> taken;  // lower-case name to its address
    size_t lineNumber = 0;
    const auto skip = [&](const std::string& why) {
        if (++result.Skipped <= SkippedShown)
            result.Warnings.push_back(std::string(fileName) + ":" + std::to_string(lineNumber) + ": " + why);
    };
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        const SymbolLine line = ReadSymbolLine(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.Is == SymbolLine::Blank) continue;
        if (symbols.size() == SymbolCountLimit) {
            result.Warnings.push_back(std::string(fileName) + ":" + std::to_string(lineNumber) + ": more than " +
                                      std::to_string(SymbolCountLimit) + " symbols; the rest is skipped");
            break;
        }
        if (line.Is == SymbolLine::Bad) {
            skip(line.Problem);
            continue;
        }
        const auto [first, isNew] = taken.try_emplace(LowerCase(line.Value.Name), line.Value.Address);
        if (!isNew) {
            skip("'" + line.Value.Name + "' already names " + FormatWord(first->second, '0', NumberFormat(16)));
            continue;
        }
        symbols.push_back(line.Value);
    }
    if (symbols.empty()) {
        result.Error = "no symbols in " + std::string(fileName);
        return result;
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

std::string SymbolTable::LoadResult::Message(std::string_view fileName) const {
    std::string text = Error;
    if (Skipped > 0) {
        if (!text.empty()) text += "\n";
        text += std::to_string(Skipped) + (Skipped == 1 ? " line" : " lines") + " of " + std::string(fileName) +
                " skipped";
        text += Skipped > SkippedShown ? ", the first " + std::to_string(SkippedShown) + ":" : ":";
    }
    for (const std::string& warning : Warnings) text += (text.empty() ? "" : "\n") + warning;
    return text;
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
