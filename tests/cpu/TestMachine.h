// A machine ready to run instructions placed in RAM, and a table-driven
// runner: given registers, status word and memory, one CpuStep, then every
// register, the status word and all of RAM compared with what the row expects.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/Def.h"
#include "tests/support/MemoryImage.h"
#include "tests/support/Octal.h"

constexpr uint16_t CodeStart = 0x8000;
constexpr uint16_t StackTop = 0x8400;
constexpr uint16_t N = FlagN, Z = FlagZ, V = FlagV, C = FlagC;

// Every vector in ROM leads to its own handler address, so a test sees which
// trap was taken; all of them load this status word.
constexpr uint16_t VectorStatus = 0x00E0;
inline uint16_t HandlerOf(uint16_t vector) { return uint16_t(0x4000 + 2 * vector); }
// The halt vector's words: an odd PC (made even on entry) and a status word.
constexpr uint16_t HaltEntryWord = 0x6001;
constexpr uint16_t HaltEntryStatus = 0x00E0;

// Clears the machine, maps RAM, sets the run bit, fills the vectors, puts
// SP at StackTop and PC at CodeStart.
void PrepareMachine();

// A random machine: random ROM and RAM, registers, status word, halt-mode
// registers, ports, keys and processor flags, mostly running, with PC mostly
// in RAM so that stores can change the code.
void RandomizeMachine(std::mt19937& rng);

void LoadWords(uint16_t address, std::initializer_list<uint16_t> words);

using RegisterValues = std::vector<std::pair<int, uint16_t>>;
using MemoryWords = std::vector<std::pair<uint16_t, uint16_t>>;

struct InstructionCase {
    std::vector<uint16_t> code;  // at CodeStart
    RegisterValues regs = {};
    uint16_t psw = 0;
    MemoryWords memory = {};
    // Expected: registers and RAM words that change (PC defaults to the word
    // after the code), and the whole status word.
    RegisterValues changedRegs = {};
    uint16_t wantPsw = 0;
    MemoryWords changedMemory = {};
};

// Runs one row; failures name the instruction in octal and the first difference.
void RunCase(const InstructionCase& row);
void RunCases(std::initializer_list<InstructionCase> rows);

// Checks that the last step entered the trap through `vector` from a program
// whose status word was `oldPsw` and whose next instruction was at `returnPc`,
// with SP at StackTop before the trap.
void ExpectTrapEntered(uint16_t vector, uint16_t oldPsw, uint16_t returnPc);
