#include "platform/QtListMenu.h"

#include <QAbstractScrollArea>
#include <QMenu>

QtListMenu::QtListMenu(QAbstractScrollArea *list) : list_(list), menu_(new QMenu(QStringLiteral("浮動メニュー"), list))
{
    menu_->setObjectName(QStringLiteral("Menu_LV_RightMenu"));
    const auto add = [this](Item item, const QString &name, const QString &caption) {
        QAction *action = menu_->addAction(caption);
        action->setObjectName(name);
        actions_[item] = action;
    };
    const auto separator = [this](const QString &name) { menu_->addSeparator()->setObjectName(name); };

    add(Item::EditTag, QStringLiteral("Menu_LV_RightMenu_EDIT_Tag"), QStringLiteral("タグを編集(&E) Enter"));
    separator(QStringLiteral("Menu_LV_RightMenu_Tmp"));
    add(Item::Undo, QStringLiteral("Menu_LV_RightMenu_Undo"), QStringLiteral("元に戻す(&U) Ctrl+Z"));
    add(Item::Redo, QStringLiteral("Menu_LV_RightMenu_Redo"), QStringLiteral("やり直し(&Y) Ctrl+Y"));
    separator(QStringLiteral("Menu_LV_RightMenu_Tmp6"));
    add(Item::Delete, QStringLiteral("Menu_LV_RightMenu_DELETE"), QStringLiteral("削除(&D) Del"));
    separator(QStringLiteral("Menu_LV_RightMenu_Tmp4"));
    add(Item::Load, QStringLiteral("Menu_LV_RightMenu_Load"), QStringLiteral("ファイルを読み込む(&L)  L"));
    separator(QStringLiteral("Menu_LV_RightMenu_Tmp1"));
    add(Item::Rename, QStringLiteral("Menu_LV_RightMenu_Rename"), QStringLiteral("ファイル名を変更(&F) R"));
    separator(QStringLiteral("Menu_LV_RightMenu_Tmp2"));
    add(Item::SaveSelected, QStringLiteral("Menu_LV_RightMenu_Save_0"), QStringLiteral("選択したファイルを保存(&S) S"));
    add(Item::SaveAll, QStringLiteral("Menu_LV_RightMenu_Save_1"), QStringLiteral("全て保存(&A) Shift+S"));
    separator(QStringLiteral("Menu_LV_RightMenu_Tmp3"));
    add(Item::FillFromId3v2, QStringLiteral("Menu_LV_RightMenu_FillFromId3v2"),
        QStringLiteral("ID3v2タグから取り込む(&I)  I"));
    add(Item::FillFromFileNames, QStringLiteral("Menu_LV_RightMenu_FillFromFileNames"),
        QStringLiteral("ファイル名から取り込む(&N)  N"));
    add(Item::PasteTitles, QStringLiteral("Menu_LV_RightMenu_PasteTitles"), QStringLiteral("曲名を貼り付け(&V)  V"));
    add(Item::ReadAsUtf8, QStringLiteral("Menu_LV_RightMenu_ReadAsUtf8"), QStringLiteral("UTF-8として読み直す(&8)  8"));
    add(Item::ReadAsEucJp, QStringLiteral("Menu_LV_RightMenu_ReadAsEucJp"),
        QStringLiteral("EUC-JPとして読み直す(&J)  J"));
    add(Item::SaveWithId3v2, QStringLiteral("Menu_LV_RightMenu_SaveWithId3v2"),
        QStringLiteral("ID3v2タグにも保存(&W)  W"));
    separator(QStringLiteral("Menu_LV_RightMenu_Tmp5"));
    // Its caption names the program and is set when the window has loaded.
    add(Item::Copyright, QStringLiteral("Menu_LV_RightMenu_Copyright"), QString());
}

void QtListMenu::setItemEnabled(Item item, bool enabled)
{
    action(item)->setEnabled(enabled);
}

void QtListMenu::setItemCaption(Item item, const QString &caption)
{
    action(item)->setText(caption);
}

void QtListMenu::popup(int x, int y)
{
    menu_->popup(list_->viewport()->mapToGlobal(QPoint(x, y)));
}
