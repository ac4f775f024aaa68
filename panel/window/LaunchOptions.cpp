#include "panel/window/LaunchOptions.h"

LaunchOptions::LaunchOptions(const QStringList& arguments) { Parse(arguments); }

void LaunchOptions::Parse(const QStringList& arguments) {
    // Qt wraps the options' descriptions, but not this one.
    parser_.setApplicationDescription(
        "Emulator of the Elektronika MK-85 pocket computer. It runs in the user's\n"
        "folder, $XDG_DATA_HOME/vexal (by default ~/.local/share/vexal), prepared on\n"
        "first use, or in the folder --dir names: the firmware rom.bin, the pictures\n"
        "face.bmp and keys.bmp and the settings vexal.ini are read there, and the\n"
        "machine's RAM is kept in ram.bin. One window at a time runs in a folder.\n"
        "F1 in the window lists the keys.");
    const QCommandLineOption help({"h", "help"}, "Shows this help and ends.");
    const QCommandLineOption version("version", "Shows the version and ends.");
    const QCommandLineOption dir("dir",
                                 "Runs in FOLDER instead of the user's folder, as it is: nothing is "
                                 "copied in without --prepare. --dir . runs in the working folder.",
                                 "FOLDER");
    const QCommandLineOption user("user-folder",
                                  "Runs in the user's folder, as without --dir.");
    const QCommandLineOption prepare("prepare",
                                     "Copies into the folder the firmware, pictures and settings of the "
                                     "installation that it lacks, creating it if need be, and ends "
                                     "without a window. A file already there is replaced only where the "
                                     "installation copied it in, the user has not changed it since and "
                                     "the installation's version differs.");
    const QCommandLineOption zoomOption("zoom",
                                        "Shows the window N times larger, 1 to 4. Without it the window opens at "
                                        "the zoom it had when it last closed (at first 1).",
                                        "N", "1");
    const QCommandLineOption timing("time-first-frame",
                                    "Prints the time from the start to the first painted frame, then "
                                    "closes the window. Warnings go to standard error instead of boxes.");
    parser_.addOptions({help, version, dir, user, prepare, zoomOption, timing});

    if (!parser_.parse(arguments)) return Fail(parser_.errorText());
    if (parser_.isSet(help)) {
        action = Action::ShowHelp;
        return;
    }
    if (parser_.isSet(version)) {
        action = Action::ShowVersion;
        return;
    }
    if (!parser_.positionalArguments().isEmpty())
        return Fail(QString("Unexpected argument '%1'.").arg(parser_.positionalArguments().first()));

    bool isNumber = false;
    zoom = parser_.value(zoomOption).toInt(&isNumber);
    if (!isNumber || zoom < 1 || zoom > MaxZoom)
        return Fail(QString("--zoom takes a whole number from 1 to %1, not '%2'.")
                        .arg(MaxZoom)
                        .arg(parser_.value(zoomOption)));
    zoomGiven = parser_.isSet(zoomOption);
    folder = parser_.value(dir);
    if (parser_.isSet(dir) && folder.isEmpty()) return Fail("--dir needs the name of a folder.");
    userFolder = !parser_.isSet(dir);
    if (parser_.isSet(user) && parser_.isSet(dir))
        return Fail("--dir and --user-folder each name the folder to run in; give one.");
    timeFirstFrame = parser_.isSet(timing);
    if (parser_.isSet(prepare)) action = Action::Prepare;
}

void LaunchOptions::Fail(const QString& why) {
    action = Action::Fail;
    error = why;
}
