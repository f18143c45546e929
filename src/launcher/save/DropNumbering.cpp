#include "DropNumbering.h"

#include "FileIdentity.h"
#include "KnownFiles.h"
#include "NativePath.h"
#include "ReportService.h"
#include "TagWriteBatch.h"
#include "classID3_V11.h"

#include <algorithm>

namespace {

// Numbering stops after the file that got the last track number a byte
// holds.
constexpr int kLastTrackNumber = 255;

}  // namespace

DropNumbering::DropNumbering(classID3_V11 &tag, KnownFiles &known, ReportService &reports, SyncFile syncFile)
    : clsID3Tag(tag), known_(known), reports_(reports), syncFile_(std::move(syncFile))
{
}

// Each file is read and its block written in drop order; the written files
// are made durable together at the end. A file that cannot be read, written
// or made durable keeps its tag as it was; as its failure shows only at the
// end, later files keep the numbers they got and its number stays unused.
void DropNumbering::number(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    TagWriteBatch batch(syncFile_);
    QList<qsizetype> written;    // drop positions, one per batch entry
    QList<TagRecord> writtenFields;  // what each entry wrote
    QList<qsizetype> unnumbered;  // drop positions
    int trackNumber = 1;
    for (qsizetype position = 0; position < paths.size(); ++position) {
        const QString &path = paths.at(position);
        // Asked until the first file has been numbered, so answering No
        // never leaves some files changed.
        if (trackNumber == 1
            && !reports_.confirm(shownPath(path)
                                     + QStringLiteral("から順番にトラック番号を振り全ファイル書き換えます。\rよろしいですか？"),
                                 QStringLiteral("[確認]")))
            return;
        clsID3Tag.SetMP3File(path);
        bool numbered = false;
        if (clsID3Tag.LoadMp3File(QString())) {
            clsID3Tag.SetTrackNumber(static_cast<quint8>(trackNumber));
            numbered = batch.add(path, tagFields(clsID3Tag));
        }
        if (numbered) {
            written << position;
            writtenFields << tagFields(clsID3Tag);
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
            known_.remember(fileIdentity(paths.at(written.at(entry))), writtenFields.at(entry));
    }
    std::sort(unnumbered.begin(), unnumbered.end());
    // Every file was reached after a Yes, those the question came back for
    // included; a No ended the operation above, with nothing numbered.
    if (!unnumbered.isEmpty()) {
        QStringList lines{QStringLiteral("次のファイルにはトラック番号を書き込めませんでした。")};
        for (qsizetype position : std::as_const(unnumbered))
            lines << shownPath(paths.at(position));
        reports_.report(ReportService::Kind::Problem, lines.join(u'\r'), QStringLiteral(" [書込みエラー]"));
    }
    reports_.report(ReportService::Kind::Notice, QStringLiteral("終了しました"), QStringLiteral("[通知]"));
}
