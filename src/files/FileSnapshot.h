#pragma once

#include "files/FileIdentity.h"
#include "files/FileResult.h"
#include "files/FileTimes.h"

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// What an open file is when Kalvo reads or writes it: which file (device and
// inode), its size, and its last 128 bytes, tag or not (all of a shorter
// file). Taken again on the descriptor that is about to be written, renamed
// or moved back, it tells whether anyone else has changed the file since:
// another file given the same inode, a tag rewritten by another program, the
// file cut or grown.
struct FileSnapshot {
    static constexpr qint64 kTailSize = 128;

    FileIdentity identity;
    qint64 size = 0;
    QByteArray tail;
    // Its times before Kalvo read it, for a write that keeps them; no part
    // of the check (others may read the file meanwhile).
    FileTimes times{};

    friend bool operator==(const FileSnapshot &a, const FileSnapshot &b)
    {
        return a.identity == b.identity && a.size == b.size && a.tail == b.tail;
    }
};

// The snapshot of the open regular file; nothing when it cannot be read, with
// errno saying why.
std::optional<FileSnapshot> takeSnapshot(int fd);

// Whether the open file is still as expected: None when it is; Changed when
// it is another file, or the file with another size or other last bytes;
// NotRegularFile when it is no regular file; the system's error when it
// cannot be looked at. The one check before every write, rename and move
// back of a file Kalvo has read.
FileResult checkSnapshot(int fd, const FileSnapshot &expected);
