#include "launcher/window/EditorSession.h"

#include "files/NativePath.h"
#include "id3v1/GenreTable.h"
#include "launcher/list/FileList.h"
#include "services/MainWindowService.h"
#include "services/TagEditorService.h"
#include "tagfiles/classID3_V11.h"

namespace {

const QString kEditorCaptionMark = QStringLiteral("[EDIT]");

}  // namespace

EditorSession::EditorSession(FileList &rows, TagEditorService &editor, MainWindowService &window)
    : rows_(rows), editor_(editor), window_(window)
{
}

bool EditorSession::open()
{
    const int current = rows_.currentRow();
    if (rows_.isEmpty() || current <= 0)
        return false;
    editor_.open(window_.caption() + kEditorCaptionMark);
    // Rows keep their numbers while the editor holds them only because the
    // main window takes no input until the editor's LostForm.
    window_.setWindowEnabled(false);

    // Entry positions equal genre numbers: the names are handed over in
    // number order up to the first number without one.
    for (qint16 n = 0; n < GenreTable::kMaxEntries; ++n) {
        const QString name = classID3_V11::GetGenreString(n);
        if (name.isEmpty())
            break;
        editor_.GenreSet(name);
    }
    PutID3(static_cast<qint16>(current));
    return true;
}

void EditorSession::PutID3(qint16 KeyID)
{
    const int rows = rows_.count();
    if (rows == 0)
        return;
    int n = KeyID;
    if (n > rows)
        n = 1;
    else if (n < 1)
        n = rows;
    editor_.show(rows_.fields(n), shownPath(rows_.fileName(n)), static_cast<qint16>(n));
    shownRow_ = n;
}

void EditorSession::SetID3(qint16 KeyID)
{
    if (KeyID < 1 || KeyID > rows_.count())
        return;
    const TagRecord fields = editor_.fields();
    // Texts compare exactly, numbers as numbers; an unchanged row keeps
    // whatever mark it had.
    if (fields != rows_.fields(KeyID))
        rows_.setChanged(KeyID, true);
    rows_.putFields(KeyID, fields);
}

void EditorSession::LostForm()
{
    window_.setWindowEnabled(true);
    rows_.moveCurrentRow(shownRow_);
}
