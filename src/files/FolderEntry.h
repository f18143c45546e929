#pragma once

#include "files/FileDescriptor.h"
#include "files/FileIdentity.h"
#include "files/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A file as an entry of its folder, and the hidden names Kalvo gives the
// files it makes beside the files it writes: a copy being written
// (".kalvo-….tmp") and a journal (".kalvo-….journal"). Neither shows in the
// list: they are hidden, and no MP3 name.

// The folder the path leads to with symlinks followed (a symlink's target's
// folder, where a new file must go), open, and the file's name in it.
struct FolderEntry {
    FileDescriptor folder;
    QByteArray name;
};

// The folder entry of the open file that path names. Changed when path no
// longer names that file itself (gone, or another file put at the name).
FileResult openFolderEntry(const QString &path, const FileIdentity &file, FolderEntry &entry);

// The last folder openFolderEntry found through a path, by the path's own
// folder part: files of one folder are then found there without the whole
// path being resolved again.
struct FolderCache {
    QByteArray pathFolder;  // as the paths give it
    FileDescriptor folder;
};

// openFolderEntry, looking first in the cached folder where path's folder
// part is the cached one: its name there must be the file itself (no
// symlink), or the path is resolved as a whole, and its folder cached when
// the name is the path's own.
FileResult openFolderEntry(const QString &path, const FileIdentity &file, FolderEntry &entry, FolderCache &cache);

// The folder of the file at path with symlinks followed, where Kalvo
// keeps what it writes beside the file; the path's own folder when it
// leads to no file.
QString realFolderOf(const QString &path);

// Whether name in the folder is the file of that identity itself (no
// symlink to it).
bool holdsFile(int folder, const QByteArrayView name, const FileIdentity &identity);

inline constexpr char kCopySuffix[] = ".tmp";
inline constexpr char kJournalSuffix[] = ".journal";

// A hidden name of Kalvo's with that suffix, new at random.
QByteArray newKalvoName(const char *suffix);

// Whether name is one of Kalvo's hidden names with that suffix.
bool isKalvoName(QByteArrayView name, const char *suffix);
