// Filling rows from text that exists already: the files' ID3v2 tags, their
// names, a pasted track list, and the rows' own tag text read in the code
// page it was written in. Each command works out every row's new fields from
// the rows and its source first; applyFills then changes the rows and tells
// the user what could not be taken.

#include "frmID3Launcher.h"

#include "ClipboardService.h"
#include "Cp932.h"
#include "FileNameFields.h"
#include "FileRow.h"
#include "Id3v2Text.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "MessageBoxService.h"
#include "NativePath.h"
#include "PastedTitles.h"
#include "RenameFormat.h"
#include "RowFill.h"

namespace {

const QString kReportHeading = QStringLiteral("次のファイルは取り込めなかった項目があります。");
const QString kReportTitleWord = QStringLiteral(" [取り込み]");

QList<int> selectedRows(const ListViewService &list)
{
    QList<int> rows;
    for (int row = 1; row <= list.count(); ++row) {
        if (list.isSelected(row))
            rows << row;
    }
    return rows;
}

RowFill unchanged(int row, const TagRecord &current, const char16_t *reason)
{
    return {.row = row, .fields = current, .problems = {QString::fromUtf16(reason)}};
}

// Each text field's CP932 bytes read in the code page. A field whose bytes
// are not valid there shows the row was not written in it: the whole row
// keeps its text, and those fields are noted.
RowFill readAgain(int row, const TagRecord &current, ForeignCodePage codePage)
{
    TagUpdate update;
    QStringList invalid;
    for (const TextField &field : kTextFields) {
        const QString &text = current.*field.record;
        std::optional<QString> read = decodeForeign(codePage, Cp932::encode(text), field.width);
        if (!read)
            invalid << fieldName(field);
        else if (*read != text)
            update.*field.update = std::move(read);
    }
    if (invalid.isEmpty())
        return fillRow(row, current, update);
    return {.row = row,
            .fields = current,
            .problems = {fillReason(codePage == ForeignCodePage::Utf8 ? FillReason::kNotUtf8 : FillReason::kNotEucJp,
                                    invalid)}};
}

}  // namespace

void frmID3Launcher::FillFromId3v2()
{
    const ListViewService &list = services_.list;
    QList<RowFill> fills;
    for (int row : selectedRows(list)) {
        const TagRecord current = rowFields(list, row);
        const Id3v2Text tag = readId3v2Text(list.cell(row, livFileNamewithPath) + list.cell(row, livFilename));
        switch (tag.state) {
        case Id3v2State::Read:
            fills << fillRow(row, current, tag.fields);
            break;
        case Id3v2State::NoTag:
            fills << unchanged(row, current, FillReason::kNoId3v2);
            break;
        case Id3v2State::Unreadable:
            fills << unchanged(row, current, FillReason::kUnreadableId3v2);
            break;
        }
    }
    applyFills(fills);
}

void frmID3Launcher::FillFromFileNames()
{
    const ListViewService &list = services_.list;
    const QList<int> rows = selectedRows(list);
    if (rows.isEmpty())
        return;
    const QString format = services_.window.renameFormat();
    if (isRefusedRenameFormat(format)) {
        showFormatError();
        return;
    }
    QList<RowFill> fills;
    for (int row : rows) {
        const TagRecord current = rowFields(list, row);
        // Read as the user sees the name: a name of CP932 bytes as CP932.
        const std::optional<TagUpdate> update = readFileName(format, shownPath(list.cell(row, livFilename)));
        fills << (update ? fillRow(row, current, *update) : unchanged(row, current, FillReason::kNameDoesNotFit));
    }
    applyFills(fills);
}

void frmID3Launcher::PasteTitles()
{
    const ListViewService &list = services_.list;
    const QList<int> selected = selectedRows(list);
    if (selected.isEmpty())
        return;
    const QStringList titles = pastedTitles(services_.clipboard.text());
    QList<RowFill> fills;
    for (int row = selected.first(); row <= list.count() && fills.size() < titles.size(); ++row)
        fills << fillRow(row, rowFields(list, row), {.Title = titles.at(fills.size())});
    if (fills.size() < titles.size())
        fills.last().problems << fillReason(FillReason::kMoreLines, {QString::number(titles.size() - fills.size())});
    applyFills(fills);
}

void frmID3Launcher::ReadAgainAs(ForeignCodePage codePage)
{
    const ListViewService &list = services_.list;
    QList<RowFill> fills;
    for (int row : selectedRows(list))
        fills << readAgain(row, rowFields(list, row), codePage);
    applyFills(fills);
}

// The one place the fill commands change rows: a row whose fields differ
// gets them and its change mark, all of it one step. Then one message lists, in row order, each
// file that could not take everything.
void frmID3Launcher::applyFills(const QList<RowFill> &fills)
{
    ListViewService &list = services_.list;
    ListRows before = listRows();
    QStringList lines;
    for (const RowFill &fill : fills) {
        if (fill.fields != rowFields(list, fill.row)) {
            putRowFields(list, fill.row, fill.fields);
            list.setCell(fill.row, livChanged, QString::fromUtf16(kChangeMark));
        }
        if (!fill.problems.isEmpty())
            lines << shownPath(list.cell(fill.row, livFilename)) + QStringLiteral(": ") + fill.problems.join(u'、');
    }
    recordStep(std::move(before));
    if (lines.isEmpty())
        return;
    services_.messages.showMessage(kReportHeading + u'\r' + lines.join(u'\r'), MessageBoxService::Buttons::Ok,
                                   MessageBoxService::Icon::Exclamation,
                                   services_.window.caption() + kReportTitleWord);
}
