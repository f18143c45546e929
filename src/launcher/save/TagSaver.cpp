#include "launcher/save/TagSaver.h"

#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/report/FileReports.h"

#include <algorithm>
#include <iterator>

TagSaver::TagSaver(FileList &rows, KnownFiles &known, ReportService &reports, SyncFile syncFile)
    : rows_(rows), known_(known), reports_(reports), syncFile_(std::move(syncFile))
{
}

RowResults TagSaver::save(const QList<int> &rows)
{
    const RowResults results = write(rows);
    report(results, false);
    return results;
}

RowResults TagSaver::saveChanged(const QList<int> &rows)
{
    QList<int> changed;
    for (const int row : rows) {
        if (known_.differs(rows_.info(row).identity, rows_.fields(row)))
            changed << row;
        else
            rows_.setChanged(row, false);
    }
    return withUnchanged(rows, save(changed));
}

RowResults TagSaver::saveBeforeRename(const QList<int> &rows)
{
    const RowResults results = write(rows);
    report(results, true);
    return results;
}

RowResults TagSaver::write(const QList<int> &rows)
{
    TagWriteBatch batch(syncFile_, keepTimes_);
    RowResults results;
    QList<qsizetype> written;  // the results of the rows in the batch, in its order
    QList<FileSnapshot> snapshots;
    for (const int row : rows) {
        TagWriteBatch::Written result = SaveRowTag(row, batch);
        if (result.result.ok()) {
            written << results.size();
            snapshots << std::move(result.snapshot);
            results << RowResult{.row = row, .done = RowDone::Written};
        } else {
            results << RowResult{.row = row, .done = RowDone::Refused, .why = result.result};
        }
    }
    for (const TagWriteBatch::Undone &entry : batch.finish()) {
        RowResult &result = results[written.at(entry.entry)];
        result.done = RowDone::Refused;
        result.why = entry.why;
    }
    for (qsizetype entry = 0; entry < written.size(); ++entry) {
        const RowResult &result = results.at(written.at(entry));
        if (result.done == RowDone::Written) {
            rows_.setChanged(result.row, false);
            known_.remember(snapshots.at(entry), rows_.fields(result.row));
        }
    }
    return results;
}

void TagSaver::report(const RowResults &results, bool beforeRename)
{
    const FileCommand command = beforeRename ? FileCommand::SaveBeforeRename : FileCommand::Save;
    RowResults refused;
    std::copy_if(results.begin(), results.end(), std::back_inserter(refused),
                 [](const RowResult &r) { return r.done == RowDone::Refused; });
    // One report, in row order.
    std::stable_sort(refused.begin(), refused.end(), [](const RowResult &a, const RowResult &b) { return a.row < b.row; });
    QList<FileRefusal> refusals;
    for (const RowResult &row : refused)
        refusals << FileRefusal{refusalSentence(command, row.why), fileLine(rows_.reportedName(row.row))};
    reportSaveRefusals(reports_, refusals);
}

TagWriteBatch::Written TagSaver::SaveRowTag(int i, TagWriteBatch &batch)
{
    if (i < 1 || i > rows_.count())
        return {.result = {FileProblem::Missing, 0}, .snapshot = {}};
    const std::optional<FileSnapshot> expected = known_.snapshot(rows_.info(i).identity);
    if (!expected)
        return {.result = {FileProblem::Changed, 0}, .snapshot = {}};
    // Every field comes from the row, so nothing of another file reaches this
    // one; and only the file the row was loaded from, as Kalvo left it, is
    // written.
    return batch.add(rows_.path(i), rows_.fields(i), *expected);
}
