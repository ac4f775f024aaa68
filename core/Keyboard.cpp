#include "core/Keyboard.h"

// Each key connects two of the return lines 2..8 when its column is selected.
// Keys 0, 1 and 39 have no code: key 1 is the switch key, handled by the front
// panel, and key 39 acts through the halt request only.
const KeyColumn KeyMatrix[3] = {
    {0x0002,
     {/* 0.. 9 */ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      /* 10..19 */ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      /* 20..29 */ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      /* 30..39 */ 0, 0, 0, 0, 0, 0, 0, 0x000C, 0x0014, 0,
      /* 40..49 */ 0x0024, 0x0028, 0x0030, 0x0044, 0x0048, 0x0050, 0x0060, 0x0084, 0x0088, 0x0090,
      /* 50..56 */ 0x00A0, 0x00C0, 0x0104, 0x0108, 0x0110, 0x0120, 0x0018}},
    {0x0004,
     {/* 0.. 9 */ 0, 0, 0x000C, 0x0014, 0x0018, 0x0024, 0x0028, 0, 0, 0,
      /* 10..19 */ 0, 0, 0x0030, 0x0044, 0x0048, 0x0050, 0x0060, 0, 0, 0,
      /* 20..29 */ 0, 0, 0x0084, 0x0088, 0x0090, 0x00A0, 0x00C0, 0, 0, 0,
      /* 30..39 */ 0, 0, 0x0108, 0x0104, 0x0110, 0x0120, 0x0140, 0, 0, 0,
      /* 40..49 */ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      /* 50..56 */ 0, 0, 0, 0, 0, 0, 0}},
    {0x0008,
     {/* 0.. 9 */ 0, 0, 0, 0, 0, 0, 0, 0x0044, 0x000C, 0x0018,
      /* 10..19 */ 0x0090, 0x00A0, 0, 0, 0, 0, 0, 0x0088, 0x0014, 0x0050,
      /* 20..29 */ 0x0024, 0x0028, 0, 0, 0, 0, 0, 0x0030, 0x0048, 0x0084,
      /* 30..39 */ 0x00C0, 0x0060, 0, 0, 0, 0, 0, 0, 0, 0,
      /* 40..49 */ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      /* 50..56 */ 0, 0, 0, 0, 0, 0, 0}},
};

uint16_t KeyScan(const Machine& machine) {
    // A key held on the PC keyboard hides one held with the mouse.
    const int32_t key = machine.PcKey != 0 ? machine.PcKey : machine.MouseKey;
    // The front panel gives indices 0..56 only; anything else scans as no key.
    if (key <= 0 || key >= KeyCount) return 0;
    uint16_t lines = 0;
    for (const KeyColumn& column : KeyMatrix)
        if (machine.KeyOut & column.selectBit) lines |= column.code[key];
    return lines;
}

Location ScanKeys() {
    Mk.KeyIn = KeyScan(Mk);
    return CellOf(Mk.KeyIn);
}
