#include "debugger/Debug.h"

#include "core/Cpu.h"
#include "core/Def.h"
#include "debugger/DebugControls.h"
#include "debugger/MemoryRow.h"
#include "debugger/Numbers.h"
#include "panel/RunLoop.h"
#include "panel/Startup.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <initializer_list>

namespace {

constexpr int DesignWidth = 625;
constexpr int DesignHeight = 373;
constexpr int CaptionPixels = 11;
constexpr int ResumeDelay = 30;  // run-loop ticks, about 300 ms
constexpr int TraceDigits = 6;
const QColor ActiveCaption(0, 0, 255);

}  // namespace

TDebugForm::TDebugForm(const std::string& settings)
    : List(*this), Registers(*this), Bin(*this), settings_(settings) {
    setWindowTitle(QStringLiteral("Debug Window"));
    resize(DesignWidth, DesignHeight);
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

    DebugCreate();
}

TGroupBox* TDebugForm::NewRunGroup(const QString& caption, int top, QPushButton*& button) {
    TGroupBox* group = new TGroupBox(caption, this);
    group->setGeometry(456, top, 153, 49);
    button = new QPushButton(QStringLiteral("Run"), group);
    button->setGeometry(88, 16, 49, 25);
    button->setFocusPolicy(Qt::NoFocus);
    return group;
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

    // Wide enough for one row of the memory editor, whatever the width of the
    // pane font's characters.
    const int rowPixels = MemoryRowLength(Numbers) * Bin.PaintBox->Cell().width();
    const int width = rowPixels + 65;
    resize(width, DesignHeight);
    setMinimumSize(width, DesignHeight);
    Bin.GroupBox->resize(width - 24, Bin.GroupBox->height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TDebugForm::DebugShow() {
    Paused = true;
    TraceCount = -1;
    BreakPoint = -1;
    List.SetListOrigin(Mk.Reg[PC]);
    List.Edit->setFocus();
    ResetCaptions();
    List.GroupBox->SetCaptionColor(ActiveCaption);
}

void TDebugForm::DebugHide() {
    CloseFields();
    hide();
    RunDelay = ResumeDelay;
    Paused = false;
}

void TDebugForm::StepButtonClick() {
    CpuStep();
    List.SetListOrigin(Mk.Reg[PC]);
    ActivatePane(StepGroupBox, StepGroupBox);
}

void TDebugForm::TraceButtonClick() {
    const int32_t steps = ParseNumber(TraceEdit->text().toStdString(), 10);
    ActivatePane(TraceEdit, TraceGroupBox);
    if (steps <= 0) return;
    BreakPoint = -1;
    TraceCount = steps;
    hide();
}

void TDebugForm::BpButtonClick() {
    const int32_t address = ParseNumber(BpEdit->text().toStdString(), Numbers.Radix());
    ActivatePane(BpEdit, BpGroupBox);
    BreakPoint = address;
    TraceCount = -1;
    hide();
}

void TDebugForm::TraceEditChange() { FilterDigits(TraceEdit, 10); }

void TDebugForm::BpEditChange() { FilterDigits(BpEdit, Numbers.Radix()); }

void TDebugForm::ResetCaptions() {
    const QColor normal = palette().color(QPalette::WindowText);
    for (TGroupBox* group : {List.GroupBox, Registers.GroupBox, Bin.GroupBox, StepGroupBox, TraceGroupBox, BpGroupBox})
        group->SetCaptionColor(normal);
}

void TDebugForm::ActivatePane(QWidget* control, TGroupBox* group) {
    control->setFocus();
    ResetCaptions();
    group->SetCaptionColor(ActiveCaption);
    CloseFields();
}

void TDebugForm::CloseFields() {
    EditMode = EditNone;
    for (TPane* pane : std::initializer_list<TPane*>{&List, &Registers, &Bin}) {
        CloseField(pane->Edit);
        pane->PaintBox->update();
    }
}

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
