#include "panel/WarningBox.h"

#include <QMessageBox>

namespace {

WarningHandler& CurrentHandler() {
    static WarningHandler handler;
    return handler;
}

}  // namespace

void ShowWarning(QWidget* parent, const QString& text) {
    if (CurrentHandler()) CurrentHandler()(parent, text);
    else QMessageBox::warning(parent, QString(), text, QMessageBox::Ok);
}

WarningHandler SetWarningHandler(WarningHandler handler) {
    WarningHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}
