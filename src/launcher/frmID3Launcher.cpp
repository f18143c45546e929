#include "launcher/frmID3Launcher.h"

#include "launcher/window/ListCommands.h"
#include "services/ClipboardService.h"
#include "services/FileChooserService.h"
#include "services/MainWindowService.h"
#include "services/TagEditorService.h"
#include "version/KalvoVersion.h"

namespace {

const QString kRenameFormatToolTip = QStringLiteral(
    "%A:アルバム名 %K:歌手名 %D:曲名 %C:コメント %T:トラック番号 %J:ジャンル名 %Y:製造年 %N:上からの連番");

QString chooserTitle(const QString &caption)
{
    return QStringLiteral("[") + caption + QStringLiteral(" ]MP3 ファイルを選んでください");
}

// "Kalvo  Version 1.0.1000", a line break, then the copyright line and the
// company in brackets.
QString aboutText()
{
    return QString::fromUtf16(KalvoVersion::kProductName) + QStringLiteral("  Version ")
           + QString::fromUtf16(KalvoVersion::kVersion) + QChar(u'\r') + QString::fromUtf16(KalvoVersion::kCopyright)
           + QStringLiteral(" [") + QString::fromUtf16(KalvoVersion::kCompanyName) + QStringLiteral("]");
}

}  // namespace

frmID3Launcher::frmID3Launcher(const Services &services, SyncFile syncWrittenFile)
    : services_(services),
      reports_(services.messages, services.window.caption()),
      parts_({.list = services.list, .reports = reports_, .folders = services.folders, .mover = services.mover,
              .syncWrittenFile = std::move(syncWrittenFile)}),
      editor_(parts_.rows, services.editor, services.window),
      renamePreview_(parts_.rows, parts_.renamer, services.renamePreview, services.window.caption()),
      lookup_(parts_.rows, parts_.fills, reports_, services.lookup),
      formatSetting_(services.settings, reports_, services.window.settingsFolder()),
      keepTimesSetting_(services.settings, reports_, services.window.settingsFolder())
{
}

void frmID3Launcher::Form_Load()
{
    services_.window.setRenameFormat(formatSetting_.load());
    services_.window.setRenameFormatToolTip(kRenameFormatToolTip);
    services_.menu.setItemCaption(ListMenuService::Item::Copyright,
                                  services_.window.caption() + QStringLiteral(" について(&C) C"));
    parts_.setKeepTimes(keepTimesSetting_.load());
    services_.menu.setItemChecked(ListMenuService::Item::KeepTimes, parts_.keepsTimes());
}

void frmID3Launcher::Form_Unload()
{
    formatSetting_.save(services_.window.renameFormat());
    services_.editor.unload();
}

void frmID3Launcher::cmdEnd_Click()
{
    services_.window.closeWindow();
}

void frmID3Launcher::AddMp3File(const QString &path)
{
    parts_.adder.AddMp3File(path);
}

void frmID3Launcher::SelectMp3Files()
{
    lvMP3List_OLEDragDrop(services_.chooser.chooseExistingFiles(chooserTitle(services_.window.caption()),
                                                                QStringLiteral("MP3 File (*.mp3)")));
}

// One pick, one drop or the files of the command line: one step.
void frmID3Launcher::lvMP3List_OLEDragDrop(const QStringList &paths)
{
    const HistoryStep step(parts_.history, parts_.rows);
    parts_.adder.addFiles(paths);
}

void frmID3Launcher::AddCommandLineFiles(const QStringList &arguments, const QString &currentFolder)
{
    const HistoryStep step(parts_.history, parts_.rows);
    parts_.commandLine.add(arguments, currentFolder);
}

void frmID3Launcher::Menu_LV_RightMenu_DELETE_Click()
{
    const HistoryStep step(parts_.history, parts_.rows);
    parts_.rows.remove(parts_.rows.selectedRows());
}

void frmID3Launcher::Save(SaveMode mode)
{
    parts_.saver.save(mode == SaveAll ? parts_.rows.allRows() : parts_.rows.selectedRows());
}

void frmID3Launcher::SaveWithId3v2()
{
    parts_.id3v2Saver.save(parts_.rows.selectedRows());
}

void frmID3Launcher::KeepTimes()
{
    parts_.setKeepTimes(!parts_.keepsTimes());
    services_.menu.setItemChecked(ListMenuService::Item::KeepTimes, parts_.keepsTimes());
    keepTimesSetting_.save(parts_.keepsTimes());
}

// The files moved are one step; the save before them is none.
void frmID3Launcher::Rename()
{
    HistoryStep step(parts_.history, parts_.rows);
    step.addMoves(parts_.renamer.rename(services_.window.renameFormat(), parts_.rows.selectedRows()).moves);
}

// OK is R itself: the same save, moves and one step.
void frmID3Launcher::PreviewRename()
{
    if (renamePreview_.confirm(services_.window.renameFormat(), parts_.rows.selectedRows()))
        Rename();
}

void frmID3Launcher::lvMP3List_ColumnClick(int column)
{
    const HistoryStep step(parts_.history, parts_.rows);
    parts_.columns.headerClicked(column);
}

void frmID3Launcher::lblRENBANDD_OLEDragDrop(const QStringList &paths)
{
    parts_.dropNumbering.number(paths);
}

void frmID3Launcher::FillFromId3v2()
{
    const HistoryStep step(parts_.history, parts_.rows);
    parts_.fills.fromId3v2(parts_.rows.selectedRows());
}

void frmID3Launcher::FillFromFileNames()
{
    const HistoryStep step(parts_.history, parts_.rows);
    parts_.fills.fromFileNames(services_.window.renameFormat(), parts_.rows.selectedRows());
}

void frmID3Launcher::PasteTitles()
{
    const HistoryStep step(parts_.history, parts_.rows);
    parts_.fills.pasteTitles(services_.clipboard.text(), parts_.rows.selectedRows());
}

void frmID3Launcher::ReadAgainAs(ForeignCodePage codePage)
{
    const HistoryStep step(parts_.history, parts_.rows);
    parts_.fills.readAgainAs(codePage, parts_.rows.selectedRows());
}

void frmID3Launcher::LookUpMusicBrainz()
{
    const HistoryStep step(parts_.history, parts_.rows);
    const QList<int> selected = parts_.rows.selectedRows();
    lookup_.lookUp(selected.size() == 1 ? parts_.rows.allRows() : selected);
}

void frmID3Launcher::Menu_LV_RightMenu_Undo_Click()
{
    parts_.undo.undo();
}

void frmID3Launcher::Menu_LV_RightMenu_Redo_Click()
{
    parts_.undo.redo();
}

void frmID3Launcher::lvMP3List_KeyDown(int KeyCode, int Shift)
{
    if (const ListCommand *command = listKeyCommand(KeyCode, Shift))
        command->run(*this);
}

void frmID3Launcher::lvMP3List_MouseDown(int Button, int /*Shift*/, int x, int y)
{
    enableListMenu(services_.menu, {.hasRows = !parts_.rows.isEmpty(), .hasSelection = !parts_.rows.selectedRows().isEmpty(),
                                    .canUndo = parts_.history.canUndo(), .canRedo = parts_.history.canRedo()});
    if (Button == ListInput::RightButton)
        services_.menu.popup(x, y);
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
    reports_.report(ReportService::Kind::Notice, aboutText(), QStringLiteral(" [Copyright]"));
}

// Everything the session stores is one step, recorded when it closes.
void frmID3Launcher::OpenTagEditor()
{
    if (editor_.open())
        editing_.emplace(parts_.history, parts_.rows);
}

void frmID3Launcher::frmID3EditerWindow_PutID3(qint16 KeyID)
{
    editor_.PutID3(KeyID);
}

void frmID3Launcher::frmID3EditerWindow_SetID3(qint16 KeyID)
{
    editor_.SetID3(KeyID);
}

void frmID3Launcher::frmID3EditerWindow_LostForm()
{
    editor_.LostForm();
    editing_.reset();
}

void frmID3Launcher::runCommand(ListMenuService::Item item)
{
    listCommand(item).run(*this);
}
