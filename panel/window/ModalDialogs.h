// The modal dialogs the windows open besides the warning box (WarningBox.h):
// a file chooser and a yes-or-no question. Each waits for the user in a
// message loop of its own, so tests put their own answers in their place and
// no test waits for a person.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// What a file chooser shows and how it takes the name.
struct FileChoice {
    QString title{};
    QString start{};  // the folder it opens in, or a file name proposed there
    QString filter{};  // "Text files (*.txt);;All files (*)"
    bool saving = false;  // a file to write, new or not; else an existing one to read
    QString defaultSuffix{};  // added to a name typed without one
    bool confirmOverwrite = true;  // saving: ask before taking an existing file
};

// The chosen file's full path; empty when the user cancels.
using FileChooser = std::function<QString(QWidget* parent, const FileChoice& choice)>;
QString ChooseFile(QWidget* parent, const FileChoice& choice);
// Routes every later choice to chooser (an empty one restores the dialog);
// returns the chooser it replaces.
FileChooser SetFileChooser(FileChooser chooser);

// True when the user answers Yes; No is the default answer.
using Asker = std::function<bool(QWidget* parent, const QString& title, const QString& question)>;
bool AskYesNo(QWidget* parent, const QString& title, const QString& question);
// Routes every later question to asker (an empty one restores the box);
// returns the asker it replaces.
Asker SetAsker(Asker asker);
