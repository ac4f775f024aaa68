#include "core/Def.h"

#include "core/Keyboard.h"

Machine Mk;

BusWatch Watch;

void ResetCore() {
    Mk = Machine{};
    Watch = BusWatch{};
}

// ReadCell has already served RAM and ROM, unless the bus watch kept them.
Location ReadCellOutsideMemory() {
    if (Watch.Hook) Watch.Hook(false);
    if (ReadsMemory(Mk.Addr)) return {Mk.Memory.data() + Mk.Addr};
    if (Mk.Addr == KeyInAddress) return ScanKeys();
    if (Mk.Addr == CtrlPortAddress) return CellOf(Mk.CtrlPort);
    // Unmapped. No store goes through a read location, but the cell is part
    // of the machine's value and comes back with it from a file; clearing it
    // here keeps every unmapped read 0 whatever it came back holding.
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

uint16_t PeekWord(const Machine& machine, uint16_t address) {
    if (ReadsMemory(machine, address)) {
        uint16_t word;  // little-endian like the host, as Location::Word reads it
        std::memcpy(&word, machine.Memory.data() + address, sizeof word);
        return word;
    }
    if (address == KeyInAddress) return KeyScan(machine);
    if (address == CtrlPortAddress) return machine.CtrlPort;
    return 0;  // unmapped
}
