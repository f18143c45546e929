#include "TailFile.h"

#include "NativePath.h"

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

// O_NONBLOCK guards the window between the stat and the open; fstat confirms
// what was opened.
FileDescriptor openRegularFile(const QString &path, int flags, qint64 &length)
{
    const QByteArray native = nativePath(path);
    struct stat info {};
    if (native.isEmpty() || ::stat(native.constData(), &info) != 0
        || !S_ISREG(info.st_mode))
        return FileDescriptor();
    FileDescriptor file(::open(native.constData(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.isOpen() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return FileDescriptor();
    length = static_cast<qint64>(info.st_size);
    return file;
}

bool isFile(int fd, const FileIdentity &identity)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && FileIdentity{info.st_dev, info.st_ino} == identity;
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

bool writeAt(int fd, const TagBlock &block, qint64 offset)
{
    ssize_t n;
    do {
        n = ::pwrite(fd, block.data(), block.size(), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(block.size());
}

bool syncData(int fd)
{
    return ::fdatasync(fd) == 0;
}

TagState CheckMp3File(int fd, qint64 length, TagBlock &tail)
{
    std::array<unsigned char, 4> header{};  // the fourth byte is read but not tested
    if (readAt(fd, header.data(), qint64(header.size()), 0) < 0 || !IsMp3Header(header[0], header[1], header[2]))
        return TagState::NotMp3;
    if (length < kTagBlockSize)
        return TagState::NoTag;
    if (readAt(fd, tail.data(), kTagBlockSize, length - kTagBlockSize) != kTagBlockSize)
        return TagState::NotMp3;
    return hasTagMagic(tail) ? TagState::TagPresent : TagState::NoTag;
}

void undoTailWrite(int fd, const TailBefore &before)
{
    if (before.hadBlock)
        (void)!writeAt(fd, before.oldBlock, before.length - kTagBlockSize);
    else
        (void)!::ftruncate(fd, static_cast<off_t>(before.length));
    (void)!syncData(fd);
}
