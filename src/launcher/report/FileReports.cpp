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
