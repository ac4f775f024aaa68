// The debug window opened in a fresh working folder over a small program in
// RAM, with helpers that act as a user does: clicks on character cells, keys
// and text typed into whatever has the keyboard focus, and run-loop ticks that
// reopen the window as the main window's hook does.
#pragma once

#include "core/Def.h"
#include "debugger/window/DebugControls.h"
#include "debugger/window/Debug.h"
#include "debugger/window/DebugSide.h"
#include "debugger/Numbers.h"
#include "tests/debugger/DebugEngine.h"
#include "panel/RunLoop.h"
#include "tests/support/CleanMachine.h"
#include "tests/support/TempFolder.h"
#include "tests/support/MemoryImage.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// 8000: inc r0; 8002: br 8000. Every pass through the loop adds 1 to R0 in
// two steps.
constexpr uint16_t LoopStart = 0x8000;
constexpr uint16_t IncR0 = 0005200;
constexpr uint16_t BrBackOne = 0000776;

class DebugFixture : public ::testing::Test {
protected:
    void SetUp() override {
        previousFolder_ = std::filesystem::current_path();
        std::filesystem::current_path(folder.path());
        MakeCleanMachine();
        CpuSpeed = 250;
        Mk.CtrlPort = CtrlRunBit | CtrlSpeedBit;  // running, one cycle unit a step
        SetWordAt(LoopStart, IncR0);
        SetWordAt(LoopStart + 2, BrBackOne);
        Mk.Reg[PC] = LoopStart;
        BeginHistory();
    }

    void TearDown() override {
        form.reset();
        std::filesystem::current_path(previousFolder_);
    }

    // Creates the window with the given settings file text (none if empty)
    // and shows it as F3 does.
    void Open(const std::string& settings = "") {
        if (!settings.empty()) folder.WriteText("vexal.ini", settings);
        form = std::make_unique<TDebugForm>();
        form->ShowWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->repaint();
    }

    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }

    void ClickCell(TPaintBox* pane, int column, int row) {
        const QSize cell = pane->Cell();
        QTest::mouseClick(pane, Qt::LeftButton, {},
                          QPoint(column * cell.width() + cell.width() / 2, row * cell.height() + cell.height() / 2));
    }

    QWidget* Focus() {
        QWidget* focus = QApplication::focusWidget();
        EXPECT_NE(focus, nullptr);
        return focus ? focus : form.get();
    }
    // Characters beyond ASCII arrive as they do from a keyboard layout that
    // has them: as text, on a key that Qt has no code for.
    void Type(const QString& text) {
        for (const QChar c : text) {
            if (c.unicode() < 0x80) QTest::keyClick(Focus(), char(c.unicode()));
            else QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Focus(), key, modifiers);
        form->repaint();
    }
    void Enter(const QString& text) {
        Type(text);
        Press(Qt::Key_Return);
    }

    void Ticks(int ticks) {
        for (int i = 0; i < ticks; ++i) RunTick([this] { form->ShowWindow(); });
    }

    TempFolder folder;
    std::unique_ptr<TDebugForm> form;

private:
    std::filesystem::path previousFolder_;
};
