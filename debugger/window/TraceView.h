// The trace log in a window of its own: the last instructions run, oldest
// first, one line each (step, address, words, disassembly, the registers
// after it), in the debugger's radix, with a button that saves them to a file
// of the user's choosing.
#pragma once

#include <QDialog>

#include <cstddef>
#include <vector>

#include "debugger/TraceLog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TDebugForm;

constexpr size_t TraceViewLines = 10000;

class TTraceView : public QDialog {
public:
    explicit TTraceView(TDebugForm& form);

    QPlainTextEdit* Text;
    QLabel* CountLabel;
    QPushButton* SaveButton;

    // Reads the log again from the history as it is now.
    void Refresh();
    // Writes the lines shown to the file, never over the session's memory
    // images; false, with a warning, when it is not written.
    bool SaveTo(const QString& path);

private:
    void Save();

    TDebugForm& form_;
    std::vector<TraceEntry> entries_;  // the lines shown
};
