#include "ListUndo.h"

#include "FileList.h"
#include "FileMoveService.h"
#include "FileReports.h"
#include "ListHistory.h"

ListUndo::ListUndo(ListHistory &history, FileList &rows, const KnownFiles &known, FileMoveService &mover,
                   ReportService &reports)
    : history_(history), rows_(rows), known_(known), mover_(mover), reports_(reports)
{
}

void ListUndo::undo()
{
    if (!history_.canUndo())
        return;
    ListStep &step = history_.undo();
    // Back in the opposite order, so a name one file left and another took
    // in the same rename is free again when the first file needs it.
    for (auto move = step.moves.rbegin(); move != step.moves.rend(); ++move) {
        if (move->atNewName)
            move->atNewName = !moveRowFile(*move, move->newName, move->oldName);
    }
    rows_.restore(step.before, known_);
}

void ListUndo::redo()
{
    if (!history_.canRedo())
        return;
    ListStep &step = history_.redo();
    for (FileMove &move : step.moves) {
        if (!move.atNewName)
            move.atNewName = moveRowFile(move, move.oldName, move.newName);
    }
    rows_.restore(step.after, known_);
}

// Moves a renamed row's file from one name to the other with the mover that
// never overwrites, and gives the row the name the file has; a file that
// cannot be moved (its name taken meanwhile, or gone) stays where it is and
// is reported.
bool ListUndo::moveRowFile(const FileMove &move, const QString &from, const QString &to)
{
    if (!mover_.moveFile(move.folder + from, move.folder + to)) {
        reportRenameFailure(reports_, from, to);
        return false;
    }
    rows_.renameRow(move.serial, to);
    return true;
}
