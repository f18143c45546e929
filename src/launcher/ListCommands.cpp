// The list's keys, mouse, double-click and pop-up menu, and the About box.

#include "frmID3Launcher.h"

#include "KalvoVersion.h"
#include "ListMenuService.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "MessageBoxService.h"

namespace {

// Key codes and shift bits as the list reports them.
constexpr int kKeyEnter = 13, kKeyDelete = 46, kKeyC = 67, kKeyE = 69, kKeyL = 76, kKeyR = 82, kKeyS = 83;
constexpr int kRightButton = 2;

}  // namespace

void frmID3Launcher::lvMP3List_KeyDown(int KeyCode, int Shift)
{
    // Keys run their commands whether or not the menu item is enabled; only
    // S reads the shift state (Shift+S saves every row).
    switch (KeyCode) {
    case kKeyDelete:
        Menu_LV_RightMenu_DELETE_Click();
        break;
    case kKeyR:
        Menu_LV_RightMenu_Rename_Click();
        break;
    case kKeyEnter:
    case kKeyE:
        Menu_LV_RightMenu_EDIT_Tag_Click();
        break;
    case kKeyS:
        Menu_LV_RightMenu_Save_Click(Shift);
        break;
    case kKeyL:
        Menu_LV_RightMenu_Load_Click();
        break;
    case kKeyC:
        Menu_LV_RightMenu_Copyright_Click();
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

    menu.setItemEnabled(Item::SaveAll, hasRows);
    menu.setItemEnabled(Item::EditTag, hasRows);
    menu.setItemEnabled(Item::SaveSelected, hasSelection);
    menu.setItemEnabled(Item::Rename, hasSelection);
    menu.setItemEnabled(Item::Delete, hasSelection);
    if (Button == kRightButton)
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

void frmID3Launcher::Menu_LV_RightMenu_Save_Click(int Index)
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
