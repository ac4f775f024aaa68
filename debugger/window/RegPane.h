// The register pane of the debug window: R0 to R5, SP, PC and PSW one a line
// from RegTop, and at the bottom the condition flags as letters. A click on a
// value opens a field for a new one.
#pragma once

#include "debugger/window/Pane.h"

#include <cstdint>

class TRegPane : public TPane {
public:
    explicit TRegPane(TDebugForm& form);

    // The scroll bar counts register lines.
    uint16_t RegTop = 0;  // index of the first register line shown

protected:
    void PaintBoxPaint(QPainter& painter) override;
    void CellMouseDown(int column, int row) override;
    void ScrollTo(int position) override;
    void Commit() override;
    void EditChange() override;

private:
    // Rows of the pane: the register lines shown and the flag row, at most
    // one line for each register.
    int Rows() const;
};
