// The one way the program tells the user about a problem: a modal warning box
// with one OK button. Tests replace the box to read the texts.
#pragma once

#include <QString>

#include <functional>

class QWidget;

using WarningHandler = std::function<void(QWidget* parent, const QString& text)>;

void ShowWarning(QWidget* parent, const QString& text);

// Routes every later warning to handler (an empty one restores the box);
// returns the handler it replaces.
WarningHandler SetWarningHandler(WarningHandler handler);
