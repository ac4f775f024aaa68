// The one way the program tells the user about a problem: a modal warning box
// with one OK button. Tests replace the box to read the texts; where no one
// may be there to dismiss a box, the warnings go to standard error instead.
#pragma once

#include <QString>

#include <functional>

class QWidget;

using WarningHandler = std::function<void(QWidget* parent, const QString& text)>;

void ShowWarning(QWidget* parent, const QString& text);

// Routes every later warning to handler (an empty one restores the box);
// returns the handler it replaces.
WarningHandler SetWarningHandler(WarningHandler handler);

// Prints every later warning on standard error, after "vexal: ", and shows no
// box: after a termination signal, and for a run that must not wait for
// anyone (--time-first-frame).
void SendWarningsToStandardError();
