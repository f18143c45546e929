#include "FileReports.h"

#include "NativePath.h"
#include "ReportService.h"

void reportSaveFailure(ReportService &reports, const QString &fileName)
{
    reports.report(ReportService::Kind::SaveFailure, shownPath(fileName) + QStringLiteral(" は保存できませんでした。"),
                   QStringLiteral(" [保存エラー]"));
}

void reportRenameFailure(ReportService &reports, const QString &from, const QString &to)
{
    reports.report(ReportService::Kind::Problem,
                   shownPath(from) + QStringLiteral(" から ") + shownPath(to) + QStringLiteral(" に変更できませんでした"),
                   QStringLiteral(" [変更時エラー]"));
}

void reportRefusedFormat(ReportService &reports)
{
    reports.report(ReportService::Kind::Problem, QStringLiteral("ファイルフォーマットに使用できない文字が含まれています"),
                   QStringLiteral(" [フォーマットーエラー]"));
}

QString writeFailureText(WriteFailure failure)
{
    switch (failure) {
    case WriteFailure::None: break;
    case WriteFailure::CannotOpen: return QStringLiteral("開けない");
    case WriteFailure::Changed: return QStringLiteral("読み込んだ後に変更された");
    case WriteFailure::NotMp3: return QStringLiteral("MP3ファイルでない");
    case WriteFailure::TagUnreadable: return QStringLiteral("ID3v2タグを読めない");
    case WriteFailure::TagCutShort: return QStringLiteral("ID3v2タグの途中から先を読めない");
    case WriteFailure::FrameNotCarried: return QStringLiteral("ID3v2.2タグにv2.3へ移せないフレームがある");
    case WriteFailure::HardLinks: return QStringLiteral("ハードリンクで別の名前もある");
    case WriteFailure::FolderNotWritable: return QStringLiteral("フォルダに書き込めない");
    case WriteFailure::OwnerNotKept: return QStringLiteral("所有者・グループ・許可を保てない");
    case WriteFailure::NoSpace: return QStringLiteral("ディスクに空きがない");
    case WriteFailure::WriteFailed: return QStringLiteral("書き込めない");
    case WriteFailure::SyncFailed: return QStringLiteral("ディスクに書き込みきれない");
    case WriteFailure::FolderSyncFailed: return QStringLiteral("書き込んだがフォルダを同期できない");
    }
    return {};
}

void reportWriteFailures(ReportService &reports, const QStringList &lines)
{
    reports.report(ReportService::Kind::SaveFailure,
                   QStringLiteral("次のファイルは保存できませんでした。") + u'\r' + lines.join(u'\r'),
                   QStringLiteral(" [保存エラー]"));
}
