// The main window's side of the tag editor window: opening it on the current
// row, loading a row into it, storing its values into a row, and its closing.

#include "CellNumber.h"
#include "FileRow.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "TagEditorService.h"
#include "frmID3Launcher.h"

namespace {

const QString kEditorCaptionMark = QStringLiteral("[EDIT]");
constexpr qint16 kMaxGenreEntries = 256;

}  // namespace

void frmID3Launcher::OpenTagEditor()
{
    if (services_.list.count() == 0)
        return;
    const int current = services_.list.currentRow();
    if (current <= 0)
        return;

    TagEditorService &editor = services_.editor;
    editor.open(services_.window.caption() + kEditorCaptionMark);
    // Rows keep their numbers while the editor holds them only because the
    // main window takes no input until the editor's LostForm.
    services_.window.setWindowEnabled(false);

    // Entry positions equal genre numbers: the names are handed over in
    // number order up to the first number without one.
    for (qint16 n = 0; n < kMaxGenreEntries; ++n) {
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

    TagEditorService &editor = services_.editor;
    editor.SetAirtistName(list.cell(n, livAirtist));
    editor.SetAlbumName(list.cell(n, livAlbum));
    editor.SetComment(list.cell(n, livComment));
    editor.SetFileName(list.cell(n, livFilename));
    editor.SetGenreID(cellNumber(list.cell(n, livGenreID)));
    editor.SetReleaseYear(list.cell(n, livYear));
    editor.SetTrackName(list.cell(n, livTitle));
    editor.SetTrackNumber(cellNumber(list.cell(n, livTrackNo)));
    editor.SetReadID(static_cast<qint16>(n));
}

void frmID3Launcher::frmID3EditerWindow_SetID3(qint16 KeyID)
{
    ListViewService &list = services_.list;
    if (KeyID < 1 || KeyID > list.count())
        return;
    const int row = KeyID;
    const TagEditorService &editor = services_.editor;

    const QString title = editor.GetTrackName();
    const QString year = editor.GetReleaseYear();
    const QString comment = editor.GetComment();
    const QString album = editor.GetAlbumName();
    const QString artist = editor.GetAirtistName();
    const quint8 track = editor.GetTrackNumber();
    const quint8 genre = editor.GetGenreID();

    // An unchanged row keeps whatever mark it had.
    const bool differs = title != list.cell(row, livTitle) || year != list.cell(row, livYear)
                         || comment != list.cell(row, livComment) || album != list.cell(row, livAlbum)
                         || artist != list.cell(row, livAirtist) || track != cellNumber(list.cell(row, livTrackNo))
                         || genre != cellNumber(list.cell(row, livGenreID));
    if (differs)
        list.setCell(row, livChanged, QString::fromUtf16(kChangeMark));

    list.setCell(row, livAirtist, artist);
    list.setCell(row, livAlbum, album);
    list.setCell(row, livComment, comment);
    list.setCell(row, livGenreID, QString::number(genre));
    list.setCell(row, livGenre, classID3_V11::GetGenreString(genre));
    list.setCell(row, livYear, year);
    list.setCell(row, livTitle, title);
    list.setCell(row, livTrackNo, QString::number(track));
}

void frmID3Launcher::frmID3EditerWindow_LostForm()
{
    services_.window.setWindowEnabled(true);
}
