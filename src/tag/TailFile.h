#pragma once

#include "FileIdentity.h"
#include "TagBlock.h"

#include <QString>
#include <QtGlobal>

// The file access behind the tag codec: opening only regular files, reading,
// writing and syncing at offsets, and taking back a failed write. The codec
// reads a file's first bytes and its last 128, and writes only those 128.
// Every system call on a descriptor of the codec is made here.

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

// True when the open file is the file of that identity (fstat(2)).
bool isFile(int fd, const FileIdentity &identity);

// Reads up to size bytes at offset; the count read (short only at the end of
// the file), or -1 on an I/O error.
qint64 readAt(int fd, unsigned char *buffer, qint64 size, qint64 offset);

// Writes the whole block at offset; false on any error or short write.
bool writeAt(int fd, const TagBlock &block, qint64 offset);

// Makes the file's data durable (fdatasync(2)); false when it could not be.
bool syncData(int fd);

enum class TagState { NotMp3, TagPresent, NoTag };

// Tests the first bytes of the open file (bytes past its end count as 0x00)
// and fetches its last 128 bytes into tail: NotMp3 for a file that does not
// start as an MP3, or whose start or tail cannot be read, so that a save
// never appends a second block to a file whose end it could not see.
TagState CheckMp3File(int fd, qint64 length, TagBlock &tail);

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
