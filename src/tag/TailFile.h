#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The file access behind the tag codec: opening only regular files, reading
// and writing at offsets, and taking back a failed write. The codec reads a
// file's first bytes and its last 128, and writes only those 128.

inline constexpr int kTagBlockSize = 128;
using TagBlock = std::array<unsigned char, kTagBlockSize>;

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

private:
    int fd_ = -1;
};

// The path as the system takes it; empty when it names no file: an empty
// path, or one holding a zero character, which the system would cut short
// and so take for another file.
QByteArray nativePath(const QString &path);

// Opens path (open(2) flags such as O_RDONLY or O_RDWR) only when it names a
// regular file, symlinks followed, and sets length to the file's size.
// Anything else is never opened (a FIFO would block the open), nor is a path
// nativePath refuses. The returned
// descriptor is closed when nothing could be opened.
FileDescriptor openRegularFile(const QString &path, int flags, qint64 &length);

// Reads up to size bytes at offset; the count read (short only at the end of
// the file), or -1 on an I/O error.
qint64 readAt(int fd, unsigned char *buffer, qint64 size, qint64 offset);

// Writes the whole block at offset; false on any error or short write.
bool writeAt(int fd, const TagBlock &block, qint64 offset);

// How a file's tail looked before a block was written into it, so the write
// can be taken back.
struct TailBefore {
    qint64 length = 0;       // the file's length
    bool hadBlock = false;   // the block overwrote oldBlock, else it was appended
    TagBlock oldBlock{};
};

// Takes back a block written over or after the tail described by before: an
// append is cut off again, an overwrite gets the old block back; then the
// file is synced. Its own errors are ignored: nothing more can be done for the
// file at that point, and the caller reports the failed save.
void undoTailWrite(int fd, const TailBefore &before);
