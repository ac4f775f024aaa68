// The main window's snapshot files: Ctrl+S and Ctrl+L to the run folder's
// "snapshot.vxs", "Save as..." and "Open..." through a file chooser, a file
// dropped on the face, and the notes and warnings that tell how it went.
#include "panel/window/Main.h"

#include "core/Def.h"
#include "panel/SnapshotFile.h"
#include "panel/window/FaceNote.h"
#include "panel/window/KeyHelp.h"
#include "panel/window/ModalDialogs.h"

#include <QDir>
#include <QFileInfo>

// The messages name a file of the run folder alone, as those of ram.bin do.
QString TMainForm::ShownName(const std::string& path) const {
    const QFileInfo file(QString::fromStdString(path));
    if (file.absolutePath() == QFileInfo(QString::fromStdString(files_.ram)).absolutePath()) return file.fileName();
    return QDir::toNativeSeparators(file.absoluteFilePath());
}

void TMainForm::SaveMachineTo(const std::string& path) {
    const QString name = ShownName(path);
    // The chooser asks before it replaces a file, but a snapshot in place of
    // the ROM, the RAM image or the pictures would lose them.
    const std::string problem = IsStartupFile(files_, path) ? "it is one of the files the emulator runs with"
                                                             : SaveSnapshot(path, Mk);
    if (!problem.empty()) {
        Warn(SaveFailedMessage + name.toStdString() + ": " + problem);
        return;
    }
    note_->ShowNote("Machine saved to " + name);
}

void TMainForm::LoadMachineFrom(const std::string& path) {
    // Loaded aside, so that a file that does not load leaves the machine and
    // the keys held on it as they are.
    const QString name = ShownName(path);
    const auto loaded = std::make_unique<Machine>();
    if (const std::string problem = LoadSnapshot(path, *loaded); !problem.empty()) {
        Warn(LoadFailedMessage + name.toStdString() + ": " + problem);
        return;
    }
    // The keys are the user's, not the snapshot's: the one held now is let
    // go, on the face too, typing under way stops, and none the snapshot
    // holds is pressed, since no key-up or button release would ever come
    // for it.
    StopPaste();
    keyboard_.Stop();
    ReleaseMouseKey(-1, -1);
    keyTaps_.Clear();
    Mk = *loaded;
    Mk.MouseKey = 0;
    Mk.PcKey = 0;
    RedrawDisplay();
    // The loaded ROM may carry another key map, or none.
    if (keyHelp_ && keyHelp_->isVisible()) keyHelp_->ListKeys();
    if (OnMachineLoaded) OnMachineLoaded();
    note_->ShowNote("Machine loaded from " + name);
}

QString TMainForm::ChooseSnapshotFile(bool saving) {
    if (snapshotFolder_.isEmpty()) snapshotFolder_ = QFileInfo(QString::fromStdString(files_.snapshot)).absolutePath();
    const QString path =
        ChooseFile(this, {.title = saving ? QStringLiteral("Save the machine as") : QStringLiteral("Open a saved machine"),
                          .start = snapshotFolder_,
                          .filter = QStringLiteral("Vexal snapshots (*.vxs);;All files (*)"),
                          .saving = saving,
                          .defaultSuffix = QStringLiteral("vxs")});
    // The chooser runs the message loop, in which a termination signal can
    // close the window.
    if (path.isEmpty() || closed_) return {};
    snapshotFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void TMainForm::SaveMachineAs() {
    if (const QString path = ChooseSnapshotFile(true); !path.isEmpty()) SaveMachineTo(path.toStdString());
}

void TMainForm::OpenMachine() {
    if (const QString path = ChooseSnapshotFile(false); !path.isEmpty()) LoadMachineFrom(path.toStdString());
}
