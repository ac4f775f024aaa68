#include "debugger/TraceView.h"

#include "debugger/Debug.h"
#include "debugger/DebugControls.h"
#include "debugger/RunControl.h"
#include "debugger/TraceLog.h"
#include "panel/WarningBox.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <fstream>

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
    std::ofstream out(path.toStdString(), std::ios::binary);
    WriteTrace(entries_, form_.Numbers.Radix(), out);
    out.close();
    if (out) return true;
    ShowWarning(this, QStringLiteral("The trace log could not be written to %1").arg(path));
    return false;
}

void TTraceView::Save() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save the trace log"),
                                                      QStringLiteral("trace.txt"),
                                                      QStringLiteral("Text files (*.txt);;All files (*)"));
    if (!path.isEmpty()) SaveTo(path);
}
