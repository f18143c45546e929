// The main window's side of the tag editor window: opening it on the current
// row, loading a row into it, storing its values into a row, and its closing.

#include "FileRow.h"
#include "GenreTable.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "NativePath.h"
#include "TagEditorService.h"
#include "frmID3Launcher.h"

namespace {

const QString kEditorCaptionMark = QStringLiteral("[EDIT]");

}  // namespace

void frmID3Launcher::OpenTagEditor()
{
    if (services_.list.count() == 0)
        return;
    const int current = services_.list.currentRow();
    if (current <= 0)
        return;

    // Everything the session stores is one step, recorded when it closes.
    rowsBeforeEditing_ = listRows();
    TagEditorService &editor = services_.editor;
    editor.open(services_.window.caption() + kEditorCaptionMark);
    // Rows keep their numbers while the editor holds them only because the
    // main window takes no input until the editor's LostForm.
    services_.window.setWindowEnabled(false);

    // Entry positions equal genre numbers: the names are handed over in
    // number order up to the first number without one.
    for (qint16 n = 0; n < GenreTable::kMaxEntries; ++n) {
        const QString name = classID3_V11::GetGenreString(n);
        if (name.isEmpty())
            break;
        editor.GenreSet(name);
    }
    frmID3EditerWindow_PutID3(static_cast<qint16>(current));
}

void frmID3Launcher::frmID3EditerWindow_PutID3(qint16 KeyID)
{
    const ListViewService &list = services_.list;
    const int rows = list.count();
    if (rows == 0)
        return;
    // A move past either end lands on the row at the other end.
    int n = KeyID;
    if (n > rows)
        n = 1;
    else if (n < 1)
        n = rows;

    services_.editor.show(rowFields(list, n), shownPath(list.cell(n, livFilename)), static_cast<qint16>(n));
    rowInEditor_ = n;
}

void frmID3Launcher::frmID3EditerWindow_SetID3(qint16 KeyID)
{
    ListViewService &list = services_.list;
    if (KeyID < 1 || KeyID > list.count())
        return;
    const TagRecord fields = services_.editor.fields();
    // Texts compare exactly, numbers as numbers; an unchanged row keeps
    // whatever mark it had.
    if (fields != rowFields(list, KeyID))
        list.setCell(KeyID, livChanged, QString::fromUtf16(kChangeMark));
    putRowFields(list, KeyID, fields);
}

void frmID3Launcher::frmID3EditerWindow_LostForm()
{
    services_.window.setWindowEnabled(true);
    // The list's current row follows the last row the editor showed. One
    // selected row moves with it; several, picked for a save or a rename,
    // stay selected.
    ListViewService &list = services_.list;
    int selected = 0;
    for (int row = 1; row <= list.count(); ++row)
        selected += list.isSelected(row) ? 1 : 0;
    for (int row = 1; row <= list.count() && selected <= 1; ++row)
        list.setSelected(row, row == rowInEditor_);
    list.setCurrentRow(rowInEditor_);
    if (rowsBeforeEditing_)
        recordStep(*std::exchange(rowsBeforeEditing_, std::nullopt));
}
