#pragma once

#include "files/FileIdentity.h"
#include "files/FileResult.h"

#include <QString>
#include <QtGlobal>

#include <functional>

// Open files as the system hands them out: a descriptor that closes itself,
// opening only regular files, and reading, writing and syncing that go on
// across interrupted system calls. Every loop over EINTR in the program is
// here.

// Owns an open descriptor and closes it on every way out of a file operation.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor &&other) noexcept : fd_(other.release()) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    int release();
    // Closes the descriptor now; false when close(2) reports an error (a
    // write that failed late on some file systems).
    bool close();

private:
    int fd_ = -1;
};

// Opens path (open(2) flags such as O_RDONLY or O_RDWR) only when it names a
// regular file, symlinks followed, and sets length to the file's size.
// Anything else is never opened (a FIFO would block the open), nor is a path
// nativePath refuses. The returned descriptor is closed when nothing could
// be opened; when open(2) itself failed, errno says why.
FileDescriptor openRegularFile(const QString &path, int flags, qint64 &length);
// The same, and why nothing was opened: Missing (also for a path nativePath
// refuses), NotRegularFile, or the system's error.
FileDescriptor openRegularFile(const QString &path, int flags, qint64 &length, FileResult &why);

// Reads up to size bytes at offset; the count read (short only at the end of
// the file), or -1 on an I/O error.
qint64 readAt(int fd, unsigned char *buffer, qint64 size, qint64 offset);

// Writes all size bytes at offset; false on any error, or when the file takes
// no more (a full disk, a size limit), with errno saying why (ENOSPC when the
// system gave no reason).
bool writeAt(int fd, const unsigned char *data, qint64 size, qint64 offset);

// Cuts or extends the open file to length bytes; false on error (errno).
bool truncateFile(int fd, qint64 length);

// Makes one written file durable; true on success. Those who write files take
// one, so that tests can see, count or fail the syncs.
using SyncFile = std::function<bool(int fd)>;

// Makes the file's data durable (fdatasync(2)); false when it could not be.
bool syncData(int fd);

// Makes the file's data and its metadata (owner, permissions) durable
// (fsync(2)); false when they could not be.
bool syncAll(int fd);
