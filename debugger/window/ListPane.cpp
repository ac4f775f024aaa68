#include "debugger/window/ListPane.h"

#include "core/Def.h"
#include "debugger/window/Debug.h"
#include "debugger/window/DebugControls.h"
#include "debugger/ListingStart.h"
#include "debugger/Pdp11asm.h"
#include "debugger/Pdp11dis.h"
#include "debugger/RunControl.h"
#include "debugger/Symbols.h"
#include "panel/RunLoop.h"

#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

const QColor CurrentLine(200, 235, 255);
const QColor BreakpointMark(255, 170, 170);

// The longest instruction is two words of operands after the instruction
// word, so a start more than this before an address cannot reach it in
// ContextLines instructions.
constexpr int ContextBytes = TListPane::ContextLines * 6;

}  // namespace

TListPane::TListPane(TDebugForm& form) : TPane(form, QStringLiteral(" Disassembly "), {8, 8, 313, 161}, 287) {
    PaintBox->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(PaintBox, &QWidget::customContextMenuRequested, PaintBox,
                     [this](const QPoint& at) { ContextMenu(at); });
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

void TListPane::ShowAround(uint16_t address) {
    address &= 0xFFFE;
    SetListOrigin(address);
    Cursor = address;
    if (ListTop != address) return;
    // Up to ContextLines instructions before it, from a known start: the
    // labels, and before PC the instructions that ran there.
    const auto lowest = uint16_t(std::max<int>(ListStart, address - ContextBytes));
    std::vector<uint16_t> known = LabelsBetween(Symbols, lowest, address);
    if (address == (Mk.Reg[PC] & 0xFFFE)) {
        const std::vector<uint16_t> ran = RecentInstructionStarts(Debugger.Past(), ContextLines);
        known.insert(known.end(), ran.begin(), ran.end());
    }
    ListTop = ListingStart(address, known, ListStart, MachineReader(Mk), ContextLines);
}

bool TListPane::PastRegion(uint16_t address) const {
    return address > ListEnd || (ListTop >= RamStart && address < RamStart);
}

std::vector<TListPane::ListedRow> TListPane::ListedRows(uint16_t& next) const {
    const WordReader read = MachineReader(Mk);
    const int rows = PaintBox->Rows();
    std::vector<ListedRow> listed;
    next = ListTop;
    while (int(listed.size()) < rows && !PastRegion(next)) {
        if (Symbols.NameAt(next)) listed.push_back({next, true});
        if (int(listed.size()) == rows) break;
        listed.push_back({next, false});
        next = Disassemble(next, read, form_.Numbers).Next;
    }
    return listed;
}

std::optional<uint16_t> TListPane::LineAddress(int row) const {
    uint16_t next = 0;
    const std::vector<ListedRow> listed = ListedRows(next);
    if (row < 0 || row >= int(listed.size())) return std::nullopt;
    return listed[size_t(row)].Address;
}

void TListPane::PaintBoxPaint(QPainter& painter) {
    const WordReader read = MachineReader(Mk);
    const QSize cell = PaintBox->Cell();
    const int wordDigits = form_.Numbers.WordDigits();
    const QBrush normal = painter.background();
    uint16_t next = 0;
    const std::vector<ListedRow> listed = ListedRows(next);
    for (int row = 0; row < int(listed.size()); ++row) {
        const uint16_t address = listed[size_t(row)].Address;
        if (listed[size_t(row)].Label) {
            PaintBox->TextOut(painter, 0, row, *Symbols.NameAt(address) + ":");
            continue;
        }
        const ListingLine line = DisassemblyLine(address, read, form_.Numbers, &Symbols);
        const QRect band(0, row * cell.height(), PaintBox->width(), cell.height());
        if (address == Mk.Reg[PC]) {
            painter.fillRect(band, CurrentLine);
            painter.setBackground(CurrentLine);
        }
        PaintBox->TextOut(painter, 0, row, line.Text);
        if (Debugger.IsBreakpoint(address)) {
            painter.setBackground(BreakpointMark);
            PaintBox->TextOut(painter, 0, row, line.Text.substr(0, size_t(wordDigits)));
        }
        painter.setBackground(normal);
        if (address == Cursor) {
            painter.save();
            painter.setPen(QPen(painter.pen().color(), 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(band.adjusted(0, 0, -1, -1));
            painter.restore();
        }
    }

    ScrollBar->setRange(0, (ListEnd - ListStart) / 2);
    ScrollBar->setValue((ListTop - ListStart) / 2);
    // A page is the words shown; the last page of a region keeps the page
    // of a full one.
    if (next < ListEnd) ScrollBar->setPageStep(uint16_t(next - ListTop) / 2);
}

void TListPane::CellMouseDown(int column, int row) {
    const int wordDigits = form_.Numbers.WordDigits();
    if (row >= PaintBox->Rows()) return;

    if (row == 0 && column < wordDigits) {
        form_.EditMode = EditListAddress;
        form_.EditAddr = ListTop;
        Edit->SetUpperCase(true);
        PlaceEdit(PaintBox, Edit, 0, wordDigits, 0);
        Edit->setMaxLength(form_.AddressLength());
        return;
    }

    const int columns = PaintBox->Columns();
    if (column < wordDigits + 2 || column >= columns) return;
    uint16_t next = 0;
    const std::vector<ListedRow> listed = ListedRows(next);
    if (row >= int(listed.size()) || listed[size_t(row)].Label) return;
    const uint16_t address = listed[size_t(row)].Address;
    Cursor = address;
    form_.EditMode = EditInstruction;
    form_.EditAddr = address;
    Edit->SetUpperCase(false);
    PlaceEdit(PaintBox, Edit, wordDigits + 2, columns - wordDigits - 2, row);
    // The field scrolls when a line is longer than the pane is wide, so that
    // any line the assembler reads can be typed.
    Edit->setMaxLength(std::max(Edit->maxLength(), int(AsmLineLimit)));
}

void TListPane::ContextMenu(const QPoint& at) {
    const std::optional<uint16_t> address = LineAddress(at.y() / PaintBox->Cell().height());
    if (!address || !form_.ActivatePane(Edit, GroupBox)) return;
    Cursor = *address;
    PaintBox->update();
    QMenu menu(PaintBox);
    menu.addAction(form_.ToggleBreakpointAction);
    menu.addAction(form_.RunToCursorAction);
    menu.exec(PaintBox->mapToGlobal(at));
}

void TListPane::ScrollTo(int position) { ListTop = uint16_t(ListStart + 2 * position); }

void TListPane::Commit() {
    if (form_.EditMode == EditListAddress) {
        const std::optional<uint16_t> address = form_.ReadAddress(Edit->text());
        if (!address) {
            form_.Tell(QStringLiteral("No label %1").arg(Edit->text()));
            return;
        }
        SetListOrigin(*address);
        form_.CloseFields();
    } else if (form_.EditMode == EditInstruction) {
        // One byte a character, so that the assembler's positions are the
        // field's; a character outside Latin-1 becomes "?", which no
        // instruction contains.
        const std::string line = Edit->text().left(int(AsmLineLimit)).toLatin1().toStdString();
        const AsmResult assembled = AssembleLine(line, form_.EditAddr, form_.Numbers);
        if (!assembled.Succeeded()) {
            Edit->setCursorPosition(assembled.AsmPos - 1);
            form_.Tell(QString::fromStdString("Not assembled: " + assembled.AsmReason));
            return;
        }
        // Memory ends at FFFF; the words of an instruction never wrap round
        // into the ROM at 0000.
        if (form_.EditAddr + 2 * assembled.AsmCount > 0x10000) {
            form_.Tell(QString::fromStdString("Not stored: the instruction runs past " +
                                              FormatWord(0xFFFF, '0', form_.Numbers) + ", the top of memory"));
            return;
        }
        StoreWords(Mk, form_.EditAddr, assembled.Words());
        MachineEdited();
        form_.CloseFields();
    }
}

void TListPane::EditChange() {
    if (form_.EditMode == EditListAddress) FilterAddress(Edit, form_.Numbers.Radix());
}
