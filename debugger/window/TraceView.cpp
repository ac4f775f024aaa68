#include "debugger/window/TraceView.h"

#include "debugger/window/Debug.h"
#include "debugger/window/DebugControls.h"
#include "debugger/RunControl.h"
#include "debugger/TraceLog.h"
#include "files/ReplaceFile.h"
#include "files/SameFile.h"
#include "panel/Startup.h"
#include "panel/window/ModalDialogs.h"
#include "panel/window/WarningBox.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <sstream>

TTraceView::TTraceView(TDebugForm& form) : QDialog(&form), form_(form) {
    setWindowTitle(QStringLiteral("Trace Log"));
    Text = new QPlainTextEdit(this);
    Text->setReadOnly(true);
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text->setFont(PaneFont());
    CountLabel = new QLabel(this);
    SaveButton = new QPushButton(QStringLiteral("Save..."), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CountLabel, 1);
    buttons->addWidget(SaveButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text);
    layout->addLayout(buttons);
    resize(860, 420);
    connect(SaveButton, &QPushButton::clicked, this, [this] { Save(); });
}

void TTraceView::Refresh() {
    entries_ = RecentSteps(Debugger.Past(), TraceViewLines);
    QString lines;
    for (const TraceEntry& entry : entries_) {
        lines += QString::fromStdString(TraceLine(entry, form_.Numbers.Radix()));
        lines += QLatin1Char('\n');
    }
    Text->setPlainText(lines);
    Text->moveCursor(QTextCursor::End);
    CountLabel->setText(QStringLiteral("The last %1 steps").arg(entries_.size()));
}

bool TTraceView::SaveTo(const QString& path) {
    const StartupFiles session = DefaultStartupFiles();
    for (const std::string& image : {session.rom, session.ram})
        if (SameFile(path.toStdString(), image)) {
            ShowWarning(this, QStringLiteral("%1 is a memory image of this session; the trace log is not written "
                                             "over it.").arg(QFileInfo(path).fileName()));
            return false;
        }
    std::ostringstream lines;
    WriteTrace(entries_, form_.Numbers.Radix(), lines);
    const std::string text = lines.str();
    const std::string problem =
        ReplaceFile(path.toStdString(), reinterpret_cast<const uint8_t*>(text.data()), text.size());
    if (problem.empty()) return true;
    ShowWarning(this, QString::fromStdString(problem));
    return false;
}

void TTraceView::Save() {
    const QString path = ChooseFile(this, {.title = QStringLiteral("Save the trace log"),
                                           .start = QStringLiteral("trace.txt"),
                                           .filter = QStringLiteral("Text files (*.txt);;All files (*)"),
                                           .saving = true});
    if (!path.isEmpty()) SaveTo(path);
}
