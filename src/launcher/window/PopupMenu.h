#pragma once

class ListMenuService;

// What the list's pop-up menu items depend on when it is about to show.
struct ListMenuState {
    bool hasRows = false;
    bool hasSelection = false;
    bool canUndo = false;
    bool canRedo = false;
};

// Enables the items that have something to act on: editing and saving all
// need rows; saving the selected rows, renaming, deleting and the fills need
// a selection; undo and redo a step. Loading and the About box are always
// enabled.
void enableListMenu(ListMenuService &menu, const ListMenuState &state);
