// Where a listing around an address starts. Instructions cannot be read
// backwards: a start guessed a few words before an address may decode an
// operand word as an instruction and still run on into the address. So a
// listing starts only where an instruction is known to start: the addresses
// of the instructions that ran last, the labels, else the address itself.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "debugger/Pdp11dis.h"

class History;
class SymbolTable;

// The earliest of the known starts, no lower than lowest, from which at most
// contextLines instructions run on into the address exactly; the address
// itself when none does.
uint16_t ListingStart(uint16_t address, std::span<const uint16_t> knownStarts, uint16_t lowest,
                      const WordReader& read, int contextLines);

// The addresses of the last count instructions executed before the machine
// Mk's present step, oldest first, replayed from the history; none where Mk
// is no longer the machine the history left (an edit since). Mk is left as
// it was.
std::vector<uint16_t> RecentInstructionStarts(History& history, size_t count);

// The addresses of the table's labels from first to last.
std::vector<uint16_t> LabelsBetween(const SymbolTable& symbols, uint16_t first, uint16_t last);
