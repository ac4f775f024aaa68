// The program the speed benchmarks run: a tight loop of ordinary
// instructions in RAM, with a store, running at full speed.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/Def.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/MemoryImage.h"

inline void LoadLoop() {
    MakeCleanMachine();
    Mk.CtrlPort = CtrlRunBit | CtrlSpeedBit;
    const std::initializer_list<uint16_t> loop = {
        010102,          // 1$: MOV R1,R2
        060203,          //     ADD R2,R3
        006303,          //     ASL R3
        074103,          //     XOR R1,R3
        032703, 000001,  //     BIT #1,R3
        010314,          //     MOV R3,(R4)
        077010,          //     SOB R0,1$
        000767,          //     BR 1$
    };
    uint16_t address = 0x8000;
    for (uint16_t word : loop) {
        SetWordAt(address, word);
        address += 2;
    }
    Mk.Reg[1] = 0x1234;
    Mk.Reg[4] = 0x8200;
    Mk.Reg[SP] = 0x8400;
    Mk.Reg[PC] = 0x8000;
}
