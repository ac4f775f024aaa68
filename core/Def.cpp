#include "core/Def.h"

#include <cstring>

#include "core/Keyboard.h"

uint8_t Memory[MemorySize + 1];
uint16_t RamEnd;
uint8_t LcdRam[LcdRamSize + 1];
uint16_t Reg[8];
StatusWord Psw;
uint16_t Cpc;
uint16_t Cps;
uint16_t Opcode;
uint16_t Addr;
uint16_t AddrMask;
uint16_t KeyIn;
uint16_t KeyOut;
uint16_t CtrlPort;
bool Waiting;
bool HaltRequest;
bool StepFlag;
bool TraceInhibit;
int32_t MouseKey;
int32_t PcKey;
uint16_t ZeroCell;
uint16_t SinkCell;

// ReadCell has already served RAM and ROM.
Location ReadCellOutsideMemory() {
    if (Addr == KeyInAddress) return ScanKeys();
    if (Addr == CtrlPortAddress) return CellOf(CtrlPort);
    // Unmapped. The debugger's line assembler stores through read locations;
    // clearing the cell here means no such store can ever show through.
    ZeroCell = 0;
    return CellOf(ZeroCell);
}

// WriteCell has already served RAM and the display.
Location WriteCellToPort() {
    if (Addr == KeyOutAddress) return CellOf(KeyOut);
    if (Addr == CtrlPortAddress) return CellOf(CtrlPort);
    return CellOf(SinkCell);  // ROM and unmapped space: the write vanishes
}

void ClearMachine() {
    std::memset(Memory, 0, sizeof Memory);
    RamEnd = 0;
    std::memset(LcdRam, 0, sizeof LcdRam);
    std::memset(Reg, 0, sizeof Reg);
    Psw = Cpc = Cps = 0;
    Opcode = Addr = AddrMask = 0;
    KeyIn = KeyOut = CtrlPort = 0;
    Waiting = HaltRequest = StepFlag = TraceInhibit = false;
    MouseKey = PcKey = 0;
    ZeroCell = SinkCell = 0;
}
