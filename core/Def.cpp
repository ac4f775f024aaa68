#include "core/Def.h"

#include "core/Keyboard.h"

Machine Mk;

// ReadCell has already served RAM and ROM.
Location ReadCellOutsideMemory() {
    if (Mk.Addr == KeyInAddress) return ScanKeys();
    if (Mk.Addr == CtrlPortAddress) return CellOf(Mk.CtrlPort);
    // Unmapped. The debugger's line assembler stores through read locations;
    // clearing the cell here means no such store can ever show through.
    Mk.ZeroCell = 0;
    return CellOf(Mk.ZeroCell);
}

// WriteCell has already served RAM and the display.
Location WriteCellToPort() {
    if (Mk.Addr == KeyOutAddress) return CellOf(Mk.KeyOut);
    if (Mk.Addr == CtrlPortAddress) return CellOf(Mk.CtrlPort);
    return CellOf(Mk.SinkCell);  // ROM and unmapped space: the write vanishes
}
