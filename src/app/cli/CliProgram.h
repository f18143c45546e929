#pragma once

#include "app/cli/LocaleText.h"
#include "app/cli/StderrReports.h"
#include "launcher/ListParts.h"
#include "launcher/list/MemoryList.h"
#include "musicbrainz/ReleaseFill.h"
#include "system/PosixFileMover.h"
#include "system/PosixFolderReader.h"
#include "system/QtWebService.h"

#include <QByteArray>
#include <QString>

#include <functional>

class ConsoleOutput;
struct CliOptions;

// Exit statuses of kalvo-cli.
enum CliStatus : int {
    kAllDone = 0,
    kSomeFailed = 1,  // each file named on standard error; the others done
    kUsageError = 2,  // nothing touched
};

// One run of kalvo-cli: the files go into a list kept in memory, as the
// command line adds them to the window's list, and the command is the
// window's, done by the same parts on every row; then the rows that changed
// are saved in one batch. Questions are answered yes, reports go to standard
// error.
class CliProgram
{
public:
    // programFolder: where the program is, for the kiv.ini Kalvo keeps the
    // rename format in; readInput: all of standard input.
    CliProgram(ConsoleOutput &console, const LocaleText &text, const QString &currentFolder,
               const QString &programFolder, std::function<QByteArray()> readInput);

    CliStatus run(const CliOptions &options);

private:
    // The rename format given, or else kept by Kalvo; a refused one is
    // reported and gives nothing.
    std::optional<QString> renameFormat(const CliOptions &options);
    // Adds the files; false when some file named could not be added.
    bool addFiles(const QStringList &files);
    CliStatus showTags(bool json);
    // Changes the rows by the command, then saves those that changed, or
    // with dryRun tells what would change.
    CliStatus changeTags(const CliOptions &options, const QString &format, const QString &titles);
    void applyCommand(const CliOptions &options, const QString &format, const QString &titles);
    // Saves the rows whose fields differ from their files', a CD's worth at
    // a time; kSomeFailed when some file could not be saved. With v2, also
    // into their ID3v2 tags, writing too the rows whose tags say otherwise
    // or that have none.
    CliStatus saveChangedRows(bool v2);
    CliStatus renameFiles(const QString &format, bool dryRun);
    // A file as the user named it: relative to the current folder when it
    // is inside; standard output and the reports on standard error name
    // files so, as the user reads them (shownPath).
    QString givenFile(const QString &path) const;
    QString shownFile(const QString &path) const;

    ConsoleOutput &console_;
    LocaleText text_;
    QString currentFolder_;
    QString programFolder_;
    std::function<QByteArray()> readInput_;
    StderrReports reports_;
    MemoryList view_{true};
    PosixFolderReader folders_;
    PosixFileMover mover_;
    ListParts parts_;
    QtWebService web_;
    // fill musicbrainz: what the release gives the rows.
    std::optional<ReleaseRows> release_;
};
