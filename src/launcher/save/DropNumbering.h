#pragma once

#include "files/FileDescriptor.h"

#include <QStringList>

class KnownFiles;
class ReportService;
class classID3_V11;

// Numbering files in the order they are dropped on the numbering label,
// written straight into the files; the list is left as it is.
class DropNumbering
{
public:
    // tag: the shared tag object the files are read with; syncFile makes
    // each written file durable.
    DropNumbering(classID3_V11 &tag, KnownFiles &known, ReportService &reports, SyncFile syncFile);

    // Asks before the first file is numbered, gives the files track numbers
    // 1, 2, 3 … in drop order up to 255, then names the files that could not
    // be numbered and tells that it has finished.
    void number(const QStringList &paths);

private:
    classID3_V11 &clsID3Tag;
    KnownFiles &known_;
    ReportService &reports_;
    SyncFile syncFile_;
};
