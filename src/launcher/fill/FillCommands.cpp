#include "launcher/fill/FillCommands.h"

#include "files/NativePath.h"
#include "id3v2/Id3v2Text.h"
#include "launcher/list/FileList.h"
#include "launcher/report/FileReports.h"
#include "launcher/text/FileNameFields.h"
#include "launcher/text/PastedTitles.h"
#include "launcher/text/RenameFormat.h"
#include "launcher/text/RowFill.h"
#include "services/FileRow.h"
#include "services/ReportService.h"
#include "tagfiles/Id3v2File.h"

namespace {

const QString kFillHeading = QStringLiteral("次のファイルは取り込めなかった項目があります。");
// Values given, not brought in: what a row could not take of them.
const QString kSetHeading = QStringLiteral("次のファイルは指定した値をそのままでは書き込めない項目があります。");

// The fields of an ID3v2 tag by their columns' headers.
QStringList id3v2FieldNames(const QList<Id3v2Field> &fields)
{
    QStringList names;
    for (const Id3v2Field field : fields)
        names << QString::fromUtf16(
            kFileRowColumns[static_cast<std::size_t>(kId3v2FieldColumns[static_cast<std::size_t>(field)])].header);
    return names;
}

// A row filled from what its ID3v2 tag gave, with what it could not give
// first.
RowFill fillFromId3v2(int row, const TagRecord &current, const Id3v2Text &tag)
{
    QStringList problems;
    if (!tag.unreadable.isEmpty())
        problems << fillReason(FillReason::kUnreadableId3v2Fields, id3v2FieldNames(tag.unreadable));
    if (tag.cutShort)
        problems << QString::fromUtf16(FillReason::kId3v2CutShort);
    RowFill fill = fillRow(row, current, tag.fields);
    fill.problems = problems + fill.problems;
    return fill;
}

}  // namespace

FillCommands::FillCommands(FileList &rows, ReportService &reports) : rows_(rows), reports_(reports) {}

void FillCommands::fromId3v2(const QList<int> &rows)
{
    QList<RowFill> fills;
    for (int row : rows) {
        const TagRecord current = rows_.fields(row);
        const Id3v2Text tag = readId3v2Text(rows_.path(row));
        rows_.setId3v2(row, tag);
        switch (tag.state) {
        case Id3v2State::Read:
            fills << fillFromId3v2(row, current, tag);
            break;
        case Id3v2State::NoTag:
            fills << unchangedRow(row, current, FillReason::kNoId3v2);
            break;
        case Id3v2State::Unreadable:
            fills << unchangedRow(row, current, FillReason::kUnreadableId3v2);
            break;
        }
    }
    apply(fills, kFillHeading);
}

void FillCommands::fromFileNames(const QString &format, const QList<int> &rows)
{
    if (rows.isEmpty())
        return;
    if (isRefusedRenameFormat(format)) {
        reportRefusedFormat(reports_, format);
        return;
    }
    QList<RowFill> fills;
    for (int row : rows) {
        const TagRecord current = rows_.fields(row);
        // Read as the user sees the name: a name of CP932 bytes as CP932.
        const std::optional<TagUpdate> update = readFileName(format, shownPath(rows_.fileName(row)));
        fills << (update ? fillRow(row, current, *update) : unchangedRow(row, current, FillReason::kNameDoesNotFit));
    }
    apply(fills, kFillHeading);
}

void FillCommands::pasteTitles(const QString &text, const QList<int> &rows)
{
    if (rows.isEmpty())
        return;
    const QStringList titles = pastedTitles(text);
    QList<RowFill> fills;
    for (int row = rows.first(); row <= rows_.count() && fills.size() < titles.size(); ++row)
        fills << fillRow(row, rows_.fields(row), {.Title = titles.at(fills.size())});
    if (fills.size() < titles.size())
        fills.last().problems << fillReason(FillReason::kMoreLines, {QString::number(titles.size() - fills.size())});
    apply(fills, kFillHeading);
}

void FillCommands::readAgainAs(ForeignCodePage codePage, const QList<int> &rows)
{
    QList<RowFill> fills;
    for (int row : rows)
        fills << ::readAgainAs(row, rows_.fields(row), codePage);
    apply(fills, kFillHeading);
}

void FillCommands::setFields(const TagUpdate &update, const QList<int> &rows)
{
    QList<RowFill> fills;
    for (int row : rows)
        fills << fillRow(row, rows_.fields(row), update);
    apply(fills, kSetHeading);
}

void FillCommands::fillRows(const QList<TagUpdate> &updates, const QList<int> &rows, int tracksLeft)
{
    QList<RowFill> fills;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const int row = rows.at(i);
        fills << (i < updates.size() ? fillRow(row, rows_.fields(row), updates.at(i))
                                     : unchangedRow(row, rows_.fields(row), FillReason::kNoTrack));
    }
    if (tracksLeft > 0 && !fills.isEmpty())
        fills.last().problems << fillReason(FillReason::kMoreTracks, {QString::number(tracksLeft)});
    apply(fills, kFillHeading);
}

// The one place the fill commands change rows: a row whose fields differ
// gets them and its change mark. Then one report lists, in row order, each
// file that could not take everything.
void FillCommands::apply(const QList<RowFill> &fills, const QString &heading)
{
    QStringList lines;
    for (const RowFill &fill : fills) {
        if (fill.fields != rows_.fields(fill.row)) {
            rows_.putFields(fill.row, fill.fields);
            rows_.setChanged(fill.row, true);
        }
        if (!fill.problems.isEmpty())
            lines << shownPath(rows_.reportedName(fill.row)) + QStringLiteral(": ") + fill.problems.join(u'、');
    }
    if (!lines.isEmpty())
        reports_.report(ReportService::Kind::Problem, heading + u'\r' + lines.join(u'\r'),
                        QStringLiteral(" [取り込み]"));
}
