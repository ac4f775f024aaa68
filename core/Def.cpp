#include "core/Def.h"

#include "core/Keyboard.h"

Machine Mk;

BusWatch Watch;

// ReadCell has already served RAM and ROM, unless the bus watch kept them.
Location ReadCellOutsideMemory() {
    if (Watch.Hook) Watch.Hook(false);
    if (ReadsMemory(Mk.Addr)) return {Mk.Memory.data() + Mk.Addr};
    if (Mk.Addr == KeyInAddress) return ScanKeys();
    if (Mk.Addr == CtrlPortAddress) return CellOf(Mk.CtrlPort);
    // Unmapped. The debugger's line assembler stores through read locations;
    // clearing the cell here means no such store can ever show through.
    Mk.ZeroCell = 0;
    return CellOf(Mk.ZeroCell);
}

// WriteCell has already served RAM and the display, unless the bus watch
// kept them.
Location WriteCellToPort() {
    if (Watch.Hook) Watch.Hook(true);
    if (IsRam(Mk.Addr)) return {Mk.Memory.data() + Mk.Addr};
    if (IsLcdRam(Mk.Addr)) return {Mk.LcdRam.data() + (Mk.Addr - LcdRamStart)};
    if (Mk.Addr == KeyOutAddress) return CellOf(Mk.KeyOut);
    if (Mk.Addr == CtrlPortAddress) return CellOf(Mk.CtrlPort);
    return CellOf(Mk.SinkCell);  // ROM and unmapped space: the write vanishes
}
