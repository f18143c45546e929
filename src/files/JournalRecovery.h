#pragma once

#include "files/FileResult.h"

#include <QList>
#include <QString>
#include <QStringList>

// Settling what a run of Kalvo left behind in a folder when it was killed,
// or the machine lost power, while it wrote: journals of files written in
// place (WriteJournal) and hidden copies of files being written anew
// (FileReplacement). Both programs do it before they read a file of the
// folder, so that every file is wholly as it was or wholly as written when
// Kalvo next sees it, and nothing is left beside it. A journal or copy that
// a running program holds locked is in use, and passed by.
//
// For each file a journal names, the bytes of each region tell (by the
// journal's old bytes and new checksums, piece by piece): untouched, the
// write never began; wholly written, it is made durable; partly written, the
// old bytes are put back; anything else (another size, bytes that are
// neither) means the file has changed since, and it is left alone. A journal
// that does not read whole was never complete, no file was written by it,
// and it is removed. A hidden copy is removed: the file's name holds the
// old file or the new one whole.

enum class RecoveryOutcome {
    PutBack,     // it held a write cut short: its old bytes are back
    Finished,    // it held the whole write: now durable
    LeftAlone,   // it has changed since (or is gone): not touched
    NotPutBack,  // it held a write cut short that could not be undone (why says why); its journal stays
};

struct RecoveredFile {
    QString path;
    RecoveryOutcome outcome = RecoveryOutcome::LeftAlone;
    FileResult why{};
};

struct FolderRecovery {
    QList<RecoveredFile> files;
    QStringList removedCopies;  // the hidden copies removed, by path

    bool isEmpty() const { return files.isEmpty() && removedCopies.isEmpty(); }
};

// Settles the journals and copies in the folder at path; nothing to tell
// when there were none (or the folder cannot be read).
FolderRecovery recoverFolder(const QString &folder);
