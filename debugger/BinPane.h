// The memory editor of the debug window: the RAM from BinTop, 16 bytes a row,
// as bytes or as words and as characters. A click on the first row's address
// opens a field for a new start address; a click on a value or a character
// opens a field for a new one. Values go straight into the memory image.
#pragma once

#include <cstdint>

class QPainter;
class QRadioButton;
class QScrollBar;
class TDebugForm;
class TEdit;
class TGroupBox;
class TPaintBox;

class TBinPane {
public:
    explicit TBinPane(TDebugForm& form);

    TGroupBox* BinGroupBox;
    TPaintBox* BinPaintBox;
    // Counts rows of a RAM of 2048 bytes: position p shows from 0x8000 + 16p.
    QScrollBar* BinScrollBar;
    QRadioButton* RadioButtonByte;
    QRadioButton* RadioButtonWord;
    TEdit* BinEdit;

    uint16_t BinTop = 0x8000;  // the first row's address, a multiple of 16
    int32_t BinMode = 1;       // bytes in a cell: 1 bytes, 2 words

    void BinPaintBoxPaint(QPainter& painter);
    void BinPaintBoxMouseDown(int x, int y);
    void BinBoxScroll(int position);
    void BinRadioButtonClick(int32_t tag);
    bool BinEditKeyDown(int key);
    void BinEditChange();

private:
    // Enter in the open field.
    void Commit();

    TDebugForm& form_;
};
