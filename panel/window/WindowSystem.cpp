#include "panel/window/WindowSystem.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// What Qt says while it connects: shown once the connection stands, and
// dropped for the program's own words where it fails.
std::string heldMessages;
int exitStatus = 1;

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void OnConnectionMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        heldMessages += qFormatLogMessage(type, context, message).toLocal8Bit().toStdString() + "\n";
        return;
    }
    const std::string display = Variable("DISPLAY");
    const std::string wayland = Variable("WAYLAND_DISPLAY");
    const std::string why = !display.empty() ? "the display " + display + " cannot be opened"
                            : !wayland.empty() ? "the display " + wayland + " cannot be opened"
                                               : "neither DISPLAY nor WAYLAND_DISPLAY is set";
    std::fflush(stdout);
    std::fprintf(stderr,
                 "vexal: found no display to show the window on: %s.\n"
                 "On a machine without one, run it on a virtual display: xvfb-run -a vexal [OPTIONS]\n",
                 why.c_str());
    std::fflush(stderr);
    // Qt is half started and would abort on return: nothing of it may run on.
    std::_Exit(exitStatus);
}

}  // namespace

std::unique_ptr<QApplication> ConnectToWindowSystem(int& argc, char** argv, int noDisplayStatus) {
    exitStatus = noDisplayStatus;
    const QtMessageHandler previous = qInstallMessageHandler(OnConnectionMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    std::fputs(heldMessages.c_str(), stderr);
    heldMessages.clear();
    return application;
}
