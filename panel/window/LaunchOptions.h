// The command line of vexal, read with Qt's parser before any window exists,
// so that --help, --version and --prepare need no display.
#pragma once

#include "panel/WindowPlace.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

class LaunchOptions {
public:
    enum class Action {
        Run,          // open the window
        Prepare,      // prepare the run folder, then end without a window
        ShowHelp,
        ShowVersion,
        Fail,         // the command line cannot be taken; error says why
    };

    // Reads the arguments, the program's name first.
    explicit LaunchOptions(const QStringList& arguments);

    Action action = Action::Run;
    QString error;
    QString folder;           // --dir; empty for the user's folder
    bool userFolder = false;  // no --dir: the user's own folder, prepared first
    int zoom = 1;             // 1 to MaxZoom
    bool zoomGiven = false;   // --zoom was given: it wins over the remembered zoom
    bool timeFirstFrame = false;

    // What --help prints. Its usage line names the program as the running
    // application was started, once one exists.
    QString HelpText() const { return parser_.helpText(); }

private:
    void Parse(const QStringList& arguments);
    void Fail(const QString& why);

    QCommandLineParser parser_;
};
