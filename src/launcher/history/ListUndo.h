#pragma once

#include "launcher/report/FileReports.h"

#include <QList>
#include <QString>

class FileList;
class FileMoveService;
class KnownFiles;
class ListHistory;
class ReportService;
struct FileMove;

// Undoing and redoing the steps of the history: the rows a step left or
// found come back, and the files a rename moved go back to their old names
// and again to their new ones.
//
// A file is moved back or again only while it is the file as Kalvo last
// read or wrote it, and never over another file (moveCheckedFile). The files
// that cannot be are named in one report; the others are moved, and each
// row's name follows its file. A step with a file left behind is not undone
// (or redone) yet: it stays the step to undo (or redo), so that once the
// user has put things right the same key moves the files left, and then the
// rows come back.
class ListUndo
{
public:
    ListUndo(ListHistory &history, FileList &rows, const KnownFiles &known, FileMoveService &mover,
             ReportService &reports);

    // Each does nothing when there is no step to undo or redo.
    void undo();
    void redo();

private:
    // Moves a renamed row's file from one name to the other and gives the
    // row the name; false, with the refusal added, when it cannot be moved.
    bool moveRowFile(const FileMove &move, const QString &from, const QString &to, FileCommand command,
                     QList<FileRefusal> &refusals);

    ListHistory &history_;
    FileList &rows_;
    const KnownFiles &known_;
    FileMoveService &mover_;
    ReportService &reports_;
};
