#include "files/FileDescriptor.h"

#include "files/NativePath.h"
#include "files/WriteCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileDescriptor::~FileDescriptor()
{
    if (fd_ >= 0)
        ::close(fd_);
}

FileDescriptor &FileDescriptor::operator=(FileDescriptor &&other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

bool FileDescriptor::close()
{
    return ::close(release()) == 0;
}

int FileDescriptor::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

FileDescriptor openRegularFile(const QString &path, int flags, qint64 &length)
{
    FileResult why;
    return openRegularFile(path, flags, length, why);
}

// O_NONBLOCK guards the window between the stat and the open; fstat confirms
// what was opened.
FileDescriptor openRegularFile(const QString &path, int flags, qint64 &length, FileResult &why)
{
    const QByteArray native = nativePath(path);
    if (native.isEmpty()) {
        why = {FileProblem::Missing, ENOENT};
        errno = ENOENT;
        return FileDescriptor();
    }
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) {
        why = systemFailure(errno);
        return FileDescriptor();
    }
    if (!S_ISREG(info.st_mode)) {
        why = {FileProblem::NotRegularFile, 0};
        return FileDescriptor();
    }
    FileDescriptor file(::open(native.constData(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.isOpen()) {
        why = systemFailure(errno);
        return FileDescriptor();
    }
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        why = {FileProblem::NotRegularFile, 0};
        return FileDescriptor();
    }
    length = static_cast<qint64>(info.st_size);
    why = {};
    return file;
}

qint64 readAt(int fd, unsigned char *buffer, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, static_cast<size_t>(size - done),
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

bool writeAt(int fd, const unsigned char *data, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        noteWriteCall();
        const ssize_t n = ::pwrite(fd, data + done, static_cast<size_t>(size - done),
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = ENOSPC;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool truncateFile(int fd, qint64 length)
{
    noteWriteCall();
    return ::ftruncate(fd, static_cast<off_t>(length)) == 0;
}

bool syncData(int fd)
{
    noteWriteCall();
    return ::fdatasync(fd) == 0;
}

bool syncAll(int fd)
{
    noteWriteCall();
    return ::fsync(fd) == 0;
}
