#pragma once

#include "FileIdentity.h"
#include "ForeignText.h"
#include "ListHistory.h"
#include "ListInputCodes.h"
#include "TagWriteBatch.h"
#include "classID3_V11.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>

struct RowFill;
class ClipboardService;
class FileChooserService;
class FileMoveService;
class ListMenuService;
class ListViewService;
class MainWindowService;
class MessageBoxService;
class SettingsFileService;
class TagEditorService;

// The main window's logic: the file list and what the user does with it. It
// sees the window only through the services, so it runs without a display.
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
    };

    explicit frmID3Launcher(const Services &services);
    ~frmID3Launcher();
    frmID3Launcher(const frmID3Launcher &) = delete;
    frmID3Launcher &operator=(const frmID3Launcher &) = delete;

    // Window lifecycle.
    void Form_Load();
    void Form_Unload();
    void cmdEnd_Click();

    // Adding and removing rows.
    void AddMp3File(const QString &path);
    void SelectMp3Files();
    void lvMP3List_OLEDragDrop(const QStringList &paths);
    // Files named on the command line, relative ones taken from currentFolder;
    // a folder adds the files directly inside it, in natural name order.
    void AddCommandLineFiles(const QStringList &arguments, const QString &currentFolder);
    void Menu_LV_RightMenu_DELETE_Click();

    // Saving rows into their files and renaming files from their tags. A
    // row's tag is written into the batch; it is durable once the batch is
    // finished.
    void Save(SaveMode mode);
    bool SaveRowTag(int i, TagWriteBatch &batch);
    QString MakeRenameName(int i);
    void Rename();

    // Filling whole columns from header clicks, and numbering dropped files.
    void lvMP3List_ColumnClick(int column);
    void lblRENBANDD_OLEDragDrop(const QStringList &paths);

    // Filling the selected rows from text that exists already: the files' ID3v2
    // tags, their names read by the rename format, the clipboard's lines (one
    // title per row from the first selected row down), or the rows' own tag
    // text read in another code page. Rows change only; what a row could not
    // take is reported afterwards.
    void FillFromId3v2();
    void FillFromFileNames();
    void PasteTitles();
    void ReadAgainAs(ForeignCodePage codePage);

    // Undoing and redoing the changes to the list, one step at a time: an
    // editor session, a header click, a removal, one adding of files, a fill
    // command, a rename (its files moved back and again). Saving and drop
    // numbering are no steps and leave the history as it is.
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

    // The tag editor window: opening it on the current row, and the
    // handlers of its events, which load a row into it, store its values into
    // a row, and re-enable the main window when it closes.
    void OpenTagEditor();
    void frmID3EditerWindow_PutID3(qint16 KeyID);
    void frmID3EditerWindow_SetID3(qint16 KeyID);
    void frmID3EditerWindow_LostForm();

    QString mGetPrivateProfileString(const QString &lpAppName, const QString &lpKeyName,
                                     const QString &lpFileName);

    // Program folder, ending in the path separator.
    QString AppPath;

    // How saving and drop numbering make each written file durable; tests put
    // in one that fails.
    TagWriteBatch::SyncFile syncWrittenFile = syncData;

    static constexpr int kMaxRows = 99;

private:
    bool ask(const QString &question, const QString &titleWord);
    void showSaveError(int row);
    void showFormatError();
    void showRenameError(const QString &from, const QString &to);
    void applyFills(const QList<RowFill> &fills);
    void numberRowsFromTheTop();
    void unifyColumn(int column);
    classID3_V11 &sharedTag();
    QString settingsFilePath() const;

    void addArgumentFiles(const QStringList &arguments, const QString &currentFolder);
    ListRows listRows() const;
    // Records the change from the rows before to the rows now as one step,
    // unless nothing but change marks differs.
    void recordStep(ListRows before, QList<FileMove> moves = {});
    void restoreRows(const ListRows &rows);
    bool moveRowFile(const FileMove &move, const QString &from, const QString &to);
    // What the file held when Kalvo last read or wrote it.
    void rememberFileValues(const std::optional<FileIdentity> &identity, const TagRecord &fields);

    Services services_;
    std::unique_ptr<classID3_V11> clsID3Tag;
    ListHistory history_;
    std::map<FileIdentity, TagRecord> fileValues_;
    // The rows when the editor opened, until it closes.
    std::optional<ListRows> rowsBeforeEditing_;
    // The row the editor shows.
    int rowInEditor_ = 0;
    quint64 lastSerial_ = 0;
};
