#include "launcher/history/HistoryStep.h"

#include "launcher/list/FileList.h"

HistoryStep::HistoryStep(ListHistory &history, const FileList &rows)
    : history_(history), rows_(rows), before_(rows.snapshot())
{
}

HistoryStep::~HistoryStep()
{
    history_.record({.before = std::move(before_), .after = rows_.snapshot(), .moves = std::move(moves_)});
}

void HistoryStep::addMoves(const QList<FileMove> &moves)
{
    moves_ << moves;
}
