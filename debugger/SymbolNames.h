// The names of labels, one grammar for all who write or read them: the
// source assembler that defines them, the line assembler, the console and
// the debug window that take them for addresses, and the symbol file that
// vexal-asm -s writes and the debugger reads.
//
// A name is a letter or "_", then letters, digits and "_", at most NameLimit
// characters, and no register's name; case does not tell names apart. A
// local label ("1$", "loop$": letters, digits and "_", then "$") is known
// from one ordinary label to the next, so a symbol file writes it under the
// ordinary label above it: "fill.1$".
//
// A symbol file holds one symbol a line, "ADDRESS NAME", the address in
// four hexadecimal digits, at most SymbolCountLimit of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t NameLimit = 64;                       // characters of a name or of a local label
constexpr size_t SymbolNameLimit = NameLimit + 1 + NameLimit;  // of a local label under its routine
constexpr size_t SymbolCountLimit = 65536;             // symbols of one symbol file
// Characters of a line of a symbol file, without its line end: room for the
// longest symbol with blanks around it.
constexpr size_t SymbolLineLimit = 256;
static_assert(4 + 1 + SymbolNameLimit <= SymbolLineLimit);

constexpr bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
constexpr bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }
// A character that a symbol's name may hold: a local label's "$" and the
// "." that joins it to its routine too.
constexpr bool IsSymbolChar(char c) { return IsNameChar(c) || c == '.' || c == '$'; }

// Names are compared in lower case; only ASCII letters have a case.
constexpr char LowerCase(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
std::string LowerCase(std::string_view text);
bool SameName(std::string_view a, std::string_view b);
bool NameBefore(std::string_view a, std::string_view b);  // the order of their lower-case spellings

// r0..r7, sp and pc, in any case.
bool IsRegisterName(std::string_view name);

// Why the text cannot name a label (an ordinary name, or a local one when
// it ends in "$"), or empty when it can.
std::string NameProblem(std::string_view name);

// A local label under its routine, as a symbol file writes it.
std::string LocalLabelName(std::string_view routine, std::string_view local);

// Why the text cannot be a symbol's name, or empty when it can: a name or a
// local label under its routine, as NameProblem and LocalLabelName allow them.
std::string SymbolNameProblem(std::string_view text);
bool IsSymbolName(std::string_view text);

struct Symbol {
    uint16_t Address;
    std::string Name;
    bool operator==(const Symbol&) const = default;
};

// The text without the blanks, tabs and carriage returns around it.
std::string_view Trimmed(std::string_view text);

// One line of a symbol file, without its "\n" (a "\r" before it is no part
// of the line): blank, a symbol, or a bad line, which the reader skips, and
// why it is bad.
struct SymbolLine {
    enum Kind : uint8_t { Blank, Good, Bad } Is = Blank;
    Symbol Value{0, {}};
    std::string Problem;
};
SymbolLine ReadSymbolLine(std::string_view line);

// The symbol file of the symbols, sorted by address (those of one address in
// their order), or nothing and why the reader would not take it whole: a
// name it would skip, or more than SymbolCountLimit symbols.
struct SymbolFile {
    std::string Text;
    std::string Problem;  // empty when Text is the file
};
SymbolFile SymbolFileText(std::vector<Symbol> symbols);
