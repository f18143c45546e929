#pragma once

#include <QSet>
#include <QString>

class ReportService;

// Before a file of a folder is first read in a run of the program, what a
// run that was killed, or cut off by a crash, left in the folder is settled
// (JournalRecovery): files written in part put back, journals and hidden
// copies removed. The user is told what was done, in one report per
// folder.
class LeftoverRecovery
{
public:
    explicit LeftoverRecovery(ReportService &reports);

    // The file at path is about to be read.
    void beforeReading(const QString &path);

private:
    ReportService &reports_;
    QSet<QString> settled_;  // the folders looked at in this run
};
