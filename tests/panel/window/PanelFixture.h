// A main window started in a fresh working folder, with the warnings it shows
// collected instead of put in front of a user.
#pragma once

#include "TestPictures.h"
#include "core/Def.h"
#include "panel/window/Main.h"
#include "panel/RunLoop.h"
#include "panel/window/TerminationSignals.h"
#include "panel/window/WarningBox.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The window with its drags counted instead of handed to the window system.
class TestForm : public TMainForm {
public:
    using TMainForm::TMainForm;
    int drags = 0;

protected:
    void BeginWindowDrag() override { ++drags; }
};

class PanelFixture : public ::testing::Test {
protected:
    void SetUp() override {
        previousFolder_ = std::filesystem::current_path();
        std::filesystem::current_path(folder.path());
        SetWarningHandler([this](QWidget*, const QString& text) { warnings.push_back(text.toStdString()); });
    }

    void TearDown() override {
        form.reset();
        SetWarningHandler(nullptr);
        std::filesystem::current_path(previousFolder_);
    }

    // Our own pictures and a ROM of zeros, as a normal installation has.
    void WriteInstallation() {
        folder.Write("rom.bin", std::vector<uint8_t>(RomSize, 0));
        ASSERT_TRUE(TestFace().save(QString::fromStdString(folder / "face.bmp"), "BMP"));
        ASSERT_TRUE(TestKeys().save(QString::fromStdString(folder / "keys.bmp"), "BMP"));
    }

    // Creates and shows the window: FormCreate, then FormShow.
    void Start(int zoom = 1) {
        form = std::make_unique<TestForm>(DefaultStartupFiles(), zoom);
        form->show();
    }

    // Starts the window with every timer stopped, so that the test alone
    // decides what runs.
    void StartStill(int zoom = 1) {
        Start(zoom);
        form->RunTimer.SetEnabled(false);
        form->RefreshTimer.stop();
        form->CursorTimer.stop();
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, int x, int y) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        const QPointF at(x, y);
        QMouseEvent event(type, at, form->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                          button == Qt::LeftButton ? held : Qt::MouseButtons(button), Qt::NoModifier);
        QApplication::sendEvent(form.get(), &event);
    }
    void Press(int x, int y, Qt::MouseButton button = Qt::LeftButton) { Mouse(QEvent::MouseButtonPress, button, x, y); }
    void Move(int x, int y) { Mouse(QEvent::MouseMove, Qt::LeftButton, x, y); }
    void Release(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonRelease, button, x, y);
    }

    void Key(QEvent::Type type, int key, const QString& text, bool autoRepeat = false,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* to = nullptr) {
        QKeyEvent event(type, key, modifiers, text, autoRepeat);
        QApplication::sendEvent(to ? to : form.get(), &event);
    }
    void KeyDown(int key, const QString& text = {}) { Key(QEvent::KeyPress, key, text); }
    void KeyUp(int key, const QString& text = {}) { Key(QEvent::KeyRelease, key, text); }

    TempFolder folder;
    std::vector<std::string> warnings;
    std::unique_ptr<TestForm> form;

private:
    std::filesystem::path previousFolder_;
};
