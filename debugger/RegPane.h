// The register pane of the debug window: R0 to R5, SP, PC and PSW one a line
// from RegTop, and at the bottom the condition flags as letters. A click on a
// value opens a field for a new one.
#pragma once

#include <cstdint>

class QPainter;
class QScrollBar;
class TDebugForm;
class TEdit;
class TGroupBox;
class TPaintBox;

class TRegPane {
public:
    explicit TRegPane(TDebugForm& form);

    TGroupBox* RegGroupBox;
    TPaintBox* RegPaintBox;
    QScrollBar* RegScrollBar;  // counts register lines
    TEdit* RegEdit;

    uint16_t RegTop = 0;  // index of the first register line shown

    void RegPaintBoxPaint(QPainter& painter);
    void RegPaintBoxMouseDown(int x, int y);
    void RegBoxScroll(int position);
    bool RegEditKeyDown(int key);
    void RegEditChange();

private:
    // Enter in the open field.
    void Commit();
    // Rows of the pane: the register lines shown and the flag row, at most
    // one line for each register.
    int Rows() const;

    TDebugForm& form_;
};
