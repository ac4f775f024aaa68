// The program's labels: the symbol file that vexal-asm -s writes
// (SymbolNames.h), read into a table that the disassembler, the debug window
// and the console look names up in, both ways. A symbol file comes from the
// user and is read as hostile input: only a plain file is read, its lines
// and their count are bounded, and lines that do not parse are skipped with
// one summary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "debugger/Numbers.h"
#include "debugger/SymbolNames.h"

// The symbol file beside the ROM image in a run folder.
constexpr const char* SymbolFileName = "rom.sym";

class SymbolTable {
public:
    // Reads the file in place of the table. A line that does not parse, and
    // a name that another line took first (in any case: a label names one
    // address), is skipped and counted; the first few are kept for the
    // message. A file that cannot be read, or holds no symbol, is an error:
    // the table is then left as it was.
    struct LoadResult {
        std::vector<std::string> Warnings;  // "FILE:LINE: why", the first SkippedShown skipped lines
        size_t Skipped = 0;                 // every skipped line
        std::string Error;                  // empty when the file was taken
        size_t Count = 0;                   // the symbols read
        // One message of the error and the skipped lines, empty when there
        // is nothing to say.
        std::string Message(std::string_view fileName) const;
    };
    static constexpr size_t SkippedShown = 3;
    LoadResult Load(const std::string& path);

    // The same from text already in memory; fileName names it in warnings.
    LoadResult Parse(std::string_view text, std::string_view fileName);

    void Clear();
    bool Empty() const { return byAddress_.empty(); }

    // The address of a name, compared without regard to case.
    std::optional<uint16_t> Find(std::string_view name) const;
    // The first name at an address, or nullptr.
    const std::string* NameAt(uint16_t address) const;
    // Every symbol, sorted by address (names of one address in file order).
    const std::vector<Symbol>& All() const { return byAddress_; }

private:
    std::vector<Symbol> byAddress_;
    std::vector<size_t> byName_;  // indices into byAddress_, sorted by lower-case name
};

// The session's table: read from the run folder's rom.sym at start, or from
// the file given to vexal-cli --sym or the console's sym command.
extern SymbolTable Symbols;

// An address typed by the user: a name of the table, or else a number in the
// radix (every character a digit of it; the value keeps its low 16 bits).
// A name wins over a number spelt alike ("add" in radix 16). Empty when the
// text is neither.
std::optional<uint16_t> ParseAddress(std::string_view text, int32_t radix, const SymbolTable& symbols);

// An address as the messages write it: in full in the format's radix, with
// the label of the session's table in brackets where it has one there, as
// "0220 (fill)".
std::string LabelledAddress(uint16_t address, const NumberFormat& numbers);
