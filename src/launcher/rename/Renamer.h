#pragma once

#include "launcher/rename/FileMove.h"
#include "launcher/save/TagSaver.h"

#include <QList>
#include <QString>

class FileList;
class FileMoveService;
class KnownFiles;
class ReportService;

// A row's new name as the format gives it now.
struct PlannedName {
    int row = 0;
    QString oldName;
    QString newName;
    // UnusableName when the name would leave the folder, hide the file or
    // be too long; else none. A preview also gives Changed (or another
    // reason) for a file that is not as Kalvo last read or wrote it, and
    // NameTaken for a name another file has or an earlier row gets first
    // (takenBy).
    FileResult why{};
    int takenBy = 0;
    // The name holds the "00" the format's %T gives a row without a track.
    bool noTrack = false;
};

// Renaming files from their tags by a format: each row's file is moved within
// its folder to the name the format builds from the row's cells, never over
// another file.
class Renamer
{
public:
    // The files moved, in order, and what became of each row's file.
    struct Renamed {
        QList<FileMove> moves;
        RowResults rows;
    };

    Renamer(FileList &rows, const KnownFiles &known, TagSaver &saver, FileMoveService &mover,
            ReportService &reports);

    // The new file name for row i by the format (renameFileName, %N the row's
    // position among all rows); empty when the format is refused or no row i
    // exists.
    QString MakeRenameName(const QString &format, int i) const;

    // The names the format gives the rows, in their order; nothing is moved.
    QList<PlannedName> plan(const QString &format, const QList<int> &rows) const;
    // The same, and what the moves would meet, the rows moved one after
    // another from the first: a file that is not as last read or written is
    // not moved, nor one whose new name another file has (unless an earlier
    // row moves that file away first) or an earlier row gets. A row whose
    // name stays is left to the caller.
    QList<PlannedName> preview(const QString &format, const QList<int> &rows) const;

    // False, with a report, when the format gives the top row no name.
    bool acceptsFormat(const QString &format);

    // Checks the format on the top row and stops with a report when it is
    // refused; else saves the rows first, then moves each row's file to its
    // new name (moveCheckedFile: only the file as Kalvo last read or wrote
    // it) and gives the row that name. A file the save found not to be the
    // one read is not moved. A name that would leave the folder, hide the
    // file or be too long, and a move that is refused or fails, are left
    // out, and all of them are named in one report.
    Renamed rename(const QString &format, const QList<int> &rows);
    // The same without the save first, for rows that hold what their files
    // hold; a file that has its new name already is Unchanged.
    Renamed renameUnchanged(const QString &format, const QList<int> &rows);

private:
    // Moves the rows' files, leaving out those the save found not to be the
    // files read and, with leaveNamed, those that have their names already.
    Renamed moveFiles(const QString &format, const QList<int> &rows, const RowResults &saved, bool leaveNamed);

    FileList &rows_;
    const KnownFiles &known_;
    TagSaver &saver_;
    FileMoveService &mover_;
    ReportService &reports_;
};
