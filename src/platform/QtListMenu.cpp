#include "platform/QtListMenu.h"

#include "launcher/window/ListCommands.h"

#include <QAbstractScrollArea>
#include <QMenu>

QtListMenu::QtListMenu(QAbstractScrollArea *list) : list_(list), menu_(new QMenu(QStringLiteral("浮動メニュー"), list))
{
    menu_->setObjectName(QStringLiteral("Menu_LV_RightMenu"));
    for (const ListCommand &command : listCommands()) {
        if (command.separatorBefore)
            menu_->addSeparator()->setObjectName(QString::fromUtf16(command.separatorBefore));
        QAction *action = menu_->addAction(QString::fromUtf16(command.caption));
        action->setObjectName(QString::fromUtf16(command.name));
        action->setCheckable(command.checkable);
        actions_[command.item] = action;
    }
}

void QtListMenu::setItemEnabled(Item item, bool enabled)
{
    action(item)->setEnabled(enabled);
}

void QtListMenu::setItemCaption(Item item, const QString &caption)
{
    action(item)->setText(caption);
}

void QtListMenu::setItemChecked(Item item, bool checked)
{
    action(item)->setChecked(checked);
}

void QtListMenu::popup(int x, int y)
{
    menu_->popup(list_->viewport()->mapToGlobal(QPoint(x, y)));
}
