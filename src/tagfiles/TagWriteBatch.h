#pragma once

#include "files/FileDescriptor.h"
#include "files/FileResult.h"
#include "files/FileSnapshot.h"
#include "files/FileTimes.h"
#include "id3v1/TagRecord.h"
#include "tagfiles/TailFile.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

// Saves the tags of many files durably at the speed of one sync: every block
// is written first, as the tag class writes it, and the written files are
// then synced together, so their syncs share the file system's journal
// commits. A file whose sync fails is undone as a failed single save is
// (its old block back, or the append cut off). The batch holds each written
// file open until it is synced; a file that is not written is closed at once.
// So that a batch needs few descriptors at once, the files held so far are
// synced and closed as a batch of their own when the batch holds a quarter of
// the descriptors the process may open, or when an open fails for lack of
// descriptors; each file is still synced once.
//
// Each file is checked and written under a write lock (FileLock), held until
// it is synced: a second writer waits, then finds the file changed. Once
// the user asked to stop (StopSignals), no further file is written: those
// written are finished, and the rest refused as Interrupted. With keepTimes
// a file keeps its access and modification times.
class TagWriteBatch
{
public:
    // What add() did with one file: the file as the written block left it,
    // or why the file was left as it was.
    struct Written {
        FileResult result;
        FileSnapshot snapshot;  // when result is ok
    };
    // An entry finish() had to undo, and why.
    struct Undone {
        int entry = 0;  // among the entries, 0 for the first add that wrote
        FileResult why;
    };

    // syncFile makes one written file durable; it is called from several
    // threads at once, and errno tells why it failed.
    explicit TagWriteBatch(SyncFile syncFile = syncData, bool keepTimes = false);
    ~TagWriteBatch();
    TagWriteBatch(const TagWriteBatch &) = delete;
    TagWriteBatch &operator=(const TagWriteBatch &) = delete;

    // Writes the fields into the tag block of the MP3 file at path, over the
    // block it has or appended to a file without one, but not yet durably.
    // Only the last 128 bytes are written; a write that fails is undone at
    // once. When expected is given, the file is first checked on the
    // descriptor that is then written (checkSnapshot): a file that is not
    // the one expected, or no longer as expected, is left as it is
    // (Changed), so is one that no longer starts as an MP3 file. Otherwise
    // the file is left as it was when it cannot be written (not a regular
    // file, not an MP3, not writable, a full disk), with the reason. A file
    // written becomes the next entry.
    Written add(const QString &path, const TagRecord &fields,
                const std::optional<FileSnapshot> &expected = std::nullopt);
    // The same for the file opened already for reading and writing (as
    // openRegularFile gives it, with its length): nothing is opened twice.
    Written add(FileDescriptor file, qint64 length, const TagRecord &fields,
                const std::optional<FileSnapshot> &expected);

    // Syncs every entry, undoes those whose sync failed, closes them all, and
    // gives the undone ones in ascending order of entry, each with the
    // sync's error. The batch is empty afterwards.
    QList<Undone> finish();

private:
    struct Entry {
        FileDescriptor file;
        TailBefore before;
        std::optional<FileTimes> times;  // to be kept
    };

    // Syncs, undoes and closes the entries held now, as finish() does, and
    // keeps the undone ones.
    void finishHeld();

    SyncFile syncFile_;
    bool keepTimes_;
    std::size_t maxHeld_;
    std::vector<Entry> entries_;
    int finishedEntries_ = 0;  // entries synced before those held now
    QList<Undone> undone_;
};
