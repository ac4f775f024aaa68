// The debug window: while it is visible the emulated processor stands still.
// It shows the disassembly, the registers and the memory editor in the
// debugger's radix, and goes on by a single step, a counted trace or a run to
// a breakpoint address; hiding it, by a "Run" button or by its close box,
// resumes the run loop.
#pragma once

#include "debugger/BinPane.h"
#include "debugger/ListPane.h"
#include "debugger/Numbers.h"
#include "debugger/RegPane.h"

#include "panel/Settings.h"

#include <QWidget>

#include <cstdint>
#include <string>

class QPushButton;
class TEdit;
class TGroupBox;

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

    // Shows the window, or brings it to the front when it is already shown:
    // F3 in the main window, and the run loop at the end of a trace or at the
    // breakpoint.
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

    void DebugCreate();
    void DebugShow();
    void DebugHide();

    void StepButtonClick();
    void TraceButtonClick();
    void BpButtonClick();
    void TraceEditChange();
    void BpEditChange();

    // Every caption back to the normal colour.
    void ResetCaptions();
    // Focuses the control, marks the group's caption blue and closes the
    // in-place fields.
    void ActivatePane(QWidget* control, TGroupBox* group);
    // Closes the three in-place fields and repaints the three panes.
    void CloseFields();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TGroupBox* NewRunGroup(const QString& caption, int top, QPushButton*& button);

    std::string settings_;
};
