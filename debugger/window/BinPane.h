// The memory editor of the debug window: the RAM from BinTop, 16 bytes a row,
// as bytes or as words and as characters. A click on the first row's address
// opens a field for a new start address; a click on a value or a character
// opens a field for a new one. Values go straight into the memory image.
#pragma once

#include "debugger/window/Pane.h"

#include <cstdint>

class QRadioButton;

class TBinPane : public TPane {
public:
    explicit TBinPane(TDebugForm& form);

    QRadioButton* RadioButtonByte;
    QRadioButton* RadioButtonWord;

    // The scroll bar counts rows of a RAM of 2048 bytes: position p shows
    // from 0x8000 + 16p.
    uint16_t BinTop = 0x8000;  // the first row's address, a multiple of 16
    int32_t BinMode = 1;       // bytes in a cell: 1 bytes, 2 words

    void BinRadioButtonClick(int32_t tag);

protected:
    void PaintBoxPaint(QPainter& painter) override;
    void CellMouseDown(int column, int row) override;
    void ScrollTo(int position) override;
    void Commit() override;
    void EditChange() override;
};
