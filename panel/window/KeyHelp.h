// The key help that F1 shows: for every machine key, its label on the face
// and the PC keys that reach it, and then the keys of the program itself. It
// is made from the tables that the keyboard and mouse handling use, so it
// cannot disagree with them.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class QKeyEvent;
class QLabel;

struct MachineKeyHelp {
    int key;                    // the machine key, 2..56
    QString label;              // its label on the face; empty for a key without one
    QString secondLabel;        // the label above it: what it gives after the shift key
    QStringList pcKeys;         // the PC keys that reach it: names, or the characters typed
    QStringList shiftedPcKeys;  // the PC keys typed as the shift key and then this one
};

// Every machine key but the switch key, which only the mouse reaches, in key
// order, with the PC keys that reach it for the firmware in memory: through
// its key map if it carries one, else through the key tables.
std::vector<MachineKeyHelp> MachineKeysHelp();

struct ProgramKeyHelp {
    QString keys;
    QString does;
};

// The keys of the program itself, from the table of the window's actions,
// and what the mouse does.
std::vector<ProgramKeyHelp> ProgramKeysHelp();

// The help window, made once and shown again; F1 or Escape closes it.
class TKeyHelpForm : public QWidget {
public:
    explicit TKeyHelpForm(QWidget* parent);

    // Lists the PC keys by the key map of the ROM now in the machine, which
    // a ROM patched in the debugger or a snapshot loaded may have changed.
    void ListKeys();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* text_;
};
