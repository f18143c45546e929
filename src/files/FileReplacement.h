#pragma once

#include "files/FileDescriptor.h"
#include "files/FileIdentity.h"
#include "files/FileResult.h"

#include <QByteArray>
#include <QString>

// A file written anew in the folder of the file it replaces, with the same
// owner, group, permissions, ACL and extended attributes (FileAttributes),
// and put in its place by name: so a crash at any moment leaves the old file
// or the new one under the name, never a mix. The new file is held locked
// (FileLock) until it is in place.
//
// The new file has no name while it is written (O_TMPFILE): a failure, or a
// crash, before it is put in place leaves nothing behind. It gets a hidden
// name only to be swapped with the old one in one step (renameat2 with
// RENAME_EXCHANGE); the file that then holds the hidden name must be the
// old one, else the swap is undone (another file was put at the name since
// it was checked); then the hidden name is removed. A file system without
// unnamed files gets a named new file, removed again on every failure; one
// without the swap gets the name checked just before a plain rename.
//
// The folder is the one the path leads to with symlinks followed: a symlink
// keeps pointing at the new file. A file with more than one name (hard
// links) is never replaced: its other names would keep the old content.
class FileReplacement
{
public:
    // Which of the file system's means may be used; a file system that lacks
    // one makes the replacement fall back as if it were off.
    struct Methods {
        bool unnamedFile = true;
        bool exchange = true;
    };

    FileReplacement() = default;
    FileReplacement(FileReplacement &&) = default;
    FileReplacement &operator=(FileReplacement &&) = default;
    // A named new file that was not put in place is removed.
    ~FileReplacement();

    // Starts replacing the open file old, which path names: the new file,
    // empty, in its folder. Ok, or why not (Changed: path no longer names
    // old; OwnerNotKept, AclNotKept, AttributesNotKept: the new file could
    // not be given what the old one carries, or would let someone do more).
    FileResult begin(const QString &path, int old, Methods methods);

    // The new file, to be written and synced.
    int file() const { return file_.get(); }
    // The folder, to be synced once its new files are in place.
    int folder() const { return folder_.get(); }

    // Puts the new file in place of old. Ok, or why not (Changed: the name
    // holds another file now); on failure the old file keeps its name and
    // the new one goes.
    FileResult commit();

private:
    void removeNamedFile();

    FileDescriptor folder_;
    FileDescriptor file_;
    QByteArray name_;      // of the old file, in the folder
    QByteArray newName_;   // of the new file while it has one
    FileIdentity old_;
    Methods methods_;
};
