// The debugger around the specified groups: its keys, the breakpoints on
// their lines and in their list, the processor's state, stepping back, and
// the open field committed before anything acts.
#include "DebugFixture.h"

#include "cpu/Cpu.h"
#include "debugger/window/DebugSide.h"
#include "debugger/Pdp11asm.h"
#include "debugger/Pdp11dis.h"
#include "debugger/window/TraceView.h"
#include "panel/window/ModalDialogs.h"
#include "panel/window/WarningBox.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <functional>
#include <memory>
#include <string>

namespace {

using Debugging = DebugFixture;

void Assemble(uint16_t address, const char* line) {
    const AsmResult assembled = AssembleLine(line, address, NumberFormat(16));
    ASSERT_TRUE(assembled.Succeeded()) << line;
    StoreWords(Mk, address, assembled.Words());
}

// 8000: a call of the routine at 8010, then a loop that counts in R0; the
// routine counts in R1.
void LoadCallProgram() {
    Assemble(0x8000, "jsr pc,8010");
    Assemble(0x8004, "inc r0");
    Assemble(0x8006, "br 8004");
    Assemble(0x8010, "inc r1");
    Assemble(0x8012, "rts pc");
    Mk.Reg[PC] = 0x8000;
    Mk.Reg[SP] = 0x8700;
}

// The row on which the listing shows the address, or -1.
int RowOf(const TDebugForm& form, uint16_t address) {
    for (int row = 0; row < form.List.PaintBox->Rows(); ++row)
        if (form.List.LineAddress(row) == address) return row;
    return -1;
}

TEST_F(Debugging, KeysReachTheirActions) {
    struct Case {
        const char* name;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        uint16_t breakpoint;  // 0: none
        uint16_t pc, r0, r1;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Case cases[] = {
        {"F11 steps into the call", {{Qt::Key_F11, none}}, 0, 0x8010, 0, 0},
        {"F10 steps over the call", {{Qt::Key_F10, none}}, 0, 0x8004, 0, 1},
        {"Shift+F11 steps out", {{Qt::Key_F11, none}, {Qt::Key_F11, Qt::ShiftModifier}}, 0, 0x8004, 0, 1},
        {"Alt+[ steps back", {{Qt::Key_F11, none}, {Qt::Key_BracketLeft, Qt::AltModifier}}, 0, 0x8000, 0, 0},
        {"F5 runs to a breakpoint", {{Qt::Key_F5, none}}, 0x8006, 0x8006, 1, 1},
        {"F5 twice passes it once", {{Qt::Key_F5, none}, {Qt::Key_F5, none}}, 0x8006, 0x8006, 2, 1},
        {"Shift+F5 runs back to the hit before",
         {{Qt::Key_F5, none}, {Qt::Key_F5, none}, {Qt::Key_F5, Qt::ShiftModifier}},
         0x8006,
         0x8006,
         1,
         1},
    };
    Open();
    for (const Case& c : cases) {
        LoadCallProgram();
        Mk.Reg[0] = Mk.Reg[1] = 0;
        BeginHistory();
        if (c.breakpoint) Debugger.SetBreakpoint(c.breakpoint);
        form->MachineChanged();
        form->List.Activate();
        for (const auto& [key, modifiers] : c.keys) Press(key, modifiers);
        EXPECT_EQ(Mk.Reg[PC], c.pc) << c.name;
        EXPECT_EQ(Mk.Reg[0], c.r0) << c.name;
        EXPECT_EQ(Mk.Reg[1], c.r1) << c.name;
        EXPECT_TRUE(form->isVisible()) << c.name;
        EXPECT_EQ(form->List.Cursor, c.pc) << c.name;
    }
}

TEST_F(Debugging, EveryActionTellsItsKeyInItsTooltip) {
    Open();
    int withKeys = 0;
    for (QAction* action : form->actions()) {
        ASSERT_FALSE(action->shortcut().isEmpty()) << action->text().toStdString();
        EXPECT_TRUE(action->toolTip().contains(action->shortcut().toString(QKeySequence::NativeText)))
            << action->toolTip().toStdString();
        ++withKeys;
    }
    EXPECT_GE(withKeys, 8);
}

// Pixels of the listing's row in the breakpoint's red.
int RedPixels(const TDebugForm& form, uint16_t address) {
    TPaintBox* pane = form.List.PaintBox;
    const int h = pane->Cell().height();
    const int row = RowOf(form, address);
    const QImage image = pane->grab().toImage();
    int count = 0;
    for (int y = row * h; y < (row + 1) * h; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > c.green() + 40 && c.red() > c.blue() + 40;
        }
    return count;
}

TEST_F(Debugging, ABreakpointSetOnALineShowsThereAndInTheListAndStopsTheRun) {
    LoadCallProgram();
    Open();
    TPaintBox* pane = form->List.PaintBox;
    const int row = RowOf(*form, 0x8010);
    ASSERT_GE(row, 0);
    EXPECT_EQ(RedPixels(*form, 0x8010), 0);

    // The listing's context menu, chosen from by the keyboard.
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QSize cell = pane->Cell();
    const QPoint line(3 * cell.width(), row * cell.height() + cell.height() / 2);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, line, pane->mapToGlobal(line));
    QApplication::sendEvent(pane, &menuEvent);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_TRUE(Debugger.IsBreakpoint(0x8010));
    ASSERT_EQ(form->Side->BreakList->count(), 1);
    EXPECT_TRUE(form->Side->BreakList->item(0)->text().startsWith("8010"));
    form->repaint();
    EXPECT_GT(RedPixels(*form, 0x8010), 0) << "the breakpoint's line is not marked";

    Press(Qt::Key_F5);
    EXPECT_EQ(Mk.Reg[PC], 0x8010);
    EXPECT_TRUE(form->isVisible());

    // F9 on the line of the program counter removes it again.
    Press(Qt::Key_F9);
    EXPECT_FALSE(Debugger.IsBreakpoint(0x8010));
    EXPECT_EQ(form->Side->BreakList->count(), 0);
    form->repaint();
    EXPECT_EQ(RedPixels(*form, 0x8010), 0);
}

TEST_F(Debugging, RunToCursorStopsOnTheClickedLine) {
    LoadCallProgram();
    Open();
    ClickCell(form->List.PaintBox, form->Numbers.WordDigits() + 2, RowOf(*form, 0x8012));
    Press(Qt::Key_Escape);
    EXPECT_EQ(form->List.Cursor, 0x8012);
    Press(Qt::Key_F10, Qt::ControlModifier);
    EXPECT_EQ(Mk.Reg[PC], 0x8012);
    EXPECT_EQ(Mk.Reg[1], 1);
}

TEST_F(Debugging, StepsBackGiveTheMachinesBeforeTheSteps) {
    LoadCallProgram();
    Open();
    std::vector<Machine> before;
    for (int i = 0; i < 6; ++i) {
        before.push_back(Mk);
        Press(Qt::Key_F11);
    }
    EXPECT_NE(Mk.Reg[PC], 0x8000);
    for (int i = 5; i >= 0; --i) {
        Press(Qt::Key_BracketLeft, Qt::AltModifier);
        EXPECT_TRUE(Mk == before[size_t(i)]) << "step " << i;
    }
}

TEST_F(Debugging, TheStateLineTellsASleepingProcessorAndWakesIt) {
    struct Case {
        uint16_t ctrlPort;
        bool waiting;
        uint16_t psw;
        const char* first;  // the state line's first word
        bool wake;          // the Wake button shown
    };
    const Case cases[] = {
        {CtrlRunBit, false, 0, "Running", false},
        {0, false, 0, "Asleep", true},
        {CtrlRunBit, true, 0, "Waiting", false},
        {CtrlRunBit, false, HaltModeBit, "Running in halt mode", false},
    };
    Open();
    for (const Case& c : cases) {
        Mk.CtrlPort = c.ctrlPort;
        Mk.Waiting = c.waiting;
        Mk.Psw = c.psw;
        form->MachineChanged();
        EXPECT_TRUE(form->Side->StateLabel->text().startsWith(c.first)) << form->Side->StateLabel->text().toStdString();
        EXPECT_EQ(form->Side->WakeButton->isVisible(), c.wake) << c.first;
    }
    Mk.CtrlPort = 0;
    Mk.Psw = 0;
    form->MachineChanged();
    Click(form->Side->WakeButton);
    EXPECT_TRUE(Mk.CtrlPort & CtrlRunBit);
    EXPECT_FALSE(form->Side->WakeButton->isVisible());
    EXPECT_TRUE(form->Side->StateLabel->text().startsWith("Running"));
}

TEST_F(Debugging, TheStepCountFollowsTheSteps) {
    Open();
    for (int i = 0; i < 3; ++i) Press(Qt::Key_F11);
    EXPECT_EQ(Debugger.StepCount(), 3u);
    EXPECT_EQ(form->Side->StepsLabel->text(), QStringLiteral("Steps since reset: 3"));
    Press(Qt::Key_BracketLeft, Qt::AltModifier);
    EXPECT_EQ(form->Side->StepsLabel->text(), QStringLiteral("Steps since reset: 2"));
}

TEST_F(Debugging, AnOpenFieldIsCommittedBeforeAnythingActs) {
    struct Case {
        const char* name;
        std::function<void(TDebugForm&)> act;
        int steps;  // that the action runs
    };
    const Case cases[] = {
        {"the Step button", [this](TDebugForm& w) { Click(w.StepButton); }, 1},
        {"F11", [this](TDebugForm&) { Press(Qt::Key_F11); }, 1},
        {"a click on another group",
         [](TDebugForm& w) {
             QTest::mouseClick(w.BpGroupBox, Qt::LeftButton, {}, QPoint(w.BpGroupBox->width() - 3, 40));
         },
         0},
        {"the listing's scroll bar",
         [](TDebugForm& w) { w.List.ScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
         0},
        {"the wheel over the memory",
         [](TDebugForm& w) {
             TPaintBox* pane = w.Bin.PaintBox;
             QWheelEvent wheel(pane->rect().center(), pane->mapToGlobal(pane->rect().center()), {}, {0, -120},
                               Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
             QApplication::sendEvent(pane, &wheel);
         },
         0},
    };
    Open();
    for (const Case& c : cases) {
        Mk.Reg[PC] = LoopStart;
        Mk.Reg[0] = 0;
        form->MachineChanged();
        ClickCell(form->Registers.PaintBox, 4, 1);
        ASSERT_EQ(form->EditMode, EditRegister);
        Type("1234");
        c.act(*form);
        EXPECT_EQ(Mk.Reg[1], 0x1234) << c.name;
        EXPECT_EQ(Mk.Reg[0], c.steps) << c.name;
        EXPECT_EQ(form->EditMode, EditNone) << c.name;
    }
}

TEST_F(Debugging, AFieldThatCannotBeCommittedStopsTheActionAndSaysWhy) {
    Open();
    ClickCell(form->List.PaintBox, form->Numbers.WordDigits() + 2, 0);
    Type("mov r0");
    for (const std::function<void()>& act : std::vector<std::function<void()>>{
             [&] { Click(form->StepButton); }, [&] { Press(Qt::Key_F5); }, [&] { Click(form->Registers.GroupBox); },
             [&] { form->close(); }}) {
        act();
        EXPECT_EQ(Mk.Reg[PC], LoopStart);
        EXPECT_EQ(form->EditMode, EditInstruction);
        EXPECT_EQ(form->List.Edit->text(), "mov r0");
        const QString message = form->Side->MessageLabel->text();
        EXPECT_TRUE(message.startsWith("Not assembled")) << message.toStdString();
        EXPECT_TRUE(form->isVisible());
    }
    Press(Qt::Key_Escape);
    Click(form->StepButton);
    EXPECT_EQ(Mk.Reg[PC], LoopStart + 2);
    EXPECT_TRUE(form->Side->MessageLabel->text().isEmpty());
}

// Whether any pixel of the cell row is darker than the background.
bool RowHasText(const QImage& image, int top, int height) {
    for (int y = top; y < top + height; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

TEST_F(Debugging, AllTenRowsOfEachPaneShowAtTheDesignSize) {
    Open();
    for (TPane* pane : std::initializer_list<TPane*>{&form->List, &form->Registers, &form->Bin})
        EXPECT_GE(pane->PaintBox->Rows(), 10) << pane->GroupBox->title().toStdString();
    EXPECT_EQ(form->Registers.ScrollBar->maximum(), 0);
    // PSW on row 8, the flags on row 9, drawn inside the pane.
    TPaintBox* registers = form->Registers.PaintBox;
    const QImage image = registers->grab().toImage();
    const int h = registers->Cell().height();
    for (int row = 0; row < 10; ++row) EXPECT_TRUE(RowHasText(image, row * h, h)) << "row " << row;
    ClickCell(registers, 4, 8);
    EXPECT_EQ(form->EditAddr, 8);
}

TEST_F(Debugging, TheLongestInstructionOfEachRadixIsTypedAndListedWhole) {
    struct Case {
        int radix;
        const char* line;
    };
    const Case cases[] = {
        {8, "movb  @177776(r1),@177776(r2)"},
        {10, "movb  @65534(r1),@65534(r2)"},
        {16, "movb  @FFFE(r1),@FFFE(r2)"},
    };
    for (const Case& c : cases) {
        Mk.Reg[PC] = LoopStart;
        Open("[Debugger]\nRadix=" + std::to_string(c.radix) + "\n");
        const NumberFormat numbers(c.radix);
        ClickCell(form->List.PaintBox, numbers.WordDigits() + 2, 0);
        Type(c.line);
        EXPECT_EQ(form->List.Edit->text(), c.line) << c.radix;
        Press(Qt::Key_Return);
        const AsmResult expected = AssembleLine(c.line, LoopStart, numbers);
        ASSERT_TRUE(expected.Succeeded());
        for (int i = 0; i < expected.AsmCount; ++i)
            EXPECT_EQ(WordAt(LoopStart + 2 * i), expected.AsmWords[i]) << c.radix;

        // The listing writes it as typed, and the whole line fits the pane.
        const ListingLine listed = DisassemblyLine(LoopStart, MachineReader(Mk), numbers);
        EXPECT_EQ(listed.Text.substr(size_t(numbers.WordDigits() + 2)), c.line);
        EXPECT_LE(int(listed.Text.size()), form->List.PaintBox->Columns()) << c.radix;
        form->repaint();
        const QImage image = form->List.PaintBox->grab().toImage();
        const QSize cell = form->List.PaintBox->Cell();
        const QRect last((int(listed.Text.size()) - 1) * cell.width(), 0, cell.width(), cell.height());
        EXPECT_TRUE(RowHasText(image.copy(last), 0, cell.height())) << "the last character is not drawn";
    }
}

TEST_F(Debugging, AnInstructionNeverWrapsPastTheTopOfMemory) {
    struct Case {
        uint16_t address;
        const char* line;
        bool stored;
    };
    const Case cases[] = {
        {0xFFFC, "mov r1,@#2", true},   // FFFC, FFFE
        {0xFFFC, "mov #1,@#2", false},  // a third word would land at 0000
        {0xFFFE, "mov r1,@#2", false},
    };
    Open();
    for (const Case& c : cases) {
        Mk.RamEnd = 0xFFFF;
        SetWordAt(0x0000, 0x1234);
        form->List.SetListOrigin(c.address);
        form->repaint();
        ClickCell(form->List.PaintBox, form->Numbers.WordDigits() + 2, 0);
        ASSERT_EQ(form->EditAddr, c.address);
        Enter(c.line);
        EXPECT_EQ(WordAt(0x0000), 0x1234) << c.line;
        EXPECT_EQ(form->EditMode == EditNone, c.stored) << c.line;
        EXPECT_EQ(form->Side->MessageLabel->text().contains("FFFF"), !c.stored) << c.line;
        Press(Qt::Key_Escape);
    }
}

TEST_F(Debugging, AWatchpointEnteredInTheColumnIsSetListedAndRemoved) {
    Open();
    Click(form->Side->WatchFirstEdit);
    Type("8100");
    Click(form->Side->WatchLastEdit);
    Type("810f");
    form->Side->WatchAccessBox->setCurrentIndex(2);
    Click(form->Side->AddWatchButton);
    ASSERT_EQ(Debugger.Watches().size(), 1u);
    EXPECT_EQ(Debugger.Watches()[0], (Watchpoint{0x8100, 0x810F, WatchAccess::ReadWrite}));
    ASSERT_EQ(form->Side->WatchList->count(), 1);
    EXPECT_EQ(form->Side->WatchList->item(0)->text(), "rw 8100 to 810F");

    // A reversed range is refused with the reason.
    Click(form->Side->WatchFirstEdit);
    Type("8200");
    Click(form->Side->WatchLastEdit);
    Enter("8100");
    EXPECT_EQ(Debugger.Watches().size(), 1u);
    EXPECT_FALSE(form->Side->MessageLabel->text().isEmpty());

    form->Side->WatchList->setCurrentRow(0);
    QTest::keyClick(form->Side->WatchList, Qt::Key_Delete);
    EXPECT_TRUE(Debugger.Watches().empty());
    EXPECT_EQ(form->Side->WatchList->count(), 0);
}

TEST_F(Debugging, LabelsStandAboveTheirInstructionsAndServeAsAddresses) {
    LoadCallProgram();
    // The longest name a symbol file holds: a local label under its routine.
    const std::string longest = std::string(NameLimit, 'r') + "." + std::string(NameLimit - 1, '7') + "$";
    ASSERT_TRUE(Symbols.Parse("8004 again\n8010 count\n9000 " + longest + "\n", "test.sym").Warnings.empty());
    Open();
    const int label = RowOf(*form, 0x8010);
    ASSERT_GE(label, 0);
    EXPECT_EQ(form->List.LineAddress(label + 1), 0x8010) << "the instruction follows its label";
    const int text = form->Numbers.WordDigits() + 2;
    ClickCell(form->List.PaintBox, text, label);
    EXPECT_EQ(form->EditMode, EditNone) << "a label's row opened a field";
    ClickCell(form->List.PaintBox, text, label + 1);
    EXPECT_EQ(form->EditAddr, 0x8010);
    Press(Qt::Key_Escape);

    // Names in the address fields, in any case.
    ClickCell(form->List.PaintBox, 0, 0);
    Enter("Again");
    EXPECT_EQ(form->List.ListTop, 0x8004);
    Click(form->BpEdit);
    Type(QString::fromStdString(longest));
    Click(form->BpButton);
    EXPECT_EQ(BreakPoint, 0x9000);
}

// Answers the question that the next action asks, and keeps its text.
void AnswerNextQuestion(bool yes, QString* asked) {
    auto previous = std::make_shared<Asker>();
    *previous = SetAsker([previous, yes, asked](QWidget*, const QString&, const QString& question) {
        SetAsker(*previous);
        *asked = question;
        return yes;
    });
}

TEST_F(Debugging, SavingTheRomNeverReplacesASessionImageUnasked) {
    const std::vector<uint8_t> original = Pattern(RomSize, 7);
    const std::vector<uint8_t> ram = Pattern(RamSize, 9);
    folder.Write("rom.bin", original);
    folder.Write("ram.bin", ram);
    Open();
    SetWordAt(0x0100 - 2, 0xBEEF);  // a patch in the ROM
    const std::vector<uint8_t> patched(Mk.Rom(), Mk.Rom() + RomSize);

    // A new file is written as the ROM is.
    EXPECT_TRUE(form->SaveRomTo(QString::fromStdString(folder / "patched.bin")));
    EXPECT_EQ(folder.Read("patched.bin"), patched);

    struct Case {
        const char* file;
        bool yes;
        bool written;
    };
    const Case cases[] = {
        {"rom.bin", false, false},
        {"patched.bin", false, false},
        {"rom.bin", true, true},
    };
    SetWordAt(0x0100 - 2, 0xCAFE);
    for (const Case& c : cases) {
        const std::vector<uint8_t> before = folder.Read(c.file);
        QString asked;
        AnswerNextQuestion(c.yes, &asked);
        EXPECT_EQ(form->SaveRomTo(QString::fromStdString(folder / c.file)), c.written) << c.file;
        EXPECT_TRUE(asked.startsWith(c.file)) << asked.toStdString();
        EXPECT_EQ(folder.Read(c.file) == before, !c.written) << c.file;
    }
    EXPECT_TRUE(form->SaveRomTo(QString::fromStdString(folder / "ignored.bin")));

    // The RAM image is never written over, whatever the answer.
    QString warned;
    const WarningHandler previous =
        SetWarningHandler([&warned](QWidget*, const QString& text) { warned = text; });
    EXPECT_FALSE(form->SaveRomTo(QString::fromStdString(folder / "ram.bin")));
    SetWarningHandler(previous);
    EXPECT_TRUE(warned.startsWith("ram.bin")) << warned.toStdString();
    EXPECT_EQ(folder.Read("ram.bin"), ram);
}

TEST_F(Debugging, TheTraceLogShowsTheStepsRunAndSavesThem) {
    LoadCallProgram();
    Open();
    std::vector<uint16_t> visited;
    for (int i = 0; i < 5; ++i) {
        visited.push_back(Mk.Reg[PC]);
        Press(Qt::Key_F11);
    }
    Press(Qt::Key_L, Qt::ControlModifier);
    ASSERT_NE(form->TraceView, nullptr);
    EXPECT_TRUE(form->TraceView->isVisible());
    const QStringList lines = form->TraceView->Text->toPlainText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    for (size_t i = 0; i < visited.size(); ++i) {
        const QString address = QString::fromStdString(FormatWord(visited[i], '0', form->Numbers));
        EXPECT_TRUE(lines[int(i)].contains(address)) << lines[int(i)].toStdString();
    }
    ASSERT_TRUE(form->TraceView->SaveTo(QString::fromStdString(folder / "trace.txt")));
    const std::vector<uint8_t> saved = folder.Read("trace.txt");
    EXPECT_EQ(QString::fromLatin1(reinterpret_cast<const char*>(saved.data()), qsizetype(saved.size())),
              form->TraceView->Text->toPlainText());

    // Never over a memory image of the session.
    const std::vector<uint8_t> ram = Pattern(RamSize, 3);
    folder.Write("ram.bin", ram);
    const WarningHandler previous = SetWarningHandler([](QWidget*, const QString&) {});
    EXPECT_FALSE(form->TraceView->SaveTo(QString::fromStdString(folder / "ram.bin")));
    SetWarningHandler(previous);
    EXPECT_EQ(folder.Read("ram.bin"), ram);

    // A step more is in the log at once.
    Press(Qt::Key_F11);
    EXPECT_EQ(form->TraceView->Text->toPlainText().count('\n'), 6);
}

TEST_F(Debugging, TheResetKeyResetsTheProcessorAndTheStepCount) {
    Open();
    for (int i = 0; i < 3; ++i) Press(Qt::Key_F11);
    const Machine before = Mk;
    Press(Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Debugger.StepCount(), 0u);
    EXPECT_EQ(form->Side->StepsLabel->text(), QStringLiteral("Steps since reset: 0"));
    const Machine pressed = Mk;
    Mk = before;
    CpuReset();
    EXPECT_TRUE(Mk == pressed) << "the key did not reset as the processor's reset does";
}

TEST_F(Debugging, F3DuringACommandEndsIt) {
    Open();
    // A run to the line after the loop, which the loop never reaches: the
    // window hides and the run loop carries the command on.
    form->List.Cursor = LoopStart + 4;
    Press(Qt::Key_F10, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(Debugger.CommandActive());
    form->ShowWindow();
    EXPECT_FALSE(Debugger.CommandActive());
    EXPECT_TRUE(Paused);
}

}  // namespace
