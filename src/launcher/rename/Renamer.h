#pragma once

#include "launcher/rename/FileMove.h"
#include "launcher/save/TagSaver.h"

#include <QList>
#include <QString>

class FileList;
class FileMoveService;
class KnownFiles;
class ReportService;

// Renaming files from their tags by a format: each row's file is moved within
// its folder to the name the format builds from the row's cells, never over
// another file.
class Renamer
{
public:
    Renamer(FileList &rows, const KnownFiles &known, TagSaver &saver, FileMoveService &mover,
            ReportService &reports);

    // The new file name for row i by the format (renameFileName, %N the row's
    // position among all rows); empty when the format is refused or no row i
    // exists.
    QString MakeRenameName(const QString &format, int i) const;

    // Checks the format on the top row and stops with a report when it is
    // refused; else saves the rows first, then moves each row's file to its
    // new name (moveCheckedFile: only the file as Kalvo last read or wrote
    // it) and gives the row that name. A file the save found not to be the
    // one read is not moved. A name that would leave the folder, hide the
    // file or be too long, and a move that is refused or fails, are left
    // out, and all of them are named in one report. Gives the moves made, in
    // order.
    QList<FileMove> rename(const QString &format, const QList<int> &rows);
    // The same without the save first, for rows that hold what their files
    // hold.
    QList<FileMove> renameUnchanged(const QString &format, const QList<int> &rows);

private:
    // False, with a report, when the format gives the top row no name.
    bool acceptsFormat(const QString &format);
    // Moves the rows' files, leaving out those the save found not to be the
    // files read.
    QList<FileMove> moveFiles(const QString &format, const QList<int> &rows, const QList<TagSaver::Refused> &notSaved);

    FileList &rows_;
    const KnownFiles &known_;
    TagSaver &saver_;
    FileMoveService &mover_;
    ReportService &reports_;
};
