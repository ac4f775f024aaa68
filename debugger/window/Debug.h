// The debug window: while it is visible the emulated processor stands still.
// It shows the disassembly, the registers and the memory editor in the
// debugger's radix, and goes on by a single step, a counted trace or a run to
// a breakpoint address; hiding it, by a "Run" button or by its close box,
// resumes the run loop.
//
// Around those groups, in a column on the right, the debugger's run control:
// continue, step over and out, run to the cursor line, step and run back,
// each on a key; the processor's state with the step count and the last
// stop; the breakpoints and the watchpoints; the trace log, saving the ROM
// and reset.
#pragma once

#include "debugger/window/BinPane.h"
#include "debugger/window/ListPane.h"
#include "debugger/Numbers.h"
#include "debugger/window/RegPane.h"

#include "panel/Settings.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QPushButton;
class TDebugSide;
class TEdit;
class TGroupBox;
class TTraceView;

// Which in-place field is open, and so what Enter in it commits.
enum EditModes : uint8_t {
    EditNone = 0,
    EditListAddress = 1,  // the disassembly's start address
    EditInstruction = 2,  // an instruction assembled at EditAddr
    EditRegister = 3,     // register EditAddr: 0..7, or 8 for the PSW
    EditBinAddress = 5,   // the memory editor's start address
    EditBinValue = 6,     // the byte or word at EditAddr
    EditBinCharacter = 7, // the byte at EditAddr, typed as a character
};

class TDebugForm : public QWidget {
public:
    // settings: the settings file whose [Debugger] section gives the radix.
    explicit TDebugForm(const std::string& settings = SettingsFileName);
    ~TDebugForm() override;

    // Shows the window, or brings it to the front when it is already shown:
    // F3 in the main window, and the run loop at the end of a trace, at the
    // breakpoint or at a stop of the debugger.
    void ShowWindow();
    // A snapshot has replaced the machine: a field opened on the old one
    // closes, and the listing starts again at the new PC.
    void MachineReplaced();

    // The radix of every number the window shows or reads, but the trace
    // count's, with its digit widths: Radix, ByteDigits and WordDigits.
    NumberFormat Numbers;
    uint8_t EditMode = EditNone;
    uint16_t EditAddr = 0;  // the address, or register index, that the open field edits

    TListPane List;
    TRegPane Registers;
    TBinPane Bin;

    TGroupBox* StepGroupBox;
    QPushButton* StepButton;
    TGroupBox* TraceGroupBox;
    TEdit* TraceEdit;
    QPushButton* TraceButton;
    TGroupBox* BpGroupBox;
    TEdit* BpEdit;
    QPushButton* BpButton;

    // The column on the right, and the actions on its keys; the listing's
    // context menu offers the two that act on a line.
    TDebugSide* Side;
    QAction* ToggleBreakpointAction = nullptr;
    QAction* RunToCursorAction = nullptr;
    TTraceView* TraceView = nullptr;  // made when first asked for

    void DebugCreate();
    void DebugShow();
    void DebugHide();

    void StepButtonClick();
    void TraceButtonClick();
    void BpButtonClick();
    void TraceEditChange();
    void BpEditChange();

    // The debugger's commands. Those that run start the command and carry it
    // on for a moment; a stop within it leaves the window open on it, else
    // the window hides and the run loop carries the command on until it
    // stops and reopens the window.
    void Continue();
    void StepOver();
    void StepOut();
    void RunToCursor();
    void StepBack();
    void RunBack();
    void ToggleBreakpoint();  // at the cursor line
    void Wake();
    void ResetProcessor();
    void SaveRom();
    void ShowTrace();
    // Writes the ROM to the path the user chose: never over the session's
    // RAM image, and over its ROM image or another existing file only when
    // the user agrees. Returns whether it wrote.
    bool SaveRomTo(const QString& path);

    // Every caption back to the normal colour.
    void ResetCaptions();
    // Commits the open field, then focuses the control, marks the group's
    // caption blue and closes the in-place fields. Returns false, and does
    // none of it, when the open field cannot be committed.
    bool ActivatePane(QWidget* control, TGroupBox* group);
    // Closes the three in-place fields and repaints the three panes.
    void CloseFields();
    // Commits the open field, if any, as Enter would; a field with nothing
    // typed in it just closes. False when it stays open: what was typed is
    // wrong, and the window says why.
    bool CommitField();
    // Shows a message to the user beside the state, until a field closes.
    void Tell(const QString& message);
    // The machine changed under the window: the listing shows the program
    // counter's instruction, and the panes and the state are redrawn.
    void MachineChanged();
    // An address typed by the user, as a label or a number in the radix; an
    // empty text is address 0. None for a text that is neither.
    std::optional<uint16_t> ReadAddress(const QString& text) const;
    // Characters an address field takes: the digits of an address, or a
    // label's name while the session has labels.
    int AddressLength() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TGroupBox* NewRunGroup(const QString& caption, int top, QPushButton*& button);
    void CreateActions();
    // Starts a command of the run control and carries it on, as above.
    void RunCommand(const std::function<void()>& start);

    std::string settings_;
};
