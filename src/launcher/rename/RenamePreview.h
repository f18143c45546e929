#pragma once

#include <QList>
#include <QString>

class FileList;
class RenamePreviewService;
class Renamer;

// Shift+R: the selected rows' names now and the names R would give them
// (Renamer::preview), each file R would leave as it is marked with why, in
// a dialog; only the user's OK lets R go on.
class RenamePreview
{
public:
    RenamePreview(const FileList &rows, Renamer &renamer, RenamePreviewService &dialog, const QString &caption);

    // True when the user takes OK on the rows' new names. A refused format
    // is reported as R reports it, and no rows show nothing: both false.
    bool confirm(const QString &format, const QList<int> &rows);

private:
    const FileList &rows_;
    Renamer &renamer_;
    RenamePreviewService &dialog_;
    QString caption_;
};
