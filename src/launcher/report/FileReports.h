#pragma once

#include "files/FileResult.h"

#include <QList>
#include <QString>
#include <QStringList>

class ReportService;

// The reports of files that a command left as they were, which more than one
// command gives: one report per command, the files grouped by why, each
// group a sentence in plain Japanese followed by the files' lines. Names are
// shown as the user reads them (shownPath).

// What a command would have done to the files it reports.
enum class FileCommand {
    Save,              // S and Shift+S
    SaveBeforeRename,  // R's save: a file that is not the one loaded is not renamed either
    Rename,            // R's moves
    MoveBack,          // undoing a rename
    MoveAgain,         // redoing a rename
    Number,            // numbering dropped files
    KeepFormat,        // keeping the rename format in kiv.ini at the end
    KeepTimes,         // keeping in kiv.ini whether written files keep their times
    Recover,           // putting back a file a killed run of Kalvo left written in part
};

// One file a command left as it was: the sentence that says why (one per
// group) and the line that names the file.
struct FileRefusal {
    QString sentence;
    QString line;
};

// "次のファイルは読み込んだ後に変更されたため保存しませんでした。": the sentence
// for a file the command refused or failed for that reason. A file refused
// on purpose (changed, or no regular file) was "not" done, a failure
// "could not" be; a problem the system names has the system's words. A
// file changed since it was loaded is followed by how to go on.
QString refusalSentence(FileCommand command, const FileResult &why);

// Why alone, in words that end in "ため": "読み込んだ後に変更されたため".
QString refusalReason(FileCommand command, const FileResult &why);

// A rename refused for the name the format gave (UnusableName): it would
// leave the folder, start with "." or be too long.
QString unusableNameSentence();

// The line naming one file: the name as shown, or for a move "old → new".
QString fileLine(const QString &name);
QString moveLine(const QString &from, const QString &to);

// The text of one report of the refusals: each sentence, in the order first
// met, followed by the lines of its files; empty when there are none.
QString refusalText(const QList<FileRefusal> &refusals);

// One report of the refusals, when there are any: a save's as a failed save
// titled " [保存エラー]", a rename's, undo's and redo's as a problem titled
// " [変更時エラー]", drop numbering's and the settings file's as a problem
// titled " [書込みエラー]".
void reportSaveRefusals(ReportService &reports, const QList<FileRefusal> &refusals);
void reportMoveRefusals(ReportService &reports, const QList<FileRefusal> &refusals);
void reportWriteRefusals(ReportService &reports, const QList<FileRefusal> &refusals);

// The rename format holds a character file names may not have: the
// report names each such character it holds.
void reportRefusedFormat(ReportService &reports, const QString &format);
