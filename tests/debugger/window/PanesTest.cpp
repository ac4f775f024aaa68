#include "DebugFixture.h"

#include "debugger/MemoryRow.h"

#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

using Panes = DebugFixture;

TEST_F(Panes, TheListingStartsWhereTheTypedAddressSays) {
    struct Case {
        const char* typed;
        uint16_t top, start, end;
    };
    const Case cases[] = {
        {"8123", 0x8122, 0x8000, 0x87FF},  // made even, in the RAM region
        {"1001", 0x1000, 0x0000, 0x7FFF},
        {"9000", 0x0000, 0x0000, 0x7FFF},  // above RAM: the ROM from its start
        {"G", 0x0000, 0x0000, 0x7FFF},     // no digit is an empty field, 0
    };
    Open();
    for (const Case& c : cases) {
        ClickCell(form->List.PaintBox, 0, 0);
        EXPECT_EQ(form->EditMode, EditListAddress);
        Enter(c.typed);
        EXPECT_EQ(form->List.ListTop, c.top) << c.typed;
        EXPECT_EQ(form->List.ListStart, c.start) << c.typed;
        EXPECT_EQ(form->List.ListEnd, c.end) << c.typed;
        EXPECT_EQ(form->EditMode, EditNone);
    }
}

TEST_F(Panes, ATypedInstructionIsAssembledOverTheClickedLine) {
    Open();
    const int text = form->Numbers.WordDigits() + 2;
    // Line 1 is the br at 8002.
    ClickCell(form->List.PaintBox, text + 3, 1);
    ASSERT_EQ(form->EditMode, EditInstruction);
    EXPECT_EQ(form->EditAddr, LoopStart + 2);
    EXPECT_EQ(form->List.Edit->geometry().left(),
              form->List.PaintBox->x() + text * form->List.PaintBox->Cell().width());
    Enter("MOV #A,R0");
    EXPECT_EQ(WordAt(LoopStart + 2), 0012700);
    EXPECT_EQ(WordAt(LoopStart + 4), 0x000A);
    EXPECT_EQ(form->EditMode, EditNone);

    // An instruction that does not assemble stores nothing and waits for a
    // correction with the caret where the assembler stopped.
    ClickCell(form->List.PaintBox, text, 0);
    Enter("mov r0");
    EXPECT_EQ(form->EditMode, EditInstruction);
    EXPECT_EQ(form->List.Edit->text(), "mov r0");
    EXPECT_EQ(form->List.Edit->cursorPosition(), 6);
    EXPECT_EQ(WordAt(LoopStart), IncR0);
    Enter(",r1");
    EXPECT_EQ(WordAt(LoopStart), 0010001);
    EXPECT_EQ(form->EditMode, EditNone);
}

TEST_F(Panes, ARegisterTakesTheTypedValue) {
    struct Case {
        int row;
        const char* typed;
        const uint16_t* place;
        uint16_t value;
    };
    const Case cases[] = {
        {1, "1234", &Mk.Reg[1], 0x1234},  {5, "1235", &Mk.Reg[5], 0x1235}, {6, "1235", &Mk.Reg[SP], 0x1234},
        {7, "ffff", &Mk.Reg[PC], 0xFFFE}, {0, "", &Mk.Reg[0], 0},          {2, "x7", &Mk.Reg[2], 7},
    };
    Mk.Reg[0] = 0x5555;
    Open();
    for (const Case& c : cases) {
        ClickCell(form->Registers.PaintBox, 4 + form->Numbers.WordDigits() - 1, c.row);
        ASSERT_EQ(form->EditMode, EditRegister);
        Enter(c.typed);
        EXPECT_EQ(*c.place, c.value) << "row " << c.row << " '" << c.typed << "'";
    }
    // The PSW lies below the page: scrolled into view by the Down key.
    const int rows = std::min(form->Registers.PaintBox->Rows(), 10);
    form->Registers.Activate();
    for (int line = rows - 1; line < 9; ++line) Press(Qt::Key_Down);
    ClickCell(form->Registers.PaintBox, 4, rows - 2);
    ASSERT_EQ(form->EditAddr, 8);
    Enter("FFFF");
    EXPECT_EQ(Mk.Psw, 0xFFFF);
}

TEST_F(Panes, TheMemoryEditorStoresBytesWordsAndCharacters) {
    Open();
    const int values = MemoryValueColumn(form->Numbers);
    const int characters = MemoryCharacterColumn(form->Numbers);
    ClickCell(form->Bin.PaintBox, values + 1 * (form->Numbers.ByteDigits() + 1), 1);
    EXPECT_EQ(form->EditAddr, 0x8011);
    Enter("1FF");  // cut to the two digits of a byte
    EXPECT_EQ(Mk.Memory[0x8011], 0x1F);

    Click(form->Bin.RadioButtonWord);
    // The last digit of the second word opens the same field as its first.
    ClickCell(form->Bin.PaintBox, values + 2 * (form->Numbers.ByteDigits() + 1) + form->Numbers.WordDigits() - 1, 2);
    EXPECT_EQ(form->EditAddr, 0x8022);
    Enter("1234");
    EXPECT_EQ(Mk.Memory[0x8022], 0x34);
    EXPECT_EQ(Mk.Memory[0x8023], 0x12);
    // The blanks after a word open nothing.
    ClickCell(form->Bin.PaintBox, values + form->Numbers.WordDigits(), 2);
    EXPECT_EQ(form->EditMode, EditNone);

    struct Case {
        const char* typed;
        uint8_t code;
    };
    const Case cases[] = {{"A", 'A'}, {"ж", 0xE6}, {"№", 0xB9}, {"€", 0x88}, {"✓", 0x77}, {"", 0x77}};
    for (const Case& c : cases) {
        Mk.Memory[0x8035] = 0x77;
        ClickCell(form->Bin.PaintBox, characters + 5, 3);
        ASSERT_EQ(form->EditMode, EditBinCharacter);
        Enter(QString::fromUtf8(c.typed));
        EXPECT_EQ(Mk.Memory[0x8035], c.code) << c.typed;
        EXPECT_EQ(form->EditMode, EditNone);
    }
}

TEST_F(Panes, TheMemoryEditorStartsOnlyWhereItsRowsAreAllRam) {
    Open();
    // The field wants a row of RAM after the last row shown: it stops one
    // row short of where scrolling goes.
    const uint16_t lastTop = uint16_t(0x8800 - 16 * (form->Bin.PaintBox->Rows() + 1));
    struct Case {
        QString typed;
        uint16_t top;
    };
    const Case cases[] = {
        {"8123", 0x8120},
        {QString::number(lastTop, 16), lastTop},
        {QString::number(lastTop + 16, 16), lastTop},
        {"7FF0", lastTop},
    };
    for (const Case& c : cases) {
        ClickCell(form->Bin.PaintBox, 0, 0);
        ASSERT_EQ(form->EditMode, EditBinAddress);
        Enter(c.typed);
        EXPECT_EQ(form->Bin.BinTop, c.top) << c.typed.toStdString();
    }
}

TEST_F(Panes, TypingKeepsOnlyDigitsOfTheRadix) {
    struct Case {
        TEdit* TDebugForm::*field;
        const char* typed;
        const char* kept;
    };
    Open();
    const Case cases[] = {
        {&TDebugForm::BpEdit, "12g4", "124"},
        {&TDebugForm::BpEdit, "ab-c", "ABC"},
        {&TDebugForm::BpEdit, "12x", "12"},
        {&TDebugForm::TraceEdit, "1a2", "12"},
        {&TDebugForm::TraceEdit, "1234567", "123456"},
    };
    for (const Case& c : cases) {
        TEdit* field = (*form).*c.field;
        field->clear();
        Click(field);
        Type(c.typed);
        EXPECT_EQ(field->text().toStdString(), c.kept) << c.typed;
    }
    // A character removed before the caret takes the caret with it.
    TEdit* field = form->BpEdit;
    Click(field);
    field->setText("12");
    Press(Qt::Key_Home);
    Type("x");
    EXPECT_EQ(field->text(), "12");
    EXPECT_EQ(field->cursorPosition(), 0);
}

TEST_F(Panes, NavigationKeysScrollAClosedPaneOnly) {
    Open();
    form->List.SetListOrigin(0x1000);
    form->List.Activate();
    form->repaint();
    const int page = form->List.ScrollBar->pageStep();
    EXPECT_GT(page, 1);
    struct Case {
        Qt::Key key;
        uint16_t top;
    };
    const Case cases[] = {
        {Qt::Key_Down, 0x1002},  // one word, not one instruction
        {Qt::Key_PageDown, uint16_t(0x1002 + 2 * page)},
        {Qt::Key_Up, uint16_t(0x1000 + 2 * page)},
        {Qt::Key_End, 0x7FFE},
        {Qt::Key_Home, 0x0000},
        {Qt::Key_Up, 0x0000},
    };
    for (const Case& c : cases) {
        Press(c.key);
        EXPECT_EQ(form->List.ListTop, c.top) << QTest::toString(c.key);
    }
    ClickCell(form->List.PaintBox, 0, 0);
    Press(Qt::Key_Down);
    EXPECT_EQ(form->List.ListTop, 0x0000);

    form->Bin.Activate();
    Press(Qt::Key_End);
    EXPECT_EQ(form->Bin.BinTop, 0x8800 - 16 * form->Bin.PaintBox->Rows());

    // The wheel over a pane turns its scroll bar.
    TPaintBox* pane = form->Bin.PaintBox;
    QWheelEvent wheel(pane->rect().center(), pane->mapToGlobal(pane->rect().center()), {}, {0, 120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pane, &wheel);
    EXPECT_LT(form->Bin.BinTop, 0x8800 - 16 * form->Bin.PaintBox->Rows());
}

TEST_F(Panes, TheWindowIsAsWideAsOneMemoryRow) {
    struct Case {
        const char* settings;
        int width;
    };
    const Case cases[] = {
        {"[Debugger]\nRadix=16\n", 625}, {"[Debugger]\nRadix=8\n", 769}, {"[Debugger]\nradix=10\n", 761},
        {"[Debugger]\nRadix=17\n", 625}, {"[Debugger]\nRadix=x\n", 625},
    };
    for (const Case& c : cases) {
        Open(c.settings);
        // The debugger's column stands right of the specified groups.
        EXPECT_EQ(form->Side->x(), c.width - 8) << c.settings;
        EXPECT_EQ(form->width(), form->Side->geometry().right() + 9);
        EXPECT_EQ(form->Bin.GroupBox->width(), c.width - 24);
        EXPECT_EQ(form->Bin.PaintBox->width(), c.width - 64);
        EXPECT_EQ(form->Bin.ScrollBar->geometry().right(), c.width - 24 - 9);
        EXPECT_EQ(form->BpEdit->maxLength(), form->Numbers.WordDigits());
    }
}

TEST_F(Panes, ATallerWindowShowsMoreMemoryRows) {
    Open();
    const int rows = form->Bin.PaintBox->Rows();
    const int cell = form->Bin.PaintBox->Cell().height();
    form->resize(form->width(), form->height() + 4 * cell);
    form->repaint();
    EXPECT_EQ(form->Bin.PaintBox->Rows(), rows + 4);
    EXPECT_EQ(form->Bin.ScrollBar->maximum(), 128 - rows - 4);
    EXPECT_EQ(form->Bin.ScrollBar->pageStep(), rows + 4);
    EXPECT_EQ(form->List.PaintBox->height(), 137);
}

// Whether any pixel of the cell row is darker than the background.
bool RowHasText(const QImage& image, int top, int height) {
    for (int y = top; y < top + height; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

TEST_F(Panes, NothingIsListedOrOpenedPastTheEndOfRam) {
    Open();
    form->List.SetListOrigin(0x87FA);
    form->repaint();
    TPaintBox* pane = form->List.PaintBox;
    const QImage listing = pane->grab().toImage();
    const int h = pane->Cell().height();
    for (int row = 0; row < pane->Rows(); ++row)
        EXPECT_EQ(RowHasText(listing, row * h, h), row < 3) << "row " << row;
    ClickCell(pane, form->Numbers.WordDigits() + 2, 3);
    EXPECT_EQ(form->EditMode, EditNone);
    ClickCell(pane, form->Numbers.WordDigits() + 2, 2);
    EXPECT_EQ(form->EditAddr, 0x87FE);
}

}  // namespace
