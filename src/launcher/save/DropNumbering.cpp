#include "launcher/save/DropNumbering.h"

#include "files/NativePath.h"
#include "launcher/add/LeftoverRecovery.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/report/FileReports.h"
#include "services/ReportService.h"
#include "tagfiles/classID3_V11.h"
#include "tagfiles/TagWriteBatch.h"

#include <algorithm>

namespace {

// Numbering stops after the file that got the last track number a byte
// holds.
constexpr int kLastTrackNumber = 255;

const QString kPastLastNumber = QStringLiteral("次のファイルはトラック番号が255を超えるため書き込みませんでした。");

}  // namespace

DropNumbering::DropNumbering(classID3_V11 &tag, KnownFiles &known, LeftoverRecovery &recovery,
                             ReportService &reports, SyncFile syncFile)
    : clsID3Tag(tag), known_(known), recovery_(recovery), reports_(reports), syncFile_(std::move(syncFile))
{
}

// Each file is read and its block written in drop order, checked on the
// descriptor written to be the file as it was read; the written files are
// made durable together at the end. A file that cannot be read, written or
// made durable keeps its tag as it was; as its failure shows only at the
// end, later files keep the numbers they got and its number stays unused.
void DropNumbering::number(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    TagWriteBatch batch(syncFile_, keepTimes_);
    QList<qsizetype> written;         // drop positions, one per batch entry
    QList<TagRecord> writtenFields;   // what each entry wrote
    QList<FileSnapshot> writtenFiles; // the file each entry left
    QList<std::pair<qsizetype, FileRefusal>> unnumbered;  // by drop position
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
        recovery_.beforeReading(path);
        clsID3Tag.SetMP3File(path);
        FileResult result;
        if (clsID3Tag.LoadMp3File(QString())) {
            clsID3Tag.SetTrackNumber(static_cast<quint8>(trackNumber));
            TagWriteBatch::Written write = batch.add(path, tagFields(clsID3Tag), clsID3Tag.loadedFile());
            result = write.result;
            if (result.ok())
                writtenFiles << std::move(write.snapshot);
        } else {
            result = clsID3Tag.loadProblem();
        }
        if (result.ok()) {
            written << position;
            writtenFields << tagFields(clsID3Tag);
            ++trackNumber;
        } else {
            unnumbered.append({position, {refusalSentence(FileCommand::Number, result), fileLine(path)}});
        }
        if (trackNumber > kLastTrackNumber) {
            // The files after the one that got the last number are named too.
            for (qsizetype rest = position + 1; rest < paths.size(); ++rest)
                unnumbered.append({rest, {kPastLastNumber, fileLine(paths.at(rest))}});
            break;
        }
    }
    const QList<TagWriteBatch::Undone> undone = batch.finish();
    for (const TagWriteBatch::Undone &entry : undone) {
        const qsizetype position = written.at(entry.entry);
        unnumbered.append({position, {refusalSentence(FileCommand::Number, entry.why), fileLine(paths.at(position))}});
    }
    for (int entry = 0; entry < written.size(); ++entry) {
        if (std::none_of(undone.begin(), undone.end(), [&](const TagWriteBatch::Undone &u) { return u.entry == entry; }))
            known_.remember(writtenFiles.at(entry), writtenFields.at(entry));
    }
    std::stable_sort(unnumbered.begin(), unnumbered.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    // Every file was reached after a Yes, those the question came back for
    // included; a No ended the operation above, with nothing numbered.
    QList<FileRefusal> refusals;
    for (const auto &file : std::as_const(unnumbered))
        refusals << file.second;
    reportWriteRefusals(reports_, refusals);
    reports_.report(ReportService::Kind::Notice, QStringLiteral("終了しました"), QStringLiteral("[通知]"));
}
