#pragma once

#include "files/FileDescriptor.h"

#include <QStringList>

class KnownFiles;
class LeftoverRecovery;
class ReportService;
class classID3_V11;

// Numbering files in the order they are dropped on the numbering label,
// written straight into the files; the list is left as it is.
class DropNumbering
{
public:
    // tag: the shared tag object the files are read with; syncFile makes
    // each written file durable.
    DropNumbering(classID3_V11 &tag, KnownFiles &known, LeftoverRecovery &recovery, ReportService &reports,
                  SyncFile syncFile);

    // Asks before the first file is numbered, gives the files track numbers
    // 1, 2, 3 … in drop order up to 255, then names the files that could not
    // be numbered and tells that it has finished.
    void number(const QStringList &paths);

    // Whether the files numbered keep their access and modification times.
    void setKeepTimes(bool keep) { keepTimes_ = keep; }

private:
    classID3_V11 &clsID3Tag;
    KnownFiles &known_;
    LeftoverRecovery &recovery_;
    ReportService &reports_;
    SyncFile syncFile_;
    bool keepTimes_ = false;
};
