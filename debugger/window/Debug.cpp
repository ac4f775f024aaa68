#include "debugger/window/Debug.h"

#include "core/Def.h"
#include "debugger/window/DebugControls.h"
#include "debugger/window/DebugSide.h"
#include "debugger/MemoryRow.h"
#include "debugger/Numbers.h"
#include "debugger/RunControl.h"
#include "debugger/Symbols.h"
#include "debugger/window/TraceView.h"
#include "files/SameFile.h"
#include "panel/MemoryFiles.h"
#include "panel/RunLoop.h"
#include "panel/Startup.h"
#include "panel/window/ModalDialogs.h"
#include "panel/window/WarningBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHideEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <initializer_list>

namespace {

constexpr int DesignHeight = 373;
constexpr int DesignCharacterPixels = 8;  // the width formula's character
constexpr int CaptionPixels = 11;
constexpr int ResumeDelay = 30;  // run-loop ticks, about 300 ms
constexpr int TraceDigits = 6;
constexpr int NameLength = int(SymbolNameLimit);  // characters of a label typed for an address
const QColor ActiveCaption(0, 0, 255);

// How long a command runs before the window hides and leaves it to the run
// loop: run-loop ticks, so that a short one (a step over a small call) ends
// with the window still open.
constexpr int InstantTicks = 50;

// The actions on the debugger's keys: the conventional keys of desktop
// debuggers, and Alt+[ for a step back as in the debuggers that step back.
struct ActionRow {
    const char* text;
    QKeyCombination key;
    void (TDebugForm::*run)();
    const char* tip;
    QAction* TDebugForm::*named;
};
const ActionRow ActionRows[] = {
    {"Continue", QKeyCombination(Qt::Key_F5), &TDebugForm::Continue,
     "Run until a breakpoint, a watchpoint or halt mode", nullptr},
    {"Step", QKeyCombination(Qt::Key_F11), &TDebugForm::StepButtonClick, "Run one instruction", nullptr},
    {"Step over", QKeyCombination(Qt::Key_F10), &TDebugForm::StepOver,
     "Run one instruction; a jsr, emt, trap, iot or bpt runs until control comes back after it", nullptr},
    {"Step out", QKeyCombination(Qt::ShiftModifier, Qt::Key_F11), &TDebugForm::StepOut,
     "Run until the current routine returns to its caller", nullptr},
    {"Run to cursor", QKeyCombination(Qt::ControlModifier, Qt::Key_F10), &TDebugForm::RunToCursor,
     "Run until the instruction of the cursor line", &TDebugForm::RunToCursorAction},
    {"Breakpoint", QKeyCombination(Qt::Key_F9), &TDebugForm::ToggleBreakpoint,
     "Set or remove a breakpoint on the cursor line", &TDebugForm::ToggleBreakpointAction},
    {"Step back", QKeyCombination(Qt::AltModifier, Qt::Key_BracketLeft), &TDebugForm::StepBack,
     "Take back the last instruction run", nullptr},
    {"Run back", QKeyCombination(Qt::ShiftModifier, Qt::Key_F5), &TDebugForm::RunBack,
     "Run backwards to the previous breakpoint or watchpoint hit", nullptr},
    {"Trace log", QKeyCombination(Qt::ControlModifier, Qt::Key_L), &TDebugForm::ShowTrace,
     "The last instructions run, with the registers after each", nullptr},
    {"Save ROM...", QKeyCombination(Qt::ControlModifier, Qt::Key_S), &TDebugForm::SaveRom,
     "Save the ROM, as patched here, to a file", nullptr},
    {"Reset", QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F5), &TDebugForm::ResetProcessor,
     "Reset the processor", nullptr},
};

}  // namespace

TDebugForm::TDebugForm(const std::string& settings)
    : List(*this), Registers(*this), Bin(*this), settings_(settings) {
    setWindowTitle(QStringLiteral("Debug Window"));
    resize(8 * MemoryRowLength(Numbers) + 65, DesignHeight);
    QFont captions = font();
    captions.setPixelSize(CaptionPixels);
    setFont(captions);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    setAutoFillBackground(true);
    Anchor(Bin.GroupBox, Qt::LeftEdge | Qt::TopEdge | Qt::BottomEdge);

    StepGroupBox = NewRunGroup(QStringLiteral(" Single step "), 8, StepButton);
    TraceGroupBox = NewRunGroup(QStringLiteral(" Number of steps (decimal) "), 64, TraceButton);
    BpGroupBox = NewRunGroup(QStringLiteral(" Breakpoint address "), 120, BpButton);
    TraceEdit = new TEdit(TraceGroupBox);
    TraceEdit->setGeometry(16, 16, 57, 21);
    TraceEdit->setMaxLength(TraceDigits);
    BpEdit = new TEdit(BpGroupBox);
    BpEdit->setGeometry(16, 16, 57, 21);
    BpEdit->SetUpperCase(true);

    connect(StepButton, &QPushButton::clicked, this, [this] { StepButtonClick(); });
    connect(TraceButton, &QPushButton::clicked, this, [this] { TraceButtonClick(); });
    connect(BpButton, &QPushButton::clicked, this, [this] { BpButtonClick(); });
    TraceEdit->OnChange = [this] { TraceEditChange(); };
    BpEdit->OnChange = [this] { BpEditChange(); };
    StepGroupBox->OnClick = [this] { ActivatePane(StepGroupBox, StepGroupBox); };
    TraceGroupBox->OnClick = TraceEdit->OnClick = [this] { ActivatePane(TraceEdit, TraceGroupBox); };
    BpGroupBox->OnClick = BpEdit->OnClick = [this] { ActivatePane(BpEdit, BpGroupBox); };

    Side = new TDebugSide(*this);
    Side->setGeometry(width(), 8, Side->width(), DesignHeight - 16);
    Anchor(Side, Qt::TopEdge | Qt::BottomEdge);
    CreateActions();

    DebugCreate();
}

TDebugForm::~TDebugForm() = default;

TGroupBox* TDebugForm::NewRunGroup(const QString& caption, int top, QPushButton*& button) {
    TGroupBox* group = new TGroupBox(caption, this);
    group->setGeometry(456, top, 153, 49);
    button = new QPushButton(QStringLiteral("Run"), group);
    button->setGeometry(88, 16, 49, 25);
    button->setFocusPolicy(Qt::NoFocus);
    return group;
}

void TDebugForm::CreateActions() {
    std::vector<QAction*> actions;
    for (const ActionRow& row : ActionRows) {
        QAction* action = new QAction(QString::fromLatin1(row.text), this);
        const QKeySequence key(row.key);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(QString::fromLatin1(row.tip), key.toString(QKeySequence::NativeText)));
        connect(action, &QAction::triggered, this, [this, run = row.run] { (this->*run)(); });
        addAction(action);
        actions.push_back(action);
        if (row.named) this->*row.named = action;
    }
    Side->AddActionButtons(actions);
}

void TDebugForm::ShowWindow() {
    // A window being shown comes up in front; one already shown may lie
    // minimised or behind the main window.
    if (isVisible()) {
        if (isMinimized()) showNormal();
        raise();
    }
    show();
    activateWindow();
}

void TDebugForm::MachineReplaced() {
    if (!isVisible()) return;
    List.SetListOrigin(Mk.Reg[PC]);
    CloseFields();
}

void TDebugForm::DebugCreate() {
    CloseFields();
    Registers.RegTop = 0;
    Bin.BinTop = RamStart;
    List.SetListOrigin(0);
    Numbers = ReadDebuggerRadix(settings_);
    BpEdit->setMaxLength(Numbers.WordDigits());

    // The specified groups are laid out for one row of the memory editor at
    // 8 pixels a character; the pane font's narrower characters fit in it.
    // The debugger's column stands to the right of them.
    const int width = DesignCharacterPixels * MemoryRowLength(Numbers) + 65;
    Bin.GroupBox->resize(width - 24, Bin.GroupBox->height());
    Side->move(width - 8, Side->y());
    const int fullWidth = Side->geometry().right() + 9;
    resize(fullWidth, DesignHeight);
    setMinimumSize(fullWidth, DesignHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TDebugForm::DebugShow() {
    PauseRun();
    // F3 during a command of the debugger ends it.
    if (Debugger.CommandActive()) Debugger.Interrupt();
    BpEdit->setMaxLength(AddressLength());
    MachineChanged();
    List.Edit->setFocus();
    ResetCaptions();
    List.GroupBox->SetCaptionColor(ActiveCaption);
}

void TDebugForm::DebugHide() {
    CloseFields();
    hide();
    ResumeRun(ResumeDelay);
}

void TDebugForm::StepButtonClick() {
    if (!CommitField()) return;
    Debugger.Step(1);
    Debugger.Advance(INT32_MAX, 1);
    MachineChanged();
    ActivatePane(StepGroupBox, StepGroupBox);
}

void TDebugForm::TraceButtonClick() {
    if (!CommitField()) return;
    const int32_t steps = ParseNumber(TraceEdit->text().toStdString(), 10);
    ActivatePane(TraceEdit, TraceGroupBox);
    if (steps <= 0) return;
    TraceSteps(steps);
    hide();
}

void TDebugForm::BpButtonClick() {
    if (!CommitField()) return;
    // A number keeps its full value: one above FFFF never matches.
    const std::string typed = BpEdit->text().toStdString();
    int32_t address = ParseNumber(typed, Numbers.Radix());
    if (const std::optional<uint16_t> named = Symbols.Find(typed)) {
        address = *named;
    } else if (!ReadAddress(BpEdit->text())) {
        Tell(QStringLiteral("No label %1").arg(BpEdit->text()));
        return;
    }
    ActivatePane(BpEdit, BpGroupBox);
    BreakAt(address);
    hide();
}

void TDebugForm::TraceEditChange() { FilterDigits(TraceEdit, 10); }

void TDebugForm::BpEditChange() { FilterAddress(BpEdit, Numbers.Radix()); }

void TDebugForm::RunCommand(const std::function<void()>& start) {
    if (!CommitField()) return;
    start();
    if (Debugger.Advance(int64_t(InstantTicks) * CpuSpeed).Stopped) MachineChanged();
    else hide();
}

void TDebugForm::Continue() {
    RunCommand([] { Debugger.Continue(); });
}

void TDebugForm::StepOver() {
    RunCommand([] { Debugger.StepOver(); });
}

void TDebugForm::StepOut() {
    RunCommand([] { Debugger.StepOut(); });
}

void TDebugForm::RunToCursor() {
    RunCommand([this] { Debugger.RunTo(List.Cursor); });
}

void TDebugForm::StepBack() {
    if (!CommitField()) return;
    const Stop stop = Debugger.StepBack(1);
    MachineChanged();
    if (stop.Reason == StopReason::HistoryStart) Tell(QStringLiteral("The history kept starts here"));
}

void TDebugForm::RunBack() {
    if (!CommitField()) return;
    const Stop stop = Debugger.RunBack();
    MachineChanged();
    if (stop.Reason == StopReason::HistoryStart) Tell(QStringLiteral("No earlier stop in the history kept"));
}

void TDebugForm::ToggleBreakpoint() {
    if (!Debugger.ClearBreakpoint(List.Cursor)) Debugger.SetBreakpoint(List.Cursor);
    Side->Update();
    List.PaintBox->update();
}

void TDebugForm::Wake() {
    Debugger.Wake();
    MachineChanged();
}

void TDebugForm::ResetProcessor() {
    if (!CommitField()) return;
    Debugger.Reset();
    MachineChanged();
}

void TDebugForm::SaveRom() {
    if (!CommitField()) return;
    // SaveRomTo asks its own questions before replacing a file.
    const QString path = ChooseFile(this, {.title = QStringLiteral("Save the ROM"),
                                           .filter = QStringLiteral("ROM images (*.bin);;All files (*)"),
                                           .saving = true,
                                           .confirmOverwrite = false});
    if (!path.isEmpty()) SaveRomTo(path);
}

bool TDebugForm::SaveRomTo(const QString& path) {
    const StartupFiles session = DefaultStartupFiles();
    const std::string target = path.toStdString();
    const QString name = QFileInfo(path).fileName();
    if (SameFile(target, session.ram)) {
        ShowWarning(this,
                    QStringLiteral("%1 is the RAM image of this session; the ROM is not written over it.").arg(name));
        return false;
    }
    QString question;
    if (SameFile(target, session.rom))
        question = QStringLiteral("%1 is the ROM image this session started from. Replace it with the ROM as "
                                  "patched here?").arg(name);
    else if (QFileInfo::exists(path))
        question = QStringLiteral("%1 exists. Replace it?").arg(name);
    if (!question.isEmpty() && !AskYesNo(this, QStringLiteral("Save the ROM"), question)) return false;
    if (const std::string problem = ::SaveRom(target); !problem.empty()) {
        ShowWarning(this, QString::fromStdString(problem));
        return false;
    }
    Tell(QStringLiteral("ROM saved to %1").arg(name));
    return true;
}

void TDebugForm::ShowTrace() {
    if (!TraceView) TraceView = new TTraceView(*this);
    TraceView->Refresh();
    TraceView->show();
    TraceView->raise();
}

void TDebugForm::ResetCaptions() {
    const QColor normal = palette().color(QPalette::WindowText);
    for (TGroupBox* group : {List.GroupBox, Registers.GroupBox, Bin.GroupBox, StepGroupBox, TraceGroupBox, BpGroupBox})
        group->SetCaptionColor(normal);
}

bool TDebugForm::ActivatePane(QWidget* control, TGroupBox* group) {
    if (!CommitField()) return false;
    control->setFocus();
    ResetCaptions();
    group->SetCaptionColor(ActiveCaption);
    CloseFields();
    return true;
}

void TDebugForm::CloseFields() {
    EditMode = EditNone;
    for (TPane* pane : std::initializer_list<TPane*>{&List, &Registers, &Bin}) {
        CloseField(pane->Edit);
        pane->PaintBox->update();
    }
    Tell(QString());
}

bool TDebugForm::CommitField() {
    switch (EditMode) {
        case EditNone: return true;
        case EditListAddress:
        case EditInstruction: return List.CommitOpenField();
        case EditRegister: return Registers.CommitOpenField();
        default: return Bin.CommitOpenField();
    }
}

void TDebugForm::Tell(const QString& message) { Side->Tell(message); }

void TDebugForm::MachineChanged() {
    List.ShowAround(Mk.Reg[PC]);
    for (TPane* pane : std::initializer_list<TPane*>{&List, &Registers, &Bin}) pane->PaintBox->update();
    Side->Update();
    if (TraceView && TraceView->isVisible()) TraceView->Refresh();
}

std::optional<uint16_t> TDebugForm::ReadAddress(const QString& text) const {
    // An empty field is address 0, as ParseNumber reads it.
    if (text.trimmed().isEmpty()) return 0;
    return ParseAddress(text.toStdString(), Numbers.Radix(), Symbols);
}

int TDebugForm::AddressLength() const { return Symbols.Empty() ? Numbers.WordDigits() : NameLength; }

void TDebugForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored from the task bar was never hidden to the run loop.
    if (!event->spontaneous()) DebugShow();
}

void TDebugForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimising is no hiding: the processor stays halted.
    if (!event->spontaneous()) DebugHide();
}

void TDebugForm::closeEvent(QCloseEvent* event) {
    // A field that cannot be committed keeps the window open, with the reason.
    if (!CommitField()) event->ignore();
    else QWidget::closeEvent(event);
}
