// What the emulator's window does besides being the machine: one table of its
// actions, each with its key, from which the context menu, the handling of
// those keys and the key help are all made, so that they cannot disagree.
#pragma once

#include "panel/RunLoop.h"

#include <QKeyCombination>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QKeyEvent;
class QMenu;

enum class WindowAction {
    KeyHelp,
    DebugWindow,
    Paste,
    SaveMachine,
    LoadMachine,
    SaveMachineAs,
    OpenMachine,
    Screenshot,
    SpeedNormal,
    SpeedTwice,
    SpeedTenTimes,
    SpeedFastest,
    Zoom1,
    Zoom2,
    Zoom3,
    Zoom4,
    Reset,
    Quit,
};

struct WindowActionEntry {
    WindowAction action;
    const char* keys;     // as QKeySequence reads them
    const char* submenu;  // the submenu it is in, empty for the menu itself
    const char* text;     // its menu entry
    const char* does;     // its line in the key help
    bool separatorAfter;  // the menu's next entry begins a new group
};
constexpr int WindowActionCount = 18;
// In the order of WindowAction, which is the menu's order.
extern const WindowActionEntry WindowActions[WindowActionCount];

const WindowActionEntry& EntryOf(WindowAction action);

// The key of the action as one combination.
QKeyCombination KeyOf(const WindowActionEntry& entry);

// The action whose key was pressed, if any: the key with exactly its
// modifiers, those of the keypad aside.
std::optional<WindowAction> ActionOfKey(const QKeyEvent& event);

// The speeds and the zooms, each a group of actions in the order of RunSpeed
// and from 1 up.
bool IsSpeed(WindowAction action);
RunSpeed SpeedOf(WindowAction action);
bool IsZoom(WindowAction action);
int ZoomOf(WindowAction action);

// Fills the menu with every action, each with its key and in the submenu
// and group of the table, the speeds and zooms to be checked; act does the
// one chosen. Gives back the entries by action, to show their state.
using ActionItems = std::array<QAction*, WindowActionCount>;
ActionItems FillActionMenu(QMenu& menu, const std::function<void(WindowAction)>& act);
