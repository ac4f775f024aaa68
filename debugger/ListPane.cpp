#include "debugger/ListPane.h"

#include "core/Def.h"
#include "debugger/Debug.h"
#include "debugger/DebugControls.h"
#include "debugger/Pdp11asm.h"
#include "debugger/Pdp11dis.h"

#include <QPainter>
#include <QScrollBar>

TListPane::TListPane(TDebugForm& form) : TPane(form, QStringLiteral(" Disassembly "), {8, 8, 313, 161}, 287) {}

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

bool TListPane::PastRegion(uint16_t address) const {
    return address > ListEnd || (ListTop >= RamStart && address < RamStart);
}

void TListPane::PaintBoxPaint(QPainter& painter) {
    const WordReader read = MachineReader(Mk);
    uint16_t address = ListTop;
    const int rows = PaintBox->Rows();
    for (int row = 0; row < rows && !PastRegion(address); ++row) {
        const ListingLine line = DisassemblyLine(address, read, form_.Numbers);
        PaintBox->TextOut(painter, 0, row, line.Text);
        address = line.Next;
    }

    ScrollBar->setRange(0, (ListEnd - ListStart) / 2);
    ScrollBar->setValue((ListTop - ListStart) / 2);
    // A page is the words shown; the last page of a region keeps the page
    // of a full one.
    if (address < ListEnd) ScrollBar->setPageStep(uint16_t(address - ListTop) / 2);
}

void TListPane::CellMouseDown(int column, int row) {
    const int wordDigits = form_.Numbers.WordDigits();
    if (row >= PaintBox->Rows()) return;

    if (row == 0 && column < wordDigits) {
        form_.EditMode = EditListAddress;
        form_.EditAddr = ListTop;
        Edit->SetUpperCase(true);
        PlaceEdit(PaintBox, Edit, 0, wordDigits, 0);
        return;
    }

    const int columns = PaintBox->Columns();
    if (column < wordDigits + 2 || column >= columns) return;
    const WordReader read = MachineReader(Mk);
    uint16_t address = ListTop;
    for (int skipped = 0; skipped < row; ++skipped) {
        address = Disassemble(address, read, form_.Numbers).Next;
        if (PastRegion(address)) return;
    }
    form_.EditMode = EditInstruction;
    form_.EditAddr = address;
    Edit->SetUpperCase(false);
    PlaceEdit(PaintBox, Edit, wordDigits + 2, columns - wordDigits - 2, row);
}

void TListPane::ScrollTo(int position) { ListTop = uint16_t(ListStart + 2 * position); }

void TListPane::Commit() {
    if (form_.EditMode == EditListAddress) {
        SetListOrigin(uint16_t(ParseNumber(Edit->text().toStdString(), form_.Numbers.Radix())));
        form_.CloseFields();
    } else if (form_.EditMode == EditInstruction) {
        // One byte a character, so that the assembler's positions are the
        // field's; a character outside Latin-1 becomes "?", which no
        // instruction contains.
        const std::string line = Edit->text().left(int(AsmLineLimit)).toLatin1().toStdString();
        const AsmResult assembled = AssembleLine(line, form_.EditAddr, form_.Numbers);
        if (!assembled.Succeeded()) {
            Edit->setCursorPosition(assembled.AsmPos - 1);
            return;
        }
        StoreWords(Mk, form_.EditAddr, assembled.Words());
        form_.CloseFields();
    }
}

void TListPane::EditChange() {
    if (form_.EditMode == EditListAddress) FilterDigits(Edit, form_.Numbers.Radix());
}
