#pragma once

#include <QString>

// The list's pop-up menu.
class ListMenuService
{
public:
    enum class Item {
        EditTag, Undo, Redo, Delete, Load, Rename, PreviewRename, SaveSelected, SaveAll, KeepTimes,
        FillFromId3v2, FillFromFileNames, PasteTitles, ReadAsUtf8, ReadAsEucJp, LookUpMusicBrainz, SaveWithId3v2,
        Copyright
    };

    virtual ~ListMenuService() = default;
    virtual void setItemEnabled(Item item, bool enabled) = 0;
    virtual void setItemCaption(Item item, const QString &caption) = 0;
    // Shows a checkable item (ListCommand::checkable) checked or not.
    virtual void setItemChecked(Item item, bool checked) = 0;
    // Shows the menu at a position in the list's own coordinates; a picked
    // item arrives as its click handler.
    virtual void popup(int x, int y) = 0;
};
