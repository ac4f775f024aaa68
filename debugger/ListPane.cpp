#include "debugger/ListPane.h"

#include "core/Def.h"
#include "debugger/Debug.h"
#include "debugger/DebugControls.h"
#include "debugger/Numbers.h"
#include "debugger/Pdp11asm.h"
#include "debugger/Pdp11dis.h"

#include <QPainter>
#include <QScrollBar>

TListPane::TListPane(TDebugForm& form) : form_(form) {
    const PaneParts parts = NewPaneParts(&form, QStringLiteral(" Disassembly "), {8, 8, 313, 161}, 287);
    ListGroupBox = parts.group;
    ListPaintBox = parts.paintBox;
    ListScrollBar = parts.scrollBar;
    ListEdit = parts.field;

    ListGroupBox->OnClick = [this] { form_.ActivatePane(ListEdit, ListGroupBox); };
    ListPaintBox->OnPaint = [this](QPainter& painter) { ListPaintBoxPaint(painter); };
    ListPaintBox->OnMouseDown = [this](int x, int y) { ListPaintBoxMouseDown(x, y); };
    QObject::connect(ListScrollBar, &QScrollBar::actionTriggered, ListScrollBar,
                     [this] { ListBoxScroll(ListScrollBar->sliderPosition()); });
    ListEdit->OnKeyDown = [this](int key) { return ListEditKeyDown(key); };
    ListEdit->OnChange = [this] { ListEditChange(); };
}

void TListPane::SetListOrigin(uint16_t address) {
    ListTop = address & 0xFFFE;
    if (ListTop < RamStart) {
        ListStart = 0;
        ListEnd = 0x7FFF;
    } else if (ListTop <= Mk.RamEnd) {
        ListStart = RamStart;
        ListEnd = Mk.RamEnd;
    } else {
        ListTop = 0;
        ListStart = 0;
        ListEnd = 0x7FFF;
    }
}

bool TListPane::PastRegion() const { return Mk.Addr > ListEnd || (ListTop >= RamStart && Mk.Addr < RamStart); }

void TListPane::ListPaintBoxPaint(QPainter& painter) {
    Mk.Addr = ListTop;
    const int rows = ListPaintBox->Rows();
    for (int row = 0; row < rows && !PastRegion(); ++row)
        ListPaintBox->TextOut(painter, 0, row, DisassemblyLine(Mk.Addr));

    ListScrollBar->setRange(0, (ListEnd - ListStart) / 2);
    ListScrollBar->setValue((ListTop - ListStart) / 2);
    // A page is the words shown; the last page of a region keeps the page
    // of a full one.
    if (Mk.Addr < ListEnd) ListScrollBar->setPageStep(uint16_t(Mk.Addr - ListTop) / 2);
}

void TListPane::ListPaintBoxMouseDown(int x, int y) {
    form_.ActivatePane(ListEdit, ListGroupBox);
    const QSize cell = ListPaintBox->Cell();
    const int column = x / cell.width();
    const int row = y / cell.height();
    if (row >= ListPaintBox->Rows()) return;

    if (row == 0 && column < WordDigits) {
        form_.EditMode = EditListAddress;
        form_.EditAddr = ListTop;
        ListEdit->SetUpperCase(true);
        PlaceEdit(ListPaintBox, ListEdit, 0, WordDigits, 0);
        return;
    }

    const int columns = ListPaintBox->Columns();
    if (column < WordDigits + 2 || column >= columns) return;
    Mk.Addr = ListTop;
    for (int skipped = 0; skipped < row; ++skipped) {
        DisassemblyLine(Mk.Addr);
        if (PastRegion()) return;
    }
    form_.EditMode = EditInstruction;
    form_.EditAddr = Mk.Addr;
    ListEdit->SetUpperCase(false);
    PlaceEdit(ListPaintBox, ListEdit, WordDigits + 2, columns - WordDigits - 2, row);
}

void TListPane::ListBoxScroll(int position) {
    ListTop = uint16_t(ListStart + 2 * position);
    form_.ActivatePane(ListEdit, ListGroupBox);
}

bool TListPane::ListEditKeyDown(int key) {
    return form_.PaneKeyDown(
        key, ListPaintBox, ListScrollBar,
        [this](int position) { ListTop = uint16_t((IsRam(ListTop) ? RamStart : 0) + 2 * position); },
        [this] { Commit(); });
}

void TListPane::Commit() {
    if (form_.EditMode == EditListAddress) {
        SetListOrigin(uint16_t(ParseNumber(ListEdit->text().toStdString(), Radix)));
        form_.CloseFields();
    } else if (form_.EditMode == EditInstruction) {
        // One byte a character, so that the assembler's positions are the
        // field's; a character outside Latin-1 becomes "?", which no
        // instruction contains.
        AsmLine = ListEdit->text().left(int(AsmLineLimit)).toLatin1().toStdString();
        Mk.Addr = form_.EditAddr;
        AssembleLine();
        if (AsmPos != 0) {
            ListEdit->setCursorPosition(AsmPos - 1);
            return;
        }
        Mk.Addr = form_.EditAddr;
        for (int i = 0; i < AsmCount; ++i) StoreWord(AsmWords[i]);
        form_.CloseFields();
    }
}

void TListPane::ListEditChange() {
    if (form_.EditMode == EditListAddress) FilterDigits(ListEdit, Radix);
}
