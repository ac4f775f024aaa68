#include "panel/window/WarningBox.h"

#include <QMessageBox>

#include <cstdio>

namespace {

WarningHandler& CurrentHandler() {
    static WarningHandler handler;
    return handler;
}

}  // namespace

void ShowWarning(QWidget* parent, const QString& text) {
    // A copy: while a handler waits, a termination signal replaces it.
    if (const WarningHandler handler = CurrentHandler()) handler(parent, text);
    else QMessageBox::warning(parent, QString(), text, QMessageBox::Ok);
}

WarningHandler SetWarningHandler(WarningHandler handler) {
    WarningHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

void SendWarningsToStandardError() {
    SetWarningHandler([](QWidget*, const QString& text) {
        std::fprintf(stderr, "vexal: %s\n", text.toLocal8Bit().constData());
        std::fflush(stderr);
    });
}
