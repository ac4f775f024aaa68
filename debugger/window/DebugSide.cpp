#include "debugger/window/DebugSide.h"

#include "core/Def.h"
#include "debugger/window/Debug.h"
#include "debugger/window/DebugControls.h"
#include "debugger/RunControl.h"
#include "debugger/Symbols.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>


namespace {

constexpr int SideWidth = 372;

struct AccessRow {
    WatchAccess access;
    const char* name;   // in the access box
    const char* brief;  // in the list
};
const AccessRow AccessRows[] = {
    {WatchAccess::Write, "write", "w"},
    {WatchAccess::Read, "read", "r"},
    {WatchAccess::ReadWrite, "read or write", "rw"},
};

QString StateText(ProcessorState state) {
    switch (state) {
        case ProcessorState::Asleep: return QStringLiteral("Asleep: the run bit is clear; a key or Wake starts it");
        case ProcessorState::Waiting: return QStringLiteral("Waiting after WAIT for the halt request");
        case ProcessorState::HaltMode: return QStringLiteral("Running in halt mode");
        case ProcessorState::Running: break;
    }
    return QStringLiteral("Running");
}

// The address in the debugger's radix, with its label if it has one.
QString AddressText(uint16_t address, const NumberFormat& numbers) {
    QString text = QString::fromStdString(FormatWord(address, '0', numbers));
    if (const std::string* name = Symbols.NameAt(address)) text += QStringLiteral("  ") + QString::fromStdString(*name);
    return text;
}

QGroupBox* NewGroup(const QString& caption, QLayout* layout) {
    auto* group = new QGroupBox(caption);
    group->setLayout(layout);
    return group;
}

// Widgets of the column take the focus by a click only: Tab keeps to the
// specified groups.
template <typename W>
W* ClickFocus(W* widget) {
    widget->setFocusPolicy(Qt::ClickFocus);
    return widget;
}

QPushButton* NewButton(const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

TDebugSide::TDebugSide(TDebugForm& form) : QWidget(&form), form_(form) {
    resize(SideWidth, height());
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    actionGrid_ = new QGridLayout;
    actionGrid_->setSpacing(2);
    auto* haltStop = ClickFocus(new QCheckBox(QStringLiteral("Stop on halt mode")));
    auto* trapStop = ClickFocus(new QCheckBox(QStringLiteral("Stop on traps")));
    connect(haltStop, &QCheckBox::toggled, this, [](bool on) { Debugger.StopOnHaltMode = on; });
    connect(trapStop, &QCheckBox::toggled, this, [](bool on) { Debugger.StopOnTrap = on; });
    auto* run = new QVBoxLayout;
    run->addLayout(actionGrid_);
    run->addWidget(haltStop);
    run->addWidget(trapStop);
    left->addWidget(NewGroup(QStringLiteral(" Run control "), run));

    StateLabel = new QLabel;
    StateLabel->setWordWrap(true);
    WakeButton = NewButton(QStringLiteral("Wake"));
    WakeButton->setToolTip(QStringLiteral("Set the run bit of the control port, as a key does"));
    StepsLabel = new QLabel;
    StopLabel = new QLabel;
    StopLabel->setWordWrap(true);
    MessageLabel = new QLabel;
    MessageLabel->setWordWrap(true);
    QPalette red = MessageLabel->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    MessageLabel->setPalette(red);
    auto* state = new QVBoxLayout;
    state->setSpacing(2);
    state->addWidget(StateLabel);
    state->addWidget(WakeButton, 0, Qt::AlignLeft);
    state->addWidget(StepsLabel);
    state->addWidget(StopLabel);
    state->addWidget(MessageLabel);
    state->addStretch();
    left->addWidget(NewGroup(QStringLiteral(" Processor "), state), 1);
    connect(WakeButton, &QPushButton::clicked, this, [this] { form_.Wake(); });

    BreakList = ClickFocus(new QListWidget);
    BreakList->setFont(PaneFont());
    BreakList->setToolTip(QStringLiteral("Double-click lists the breakpoint's code; Delete removes it"));
    RemoveBreakButton = NewButton(QStringLiteral("Remove"));
    auto* breaks = new QVBoxLayout;
    breaks->setSpacing(2);
    breaks->addWidget(BreakList);
    breaks->addWidget(RemoveBreakButton, 0, Qt::AlignRight);
    right->addWidget(NewGroup(QStringLiteral(" Breakpoints "), breaks), 1);
    connect(RemoveBreakButton, &QPushButton::clicked, this, [this] { RemoveBreakpoint(); });
    connect(BreakList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (!form_.CommitField()) return;
        form_.List.ShowAround(uint16_t(item->data(Qt::UserRole).toUInt()));
        form_.List.PaintBox->update();
    });

    WatchFirstEdit = new TEdit(this);
    WatchLastEdit = new TEdit(this);
    for (TEdit* field : {WatchFirstEdit, WatchLastEdit}) {
        field->SetUpperCase(true);
        field->OnChange = [this, field] { FilterAddress(field, form_.Numbers.Radix()); };
        // Enter adds the watchpoint, as "Add" does.
        field->OnKeyDown = [this](int key) {
            if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
            AddWatch();
            return true;
        };
    }
    WatchFirstEdit->setToolTip(QStringLiteral("First address watched, or a label"));
    WatchLastEdit->setToolTip(QStringLiteral("Last address watched; empty for the first alone"));
    WatchAccessBox = ClickFocus(new QComboBox);
    for (const AccessRow& row : AccessRows) WatchAccessBox->addItem(QString::fromLatin1(row.name));
    AddWatchButton = NewButton(QStringLiteral("Add"));
    WatchList = ClickFocus(new QListWidget);
    WatchList->setFont(PaneFont());
    RemoveWatchButton = NewButton(QStringLiteral("Remove"));
    auto* range = new QHBoxLayout;
    range->addWidget(WatchFirstEdit);
    range->addWidget(new QLabel(QStringLiteral("to")));
    range->addWidget(WatchLastEdit);
    auto* access = new QHBoxLayout;
    access->addWidget(WatchAccessBox, 1);
    access->addWidget(AddWatchButton);
    auto* watches = new QVBoxLayout;
    watches->setSpacing(2);
    watches->addLayout(range);
    watches->addLayout(access);
    watches->addWidget(WatchList);
    watches->addWidget(RemoveWatchButton, 0, Qt::AlignRight);
    right->addWidget(NewGroup(QStringLiteral(" Watchpoints "), watches), 1);
    connect(AddWatchButton, &QPushButton::clicked, this, [this] { AddWatch(); });
    connect(RemoveWatchButton, &QPushButton::clicked, this, [this] { RemoveWatch(); });

    BreakList->installEventFilter(this);
    WatchList->installEventFilter(this);
}

void TDebugSide::AddActionButtons(const std::vector<QAction*>& actions) {
    for (size_t i = 0; i < actions.size(); ++i) {
        auto* button = new QToolButton;
        button->setDefaultAction(actions[i]);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        actionGrid_->addWidget(button, int(i / 2), int(i % 2));
    }
}

void TDebugSide::Update() {
    const ProcessorState state = StateOf(Mk);
    StateLabel->setText(StateText(state));
    WakeButton->setVisible(state == ProcessorState::Asleep);
    StepsLabel->setText(QStringLiteral("Steps since reset: %1").arg(Debugger.StepCount()));
    const Stop& stop = Debugger.LastStop();
    const std::string reason = StopText(stop, form_.Numbers.Radix());
    StopLabel->setText(stop.Reason == StopReason::None || reason.empty()
                           ? QStringLiteral("Stopped by the debugger")
                           : QStringLiteral("Stopped: ") + QString::fromStdString(reason));

    BreakList->clear();
    for (const uint16_t address : Debugger.Breakpoints()) {
        auto* item = new QListWidgetItem(AddressText(address, form_.Numbers), BreakList);
        item->setData(Qt::UserRole, address);
    }

    WatchList->clear();
    for (const Watchpoint& watch : Debugger.Watches()) {
        QString text;
        for (const AccessRow& row : AccessRows)
            if (row.access == watch.Access) text = QString::fromLatin1(row.brief).leftJustified(3);
        text += AddressText(watch.First, form_.Numbers);
        if (watch.Last != watch.First) text += QStringLiteral(" to ") + AddressText(watch.Last, form_.Numbers);
        auto* item = new QListWidgetItem(text, WatchList);
        item->setData(Qt::UserRole, QVariantList{watch.First, watch.Last, int(watch.Access)});
    }
}

void TDebugSide::Tell(const QString& message) { MessageLabel->setText(message); }

void TDebugSide::RemoveBreakpoint() {
    const QListWidgetItem* item = BreakList->currentItem();
    if (!item) return;
    Debugger.ClearBreakpoint(uint16_t(item->data(Qt::UserRole).toUInt()));
    Update();
    form_.List.PaintBox->update();
}

void TDebugSide::AddWatch() {
    if (!form_.CommitField()) return;
    const std::optional<uint16_t> first = form_.ReadAddress(WatchFirstEdit->text());
    const std::optional<uint16_t> last =
        WatchLastEdit->text().isEmpty() ? first : form_.ReadAddress(WatchLastEdit->text());
    if (WatchFirstEdit->text().isEmpty() || !first || !last) {
        Tell(QStringLiteral("A watchpoint needs an address or a label"));
        return;
    }
    const Watchpoint watch{*first, *last, AccessRows[WatchAccessBox->currentIndex()].access};
    if (!Debugger.SetWatch(watch)) {
        Tell(watch.Last < watch.First ? QStringLiteral("The last address watched is below the first")
                                      : QStringLiteral("No more watchpoints: remove one first"));
        return;
    }
    WatchFirstEdit->clear();
    WatchLastEdit->clear();
    Update();
}

void TDebugSide::RemoveWatch() {
    const QListWidgetItem* item = WatchList->currentItem();
    if (!item) return;
    const QVariantList data = item->data(Qt::UserRole).toList();
    Debugger.ClearWatch({uint16_t(data[0].toUInt()), uint16_t(data[1].toUInt()), WatchAccess(data[2].toInt())});
    Update();
}

bool TDebugSide::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        if (watched == BreakList) RemoveBreakpoint();
        else RemoveWatch();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
