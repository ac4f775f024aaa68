#include "DebugFixture.h"

#include "panel/window/Main.h"
#include "panel/window/WarningBox.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

const QColor Blue(0, 0, 255);

using RunControl = DebugFixture;

TEST_F(RunControl, ATraceRunsExactlyItsStepsAfterTheResumeDelayAndReopensTheWindow) {
    Open();
    Click(form->TraceEdit);
    Type("5");
    Click(form->TraceButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(Paused);
    EXPECT_EQ(TraceCount, 5);

    Ticks(30);
    EXPECT_EQ(Mk.Reg[0], 0) << "a step ran within the 30 ticks after hiding";
    Ticks(1);
    // inc, br, inc, br, inc
    EXPECT_EQ(Mk.Reg[0], 3);
    EXPECT_EQ(Mk.Reg[PC], LoopStart + 2);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(Paused);
    EXPECT_EQ(TraceCount, -1);
    // The listing keeps the instruction before the program counter's.
    EXPECT_EQ(form->List.ListTop, LoopStart);
    Ticks(5);
    EXPECT_EQ(Mk.Reg[0], 3) << "the processor ran with the window open";
}

TEST_F(RunControl, NoTraceCountKeepsTheWindowOpen) {
    Open();
    for (const char* count : {"", "0", "x"}) {
        Click(form->TraceEdit);
        Type(count);
        Click(form->TraceButton);
        EXPECT_TRUE(form->isVisible()) << "count '" << count << "'";
        EXPECT_TRUE(Paused);
        form->TraceEdit->clear();
    }
}

TEST_F(RunControl, ABreakpointInALoopStopsAtTheNextPass) {
    Open();
    Click(form->BpEdit);
    Type("8000");
    Click(form->BpButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(BreakPoint, 0x8000);
    EXPECT_EQ(TraceCount, -1);
    Ticks(31);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Mk.Reg[PC], LoopStart);
    EXPECT_EQ(Mk.Reg[0], 1);
    EXPECT_EQ(BreakPoint, -1);
}

TEST_F(RunControl, ClosingResumesWithNeitherTraceNorBreakpoint) {
    TraceCount = 3;
    BreakPoint = LoopStart + 2;
    Open();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(TraceCount, -1);
    EXPECT_EQ(BreakPoint, -1);
    Ticks(30);
    EXPECT_EQ(Mk.Reg[0], 0);
    Ticks(1);
    // A whole budget of 250 steps, no stop on the way.
    EXPECT_EQ(Mk.Reg[0], 125);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(RunControl, TheSingleStepRunsOneInstructionAndKeepsTheWindowOpen) {
    Open();
    for (const uint16_t pc : {LoopStart + 2, LoopStart + 0, LoopStart + 2}) {
        Click(form->StepButton);
        EXPECT_EQ(Mk.Reg[PC], pc);
        EXPECT_EQ(form->List.ListTop, LoopStart);
        EXPECT_EQ(form->List.Cursor, pc);
    }
    EXPECT_EQ(Mk.Reg[0], 2);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(Paused);
    EXPECT_EQ(form->StepGroupBox->CaptionColor(), Blue);
}

// Operand words decode as instructions too (rts pc, jmp, bvc): the listing
// starts at an instruction that ran, never inside one.
TEST_F(RunControl, TheListingAroundPcStartsAtAnInstructionThatRan) {
    // mov #207,r1; mov #137,@#8400; inc r0; inc r0
    const uint16_t code[] = {0012701, 0000207, 0012737, 0000137, 0102000, IncR0, IncR0};
    for (size_t i = 0; i < std::size(code); ++i) SetWordAt(uint16_t(LoopStart + 2 * i), code[i]);
    Open();
    EXPECT_EQ(form->List.ListTop, LoopStart);
    const uint16_t pcs[] = {LoopStart + 4, LoopStart + 10, LoopStart + 12};
    for (const uint16_t pc : pcs) {
        Click(form->StepButton);
        ASSERT_EQ(Mk.Reg[PC], pc);
        EXPECT_EQ(form->List.ListTop, LoopStart) << std::hex << pc;
    }
}

TEST_F(RunControl, ClickingAGroupMarksItAloneAndClosesTheOpenField) {
    Open();
    TGroupBox* groups[] = {form->List.GroupBox, form->Registers.GroupBox, form->Bin.GroupBox,
                           form->StepGroupBox,      form->TraceGroupBox,         form->BpGroupBox};
    for (QWidget* target : {(QWidget*)form->List.GroupBox, (QWidget*)form->Registers.GroupBox,
                            (QWidget*)form->Bin.GroupBox, (QWidget*)form->StepGroupBox, (QWidget*)form->TraceEdit,
                            (QWidget*)form->BpEdit, (QWidget*)form->Bin.RadioButtonWord}) {
        ClickCell(form->Registers.PaintBox, 4, 0);
        ASSERT_EQ(form->EditMode, EditRegister);
        // The click lands in a corner of a group box, away from its children.
        if (auto* group = dynamic_cast<TGroupBox*>(target))
            QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(group->width() - 3, group->height() - 3));
        else Click(target);
        EXPECT_EQ(form->EditMode, EditNone);
        EXPECT_EQ(form->Registers.Edit->width(), 0);
        for (TGroupBox* group : groups) {
            const bool marked = group == target || group->isAncestorOf(target);
            EXPECT_EQ(group->CaptionColor() == Blue, marked) << group->title().toStdString();
        }
    }
    EXPECT_EQ(form->Bin.BinMode, 2);
}

// A snapshot loaded while the window is open: a register typed for the old
// machine must not land in the new one.
TEST_F(RunControl, AReplacedMachineClosesTheOpenFieldAndListsFromItsPc) {
    Open();
    ClickCell(form->Registers.PaintBox, 4, 0);
    ASSERT_EQ(form->EditMode, EditRegister);
    Mk.Reg[PC] = 0x1234;
    form->MachineReplaced();
    EXPECT_EQ(form->EditMode, EditNone);
    EXPECT_EQ(form->List.ListTop, 0x1234);
    EXPECT_TRUE(Paused);
}

TEST_F(RunControl, TabReachesNoFieldAndNoButton) {
    Open();
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(Focus(), Qt::Key_Tab);
        EXPECT_EQ(Focus(), form->Bin.RadioButtonByte) << "Tab " << i + 1;
    }
}

TEST_F(RunControl, F3InTheMainWindowOpensTheDebugWindow) {
    SetWarningHandler([](QWidget*, const QString&) {});
    TMainForm main;
    main.show();
    main.RunTimer.SetEnabled(false);
    TDebugForm debug;
    main.ShowDebugWindow = [&debug] { debug.ShowWindow(); };
    EXPECT_FALSE(debug.isVisible());
    EXPECT_FALSE(Paused);
    QTest::keyClick(&main, Qt::Key_F3);
    EXPECT_TRUE(debug.isVisible());
    EXPECT_TRUE(Paused);
    SetWarningHandler(nullptr);
}

}  // namespace
