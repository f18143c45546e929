#pragma once

#include "services/ListMenuService.h"

#include <optional>

// The command of a key pressed in the list (ListInput::Key with its
// ListInput::ShiftBit state), as the pop-up menu item that runs the same
// command; nothing for a key without one. Keys run their commands whether or
// not the menu item is enabled.
std::optional<ListMenuService::Item> listKeyCommand(int keyCode, int shift);
