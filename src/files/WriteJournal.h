#pragma once

#include "files/FileDescriptor.h"
#include "files/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

#include <optional>
#include <utility>

// Writing files in place, safe against a crash, a power cut or a kill at
// any moment: before the first byte of any file is overwritten, a journal in
// the files' folder names each file (its name, its size before and after)
// and holds, for each region about to be written, its offset, the bytes
// there now and checksums of the bytes that will be; the journal, then its
// folder, are made durable. Then the files are written and synced, and the
// journal is removed. JournalRecovery reads a journal left behind and puts
// each file back (or leaves it), so that every file is wholly as it was or
// wholly as written.
//
// The journal lives beside the files, so it goes where they go (another
// machine, another mount point), under a hidden name of Kalvo's (FolderEntry);
// it is held locked (FileLock) while in use, so a search for journals left
// behind passes by one that a running program still writes. Its bytes: a
// fixed header (magic "KalvoJnl", version, the number of files, the length
// of what follows), the records of the files, and a checksum of all of it;
// a journal that does not read whole was never complete, so no file was
// written by it.

// One region of a file to be written: the bytes there now, and those to go
// there. oldBytes is shorter than newBytes where the region runs past the
// file's end (a block appended).
struct JournalRegion {
    qint64 offset = 0;
    QByteArray oldBytes;
    QByteArray newBytes;
};

// One file to be written in place, by its name in the journal's folder.
struct JournalFile {
    QByteArray name;
    qint64 oldSize = 0;
    qint64 newSize = 0;
    QList<JournalRegion> regions;
};

class WriteJournal
{
public:
    WriteJournal() = default;
    WriteJournal(WriteJournal &&) = default;
    WriteJournal &operator=(WriteJournal &&) = default;
    // A journal begun and never ended stays, for the recovery.
    ~WriteJournal() = default;

    // Makes the journal of the files in the folder durable: its bytes with
    // syncFile, then the folder with syncFolder. Ok, or why not, and then
    // no journal is left.
    FileResult begin(int folder, const QList<JournalFile> &files, const SyncFile &syncFile,
                     const SyncFile &syncFolder);

    // Removes the journal: each of its files is written and durable, or put
    // back as it was.
    void end();

private:
    FileDescriptor folder_;
    FileDescriptor file_;
    QByteArray name_;
};

// The format, as the recovery reads it.

// Regions are checked in pieces that end where the file's offsets are
// multiples of this: a write cut short by a crash or a kill stops at such
// a boundary, so each piece holds its old bytes or its new ones.
inline constexpr qint64 kJournalPiece = 512;

// The pieces of the region [offset, offset + length): their starts and
// ends, and how many there are.
QList<std::pair<qint64, qint64>> journalPieces(qint64 offset, qint64 length);
qint64 journalPieceCount(qint64 offset, qint64 length);

// A 64-bit checksum (FNV-1a) of bytes.
quint64 journalChecksum(QByteArrayView bytes);

// A file as the journal records it: the new bytes as checksums of their
// pieces, and those past the file's old end (a block appended) whole too,
// so that an append cut short is told from bytes another program appended.
struct JournalRecord {
    struct Region {
        qint64 offset = 0;
        qint64 length = 0;
        QByteArray oldBytes;
        QList<quint64> newPieces;
        QByteArray newBeyondOld;  // the new bytes after the old ones
    };
    QByteArray name;
    qint64 oldSize = 0;
    qint64 newSize = 0;
    QList<Region> regions;
};

// The journal's bytes for the files.
QByteArray journalBytes(const QList<JournalFile> &files);

// The files a journal's bytes record; nothing when they do not read whole
// (another version, cut short, a checksum that does not match).
std::optional<QList<JournalRecord>> readJournal(QByteArrayView bytes);
