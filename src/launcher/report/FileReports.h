#pragma once

#include <QString>

class ReportService;

// The reports of files that could not be saved, moved or named, which more
// than one command gives. Names are shown as the user reads them (shownPath).

// "<name> は保存できませんでした。"
void reportSaveFailure(ReportService &reports, const QString &fileName);

// "<from> から <to> に変更できませんでした"
void reportRenameFailure(ReportService &reports, const QString &from, const QString &to);

// The rename format holds a character file names may not have.
void reportRefusedFormat(ReportService &reports);
