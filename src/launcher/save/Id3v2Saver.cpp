#include "launcher/save/Id3v2Saver.h"

#include "id3v2/Id3v2InStep.h"
#include "id3v2/Id3v2Text.h"
#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/report/FileReports.h"
#include "services/ReportService.h"

#include <map>

Id3v2Saver::Id3v2Saver(FileList &rows, KnownFiles &known, ReportService &reports, Id3v2WriteBatch::Options options)
    : rows_(rows), known_(known), reports_(reports), options_(std::move(options))
{
}

RowResults Id3v2Saver::save(const QList<int> &rows)
{
    if (rows.isEmpty())
        return {};
    if (!confirmed_
        && !reports_.confirm(QStringLiteral("選択したファイルのID3v2タグを書き換えます。よろしいですか？"),
                             QStringLiteral(" [確認]")))
        return {};
    confirmed_ = true;

    std::map<int, FileResult> failures;  // by row, so they are reported in row order
    QList<int> added;
    {
        Id3v2WriteBatch batch(options_);
        for (const int row : rows) {
            // Only the file the row was loaded from, as Kalvo left it.
            const std::optional<FileSnapshot> expected = known_.snapshot(rows_.info(row).identity);
            const FileResult result = expected ? batch.add(rows_.path(row), rows_.fields(row), rows_.givenFields(row), *expected)
                                               : FileResult{FileProblem::Changed, 0};
            if (result.ok())
                added << row;
            else
                failures[row] = result;
        }
        const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
        for (qsizetype i = 0; i < added.size(); ++i) {
            const int row = added.at(i);
            const Id3v2WriteBatch::Outcome &outcome = outcomes.at(i);
            // A file written is remembered as written, also when its folder
            // could not be made durable: it holds the name now.
            if (outcome.snapshot) {
                rows_.setIdentity(row, outcome.snapshot->identity);
                known_.remember(*outcome.snapshot, rows_.fields(row));
            }
            // What the tag reads as written, without reading the file again.
            if (outcome.reading)
                rows_.setId3v2(row, *outcome.reading);
            if (outcome.result.ok())
                rows_.setChanged(row, false);
            else
                failures[row] = outcome.result;
        }
    }
    QList<FileRefusal> refusals;
    for (const auto &[row, why] : failures) {
        rows_.setChanged(row, rows_.isChanged(row));  // its marks shown as its fields stand
        refusals << FileRefusal{refusalSentence(FileCommand::Save, why), fileLine(rows_.reportedName(row))};
    }
    reportSaveRefusals(reports_, refusals);
    RowResults results;
    for (const int row : rows) {
        const auto failure = failures.find(row);
        results << (failure == failures.end() ? RowResult{.row = row, .done = RowDone::Written}
                                              : RowResult{.row = row, .done = RowDone::Refused, .why = failure->second});
    }
    return results;
}

RowResults Id3v2Saver::saveChanged(const QList<int> &rows)
{
    QList<int> changed;
    for (const int row : rows) {
        const Id3v2Text &reading = rows_.info(row).id3v2;
        if (known_.differs(rows_.info(row).identity, rows_.fields(row)) || reading.state != Id3v2State::Read
            || id3v2OutOfStep(rows_.fields(row), reading, rows_.givenFields(row)))
            changed << row;
        else
            rows_.setChanged(row, false);
    }
    const RowResults saved = save(changed);
    // Nothing was done when the user said no.
    return saved.isEmpty() && !changed.isEmpty() ? RowResults{} : withUnchanged(rows, saved);
}
