#pragma once

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
class ListUndo
{
public:
    ListUndo(ListHistory &history, FileList &rows, const KnownFiles &known, FileMoveService &mover,
             ReportService &reports);

    // Each does nothing when there is no step to undo or redo.
    void undo();
    void redo();

private:
    bool moveRowFile(const FileMove &move, const QString &from, const QString &to);

    ListHistory &history_;
    FileList &rows_;
    const KnownFiles &known_;
    FileMoveService &mover_;
    ReportService &reports_;
};
