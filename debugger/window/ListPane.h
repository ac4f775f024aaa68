// The disassembly pane of the debug window: instructions one a line from
// ListTop, which always lies in the ROM region or in the RAM region; the
// listing never runs on from one region into the other. A click on the first
// line's address opens a field for a new start address; a click on the text of
// a line opens a field in which an instruction is typed and assembled over it.
//
// A label of the session's symbols stands on its own row above the
// instruction at its address, and names the targets and addresses that hit
// one. The line of the program counter is marked by its background, the address of
// a line with a breakpoint by a red field, and the cursor line (the one last
// clicked, which F9 and run to cursor act on) by a frame; none of them moves a
// column. A right click offers the actions on the line under the mouse.
#pragma once

#include "debugger/window/Pane.h"

#include <cstdint>
#include <optional>
#include <vector>

class TListPane : public TPane {
public:
    explicit TListPane(TDebugForm& form);

    // The scroll bar counts words: position p lists from ListStart + 2p.
    uint16_t ListTop = 0;       // the first listed instruction, always even
    uint16_t ListStart = 0;     // the region's first address: 0 (ROM) or 0x8000 (RAM)
    uint16_t ListEnd = 0x7FFF;  // the region's last address: 0x7FFF or RamEnd
    uint16_t Cursor = 0;        // the address of the cursor line

    // Lists from the address made even, in its region; an address above RAM
    // lists the ROM from 0. Does not repaint.
    void SetListOrigin(uint16_t address);

    // Lists the instruction at the address with up to ContextLines
    // instructions before it, from an address known to start one
    // (ListingStart.h), and puts the cursor on it. Does not repaint.
    void ShowAround(uint16_t address);
    static constexpr int ContextLines = 3;

    // The address of the instruction listed on the row, or below the label
    // listed on it; none below the listing's end.
    std::optional<uint16_t> LineAddress(int row) const;

protected:
    void PaintBoxPaint(QPainter& painter) override;
    void CellMouseDown(int column, int row) override;
    void ScrollTo(int position) override;
    void Commit() override;
    void EditChange() override;

private:
    // A row of the listing: an instruction, or the label of the instruction
    // on the next row.
    struct ListedRow {
        uint16_t Address;
        bool Label;
    };
    // The rows the pane shows, and the address after the last instruction.
    std::vector<ListedRow> ListedRows(uint16_t& next) const;

    // Whether an address reached by listing on from ListTop has left the
    // region (past its end, or wrapped past 0xFFFF out of the RAM region).
    bool PastRegion(uint16_t address) const;
    void ContextMenu(const QPoint& at);
};
