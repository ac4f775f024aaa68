// The debug window's right-hand column: buttons for the debugger's actions
// (their keys in the tooltips); the processor's state with a Wake button
// while it sleeps, the steps since reset, the last stop and messages to the
// user; the breakpoints, which can be removed there; and the watchpoints,
// entered and removed there.
#pragma once

#include <QWidget>

#include <vector>

class QAction;
class QComboBox;
class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;
class TDebugForm;
class TEdit;

class TDebugSide : public QWidget {
public:
    explicit TDebugSide(TDebugForm& form);

    // A button for each action, two a row.
    void AddActionButtons(const std::vector<QAction*>& actions);

    QLabel* StateLabel;    // "Asleep: the run bit is clear", ...
    QPushButton* WakeButton;
    QLabel* StepsLabel;    // "Steps since reset: N"
    QLabel* StopLabel;     // the last stop
    QLabel* MessageLabel;  // what the window has to tell the user
    QListWidget* BreakList;
    QPushButton* RemoveBreakButton;
    TEdit* WatchFirstEdit;
    TEdit* WatchLastEdit;  // empty: the one address
    QComboBox* WatchAccessBox;
    QPushButton* AddWatchButton;
    QListWidget* WatchList;
    QPushButton* RemoveWatchButton;

    // Shows the state, the step count, the last stop and the two lists as
    // the debugger has them now.
    void Update();
    void Tell(const QString& message);

    // Removes the selected breakpoint or watchpoint (the Delete key in the
    // lists too); adds the watchpoint of the three fields.
    void RemoveBreakpoint();
    void AddWatch();
    void RemoveWatch();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TDebugForm& form_;
    QGridLayout* actionGrid_;
};
