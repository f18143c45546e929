#pragma once

#include "files/FileDescriptor.h"
#include "files/FileResult.h"
#include "launcher/save/RowResult.h"
#include "tagfiles/TagWriteBatch.h"

#include <QList>

class FileList;
class KnownFiles;
class ReportService;

// Saving rows into their files: each row's seven fields into the tag block
// of the file it was loaded from, and only while that file is as Kalvo last
// read or wrote it.
class TagSaver
{
public:
    // syncFile makes each written file durable.
    TagSaver(FileList &rows, KnownFiles &known, ReportService &reports, SyncFile syncFile);

    // Whether the files written keep their access and modification times.
    void setKeepTimes(bool keep) { keepTimes_ = keep; }

    // Every row's block is written first, then the written files are made
    // durable together, and a file that could not be is undone. A row loses
    // its change mark only once its file is durable; a row whose file was
    // left as it was keeps its mark and values. The files left are named in
    // one report, by reason. Gives what became of each row, in the order
    // given.
    RowResults save(const QList<int> &rows);

    // Saves as save() does only the rows whose files do not hold their
    // fields already; the others are Unchanged, not written, and lose their
    // marks.
    RowResults saveChanged(const QList<int> &rows);

    // Saves as save() does, as the first half of a rename: the report says
    // which files will not be renamed either (isNotTheFileRead).
    RowResults saveBeforeRename(const QList<int> &rows);

    // Writes row i's tag into the batch, after checking on the descriptor it
    // writes that the file is the row's file as Kalvo last read or wrote it;
    // it is durable once the batch is finished. A row without such a file
    // is refused as changed.
    TagWriteBatch::Written SaveRowTag(int i, TagWriteBatch &batch);

private:
    RowResults write(const QList<int> &rows);
    void report(const RowResults &results, bool beforeRename);

    FileList &rows_;
    KnownFiles &known_;
    ReportService &reports_;
    SyncFile syncFile_;
    bool keepTimes_ = false;
};
