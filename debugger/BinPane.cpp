#include "debugger/BinPane.h"

#include "core/Def.h"
#include "debugger/Debug.h"
#include "debugger/DebugControls.h"
#include "debugger/MemoryRow.h"
#include "debugger/Numbers.h"
#include "panel/KeyLayout.h"

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

TBinPane::TBinPane(TDebugForm& form) : form_(form) {
    const PaneParts parts = NewPaneParts(&form, QStringLiteral(" Binary Editor "), {8, 176, 601, 161}, 576);
    BinGroupBox = parts.group;
    BinPaintBox = parts.paintBox;
    BinScrollBar = parts.scrollBar;
    BinEdit = parts.field;
    RadioButtonByte = NewModeButton(QStringLiteral("byte"), 104, BinGroupBox);
    RadioButtonWord = NewModeButton(QStringLiteral("word"), 160, BinGroupBox);
    RadioButtonByte->setChecked(true);

    BinGroupBox->OnClick = [this] { form_.ActivatePane(BinEdit, BinGroupBox); };
    BinPaintBox->OnPaint = [this](QPainter& painter) { BinPaintBoxPaint(painter); };
    BinPaintBox->OnMouseDown = [this](int x, int y) { BinPaintBoxMouseDown(x, y); };
    QObject::connect(BinScrollBar, &QScrollBar::actionTriggered, BinScrollBar,
                     [this] { BinBoxScroll(BinScrollBar->sliderPosition()); });
    QObject::connect(RadioButtonByte, &QRadioButton::clicked, RadioButtonByte, [this] { BinRadioButtonClick(1); });
    QObject::connect(RadioButtonWord, &QRadioButton::clicked, RadioButtonWord, [this] { BinRadioButtonClick(2); });
    BinEdit->OnKeyDown = [this](int key) { return BinEditKeyDown(key); };
    BinEdit->OnChange = [this] { BinEditChange(); };
}

void TBinPane::BinPaintBoxPaint(QPainter& painter) {
    const int rows = BinPaintBox->Rows();
    uint16_t address = BinTop;
    for (int row = 0; row < rows && IsRam(address); ++row, address += 16)
        BinPaintBox->TextOut(painter, 0, row, MemoryRowText(address, BinMode));

    BinScrollBar->setRange(0, RamRows - rows);
    BinScrollBar->setValue((BinTop - RamStart) / 16);
    BinScrollBar->setPageStep(rows);
}

void TBinPane::BinPaintBoxMouseDown(int x, int y) {
    form_.ActivatePane(BinEdit, BinGroupBox);
    const QSize cell = BinPaintBox->Cell();
    const int column = x / cell.width();
    const int row = y / cell.height();
    if (row >= BinPaintBox->Rows()) return;
    const int cellColumns = (ByteDigits + 1) * BinMode;
    const int digits = BinMode == 2 ? WordDigits : ByteDigits;
    const int values = MemoryValueColumn();
    const int characters = MemoryCharacterColumn();

    if (row == 0 && column < WordDigits) {
        form_.EditMode = EditBinAddress;
        form_.EditAddr = 0;
        BinEdit->SetUpperCase(true);
        PlaceEdit(BinPaintBox, BinEdit, 0, WordDigits, 0);
    } else if (column >= values && column < characters && (column - values) % cellColumns < digits) {
        const int k = (column - values) / cellColumns;
        const auto address = uint16_t(BinTop + 16 * row + BinMode * k);
        if (!IsRam(address)) return;
        form_.EditMode = EditBinValue;
        form_.EditAddr = address;
        BinEdit->SetUpperCase(true);
        PlaceEdit(BinPaintBox, BinEdit, cellColumns * k + values, digits, row);
    } else if (column >= characters && column < characters + 16) {
        const auto address = uint16_t(BinTop + 16 * row + column - characters);
        if (!IsRam(address)) return;
        form_.EditMode = EditBinCharacter;
        form_.EditAddr = address;
        BinEdit->SetUpperCase(false);
        PlaceEdit(BinPaintBox, BinEdit, column, 1, row);
    }
}

void TBinPane::BinBoxScroll(int position) {
    BinTop = uint16_t(RamStart + 16 * position);
    form_.ActivatePane(BinEdit, BinGroupBox);
}

void TBinPane::BinRadioButtonClick(int32_t tag) {
    BinMode = tag;
    form_.ActivatePane(BinEdit, BinGroupBox);
}

bool TBinPane::BinEditKeyDown(int key) {
    return form_.PaneKeyDown(
        key, BinPaintBox, BinScrollBar, [this](int position) { BinTop = uint16_t(RamStart + 16 * position); },
        [this] { Commit(); });
}

void TBinPane::Commit() {
    const std::string digits = BinEdit->text().toStdString();
    if (form_.EditMode == EditBinAddress) {
        const auto top = uint16_t(ParseNumber(digits, Radix) & 0xFFF0);
        // A start is taken only with a row of RAM after the last row shown.
        if (IsRam(top) && IsRam(uint16_t(top + 16 * BinPaintBox->Rows()))) BinTop = top;
    } else if (form_.EditMode == EditBinValue) {
        const auto value = uint16_t(ParseNumber(digits, Radix));
        Mk.Memory[form_.EditAddr] = uint8_t(value);
        if (BinMode == 2) Mk.Memory[form_.EditAddr + 1] = uint8_t(value >> 8);
    } else if (form_.EditMode == EditBinCharacter) {
        // The machine's code for the character; an empty field, or a character
        // outside the code page, stores nothing.
        const QList<uint> typed = BinEdit->text().toUcs4();
        if (!typed.isEmpty())
            if (const uint8_t code = Cp1251FromUnicode(char32_t(typed.front()))) Mk.Memory[form_.EditAddr] = code;
    } else {
        return;
    }
    form_.CloseFields();
}

void TBinPane::BinEditChange() {
    if (form_.EditMode == EditBinAddress || form_.EditMode == EditBinValue) FilterDigits(BinEdit, Radix);
}
