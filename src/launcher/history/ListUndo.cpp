#include "launcher/history/ListUndo.h"

#include "launcher/history/ListHistory.h"
#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/rename/CheckedMove.h"
#include "launcher/report/FileReports.h"

ListUndo::ListUndo(ListHistory &history, FileList &rows, const KnownFiles &known, FileMoveService &mover,
                   ReportService &reports)
    : history_(history), rows_(rows), known_(known), mover_(mover), reports_(reports)
{
}

void ListUndo::undo()
{
    if (!history_.canUndo())
        return;
    ListStep &step = history_.toUndo();
    QList<FileRefusal> refusals;
    // Back in the opposite order, so a name one file left and another took
    // in the same rename is free again when the first file needs it.
    for (auto move = step.moves.rbegin(); move != step.moves.rend(); ++move) {
        if (move->atNewName)
            move->atNewName = !moveRowFile(*move, move->newName, move->oldName, FileCommand::MoveBack, refusals);
    }
    reportMoveRefusals(reports_, refusals);
    if (!refusals.isEmpty())
        return;
    history_.undo();
    rows_.restore(step.before, known_);
}

void ListUndo::redo()
{
    if (!history_.canRedo())
        return;
    ListStep &step = history_.toRedo();
    QList<FileRefusal> refusals;
    for (FileMove &move : step.moves) {
        if (!move.atNewName)
            move.atNewName = moveRowFile(move, move.oldName, move.newName, FileCommand::MoveAgain, refusals);
    }
    reportMoveRefusals(reports_, refusals);
    if (!refusals.isEmpty())
        return;
    history_.redo();
    rows_.restore(step.after, known_);
}

bool ListUndo::moveRowFile(const FileMove &move, const QString &from, const QString &to, FileCommand command,
                           QList<FileRefusal> &refusals)
{
    const std::optional<FileSnapshot> expected = known_.snapshot(move.file);
    const FileResult moved = expected ? moveCheckedFile(mover_, move.folder + from, move.folder + to, *expected)
                                      : FileResult{FileProblem::Changed, 0};
    if (!moved.ok()) {
        refusals << FileRefusal{refusalSentence(command, moved), moveLine(from, to)};
        return false;
    }
    rows_.renameRow(move.serial, to);
    return true;
}
