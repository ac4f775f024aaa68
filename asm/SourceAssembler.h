// The source assembler: a PDP-11 assembly source file, with labels,
// expressions and directives, becomes a ROM image of this machine. Each line
// goes through the debugger's line assembler, so a source file and the debug
// window take the same mnemonics, operands and numbers. Two passes: the first
// finds where every label stands, the second assembles with them known.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "debugger/Symbols.h"

constexpr int MaxIncludeDepth = 32;
constexpr size_t MaxSourceSize = 4u << 20;  // far more than 32 KiB of ROM can take

// Where a source file went wrong. Line and column count from 1; both are 0 for
// a problem with the file as a whole.
struct SourceError {
    std::string file;
    int line = 0;
    int column = 0;
    std::string reason;
};

// "file:line:column: reason", or "file: reason" for the file as a whole.
std::string FormatSourceError(const SourceError& error);

struct SourceResult {
    std::vector<uint8_t> rom;         // the 32,768 bytes of ROM; unused bytes are 0
    std::string listing;              // address, assembled words or bytes, source line
    std::vector<SourceError> errors;  // in the order of the source; empty on success
    std::vector<std::string> files;   // every file read, the main one first
    // The labels in the order of the source, local ones under their routine
    // ("fill.1$"; none above the first ordinary label).
    std::vector<Symbol> labels;
};

// Assembles the source file at path and the files it includes, at most
// MaxIncludeDepth deep and MaxSourceSize bytes in all, counting a file
// again each time it is included.
SourceResult AssembleSource(const std::string& path);
