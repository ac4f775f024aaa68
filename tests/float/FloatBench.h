// The number module of our firmware on a bench of its own: the routines of
// firmware/float.s, assembled with a small driver, called one at a time on
// the emulated processor with their operands in RAM.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "asm/SourceAssembler.h"
#include "cpu/Cpu.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MemoryImage.h"

// The routines, in the order of the driver's table.
enum class Routine {
    Add, Subtract, Multiply, Divide, Compare,
    Clear, Negate, Absolute, Sign, Integer, Move, FromInteger, ToInteger,
    Parse, Format, Random, SquareRoot, Power, Ln, Exp, Log,
    Sin, Cos, Tan, Atn, Check,
};

using Number = std::array<uint8_t, 8>;

// Where the bench keeps its operands and the processor's stack.
constexpr uint16_t XAddress = 0x8100;
constexpr uint16_t YAddress = 0x8108;
constexpr uint16_t TextAddress = 0x8200;
constexpr uint16_t SeedAddress = 0x8000;
constexpr uint16_t StackTop = 0x8800;

// What a call left behind.
struct CallResult {
    uint16_t r0 = 0, r1 = 0;
    bool c = false, v = false, z = false, n = false;
    uint64_t instructions = 0;  // the jsr that called the routine included
    int stackBytes = 0;         // the most it used below the caller's stack pointer, the return address included
};

class FloatBench {
public:
    FloatBench() {
        MakeCleanMachine();
        static const SourceResult assembled = AssembleSource(VEXAL_FLOAT_DRIVER);
        for (const SourceError& error : assembled.errors) ADD_FAILURE() << FormatSourceError(error);
        if (assembled.errors.empty() && assembled.rom.size() == RomSize) std::memcpy(Mk.Rom(), assembled.rom.data(), RomSize);
    }

    static Number Read(uint16_t address) {
        Number number;
        std::memcpy(number.data(), Mk.Ram() + (address - RamStart), number.size());
        return number;
    }
    static void Write(uint16_t address, const Number& number) {
        std::memcpy(Mk.Ram() + (address - RamStart), number.data(), number.size());
    }

    // Calls the routine with R0 and R1 as given, and checks that it returns,
    // keeps R2 to R5 and stays within the stack it may use.
    CallResult Call(Routine routine, uint16_t r0, uint16_t r1) {
        constexpr uint16_t Returned = 0x01F0, Routines = 0x0200;
        constexpr std::array<uint16_t, 4> kept = {0x1234, 0x5678, 0x9ABC, 0xDEF0};
        Mk.Reg[0] = r0;
        Mk.Reg[1] = r1;
        for (int i = 0; i < 4; ++i) Mk.Reg[2 + i] = kept[size_t(i)];
        Mk.Reg[SP] = StackTop - 2;
        SetWordAt(Mk.Reg[SP], Returned);
        Mk.Reg[PC] = WordAt(uint16_t(Routines + 2 * int(routine)));
        Mk.Psw = 0;
        Mk.CtrlPort = 0x0C00;
        // The stack below the return address is filled with a pattern that
        // no pushed word of the module is: where it ends is the lowest the
        // routine went.
        constexpr uint16_t Watched = 256, Pattern = 0xB66D;
        for (uint16_t a = uint16_t(Mk.Reg[SP] - Watched); a < Mk.Reg[SP]; a += 2) SetWordAt(a, Pattern);
        CallResult result;
        constexpr uint64_t Limit = 200000;
        result.instructions = CpuRun(UnlimitedBudget, Limit, Returned).steps;
        uint16_t lowest = uint16_t(StackTop - 2 - Watched);
        while (lowest < StackTop - 2 && WordAt(lowest) == Pattern) lowest += 2;
        EXPECT_EQ(Mk.Reg[PC], Returned) << "the routine did not return";
        for (int i = 0; i < 4; ++i) EXPECT_EQ(Mk.Reg[2 + i], kept[size_t(i)]) << "R" << 2 + i << " changed";
        EXPECT_EQ(Mk.Reg[SP], StackTop) << "the stack is not as it was";
        result.r0 = Mk.Reg[0];
        result.r1 = Mk.Reg[1];
        result.c = Mk.Psw & FlagC, result.v = Mk.Psw & FlagV, result.z = Mk.Psw & FlagZ, result.n = Mk.Psw & FlagN;
        ++result.instructions;
        result.stackBytes = StackTop - lowest;
        EXPECT_LE(result.stackBytes, 120);
        return result;
    }

    // x op= y, with both in RAM.
    CallResult Binary(Routine routine, const Number& x, const Number& y) {
        Write(XAddress, x);
        Write(YAddress, y);
        return Call(routine, XAddress, YAddress);
    }
    CallResult Unary(Routine routine, const Number& x) {
        Write(XAddress, x);
        return Call(routine, XAddress, 0);
    }
    static Number X() { return Read(XAddress); }

    // The text at the address, up to its zero byte (at most limit bytes).
    static std::string Text(uint16_t address, size_t limit) {
        std::string text;
        for (size_t i = 0; i < limit && Mk.Ram()[address - RamStart + i]; ++i) text += char(Mk.Ram()[address - RamStart + i]);
        return text;
    }
    static void PutText(uint16_t address, const std::string& text) {
        std::memcpy(Mk.Ram() + (address - RamStart), text.c_str(), text.size() + 1);
    }
};
