#pragma once

#include "TagRecord.h"
#include "TailFile.h"

#include <QList>
#include <QString>

#include <functional>
#include <vector>

// Saves the tags of many files durably at the speed of one sync: every block
// is written first, as the tag class writes it, and the written files are
// then synced together, so their syncs share the file system's journal
// commits. A file whose sync fails is undone as a failed single save is
// (its old block back, or the append cut off). Until finish() the batch holds
// each written file open, one descriptor per file; a file that is not written
// is closed at once.
class TagWriteBatch
{
public:
    // Makes one written file durable; true on success. Called from several
    // threads at once.
    using SyncFile = std::function<bool(int fd)>;

    explicit TagWriteBatch(SyncFile syncFile = syncData);
    ~TagWriteBatch();
    TagWriteBatch(const TagWriteBatch &) = delete;
    TagWriteBatch &operator=(const TagWriteBatch &) = delete;

    // Writes the fields into the tag block of the MP3 file at path, over the
    // block it has or appended to a file without one, but not yet durably.
    // Only the last 128 bytes are written; a write that fails is undone at
    // once. False, with the file as it was, when it cannot be written (not a
    // regular file, not an MP3, not writable); true makes it the next entry.
    bool add(const QString &path, const TagRecord &fields);

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

    SyncFile syncFile_;
    std::vector<Entry> entries_;
};
