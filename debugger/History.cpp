#include "debugger/History.h"

Inputs InputsOf(const Machine& machine) { return {machine.MouseKey, machine.PcKey, machine.HaltRequest}; }
void SetInputs(Machine& machine, const Inputs& inputs) {
    machine.MouseKey = inputs.MouseKey;
    machine.PcKey = inputs.PcKey;
    machine.HaltRequest = inputs.HaltRequest;
}
History::History() = default;
History::~History() = default;
void History::Begin(uint64_t step) { now_ = newest_ = step; }
uint64_t History::Oldest() const { return now_; }
size_t History::MemoryUsed() const { return 0; }
bool History::Resume() { return true; }
uint64_t History::NextInputChange() const { return UINT64_MAX; }
void History::ApplyInputs() {}
uint64_t History::NextCheckpoint() const { return UINT64_MAX; }
void History::Ran(uint64_t steps) { now_ += steps; }
uint64_t History::MoveTo(uint64_t) { return now_; }
std::vector<uint64_t> History::CheckpointsBefore(uint64_t) const { return {}; }
