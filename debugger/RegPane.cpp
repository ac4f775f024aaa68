#include "debugger/RegPane.h"

#include "core/Def.h"
#include "debugger/Debug.h"
#include "debugger/DebugControls.h"
#include "debugger/Numbers.h"

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

TRegPane::TRegPane(TDebugForm& form) : form_(form) {
    const PaneParts parts = NewPaneParts(&form, QStringLiteral(" Registers "), {328, 8, 121, 161}, 96);
    RegGroupBox = parts.group;
    RegPaintBox = parts.paintBox;
    RegScrollBar = parts.scrollBar;
    RegEdit = parts.field;
    RegScrollBar->setRange(0, 0);
    RegEdit->SetUpperCase(true);

    RegGroupBox->OnClick = [this] { form_.ActivatePane(RegEdit, RegGroupBox); };
    RegPaintBox->OnPaint = [this](QPainter& painter) { RegPaintBoxPaint(painter); };
    RegPaintBox->OnMouseDown = [this](int x, int y) { RegPaintBoxMouseDown(x, y); };
    QObject::connect(RegScrollBar, &QScrollBar::actionTriggered, RegScrollBar,
                     [this] { RegBoxScroll(RegScrollBar->sliderPosition()); });
    RegEdit->OnKeyDown = [this](int key) { return RegEditKeyDown(key); };
    RegEdit->OnChange = [this] { RegEditChange(); };
}

int TRegPane::Rows() const { return std::min(RegPaintBox->Rows(), RegisterLines + 1); }

void TRegPane::RegPaintBoxPaint(QPainter& painter) {
    const int rows = Rows();
    std::string flags;
    for (const FlagLetter& flag : FlagLetters) flags += (Mk.Psw & flag.mask) ? flag.letter : '-';
    RegPaintBox->TextOut(painter, 0, rows - 1, flags);

    for (int line = 0; line < rows - 1 && RegTop + line < RegisterLines; ++line) {
        const int index = RegTop + line;
        RegPaintBox->TextOut(painter, 0, line, Labels[index]);
        RegPaintBox->TextOut(painter, ValueColumn, line, FormatWord(RegisterValue(index), '0'));
    }

    RegScrollBar->setRange(0, RegisterLines + 1 - rows);
    RegScrollBar->setValue(RegTop);
    RegScrollBar->setPageStep(rows - 1);
}

void TRegPane::RegPaintBoxMouseDown(int x, int y) {
    form_.ActivatePane(RegEdit, RegGroupBox);
    const QSize cell = RegPaintBox->Cell();
    const int column = x / cell.width();
    if (column < ValueColumn || column >= WordDigits + ValueColumn) return;
    const int row = y / cell.height();
    // The flag row opens nothing: the flags change through the PSW.
    if (row > Rows() - 2 || RegTop + row >= RegisterLines) return;
    form_.EditMode = EditRegister;
    form_.EditAddr = uint16_t(RegTop + row);
    PlaceEdit(RegPaintBox, RegEdit, ValueColumn, WordDigits, row);
}

void TRegPane::RegBoxScroll(int position) {
    RegTop = uint16_t(position);
    form_.ActivatePane(RegEdit, RegGroupBox);
}

bool TRegPane::RegEditKeyDown(int key) {
    return form_.PaneKeyDown(
        key, RegPaintBox, RegScrollBar, [this](int position) { RegTop = uint16_t(position); }, [this] { Commit(); });
}

void TRegPane::Commit() {
    if (form_.EditMode != EditRegister) return;
    const auto value = uint16_t(ParseNumber(RegEdit->text().toStdString(), Radix));
    const int index = form_.EditAddr;
    // The stack pointer and the program counter hold only even addresses.
    if (index == PswIndex) Mk.Psw = value;
    else Mk.Reg[index] = index == SP || index == PC ? value & 0xFFFE : value;
    form_.CloseFields();
}

void TRegPane::RegEditChange() { FilterDigits(RegEdit, Radix); }
