#include "launcher/add/LeftoverRecovery.h"

#include "files/FolderEntry.h"
#include "files/JournalRecovery.h"
#include "launcher/report/FileReports.h"
#include "services/ReportService.h"

LeftoverRecovery::LeftoverRecovery(ReportService &reports) : reports_(reports) {}

void LeftoverRecovery::beforeReading(const QString &path)
{
    const QString folder = realFolderOf(path);
    if (settled_.contains(folder))
        return;
    settled_.insert(folder);
    const FolderRecovery recovery = recoverFolder(folder);
    if (recovery.isEmpty())
        return;
    QList<FileRefusal> lines;
    for (const RecoveredFile &file : recovery.files) {
        QString sentence;
        switch (file.outcome) {
        case RecoveryOutcome::PutBack:
            sentence = QStringLiteral("次のファイルは前回の書き込みが途中で中断されていたため、書き込む前の状態に戻しました。");
            break;
        case RecoveryOutcome::Finished:
            sentence = QStringLiteral("次のファイルは前回中断された書き込みが書き終わっていたため、書き込んだ状態にしました。");
            break;
        case RecoveryOutcome::LeftAlone:
            sentence = QStringLiteral("次のファイルは前回の書き込みが中断された後に変更されているため、そのままにしました。");
            break;
        case RecoveryOutcome::NotPutBack:
            sentence = refusalSentence(FileCommand::Recover, file.why);
            break;
        }
        lines << FileRefusal{sentence, fileLine(file.path)};
    }
    for (const QString &copy : recovery.removedCopies)
        lines << FileRefusal{QStringLiteral("前回中断された書き込みで残った次の一時ファイルを削除しました。"), fileLine(copy)};
    reports_.report(ReportService::Kind::Notice, refusalText(lines), QStringLiteral(" [復旧]"));
}
