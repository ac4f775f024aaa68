#include "panel/window/WindowActions.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>

const WindowActionEntry WindowActions[WindowActionCount] = {
    {WindowAction::KeyHelp, "F1", "", "Key help", "shows the list of keys, or closes it", false},
    {WindowAction::DebugWindow, "F3", "", "Debug window",
     "opens the debug window; the machine stands still while it is open", false},
    {WindowAction::Paste, "Ctrl+V", "", "Paste",
     "types the clipboard's text on the machine, key after key; Escape, any key or a click stops it", true},
    {WindowAction::SaveMachine, "Ctrl+S", "", "Save the machine",
     "saves the whole machine to snapshot.vxs in the emulator's folder", false},
    {WindowAction::LoadMachine, "Ctrl+L", "", "Load the machine",
     "loads the machine saved in snapshot.vxs; the keys held are let go", false},
    {WindowAction::SaveMachineAs, "Ctrl+Shift+S", "", "Save as...", "saves the whole machine to a file you choose",
     false},
    {WindowAction::OpenMachine, "Ctrl+O", "", "Open...", "loads the machine from a snapshot file you choose", true},
    {WindowAction::Screenshot, "F12", "", "Screenshot",
     "saves the face as a PNG picture in the run folder and copies it to the clipboard", true},
    {WindowAction::SpeedNormal, "Alt+1", "Speed", "Normal", "runs the machine at its speed from the settings", false},
    {WindowAction::SpeedTwice, "Alt+2", "Speed", "Twice as fast", "runs the machine twice as fast", false},
    {WindowAction::SpeedTenTimes, "Alt+3", "Speed", "Ten times as fast", "runs the machine ten times as fast",
     false},
    {WindowAction::SpeedFastest, "Alt+4", "Speed", "As fast as the computer allows",
     "runs the machine as fast as the computer allows", false},
    {WindowAction::Zoom1, "Ctrl+1", "Zoom", "Actual size", "shows the window at its actual size", false},
    {WindowAction::Zoom2, "Ctrl+2", "Zoom", "Twice the size", "shows the window twice as large", false},
    {WindowAction::Zoom3, "Ctrl+3", "Zoom", "Three times the size", "shows the window three times as large", false},
    {WindowAction::Zoom4, "Ctrl+4", "Zoom", "Four times the size", "shows the window four times as large", true},
    {WindowAction::Reset, "Ctrl+R", "", "Reset",
     "resets the machine: an empty display and the firmware started afresh; the RAM stays", false},
    {WindowAction::Quit, "Ctrl+Q", "", "Quit", "saves the RAM and closes the emulator", false},
};

const WindowActionEntry& EntryOf(WindowAction action) { return WindowActions[size_t(action)]; }

QKeyCombination KeyOf(const WindowActionEntry& entry) { return QKeySequence(QString::fromLatin1(entry.keys))[0]; }

std::optional<WindowAction> ActionOfKey(const QKeyEvent& event) {
    const QKeyCombination pressed(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key()));
    for (const WindowActionEntry& entry : WindowActions)
        if (KeyOf(entry) == pressed) return entry.action;
    return std::nullopt;
}

bool IsSpeed(WindowAction action) {
    return action >= WindowAction::SpeedNormal && action <= WindowAction::SpeedFastest;
}
RunSpeed SpeedOf(WindowAction action) { return RunSpeed(int(action) - int(WindowAction::SpeedNormal)); }
bool IsZoom(WindowAction action) { return action >= WindowAction::Zoom1 && action <= WindowAction::Zoom4; }
int ZoomOf(WindowAction action) { return int(action) - int(WindowAction::Zoom1) + 1; }

ActionItems FillActionMenu(QMenu& menu, const std::function<void(WindowAction)>& act) {
    ActionItems items{};
    QMenu* submenu = nullptr;
    for (const WindowActionEntry& entry : WindowActions) {
        const QString group = QString::fromUtf8(entry.submenu);
        if (group.isEmpty()) submenu = nullptr;
        else if (!submenu || submenu->title() != group) submenu = menu.addMenu(group);
        QAction* item = (submenu ? submenu : &menu)->addAction(QString::fromUtf8(entry.text));
        // Shown, and taken while the menu is open; the window takes the keys
        // otherwise.
        item->setShortcut(QKeySequence(KeyOf(entry)));
        item->setShortcutVisibleInContextMenu(true);
        item->setCheckable(submenu != nullptr);
        QObject::connect(item, &QAction::triggered, &menu, [act, action = entry.action] { act(action); });
        items[size_t(entry.action)] = item;
        if (entry.separatorAfter) menu.addSeparator();
    }
    return items;
}
