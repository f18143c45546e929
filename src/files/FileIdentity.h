#pragma once

#include <QString>

#include <optional>
#include <sys/types.h>

// Which file a path names, whatever way the path is spelt: "./a.mp3",
// "x//a.mp3", "x/y/../a.mp3", a symlink, a hard link or a linked folder all
// lead to the same device and inode.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;

    friend auto operator<=>(const FileIdentity &, const FileIdentity &) = default;
};

// The identity of the file at path, symlinks followed; nothing when no file
// is there (or the path holds a zero character).
std::optional<FileIdentity> fileIdentity(const QString &path);

// The identity of the open file; nothing when fstat(2) fails.
std::optional<FileIdentity> fileIdentity(int fd);
