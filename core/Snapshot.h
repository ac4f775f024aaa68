// Snapshots: the whole machine as bytes and back, ROM and the spare bytes
// past Memory and LcdRam included, so that a loaded machine is == to the one
// saved and runs on exactly as it would have.
//
// The bytes: the magic "VEXALSNP", the format version as a 32-bit word, the
// members of Machine::Members in the order of that list, and a CRC-32 of
// everything before it. Every number is little-endian; a 16-bit word takes 2
// bytes, a key index 4, a flag 1 (0 or 1), the status word its 16-bit value,
// an array its elements in order. Every version ends in the same checksum, so
// a program can tell a file of a later version from a damaged one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Def.h"

// The format this program writes; it reads every version up to this one.
// A later version appends members; a file of an earlier version leaves them
// as a fresh machine has them.
constexpr uint32_t SnapshotVersion = 1;

// No snapshot of any version is larger: a reader need not look further.
constexpr size_t MaxSnapshotBytes = size_t(1) << 20;

std::vector<uint8_t> EncodeSnapshot(const Machine& machine);

// Why the bytes are no snapshot that this program can load ("it is not a
// Vexal snapshot", "it was made by a newer version of Vexal ...", ...), or ""
// when machine now holds the machine they describe. On failure machine is as
// it was.
std::string DecodeSnapshot(std::span<const uint8_t> bytes, Machine& machine);
