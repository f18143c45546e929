// The list's keys, mouse, double-click and pop-up menu, and the About box.

#include "frmID3Launcher.h"

#include "KalvoVersion.h"
#include "ListInputCodes.h"
#include "ListMenuService.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "MessageBoxService.h"

void frmID3Launcher::lvMP3List_KeyDown(int KeyCode, int Shift)
{
    // Keys run their commands whether or not the menu item is enabled; only
    // S, Z and Y read the shift state (Shift+S saves every row; Z and Y work
    // with Ctrl only).
    const bool ctrl = (Shift & ListInput::CtrlDown) != 0;
    const bool shift = (Shift & ListInput::ShiftDown) != 0;
    switch (KeyCode) {
    case ListInput::KeyZ:
        if (ctrl && shift)
            Menu_LV_RightMenu_Redo_Click();
        else if (ctrl)
            Menu_LV_RightMenu_Undo_Click();
        break;
    case ListInput::KeyY:
        if (ctrl)
            Menu_LV_RightMenu_Redo_Click();
        break;
    case ListInput::KeyDelete:
        Menu_LV_RightMenu_DELETE_Click();
        break;
    case ListInput::KeyR:
        Menu_LV_RightMenu_Rename_Click();
        break;
    case ListInput::KeyEnter:
    case ListInput::KeyE:
        Menu_LV_RightMenu_EDIT_Tag_Click();
        break;
    case ListInput::KeyS:
        // Shift alone saves every row; S with no or any other modifiers the selected ones.
        Menu_LV_RightMenu_Save_Click(Shift == ListInput::ShiftDown ? SaveAll : SaveSelected);
        break;
    case ListInput::KeyL:
        Menu_LV_RightMenu_Load_Click();
        break;
    case ListInput::KeyC:
        Menu_LV_RightMenu_Copyright_Click();
        break;
    case ListInput::KeyI:
        FillFromId3v2();
        break;
    case ListInput::KeyN:
        FillFromFileNames();
        break;
    case ListInput::KeyV:
        PasteTitles();
        break;
    case ListInput::Key8:
        ReadAgainAs(ForeignCodePage::Utf8);
        break;
    case ListInput::KeyJ:
        ReadAgainAs(ForeignCodePage::EucJp);
        break;
    default:
        break;
    }
}

void frmID3Launcher::lvMP3List_MouseDown(int Button, int /*Shift*/, int x, int y)
{
    using Item = ListMenuService::Item;
    ListMenuService &menu = services_.menu;
    const ListViewService &list = services_.list;
    const bool hasRows = list.count() > 0;
    bool hasSelection = false;
    for (int row = 1; row <= list.count() && !hasSelection; ++row)
        hasSelection = list.isSelected(row);

    menu.setItemEnabled(Item::Undo, history_.canUndo());
    menu.setItemEnabled(Item::Redo, history_.canRedo());
    menu.setItemEnabled(Item::SaveAll, hasRows);
    menu.setItemEnabled(Item::EditTag, hasRows);
    menu.setItemEnabled(Item::SaveSelected, hasSelection);
    menu.setItemEnabled(Item::Rename, hasSelection);
    menu.setItemEnabled(Item::Delete, hasSelection);
    for (Item item : {Item::FillFromId3v2, Item::FillFromFileNames, Item::PasteTitles, Item::ReadAsUtf8, Item::ReadAsEucJp})
        menu.setItemEnabled(item, hasSelection);
    if (Button == ListInput::RightButton)
        menu.popup(x, y);
}

void frmID3Launcher::lvMP3List_DblClick()
{
    Menu_LV_RightMenu_EDIT_Tag_Click();
}

void frmID3Launcher::Menu_LV_RightMenu_EDIT_Tag_Click()
{
    OpenTagEditor();
}

void frmID3Launcher::Menu_LV_RightMenu_Load_Click()
{
    SelectMp3Files();
}

void frmID3Launcher::Menu_LV_RightMenu_Rename_Click()
{
    Rename();
}

void frmID3Launcher::Menu_LV_RightMenu_Save_Click(SaveMode Index)
{
    Save(Index);
}

void frmID3Launcher::Menu_LV_RightMenu_Copyright_Click()
{
    // "Kalvo  Version 1.0.1000", a line break, then the copyright line and the
    // company in brackets.
    const QString text = QString::fromUtf16(KalvoVersion::kProductName) + QStringLiteral("  Version ")
                         + QString::fromUtf16(KalvoVersion::kVersion) + QChar(u'\r')
                         + QString::fromUtf16(KalvoVersion::kCopyright) + QStringLiteral(" [")
                         + QString::fromUtf16(KalvoVersion::kCompanyName) + QStringLiteral("]");
    services_.messages.showMessage(text, MessageBoxService::Buttons::Ok, MessageBoxService::Icon::Information,
                                   services_.window.caption() + QStringLiteral(" [Copyright]"));
}
