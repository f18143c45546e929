#include "Id3v2Saver.h"

#include "FileList.h"
#include "FileReports.h"
#include "Id3v2Text.h"
#include "KnownFiles.h"
#include "NativePath.h"
#include "ReportService.h"

#include <map>

Id3v2Saver::Id3v2Saver(FileList &rows, KnownFiles &known, ReportService &reports, Id3v2WriteBatch::Options options)
    : rows_(rows), known_(known), reports_(reports), options_(std::move(options))
{
}

void Id3v2Saver::save(const QList<int> &rows)
{
    if (rows.isEmpty())
        return;
    if (!confirmed_
        && !reports_.confirm(QStringLiteral("選択したファイルのID3v2タグを書き換えます。よろしいですか？"),
                             QStringLiteral(" [確認]")))
        return;
    confirmed_ = true;

    std::map<int, WriteFailure> failures;  // by row, so they are reported in row order
    QList<int> added;
    {
        Id3v2WriteBatch batch(options_);
        for (const int row : rows) {
            const WriteFailure failure = batch.add(rows_.path(row), rows_.fields(row), rows_.info(row).identity);
            if (failure == WriteFailure::None)
                added << row;
            else
                failures[row] = failure;
        }
        const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
        for (qsizetype i = 0; i < added.size(); ++i) {
            const int row = added.at(i);
            const Id3v2WriteBatch::Outcome &outcome = outcomes.at(i);
            if (outcome.identity)
                rows_.setIdentity(row, *outcome.identity);
            if (outcome.failure != WriteFailure::None) {
                failures[row] = outcome.failure;
                continue;
            }
            rows_.setChanged(row, false);
            known_.remember(rows_.info(row).identity, rows_.fields(row));
        }
    }
    for (const int row : rows)
        rows_.setId3v2(row, readId3v2Text(rows_.path(row)));
    if (failures.empty())
        return;
    QStringList lines;
    for (const auto &[row, failure] : failures)
        lines << shownPath(rows_.fileName(row)) + QStringLiteral(": ") + writeFailureText(failure);
    reportWriteFailures(reports_, lines);
}
