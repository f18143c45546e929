// Filling whole columns of the list from a header click, and numbering files
// in the order they are dropped on the numbering label.

#include "frmID3Launcher.h"

#include "FileRow.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "MessageBoxService.h"
#include "NativePath.h"

#include <algorithm>

namespace {

// Drop numbering stops after the file that got the last track number a byte
// holds.
constexpr int kLastTrackNumber = 255;

}  // namespace

bool frmID3Launcher::ask(const QString &question, const QString &titleWord)
{
    return services_.messages.showMessage(question, MessageBoxService::Buttons::YesNo,
                                          MessageBoxService::Icon::Question,
                                          services_.window.caption() + titleWord)
           == MessageBoxService::Answer::Yes;
}

void frmID3Launcher::lvMP3List_ColumnClick(int column)
{
    if (services_.list.count() == 0)
        return;
    switch (column) {
    case livTrackNo:
        numberRowsFromTheTop();
        break;
    case livTitle:
    case livGenre:
    case livComment:
    case livAirtist:
    case livAlbum:
    case livYear:
        unifyColumn(column);
        break;
    default:
        break;
    }
}

void frmID3Launcher::numberRowsFromTheTop()
{
    if (!ask(QStringLiteral("上から連番を付けますか？"), QStringLiteral("[連番確認]")))
        return;
    ListViewService &list = services_.list;
    ListRows before = listRows();
    for (int row = 1; row <= list.count(); ++row) {
        list.setCell(row, livTrackNo, QString::number(row));
        list.setCell(row, livChanged, QString::fromUtf16(kChangeMark));
    }
    recordStep(std::move(before));
}

void frmID3Launcher::unifyColumn(int column)
{
    ListViewService &list = services_.list;
    const QString value = list.cell(1, column);
    const QString question = QStringLiteral("一番上の") + list.headerText(column) + QStringLiteral("名[") + value
                             + QStringLiteral("]で統一しますか？");
    if (!ask(question, QStringLiteral("[統一変更確認]")))
        return;
    // The genre name only shows the number; both travel together.
    const QString genreId = list.cell(1, livGenreID);
    ListRows before = listRows();
    for (int row = 2; row <= list.count(); ++row) {
        list.setCell(row, column, value);
        if (column == livGenre)
            list.setCell(row, livGenreID, genreId);
        list.setCell(row, livChanged, QString::fromUtf16(kChangeMark));
    }
    recordStep(std::move(before));
}

// Each file is read and its block written in drop order; the written files
// are made durable together at the end. A file that cannot be read, written
// or made durable keeps its tag as it was; as its failure shows only at the
// end, later files keep the numbers they got and its number stays unused.
void frmID3Launcher::lblRENBANDD_OLEDragDrop(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    classID3_V11 &tag = sharedTag();
    TagWriteBatch batch(syncWrittenFile);
    QList<qsizetype> written;    // drop positions, one per batch entry
    QList<TagRecord> writtenFields;  // what each entry wrote
    QList<qsizetype> unnumbered;  // drop positions
    int trackNumber = 1;
    for (qsizetype position = 0; position < paths.size(); ++position) {
        const QString &path = paths.at(position);
        // Asked until the first file has been numbered, so answering No
        // never leaves some files changed.
        if (trackNumber == 1
            && !ask(shownPath(path) + QStringLiteral("から順番にトラック番号を振り全ファイル書き換えます。\rよろしいですか？"),
                    QStringLiteral("[確認]")))
            return;
        tag.SetMP3File(path);
        bool numbered = false;
        if (tag.LoadMp3File(QString())) {
            tag.SetTrackNumber(static_cast<quint8>(trackNumber));
            numbered = batch.add(path, tagFields(tag));
        }
        if (numbered) {
            written << position;
            writtenFields << tagFields(tag);
            ++trackNumber;
        } else {
            unnumbered << position;
        }
        if (trackNumber > kLastTrackNumber) {
            // The files after the one that got the last number are named too.
            for (qsizetype rest = position + 1; rest < paths.size(); ++rest)
                unnumbered << rest;
            break;
        }
    }
    const QList<int> undone = batch.finish();
    for (int entry = 0; entry < written.size(); ++entry) {
        if (undone.contains(entry))
            unnumbered << written.at(entry);
        else
            rememberFileValues(fileIdentity(paths.at(written.at(entry))), writtenFields.at(entry));
    }
    std::sort(unnumbered.begin(), unnumbered.end());
    // Every file was reached after a Yes, those the question came back for
    // included; a No ended the operation above, with nothing numbered.
    if (!unnumbered.isEmpty()) {
        QStringList lines{QStringLiteral("次のファイルにはトラック番号を書き込めませんでした。")};
        for (qsizetype position : std::as_const(unnumbered))
            lines << shownPath(paths.at(position));
        services_.messages.showMessage(lines.join(u'\r'), MessageBoxService::Buttons::Ok,
                                       MessageBoxService::Icon::Exclamation,
                                       services_.window.caption() + QStringLiteral(" [書込みエラー]"));
    }
    services_.messages.showMessage(QStringLiteral("終了しました"), MessageBoxService::Buttons::Ok,
                                   MessageBoxService::Icon::Information,
                                   services_.window.caption() + QStringLiteral("[通知]"));
}
