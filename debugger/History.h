// The machine's past, kept while it runs so that the debugger can step back:
// checkpoints of the machine every CheckpointInterval steps (without the ROM,
// which only edits change, and an edit starts a new history), and a record of
// what reaches the processor from outside between runs (the keys held and the
// halt request), with the step at which it changed. A step of the past is
// found again by restoring the checkpoint before it and replaying forward
// with the recorded inputs, which gives the machine exactly as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "core/Def.h"

// What a run cannot change by itself but the front panel sets between runs.
struct Inputs {
    int32_t MouseKey = 0;
    int32_t PcKey = 0;
    bool HaltRequest = false;
    bool operator==(const Inputs&) const = default;
};
Inputs InputsOf(const Machine& machine);
void SetInputs(Machine& machine, const Inputs& inputs);

constexpr uint64_t CheckpointInterval = 8192;
// The checkpoints and the input record stay within this; the oldest go first.
constexpr size_t HistoryMemoryLimit = 64u << 20;

class History {
public:
    explicit History(size_t memoryLimit = HistoryMemoryLimit);
    ~History();

    // A new history whose first step is the machine Mk now, at step count
    // step.
    void Begin(uint64_t step);

    // The step count of the machine Mk as the history knows it.
    uint64_t Now() const { return now_; }
    // The oldest step that the machine can be taken back to.
    uint64_t Oldest() const;
    // The furthest step recorded: ahead of Now after stepping back, and
    // replayed by forward runs until something new happens.
    uint64_t Newest() const { return newest_; }
    // Bytes held by checkpoints and the input record.
    size_t MemoryUsed() const;

    // Before a run: whether Mk is still the machine the history left, apart
    // from its inputs (false: it was edited, and a new history must begin);
    // inputs changed since are recorded at Now, which drops a recorded future
    // that no longer follows.
    bool Resume();
    // The next step beyond Now at which a recorded input changes, or
    // UINT64_MAX. A run forward in the past stops there for ApplyInputs.
    uint64_t NextInputChange() const;
    // Sets Mk's inputs to those recorded at Now, if any.
    void ApplyInputs();
    // The next step at which a checkpoint is due; runs stop there for Ran.
    uint64_t NextCheckpoint() const;
    // After steps of Mk ran forward from Now: counts them, takes the
    // checkpoint due and applies the inputs recorded at the step reached.
    void Ran(uint64_t steps);
    // After a run: keeps Mk as it is now, for Resume to compare against.
    void Leave();
    // Whether Mk is exactly the machine the last run left, so that the
    // recorded past leads to it: no edit and no new input since.
    bool Follows() const;

    // Puts Mk back at step (at least Oldest, at most Newest) by restoring the
    // checkpoint before it and replaying. Returns the step reached.
    uint64_t MoveTo(uint64_t step);
    // The machine at step (at least Oldest, at most Newest), Mk untouched.
    Machine At(uint64_t step);

    // The checkpoint steps before step, newest first, for searches that
    // replay the past a stretch at a time.
    std::vector<uint64_t> CheckpointsBefore(uint64_t step) const;

private:
    // Mk without its ROM, and the step it was at.
    struct Checkpoint {
        uint64_t Step;
        std::vector<uint8_t> Bytes;
    };
    struct InputChange {
        uint64_t Step;
        Inputs Value;
    };
    void Take();
    void Trim();
    void DropFuture();
    const InputChange* InputsAt(uint64_t step) const;

    std::deque<Checkpoint> checkpoints_;
    std::deque<InputChange> inputs_;
    uint64_t now_ = 0;
    uint64_t newest_ = 0;
    std::unique_ptr<Machine> left_;  // Mk as the last run left it
    size_t memoryLimit_;
};
