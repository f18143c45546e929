#pragma once

#include "files/FileDescriptor.h"
#include "launcher/ListParts.h"
#include "launcher/history/HistoryStep.h"
#include "launcher/rename/RenamePreview.h"
#include "launcher/lookup/MusicBrainzLookup.h"
#include "launcher/report/MessageBoxReports.h"
#include "launcher/settings/KeepTimesSetting.h"
#include "launcher/settings/RenameFormatSetting.h"
#include "launcher/window/EditorSession.h"
#include "services/ListInputCodes.h"
#include "services/ListMenuService.h"
#include "text/ForeignText.h"

#include <QString>
#include <QStringList>

#include <optional>

class ClipboardService;
class FileChooserService;
class FileMoveService;
class FolderService;
class ListViewService;
class LookupWindowService;
class MainWindowService;
class MessageBoxService;
class RenamePreviewService;
class SettingsFileService;
class TagEditorService;

// The main window's logic, as the window's events reach it: each handler
// hands its event to the part that does the work. It sees the window only
// through the services, so it runs without a display.
//
// Each change to the list is one step of its history, undone and redone as a
// whole: an editor session, a header click, a removal, one adding of files, a
// fill command, a rename (its files moved back and again). Saving and drop
// numbering are no steps and leave the history as it is.
class frmID3Launcher
{
public:
    struct Services {
        ListViewService &list;
        MessageBoxService &messages;
        FileChooserService &chooser;
        SettingsFileService &settings;
        MainWindowService &window;
        FileMoveService &mover;
        TagEditorService &editor;
        ListMenuService &menu;
        ClipboardService &clipboard;
        FolderService &folders;
        RenamePreviewService &renamePreview;
        LookupWindowService &lookup;
    };

    // syncWrittenFile makes each file a save or drop numbering writes in place
    // durable; W syncs the files it writes anew, and their folders, itself.
    explicit frmID3Launcher(const Services &services, SyncFile syncWrittenFile = syncData);
    frmID3Launcher(const frmID3Launcher &) = delete;
    frmID3Launcher &operator=(const frmID3Launcher &) = delete;

    // Window lifecycle: the rename format box filled from the settings file
    // at the start and kept there at the end; the keeping of times read at
    // the start.
    void Form_Load();
    void Form_Unload();
    void cmdEnd_Click();

    // Adding and removing rows.
    void AddMp3File(const QString &path);
    void SelectMp3Files();
    void lvMP3List_OLEDragDrop(const QStringList &paths);
    void AddCommandLineFiles(const QStringList &arguments, const QString &currentFolder);
    void Menu_LV_RightMenu_DELETE_Click();

    // Saving rows into their files (W: into their ID3v2 tags too) and
    // renaming files from their tags by the format box.
    void Save(SaveMode mode);
    void SaveWithId3v2();
    void Rename();
    // The choice that written files keep their times: turned over, shown
    // in the menu and kept in kiv.ini at once.
    void KeepTimes();
    // Shift+R: the new names shown first; OK renames as R does.
    void PreviewRename();

    // Filling whole columns from header clicks, and numbering dropped files.
    void lvMP3List_ColumnClick(int column);
    void lblRENBANDD_OLEDragDrop(const QStringList &paths);

    // Filling the selected rows from text that exists already.
    void FillFromId3v2();
    void FillFromFileNames();
    void PasteTitles();
    void ReadAgainAs(ForeignCodePage codePage);
    // The CD of the selected rows (of all rows when one is selected) looked
    // up at MusicBrainz, and the rows filled from the release picked.
    void LookUpMusicBrainz();

    void Menu_LV_RightMenu_Undo_Click();
    void Menu_LV_RightMenu_Redo_Click();

    // The list's keys, mouse, double-click and pop-up menu, and the About box.
    void lvMP3List_KeyDown(int KeyCode, int Shift);
    void lvMP3List_MouseDown(int Button, int Shift, int x, int y);
    void lvMP3List_DblClick();
    void Menu_LV_RightMenu_EDIT_Tag_Click();
    void Menu_LV_RightMenu_Load_Click();
    void Menu_LV_RightMenu_Rename_Click();
    void Menu_LV_RightMenu_Save_Click(SaveMode Index);
    void Menu_LV_RightMenu_Copyright_Click();

    // The tag editor window: opening it on the current row, and the handlers
    // of its events.
    void OpenTagEditor();
    void frmID3EditerWindow_PutID3(qint16 KeyID);
    void frmID3EditerWindow_SetID3(qint16 KeyID);
    void frmID3EditerWindow_LostForm();

    // Runs the command of a menu item picked.
    void runCommand(ListMenuService::Item item);

private:

    Services services_;
    MessageBoxReports reports_;
    ListParts parts_;
    EditorSession editor_;
    RenamePreview renamePreview_;
    MusicBrainzLookup lookup_;
    RenameFormatSetting formatSetting_;
    KeepTimesSetting keepTimesSetting_;
    // An editor session's step, from its opening until it closes.
    std::optional<HistoryStep> editing_;
};
