#pragma once

#include "FileDescriptor.h"
#include "FileIdentity.h"
#include "TagRecord.h"
#include "TailFile.h"

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
class TagWriteBatch
{
public:
    // syncFile makes one written file durable; it is called from several
    // threads at once.
    explicit TagWriteBatch(SyncFile syncFile = syncData);
    ~TagWriteBatch();
    TagWriteBatch(const TagWriteBatch &) = delete;
    TagWriteBatch &operator=(const TagWriteBatch &) = delete;

    // Writes the fields into the tag block of the MP3 file at path, over the
    // block it has or appended to a file without one, but not yet durably.
    // Only the last 128 bytes are written; a write that fails is undone at
    // once. False, with the file as it was, when it cannot be written (not a
    // regular file, not an MP3, not writable), or when expected is given and
    // the path no longer names that file (a symlink or another file put in
    // its place); true makes it the next entry.
    bool add(const QString &path, const TagRecord &fields,
             const std::optional<FileIdentity> &expected = std::nullopt);

    // Syncs every entry, undoes those whose sync failed, closes them all, and
    // gives the positions of the undone ones among the entries (0 for the
    // first add that returned true), in ascending order. The batch is empty
    // afterwards.
    QList<int> finish();

private:
    struct Entry {
        FileDescriptor file;
        TailBefore before;
    };

    // Syncs, undoes and closes the entries held now, as finish() does, and
    // keeps the positions of the undone ones.
    void finishHeld();

    SyncFile syncFile_;
    std::size_t maxHeld_;
    std::vector<Entry> entries_;
    int finishedEntries_ = 0;  // entries synced before those held now
    QList<int> undone_;
};
