#include "launcher/save/TagSaver.h"

#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/report/FileReports.h"

#include <algorithm>

TagSaver::TagSaver(FileList &rows, KnownFiles &known, ReportService &reports, SyncFile syncFile)
    : rows_(rows), known_(known), reports_(reports), syncFile_(std::move(syncFile))
{
}

void TagSaver::save(const QList<int> &rows)
{
    report(write(rows), false);
}

QList<TagSaver::Refused> TagSaver::saveBeforeRename(const QList<int> &rows)
{
    const QList<Refused> refused = write(rows);
    report(refused, true);
    return refused;
}

QList<TagSaver::Refused> TagSaver::write(const QList<int> &rows)
{
    TagWriteBatch batch(syncFile_);
    QList<Refused> refused;
    QList<int> written;
    QList<FileSnapshot> snapshots;
    for (int row : rows) {
        TagWriteBatch::Written result = SaveRowTag(row, batch);
        if (result.result.ok()) {
            written << row;
            snapshots << std::move(result.snapshot);
        } else {
            refused << Refused{row, result.result};
        }
    }
    const QList<TagWriteBatch::Undone> undone = batch.finish();
    for (const TagWriteBatch::Undone &entry : undone)
        refused << Refused{written.at(entry.entry), entry.why};
    for (int entry = 0; entry < written.size(); ++entry) {
        const bool durable = std::none_of(undone.begin(), undone.end(),
                                          [&](const TagWriteBatch::Undone &u) { return u.entry == entry; });
        if (durable) {
            const int row = written.at(entry);
            rows_.setChanged(row, false);
            known_.remember(snapshots.at(entry), rows_.fields(row));
        }
    }
    std::stable_sort(refused.begin(), refused.end(), [](const Refused &a, const Refused &b) { return a.row < b.row; });
    return refused;
}

void TagSaver::report(const QList<Refused> &refused, bool beforeRename)
{
    const FileCommand command = beforeRename ? FileCommand::SaveBeforeRename : FileCommand::Save;
    QList<FileRefusal> refusals;
    for (const Refused &row : refused)
        refusals << FileRefusal{refusalSentence(command, row.why), fileLine(rows_.fileName(row.row))};
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
