#include "launcher/window/ListCommands.h"

#include "launcher/frmID3Launcher.h"
#include "services/ListInputCodes.h"

#include <algorithm>

namespace {

using Item = ListMenuService::Item;
using namespace ListInput;
using enum WhenEnabled;
using enum WithModifiers;

constexpr std::array kCommands = std::to_array<ListCommand>({
    {Item::EditTag, u"Menu_LV_RightMenu_EDIT_Tag", u"タグを編集(&E) Enter", nullptr, HasRows,
     {{{KeyEnter, Any}, {KeyE, Any}}}, [](frmID3Launcher &l) { l.Menu_LV_RightMenu_EDIT_Tag_Click(); }},
    {Item::Undo, u"Menu_LV_RightMenu_Undo", u"元に戻す(&U) Ctrl+Z", u"Menu_LV_RightMenu_Tmp", CanUndo,
     {{{KeyZ, CtrlWithoutShift}}}, [](frmID3Launcher &l) { l.Menu_LV_RightMenu_Undo_Click(); }},
    {Item::Redo, u"Menu_LV_RightMenu_Redo", u"やり直し(&Y) Ctrl+Y", nullptr, CanRedo,
     {{{KeyY, Ctrl}, {KeyZ, CtrlWithShift}}}, [](frmID3Launcher &l) { l.Menu_LV_RightMenu_Redo_Click(); }},
    {Item::Delete, u"Menu_LV_RightMenu_DELETE", u"削除(&D) Del", u"Menu_LV_RightMenu_Tmp6", HasSelection,
     {{{KeyDelete, Any}}}, [](frmID3Launcher &l) { l.Menu_LV_RightMenu_DELETE_Click(); }},
    {Item::Load, u"Menu_LV_RightMenu_Load", u"ファイルを読み込む(&L)  L", u"Menu_LV_RightMenu_Tmp4", Always,
     {{{KeyL, Any}}}, [](frmID3Launcher &l) { l.Menu_LV_RightMenu_Load_Click(); }},
    {Item::Rename, u"Menu_LV_RightMenu_Rename", u"ファイル名を変更(&F) R", u"Menu_LV_RightMenu_Tmp1", HasSelection,
     {{{KeyR, NotShiftAlone}}}, [](frmID3Launcher &l) { l.Menu_LV_RightMenu_Rename_Click(); }},
    {Item::PreviewRename, u"Menu_LV_RightMenu_PreviewRename", u"ファイル名の変更を確認(&P)  Shift+R", nullptr,
     HasSelection, {{{KeyR, ShiftAlone}}}, [](frmID3Launcher &l) { l.PreviewRename(); }},
    {Item::SaveSelected, u"Menu_LV_RightMenu_Save_0", u"選択したファイルを保存(&S) S", u"Menu_LV_RightMenu_Tmp2",
     HasSelection, {{{KeyS, NotShiftAlone}}}, [](frmID3Launcher &l) { l.Menu_LV_RightMenu_Save_Click(SaveSelected); }},
    {Item::SaveAll, u"Menu_LV_RightMenu_Save_1", u"全て保存(&A) Shift+S", nullptr, HasRows,
     {{{KeyS, ShiftAlone}}}, [](frmID3Launcher &l) { l.Menu_LV_RightMenu_Save_Click(SaveAll); }},
    {Item::KeepTimes, u"Menu_LV_RightMenu_KeepTimes", u"更新日時を保つ(&T)", nullptr, Always, {},
     [](frmID3Launcher &l) { l.KeepTimes(); }, true},
    {Item::FillFromId3v2, u"Menu_LV_RightMenu_FillFromId3v2", u"ID3v2タグから取り込む(&I)  I",
     u"Menu_LV_RightMenu_Tmp3", HasSelection, {{{KeyI, Any}}}, [](frmID3Launcher &l) { l.FillFromId3v2(); }},
    {Item::FillFromFileNames, u"Menu_LV_RightMenu_FillFromFileNames", u"ファイル名から取り込む(&N)  N", nullptr,
     HasSelection, {{{KeyN, Any}}}, [](frmID3Launcher &l) { l.FillFromFileNames(); }},
    {Item::PasteTitles, u"Menu_LV_RightMenu_PasteTitles", u"曲名を貼り付け(&V)  V", nullptr, HasSelection,
     {{{KeyV, Any}}}, [](frmID3Launcher &l) { l.PasteTitles(); }},
    {Item::ReadAsUtf8, u"Menu_LV_RightMenu_ReadAsUtf8", u"UTF-8として読み直す(&8)  8", nullptr, HasSelection,
     {{{Key8, Any}}}, [](frmID3Launcher &l) { l.ReadAgainAs(ForeignCodePage::Utf8); }},
    {Item::ReadAsEucJp, u"Menu_LV_RightMenu_ReadAsEucJp", u"EUC-JPとして読み直す(&J)  J", nullptr, HasSelection,
     {{{KeyJ, Any}}}, [](frmID3Launcher &l) { l.ReadAgainAs(ForeignCodePage::EucJp); }},
    {Item::LookUpMusicBrainz, u"Menu_LV_RightMenu_LookUpMusicBrainz", u"MusicBrainzで検索(&M)  M", nullptr,
     HasSelection, {{{KeyM, Any}}}, [](frmID3Launcher &l) { l.LookUpMusicBrainz(); }},
    {Item::SaveWithId3v2, u"Menu_LV_RightMenu_SaveWithId3v2", u"ID3v2タグにも保存(&W)  W", nullptr, HasSelection,
     {{{KeyW, Any}}}, [](frmID3Launcher &l) { l.SaveWithId3v2(); }},
    // Its caption names the program.
    {Item::Copyright, u"Menu_LV_RightMenu_Copyright", u"", u"Menu_LV_RightMenu_Tmp5", Always, {{{KeyC, Any}}},
     [](frmID3Launcher &l) { l.Menu_LV_RightMenu_Copyright_Click(); }},
});

bool takes(WithModifiers modifiers, int shift)
{
    const bool withShift = (shift & ShiftDown) != 0, withCtrl = (shift & CtrlDown) != 0;
    switch (modifiers) {
    case Any: return true;
    case ShiftAlone: return shift == ShiftDown;
    case NotShiftAlone: return shift != ShiftDown;
    case CtrlWithoutShift: return withCtrl && !withShift;
    case CtrlWithShift: return withCtrl && withShift;
    case Ctrl: return withCtrl;
    }
    return false;
}

bool isEnabled(WhenEnabled when, const ListMenuState &state)
{
    switch (when) {
    case Always: return true;
    case HasRows: return state.hasRows;
    case HasSelection: return state.hasSelection;
    case CanUndo: return state.canUndo;
    case CanRedo: return state.canRedo;
    }
    return false;
}

}  // namespace

std::span<const ListCommand> listCommands()
{
    return kCommands;
}

const ListCommand &listCommand(ListMenuService::Item item)
{
    return *std::find_if(kCommands.begin(), kCommands.end(), [item](const ListCommand &c) { return c.item == item; });
}

const ListCommand *listKeyCommand(int keyCode, int shift)
{
    for (const ListCommand &command : kCommands) {
        for (const CommandKey &key : command.keys) {
            if (key.keyCode != 0 && key.keyCode == keyCode && takes(key.modifiers, shift))
                return &command;
        }
    }
    return nullptr;
}

bool isListCommandKey(int keyCode)
{
    return keyCode != 0 && std::any_of(kCommands.begin(), kCommands.end(), [keyCode](const ListCommand &c) {
               return std::any_of(c.keys.begin(), c.keys.end(), [keyCode](const CommandKey &k) { return k.keyCode == keyCode; });
           });
}

void enableListMenu(ListMenuService &menu, const ListMenuState &state)
{
    for (const ListCommand &command : kCommands) {
        if (command.enabled != Always)
            menu.setItemEnabled(command.item, isEnabled(command.enabled, state));
    }
}
