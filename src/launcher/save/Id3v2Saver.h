#pragma once

#include "launcher/save/RowResult.h"
#include "tagfiles/Id3v2WriteBatch.h"

#include <QList>

class FileList;
class KnownFiles;
class ReportService;

// Saving rows into their files' ID3v1 blocks and ID3v2 tags at once (W):
// each row's fields as a save writes them, and the same values in its
// file's ID3v2 tag (Id3v2WriteBatch). Before the first time, the user is
// asked once; a "no" writes nothing and asks again the next time. The rows
// of the files written lose their change marks; one report names each file
// that could not be written, and why. The ID3v2 mark of each row written
// then follows its tag as written (read from the bytes written, not from
// the file again). Writing files is no step of the list's history.
class Id3v2Saver
{
public:
    Id3v2Saver(FileList &rows, KnownFiles &known, ReportService &reports, Id3v2WriteBatch::Options options);

    // Gives what became of each row, in the order given; nothing when the
    // user said no.
    RowResults save(const QList<int> &rows);

    // Saves as save() does only the rows whose files do not hold their
    // fields already in both tags: whose ID3v1 block differs, or whose
    // ID3v2 tag is missing, cannot be read or says otherwise. The others are
    // Unchanged, not written, and lose their marks.
    RowResults saveChanged(const QList<int> &rows);

    // Whether the files written keep their access and modification times.
    void setKeepTimes(bool keep) { options_.keepTimes = keep; }

private:
    FileList &rows_;
    KnownFiles &known_;
    ReportService &reports_;
    Id3v2WriteBatch::Options options_;
    bool confirmed_ = false;
};
