#include "TagSaver.h"

#include "FileList.h"
#include "FileReports.h"
#include "KnownFiles.h"
#include "TagWriteBatch.h"

TagSaver::TagSaver(FileList &rows, KnownFiles &known, ReportService &reports, SyncFile syncFile)
    : rows_(rows), known_(known), reports_(reports), syncFile_(std::move(syncFile))
{
}

void TagSaver::save(const QList<int> &rows)
{
    TagWriteBatch batch(syncFile_);
    QList<int> written;
    for (int row : rows) {
        if (SaveRowTag(row, batch))
            written << row;
        else
            reportSaveFailure(reports_, rows_.fileName(row));
    }
    const QList<int> undone = batch.finish();
    for (int entry = 0; entry < written.size(); ++entry) {
        const int row = written.at(entry);
        if (undone.contains(entry)) {
            reportSaveFailure(reports_, rows_.fileName(row));
        } else {
            rows_.setChanged(row, false);
            known_.remember(rows_.info(row).identity, rows_.fields(row));
        }
    }
}

bool TagSaver::SaveRowTag(int i, TagWriteBatch &batch)
{
    if (i < 1 || i > rows_.count())
        return false;
    // Every field comes from the row, so nothing of another file reaches this
    // one; and only the file the row was loaded from is written.
    return batch.add(rows_.path(i), rows_.fields(i), rows_.info(i).identity);
}
