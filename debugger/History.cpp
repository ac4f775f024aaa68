#include "debugger/History.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "cpu/Cpu.h"

namespace {

static_assert(std::is_standard_layout_v<Machine> && std::is_trivially_copyable_v<Machine>,
              "a checkpoint copies the machine's bytes");

// A checkpoint holds the machine's bytes up to its memory, then the RAM and
// the spare byte after it: everything but the ROM.
constexpr size_t HeadBytes = offsetof(Machine, Memory);
constexpr size_t RamBytes = MemorySize + 1 - RomSize;
constexpr size_t CheckpointBytes = HeadBytes + RamBytes;
// What a checkpoint costs beyond its bytes: the vector and the heap's share.
constexpr size_t CheckpointOverhead = 64;

uint8_t* BytesOf(Machine& machine) { return reinterpret_cast<uint8_t*>(&machine); }

}  // namespace

Inputs InputsOf(const Machine& machine) { return {machine.MouseKey, machine.PcKey, machine.HaltRequest}; }

void SetInputs(Machine& machine, const Inputs& inputs) {
    machine.MouseKey = inputs.MouseKey;
    machine.PcKey = inputs.PcKey;
    machine.HaltRequest = inputs.HaltRequest;
}

History::History(size_t memoryLimit) : memoryLimit_(memoryLimit) {}
History::~History() = default;

void History::Begin(uint64_t step) {
    checkpoints_.clear();
    inputs_.clear();
    now_ = newest_ = step;
    Take();
    Leave();
}

uint64_t History::Oldest() const { return checkpoints_.empty() ? now_ : checkpoints_.front().Step; }

size_t History::MemoryUsed() const {
    return checkpoints_.size() * (CheckpointBytes + CheckpointOverhead) + inputs_.size() * sizeof(InputChange);
}

bool History::Resume() {
    if (!left_) return false;
    const Inputs before = InputsOf(*left_);
    const Inputs now = InputsOf(Mk);
    SetInputs(*left_, now);
    if (!(*left_ == Mk)) return false;
    if (now != before) {
        DropFuture();
        if (!inputs_.empty() && inputs_.back().Step == now_)
            inputs_.back().Value = now;
        else
            inputs_.push_back({now_, now});
    }
    return true;
}

// What was recorded beyond Now no longer follows from the machine.
void History::DropFuture() {
    while (!checkpoints_.empty() && checkpoints_.back().Step > now_) checkpoints_.pop_back();
    while (!inputs_.empty() && inputs_.back().Step > now_) inputs_.pop_back();
    newest_ = now_;
}

const History::InputChange* History::InputsAt(uint64_t step) const {
    const auto found = std::lower_bound(inputs_.begin(), inputs_.end(), step,
                                        [](const InputChange& change, uint64_t key) { return change.Step < key; });
    return found != inputs_.end() && found->Step == step ? &*found : nullptr;
}

uint64_t History::NextInputChange() const {
    const auto found = std::upper_bound(inputs_.begin(), inputs_.end(), now_,
                                        [](uint64_t key, const InputChange& change) { return key < change.Step; });
    return found == inputs_.end() ? UINT64_MAX : found->Step;
}

void History::ApplyInputs() {
    if (const InputChange* change = InputsAt(now_)) SetInputs(Mk, change->Value);
}

uint64_t History::NextCheckpoint() const { return checkpoints_.back().Step + CheckpointInterval; }

void History::Ran(uint64_t steps) {
    now_ += steps;
    // Idle steps are counted past the checkpoint due; the machine they left
    // is the one it would have held.
    if (now_ >= NextCheckpoint()) Take();
    newest_ = std::max(newest_, now_);
    ApplyInputs();
}

void History::Leave() {
    if (!left_) left_ = std::make_unique<Machine>();
    *left_ = Mk;
}

bool History::Follows() const { return left_ && *left_ == Mk; }

void History::Take() {
    Checkpoint checkpoint{now_, std::vector<uint8_t>(CheckpointBytes)};
    std::memcpy(checkpoint.Bytes.data(), BytesOf(Mk), HeadBytes);
    std::memcpy(checkpoint.Bytes.data() + HeadBytes, Mk.Memory.data() + RomSize, RamBytes);
    checkpoints_.push_back(std::move(checkpoint));
    Trim();
}

// The oldest checkpoints go first; the inputs recorded before the oldest one
// left are in it.
void History::Trim() {
    while (checkpoints_.size() > 2 && MemoryUsed() > memoryLimit_) checkpoints_.pop_front();
    while (!inputs_.empty() && inputs_.front().Step < checkpoints_.front().Step) inputs_.pop_front();
}

uint64_t History::MoveTo(uint64_t step) {
    step = std::clamp(step, Oldest(), newest_);
    const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), step,
                                        [](uint64_t key, const Checkpoint& c) { return key < c.Step; });
    const Checkpoint& checkpoint = *(after - 1);
    std::memcpy(BytesOf(Mk), checkpoint.Bytes.data(), HeadBytes);
    std::memcpy(Mk.Memory.data() + RomSize, checkpoint.Bytes.data() + HeadBytes, RamBytes);
    now_ = checkpoint.Step;
    ApplyInputs();
    while (now_ < step) {
        const uint64_t until = std::min(step, NextInputChange());
        CpuRun(UnlimitedBudget, until - now_, -1);
        now_ = until;
        ApplyInputs();
    }
    Leave();
    return now_;
}

Machine History::At(uint64_t step) {
    const Machine present = Mk;
    const uint64_t presentStep = now_;
    MoveTo(step);
    const Machine past = Mk;
    Mk = present;
    now_ = presentStep;
    Leave();
    return past;
}

std::vector<uint64_t> History::CheckpointsBefore(uint64_t step) const {
    std::vector<uint64_t> steps;
    for (auto c = checkpoints_.rbegin(); c != checkpoints_.rend(); ++c)
        if (c->Step < step) steps.push_back(c->Step);
    return steps;
}
