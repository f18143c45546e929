#pragma once

#include "FileDescriptor.h"

#include <QList>

class FileList;
class KnownFiles;
class ReportService;
class TagWriteBatch;

// Saving rows into their files: each row's seven fields into the tag block
// of the file it was loaded from.
class TagSaver
{
public:
    // syncFile makes each written file durable.
    TagSaver(FileList &rows, KnownFiles &known, ReportService &reports, SyncFile syncFile);

    // Every row's block is written first, each failure reported in row
    // order; then the written files are made durable together, and a file
    // that could not be is undone and reported after them. A row loses its
    // change mark only once its file is durable.
    void save(const QList<int> &rows);

    // Writes row i's tag into the batch; it is durable once the batch is
    // finished. False when the row's file cannot be written.
    bool SaveRowTag(int i, TagWriteBatch &batch);

private:
    FileList &rows_;
    KnownFiles &known_;
    ReportService &reports_;
    SyncFile syncFile_;
};
