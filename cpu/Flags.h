// Condition-code arithmetic. Every instruction first clears the codes it
// defines, then these helpers only set bits. They compute without branching:
// which codes an instruction sets depends on the data, which a processor
// cannot guess.
#pragma once

#include <cstdint>

#include "core/Def.h"

constexpr uint16_t FlagsNZV = FlagN | FlagZ | FlagV;
constexpr uint16_t FlagsNZVC = FlagN | FlagZ | FlagV | FlagC;

// N from the sign, Z from zero; callers pass the result sign-extended from
// the top bit of the operation's width (or a 32-bit result whole).
inline void SetNZ(int32_t value) { Mk.Psw |= uint16_t((uint32_t(value) >> 31) * FlagN | (value == 0) * FlagZ); }

// Shifts and rotates: V = N xor C, both as the shift left them.
inline void SetVShift() { Mk.Psw |= uint16_t((((Mk.Psw >> 3) ^ Mk.Psw) & FlagC) << 1); }

// carries = (a & b) | ((a | b) & ~sum): bit i is the carry out of bit i of a + b.
inline uint32_t CarryVector(uint32_t a, uint32_t b, uint32_t sum) { return (a & b) | ((a | b) & ~sum); }

// borrows = (~x & (y | diff)) | (y & diff): bit i is the borrow out of bit i of x - y.
inline uint32_t BorrowVector(uint32_t x, uint32_t y, uint32_t diff) { return (~x & (y | diff)) | (y & diff); }

// C = the carry (or borrow) out of the top bit; V = carry out of the top bit
// xor carry into it, which is signed overflow.
template <class W>
void SetCarryAndOverflow(uint32_t carries) {
    constexpr int top = W::Bits - 1;
    const uint16_t carry = (carries >> top) & 1;
    const uint16_t overflow = ((carries >> top) ^ (carries >> (top - 1))) & 1;
    Mk.Psw |= uint16_t(carry * FlagC | overflow * FlagV);
}

// Shifting a `bits`-wide value left by k (1 <= k < bits) changes its sign at
// some step exactly when its top k + 1 bits are neither all zeros nor all ones.
inline bool SignChangesInLeftShift(uint64_t value, int bits, int k) {
    const uint64_t top = value >> (bits - 1 - k);
    const uint64_t allOnes = (uint64_t{1} << (k + 1)) - 1;
    return top != 0 && top != allOnes;
}
