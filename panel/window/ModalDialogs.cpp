#include "panel/window/ModalDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

FileChooser& CurrentChooser() {
    static FileChooser chooser;
    return chooser;
}

Asker& CurrentAsker() {
    static Asker asker;
    return asker;
}

QString ShowFileDialog(QWidget* parent, const FileChoice& choice) {
    QFileDialog chooser(parent, choice.title, choice.start, choice.filter);
    chooser.setAcceptMode(choice.saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(choice.saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    chooser.setDefaultSuffix(choice.defaultSuffix);
    chooser.setOption(QFileDialog::DontConfirmOverwrite, !choice.confirmOverwrite);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return {};
    return chooser.selectedFiles().first();
}

}  // namespace

QString ChooseFile(QWidget* parent, const FileChoice& choice) {
    // A copy: the dialog runs the message loop, in which a test may replace it.
    if (const FileChooser chooser = CurrentChooser()) return chooser(parent, choice);
    return ShowFileDialog(parent, choice);
}

FileChooser SetFileChooser(FileChooser chooser) {
    FileChooser previous = std::move(CurrentChooser());
    CurrentChooser() = std::move(chooser);
    return previous;
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& question) {
    if (const Asker asker = CurrentAsker()) return asker(parent, title, question);
    return QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

Asker SetAsker(Asker asker) {
    Asker previous = std::move(CurrentAsker());
    CurrentAsker() = std::move(asker);
    return previous;
}
