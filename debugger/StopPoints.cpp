#include "debugger/StopPoints.h"

#include <algorithm>
#include <bit>

namespace {

bool TestBit(const std::vector<uint64_t>& bits, uint16_t address) { return bits[address >> 6] >> (address & 63) & 1; }

}  // namespace

StopPoints::StopPoints() : breakBits_(65536 / 64) {}

bool StopPoints::SetBreakpoint(uint16_t address) {
    if (IsBreakpoint(address)) return false;
    breakBits_[address >> 6] |= uint64_t(1) << (address & 63);
    ++breakCount_;
    return true;
}

bool StopPoints::ClearBreakpoint(uint16_t address) {
    if (!IsBreakpoint(address)) return false;
    breakBits_[address >> 6] &= ~(uint64_t(1) << (address & 63));
    --breakCount_;
    return true;
}

void StopPoints::ClearBreakpoints() {
    std::fill(breakBits_.begin(), breakBits_.end(), 0);
    breakCount_ = 0;
}

bool StopPoints::IsBreakpoint(uint16_t address) const { return TestBit(breakBits_, address); }

std::vector<uint16_t> StopPoints::Breakpoints() const {
    std::vector<uint16_t> addresses;
    for (size_t word = 0; word < breakBits_.size(); ++word)
        for (uint64_t bits = breakBits_[word]; bits != 0; bits &= bits - 1)
            addresses.push_back(uint16_t(word * 64 + size_t(std::countr_zero(bits))));
    return addresses;
}

bool StopPoints::SetWatch(const Watchpoint& watch) {
    if (watch.First > watch.Last || watches_.size() >= WatchpointLimit) return false;
    if (std::find(watches_.begin(), watches_.end(), watch) != watches_.end()) return false;
    watches_.push_back(watch);
    return true;
}

bool StopPoints::ClearWatch(const Watchpoint& watch) {
    const auto found = std::find(watches_.begin(), watches_.end(), watch);
    if (found == watches_.end()) return false;
    watches_.erase(found);
    return true;
}

void StopPoints::ClearWatches() { watches_.clear(); }
