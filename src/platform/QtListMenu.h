#pragma once

#include "services/ListMenuService.h"

#include <map>

class QAbstractScrollArea;
class QAction;
class QMenu;

// The list's pop-up menu "浮動メニュー" as a QMenu: the items of the list's
// commands in their order, with separators between the groups.
class QtListMenu : public ListMenuService
{
public:
    // The menu pops up over the list and is owned by it.
    explicit QtListMenu(QAbstractScrollArea *list);

    QAction *action(Item item) const { return actions_.at(item); }

    void setItemEnabled(Item item, bool enabled) override;
    void setItemCaption(Item item, const QString &caption) override;
    void setItemChecked(Item item, bool checked) override;
    void popup(int x, int y) override;

private:
    QAbstractScrollArea *list_;
    QMenu *menu_;
    std::map<Item, QAction *> actions_;
};
