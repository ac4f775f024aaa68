#include "debugger/window/BinPane.h"

#include "core/Def.h"
#include "debugger/window/Debug.h"
#include "debugger/window/DebugControls.h"
#include "debugger/MemoryRow.h"
#include "debugger/Numbers.h"
#include "panel/KeyLayout.h"
#include "panel/RunLoop.h"

#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>

namespace {

constexpr int RamRows = 128;  // the scroll range assumes 2048 bytes of RAM

QRadioButton* NewModeButton(const QString& caption, int left, QWidget* parent) {
    QRadioButton* button = new QRadioButton(caption, parent);
    button->setGeometry(left, -1, 49, 17);
    // Opaque, so that the button breaks the frame line it sits on.
    button->setAutoFillBackground(true);
    return button;
}

}  // namespace

TBinPane::TBinPane(TDebugForm& form) : TPane(form, QStringLiteral(" Binary Editor "), {8, 176, 601, 161}, 576) {
    RadioButtonByte = NewModeButton(QStringLiteral("byte"), 104, GroupBox);
    RadioButtonWord = NewModeButton(QStringLiteral("word"), 160, GroupBox);
    RadioButtonByte->setChecked(true);
    QObject::connect(RadioButtonByte, &QRadioButton::clicked, RadioButtonByte, [this] { BinRadioButtonClick(1); });
    QObject::connect(RadioButtonWord, &QRadioButton::clicked, RadioButtonWord, [this] { BinRadioButtonClick(2); });
}

void TBinPane::PaintBoxPaint(QPainter& painter) {
    const int rows = PaintBox->Rows();
    uint16_t address = BinTop;
    for (int row = 0; row < rows && IsRam(address); ++row, address += 16)
        PaintBox->TextOut(painter, 0, row, MemoryRowText(Mk, address, BinMode, form_.Numbers));

    ScrollBar->setRange(0, RamRows - rows);
    ScrollBar->setValue((BinTop - RamStart) / 16);
    ScrollBar->setPageStep(rows);
}

void TBinPane::CellMouseDown(int column, int row) {
    const NumberFormat& numbers = form_.Numbers;
    if (row >= PaintBox->Rows()) return;
    const int cellColumns = (numbers.ByteDigits() + 1) * BinMode;
    const int digits = BinMode == 2 ? numbers.WordDigits() : numbers.ByteDigits();
    const int values = MemoryValueColumn(numbers);
    const int characters = MemoryCharacterColumn(numbers);

    if (row == 0 && column < numbers.WordDigits()) {
        form_.EditMode = EditBinAddress;
        form_.EditAddr = 0;
        Edit->SetUpperCase(true);
        PlaceEdit(PaintBox, Edit, 0, numbers.WordDigits(), 0);
        Edit->setMaxLength(form_.AddressLength());
    } else if (column >= values && column < characters && (column - values) % cellColumns < digits) {
        const int k = (column - values) / cellColumns;
        const auto address = uint16_t(BinTop + 16 * row + BinMode * k);
        if (!IsRam(address)) return;
        form_.EditMode = EditBinValue;
        form_.EditAddr = address;
        Edit->SetUpperCase(true);
        PlaceEdit(PaintBox, Edit, cellColumns * k + values, digits, row);
    } else if (column >= characters && column < characters + 16) {
        const auto address = uint16_t(BinTop + 16 * row + column - characters);
        if (!IsRam(address)) return;
        form_.EditMode = EditBinCharacter;
        form_.EditAddr = address;
        Edit->SetUpperCase(false);
        PlaceEdit(PaintBox, Edit, column, 1, row);
    }
}

void TBinPane::ScrollTo(int position) { BinTop = uint16_t(RamStart + 16 * position); }

void TBinPane::BinRadioButtonClick(int32_t tag) {
    BinMode = tag;
    Activate();
}

void TBinPane::Commit() {
    const std::string digits = Edit->text().toStdString();
    const int32_t radix = form_.Numbers.Radix();
    if (form_.EditMode == EditBinAddress) {
        const std::optional<uint16_t> address = form_.ReadAddress(Edit->text());
        if (!address) {
            form_.Tell(QStringLiteral("No label %1").arg(Edit->text()));
            return;
        }
        const auto top = uint16_t(*address & 0xFFF0);
        // A start is taken only with a row of RAM after the last row shown.
        if (IsRam(top) && IsRam(uint16_t(top + 16 * PaintBox->Rows()))) BinTop = top;
    } else if (form_.EditMode == EditBinValue) {
        const auto value = uint16_t(ParseNumber(digits, radix));
        Mk.Memory[form_.EditAddr] = uint8_t(value);
        if (BinMode == 2) Mk.Memory[form_.EditAddr + 1] = uint8_t(value >> 8);
    } else if (form_.EditMode == EditBinCharacter) {
        // The machine's code for the character; an empty field, or a character
        // outside the code page, stores nothing.
        const QList<uint> typed = Edit->text().toUcs4();
        if (!typed.isEmpty())
            if (const uint8_t code = Cp1251FromUnicode(char32_t(typed.front()))) Mk.Memory[form_.EditAddr] = code;
    } else {
        return;
    }
    if (form_.EditMode != EditBinAddress) MachineEdited();
    form_.CloseFields();
}

void TBinPane::EditChange() {
    if (form_.EditMode == EditBinAddress) FilterAddress(Edit, form_.Numbers.Radix());
    if (form_.EditMode == EditBinValue) FilterDigits(Edit, form_.Numbers.Radix());
}
