#pragma once

#include "launcher/history/ListHistory.h"
#include "services/FileRow.h"

class FileList;

// Records what happens to the list while it lives as one step of the history:
// it takes the rows when made, and when it goes records the change from them
// to the rows then, with the files a rename moved meanwhile.
//
//     const HistoryStep step(history, rows);
//     rows.remove(rows.selectedRows());
class HistoryStep
{
public:
    HistoryStep(ListHistory &history, const FileList &rows);
    ~HistoryStep();
    HistoryStep(const HistoryStep &) = delete;
    HistoryStep &operator=(const HistoryStep &) = delete;

    // Files the step moved, in the order moved.
    void addMoves(const QList<FileMove> &moves);

private:
    ListHistory &history_;
    const FileList &rows_;
    ListRows before_;
    QList<FileMove> moves_;
};
