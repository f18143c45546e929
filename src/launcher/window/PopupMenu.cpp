#include "launcher/window/PopupMenu.h"

#include "services/ListMenuService.h"

void enableListMenu(ListMenuService &menu, const ListMenuState &state)
{
    using Item = ListMenuService::Item;
    menu.setItemEnabled(Item::Undo, state.canUndo);
    menu.setItemEnabled(Item::Redo, state.canRedo);
    menu.setItemEnabled(Item::SaveAll, state.hasRows);
    menu.setItemEnabled(Item::EditTag, state.hasRows);
    for (Item item : {Item::SaveSelected, Item::Rename, Item::Delete, Item::FillFromId3v2, Item::FillFromFileNames,
                      Item::PasteTitles, Item::ReadAsUtf8, Item::ReadAsEucJp, Item::SaveWithId3v2})
        menu.setItemEnabled(item, state.hasSelection);
}
