#include "debugger/Symbols.h"

SymbolTable Symbols;

SymbolTable::LoadResult SymbolTable::Load(const std::string&) { return {}; }
SymbolTable::LoadResult SymbolTable::Parse(std::string_view, std::string_view) { return {}; }
void SymbolTable::Clear() {
    byAddress_.clear();
    byName_.clear();
}
std::optional<uint16_t> SymbolTable::Find(std::string_view) const { return std::nullopt; }
const std::string* SymbolTable::NameAt(uint16_t) const { return nullptr; }
std::optional<uint16_t> ParseAddress(std::string_view, int32_t, const SymbolTable&) { return std::nullopt; }
