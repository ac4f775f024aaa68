// The main window: the picture of the MK-85's front panel with its live
// display and clickable keys. It owns the bitmaps and the three timers, runs
// the emulated processor from the run timer, and loads and saves the memory
// images at start-up and exit.
#pragma once

#include "panel/KeyLayout.h"
#include "panel/window/KeyOverlay.h"
#include "panel/window/LcdView.h"
#include "panel/KeyTaps.h"
#include "panel/KeyTyper.h"
#include "panel/LcdLayout.h"
#include "panel/MemoryFiles.h"
#include "panel/RunLoop.h"
#include "panel/Startup.h"
#include "panel/window/ThdTimer.h"
#include "panel/window/WindowActions.h"
#include "panel/WindowPlace.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QPainter;
class QScreen;
class TFaceNote;
class TKeyHelpForm;

constexpr int KeysWidth = 188;
constexpr int KeysHeight = 63;
constexpr const char* ApplicationTitle = "Vexal — MK-85";

// The virtual key code of a Qt key, as the special-key table knows it; 0 for
// keys it does not know.
int VirtualKeyOf(int qtKey);

// The area of the screen that windows may take.
ScreenArea AvailableArea(const QScreen& screen);
// The screen a window at the position is on; the primary screen for no
// position, or one on no screen.
QScreen* ScreenFor(std::optional<WindowPosition> position);

class TMainForm : public QWidget {
public:
    // The window of a session on these files, shown zoom times larger than
    // the face, pixel for pixel.
    explicit TMainForm(const StartupFiles& files = DefaultStartupFiles(), int zoom = 1, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Shows the debug window: F3, and the run loop at the end of a trace or
    // at the breakpoint. Empty until a debug window plugs in.
    std::function<void()> ShowDebugWindow;
    // Called once the window has closed and the RAM is saved.
    std::function<void()> OnClosed;
    // Called after a snapshot has replaced the machine, so that the debug
    // window shows the new one.
    std::function<void()> OnMachineLoaded;

    // Start-up and shutdown.
    void FormCreate();
    void FormShow();
    void FormClose();
    // Writes Ram to the RAM image; a failure is warned about with its reason
    // after "Failed to save the file " and the file's name.
    void SaveRam();
    // Whether the last SaveRam put the RAM into its file.
    bool RamSaved() const { return ramSaved_; }

    void OnRunTimer();

    // The display, drawn by an LcdView into LcdBitmap.
    void RenderLcd();
    void DrawIndicator(int x, int y, int sourceX, int sourceY, int width, bool on);
    void DrawSegment(int left, int top, int right, int bottom, bool on);
    void OnRefreshTimer();
    void OnCursorTimer();
    void FormPaint(QPainter& window);

    // The keys. Virtual key codes are those of the special-key table;
    // characters are in code page 1251.
    void FormKeyDown(int virtualKey);
    void FormKeyPress(uint8_t character);
    void FormKeyUp(int virtualKey);
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp(Qt::MouseButton button, int x, int y);
    void FormDeactivate();
    void ReleaseMouseKey(int x, int y);
    void DrawKey(int group, int x, int y, bool pressed);

    // Types the text on the machine, one key after another as the run loop
    // ticks, as the console's "type" does; Ctrl+V pastes the clipboard so.
    // Any key press or click stops it.
    void Paste(const QString& text);
    void StopPaste();
    bool Pasting() const { return paste_ != nullptr; }

    // Snapshot files (MainSnapshots.cpp).
    // Ctrl+S and Ctrl+L: the whole machine saved to the run folder's
    // "snapshot.vxs", and loaded back, with a note over the face; a failure
    // is a warning and leaves the machine as it was. A loaded machine holds
    // no key, and its display is drawn at once.
    void SaveMachine() { SaveMachineTo(files_.snapshot); }
    void LoadMachine() { LoadMachineFrom(files_.snapshot); }
    // The same with a file of the user's. None of the files the session
    // runs with is ever written.
    void SaveMachineTo(const std::string& path);
    void LoadMachineFrom(const std::string& path);
    // "Save as..." and "Open...": a file chooser, and then the same.
    void SaveMachineAs();
    void OpenMachine();
    TFaceNote& Note() { return *note_; }

    // Draws every part of the display anew from LcdRam, and shows it.
    void RedrawDisplay();

    // F1: shows the key help, or closes it; null until first shown.
    void ToggleKeyHelp();
    TKeyHelpForm* KeyHelp() const { return keyHelp_.get(); }

    // The window's actions, from the menu or their keys.
    void Do(WindowAction action);
    // The menu of the actions, as a right click off the keys shows it at
    // the point given (of the screen).
    void ShowMenu(const QPoint& at);

    // Moves the window where it starts: to the remembered position where it
    // fits a screen there, else to the middle of the screen.
    void StartAt(std::optional<WindowPosition> remembered);
    // Shows the window zoom times larger, kept on its screen.
    void SetZoom(int zoom);
    // Whether the window fits its screen at the zoom.
    bool ZoomFits(int zoom) const;
    int Zoom() const { return zoom_; }
    // How fast the machine runs; the settings keep the normal speed.
    void SetSpeed(RunSpeed speed);
    RunSpeed Speed() const { return speed_; }

    // The face with its display as the window shows it, at its zoom.
    QImage FacePicture() const;
    // Saves FacePicture into the run folder and copies it to the clipboard;
    // the note says where it went.
    void TakeScreenshot();

    // The machine started afresh: an empty display, a processor reset, no
    // key held. The RAM stays.
    void ResetTheMachine();

    // Types a text file on the machine, as Paste does.
    void TypeFile(const QString& path);

    // The labels of the keys over the face, while Ctrl is held alone.
    void ShowKeyLabels(bool shown);
    bool KeyLabelsShown() const { return !keyLabels_.empty(); }

    std::unique_ptr<QImage> ScratchBitmap;
    std::unique_ptr<QImage> FaceBitmap;
    std::unique_ptr<QImage> LcdBitmap;
    std::unique_ptr<QImage> KeysBitmap;

    // For every drawn LcdRam index, the value last drawn there (for a cursor
    // cell, what was shown in place of the real value).
    std::array<uint8_t, DrawnBytes> LcdShadow{};
    // The next render paints every row, indicator and segment, whatever was
    // last drawn: a shadow cannot tell an empty bitmap from one that shows
    // all of its shadow's bytes.
    bool LcdRedrawAll = false;
    bool LcdDirty = false;  // LcdBitmap changed since it was last shown
    bool CursorPhase = false;  // the cursor is shown while true

    QTimer RefreshTimer;
    QTimer CursorTimer;
    TThreadedTimer RunTimer;

protected:
    // Lets the window system move the borderless window with the mouse.
    virtual void BeginWindowDrag();

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Warn(const std::string& message);
    void LoadPicture(const std::string& path, QImage& into, QSize size);
    void MoveKeyInside(int key, int x, int y, bool pressed);
    // Repaints an area of the face, given in face pixels.
    void UpdateFace(int x, int y, int width, int height);
    // The view that draws LcdBitmap and keeps its shadow; only while the
    // bitmaps exist.
    LcdView Lcd();
    // The face pixel under a point of the window.
    QPoint FacePoint(const QPointF& position) const;

    // The menu's entries in the state of the moment.
    void UpdateMenu();
    // A snapshot file chosen to save to or to load; empty when none was
    // (MainSnapshots.cpp).
    QString ChooseSnapshotFile(bool saving);
    // How the notes and warnings name a file: by its name in the run folder,
    // else by its path.
    QString ShownName(const std::string& path) const;
    // Lets go of the mouse key that a click shorter than a tick left held
    // for the machine.
    void LetGoOfClick();

    const StartupFiles files_;
    int zoom_;
    RunSpeed speed_ = RunSpeed::Normal;
    std::unique_ptr<KeyTyper> paste_;
    MappedKeyboard keyboard_;  // PC keys by the key map of the firmware in use
    KeyTaps keyTaps_;
    bool mouseKeySeen_ = false;   // a tick has seen the mouse key held
    bool clickLingers_ = false;   // the mouse key is held for the machine after its click
    std::vector<KeyLabel> keyLabels_;  // shown while not empty
    QTimer keyLabelsDelay_;
    TFaceNote* note_;
    std::unique_ptr<QMenu> menu_;
    QString snapshotFolder_;  // where the file chooser opens
    ActionItems menuItems_{};
    std::unique_ptr<TKeyHelpForm> keyHelp_;
    RamImageState ramImage_ = RamImageState::Missing;
    bool shown_ = false;
    bool closed_ = false;
    bool ramSaved_ = false;
};
