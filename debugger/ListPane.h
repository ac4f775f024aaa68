// The disassembly pane of the debug window: instructions one a line from
// ListTop, which always lies in the ROM region or in the RAM region; the
// listing never runs on from one region into the other. A click on the first
// line's address opens a field for a new start address; a click on the text of
// a line opens a field in which an instruction is typed and assembled over it.
#pragma once

#include "debugger/Pane.h"

#include <cstdint>

class TListPane : public TPane {
public:
    explicit TListPane(TDebugForm& form);

    // The scroll bar counts words: position p lists from ListStart + 2p.
    uint16_t ListTop = 0;       // the first listed instruction, always even
    uint16_t ListStart = 0;     // the region's first address: 0 (ROM) or 0x8000 (RAM)
    uint16_t ListEnd = 0x7FFF;  // the region's last address: 0x7FFF or RamEnd

    // Lists from the address made even, in its region; an address above RAM
    // lists the ROM from 0. Does not repaint.
    void SetListOrigin(uint16_t address);

protected:
    void PaintBoxPaint(QPainter& painter) override;
    void CellMouseDown(int column, int row) override;
    void ScrollTo(int position) override;
    void Commit() override;
    void EditChange() override;

private:
    // Whether an address reached by listing on from ListTop has left the
    // region (past its end, or wrapped past 0xFFFF out of the RAM region).
    bool PastRegion(uint16_t address) const;
};
