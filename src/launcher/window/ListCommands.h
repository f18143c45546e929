#pragma once

#include "services/ListMenuService.h"

#include <array>
#include <span>

class frmID3Launcher;

// The list's commands, one row each: the pop-up menu item, its caption, the
// keys that run it and when the item is enabled. The window builds its menu
// from the rows and hands each pick and each key to the logic, which runs
// the row's handler. A new command is one row and its handler.

// When a command's menu item is enabled; it is worked out on every mouse
// press in the list. Keys run their commands whether or not the item is.
enum class WhenEnabled {
    Always,        // never disabled
    HasRows,       // the list has a row
    HasSelection,  // a row is selected
    CanUndo,
    CanRedo,
};

// Which shift states (ListInput::ShiftBit) a key runs its command with.
enum class WithModifiers {
    Any,               // whatever else is held
    ShiftAlone,        // Shift and nothing else
    NotShiftAlone,     // anything but Shift alone
    CtrlWithoutShift,  // Ctrl, not Shift; Alt or not
    CtrlWithShift,     // Ctrl and Shift; Alt or not
    Ctrl,              // Ctrl, with or without the others
};

struct CommandKey {
    int keyCode = 0;  // ListInput::Key; 0: no key
    WithModifiers modifiers = WithModifiers::Any;
};

struct ListCommand {
    ListMenuService::Item item;
    const char16_t *name;     // the menu item's object name
    const char16_t *caption;  // empty: set once the window has loaded
    // The object name of a separator in front of the item; null: none.
    const char16_t *separatorBefore;
    WhenEnabled enabled;
    std::array<CommandKey, 2> keys;
    void (*run)(frmID3Launcher &launcher);
    // The item is a choice, shown checked while it holds.
    bool checkable = false;
};

// The rows, in menu order.
std::span<const ListCommand> listCommands();

// The row of an item.
const ListCommand &listCommand(ListMenuService::Item item);

// The command of a key pressed in the list (ListInput::Key with its
// ListInput::ShiftBit state); null for a key without one.
const ListCommand *listKeyCommand(int keyCode, int shift);

// Whether a key is one of the commands' keys, whatever the shift state: the
// list leaves the others (arrows, letters that find a row) to itself.
bool isListCommandKey(int keyCode);

// What the items' enabling depends on when the menu is about to show.
struct ListMenuState {
    bool hasRows = false;
    bool hasSelection = false;
    bool canUndo = false;
    bool canRedo = false;
};

// Enables or disables each item that is not always enabled, by its row.
void enableListMenu(ListMenuService &menu, const ListMenuState &state);
