#include "debugger/window/RegPane.h"

#include "core/Def.h"
#include "debugger/window/Debug.h"
#include "debugger/window/DebugControls.h"
#include "debugger/Numbers.h"
#include "panel/RunLoop.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int RegisterLines = 9;  // R0..R5, SP, PC, PSW
constexpr int PswIndex = 8;
constexpr int ValueColumn = 4;
const char* const Labels[RegisterLines] = {"R0:", "R1:", "R2:", "R3:", "R4:", "R5:", "SP:", "PC:", "PSW:"};

struct FlagLetter {
    char letter;
    uint16_t mask;
};
constexpr FlagLetter FlagLetters[] = {{'T', FlagT}, {'N', FlagN}, {'Z', FlagZ}, {'V', FlagV}, {'C', FlagC}};

uint16_t RegisterValue(int index) { return index == PswIndex ? Mk.Psw : Mk.Reg[index]; }

}  // namespace

TRegPane::TRegPane(TDebugForm& form) : TPane(form, QStringLiteral(" Registers "), {328, 8, 121, 161}, 96) {
    ScrollBar->setRange(0, 0);
    Edit->SetUpperCase(true);
}

int TRegPane::Rows() const { return std::min(PaintBox->Rows(), RegisterLines + 1); }

void TRegPane::PaintBoxPaint(QPainter& painter) {
    const int rows = Rows();
    std::string flags;
    for (const FlagLetter& flag : FlagLetters) flags += (Mk.Psw & flag.mask) ? flag.letter : '-';
    PaintBox->TextOut(painter, 0, rows - 1, flags);

    for (int line = 0; line < rows - 1 && RegTop + line < RegisterLines; ++line) {
        const int index = RegTop + line;
        PaintBox->TextOut(painter, 0, line, Labels[index]);
        PaintBox->TextOut(painter, ValueColumn, line, FormatWord(RegisterValue(index), '0', form_.Numbers));
    }

    ScrollBar->setRange(0, RegisterLines + 1 - rows);
    ScrollBar->setValue(RegTop);
    ScrollBar->setPageStep(rows - 1);
}

void TRegPane::CellMouseDown(int column, int row) {
    const int wordDigits = form_.Numbers.WordDigits();
    if (column < ValueColumn || column >= wordDigits + ValueColumn) return;
    // The flag row opens nothing: the flags change through the PSW.
    if (row > Rows() - 2 || RegTop + row >= RegisterLines) return;
    form_.EditMode = EditRegister;
    form_.EditAddr = uint16_t(RegTop + row);
    PlaceEdit(PaintBox, Edit, ValueColumn, wordDigits, row);
}

void TRegPane::ScrollTo(int position) { RegTop = uint16_t(position); }

void TRegPane::Commit() {
    if (form_.EditMode != EditRegister) return;
    const auto value = uint16_t(ParseNumber(Edit->text().toStdString(), form_.Numbers.Radix()));
    const int index = form_.EditAddr;
    // The stack pointer and the program counter hold only even addresses.
    if (index == PswIndex) Mk.Psw = value;
    else Mk.Reg[index] = index == SP || index == PC ? value & 0xFFFE : value;
    MachineEdited();
    form_.CloseFields();
}

void TRegPane::EditChange() { FilterDigits(Edit, form_.Numbers.Radix()); }
