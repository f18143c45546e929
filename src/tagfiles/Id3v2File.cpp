#include "tagfiles/Id3v2File.h"

#include "files/FileDescriptor.h"
#include "id3v2/Id3v2Frames.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>

namespace {

// The header of the tag region of fd and the region's size: 0 when the
// file does not start with "ID3".
FileResult regionOf(int fd, qint64 limit, Id3v2Header &header, qint64 &size)
{
    size = 0;
    unsigned char start[kId3v2HeaderSize]{};
    const qint64 got = readAt(fd, start, kId3v2HeaderSize, 0);
    if (got < 0)
        return lastSystemFailure();
    switch (readId3v2Header(QByteArrayView(start, got), header)) {
    case Id3v2HeaderState::NoTag:
        return {};
    case Id3v2HeaderState::Malformed:
        return {FileProblem::TagUnreadable, 0};
    case Id3v2HeaderState::Tag:
        break;
    }
    size = header.tagSize();
    if (size > kMaxId3v2Size || size > limit)
        return {FileProblem::TagUnreadable, 0};
    return {};
}

// The header of the tag region of fd and its size, with tag sized to hold
// it; tag stays empty when there is no tag or it cannot be read.
FileResult sizeRegion(int fd, qint64 limit, QByteArray &tag, Id3v2Header &header, qint64 &size)
{
    tag.clear();
    if (const FileResult region = regionOf(fd, limit, header, size); !region.ok() || size == 0)
        return region;
    tag.resize(static_cast<qsizetype>(size));
    return {};
}

// Reads [from, to) of fd into tag.
bool readSpan(int fd, QByteArray &tag, qint64 from, qint64 to)
{
    return from >= to
           || readAt(fd, reinterpret_cast<unsigned char *>(tag.data()) + from, to - from, from) == to - from;
}

// Bytes read at once while the frame headers are looked for.
constexpr qint64 kSparseReadAhead = 4096;

}  // namespace

FileResult readId3v2Region(int fd, qint64 limit, QByteArray &tag)
{
    Id3v2Header header;
    qint64 size = 0;
    if (const FileResult region = sizeRegion(fd, limit, tag, header, size); !region.ok() || size == 0)
        return region;
    return readSpan(fd, tag, 0, size) ? FileResult{} : lastSystemFailure();
}

FileResult readId3v2Sparse(int fd, qint64 limit, QByteArray &tag, bool &complete)
{
    complete = true;
    Id3v2Header header;
    qint64 size = 0;
    if (const FileResult region = sizeRegion(fd, limit, tag, header, size); !region.ok() || size == 0)
        return region;
    if (header.version < 3 || header.flags != 0)
        return readSpan(fd, tag, 0, size) ? FileResult{} : lastSystemFailure();
    // The frames are stepped through as the walk steps; the bytes before
    // read holds are read, but for the data of the frames skipped.
    qint64 read = 0;
    const auto readTo = [&](qint64 end) {
        end = std::min(size, end);
        if (end <= read)
            return true;
        const qint64 to = std::min(size, std::max(end, read + kSparseReadAhead));
        const bool ok = readSpan(fd, tag, read, to);
        read = to;
        return ok;
    };
    const qint64 bodyEnd = kId3v2HeaderSize + header.size;
    for (qint64 at = kId3v2HeaderSize; at + kId3v2HeaderSize <= bodyEnd;) {
        if (!readTo(at + kId3v2HeaderSize))
            return lastSystemFailure();
        const QByteArrayView frameHeader = QByteArrayView(tag).sliced(static_cast<qsizetype>(at), kId3v2HeaderSize);
        const qint64 frameSize = id3v2FrameSize(header.version, frameHeader);
        if (frameHeader[0] == '\0' || frameSize > bodyEnd - at - kId3v2HeaderSize)
            break;
        const qint64 end = at + kId3v2HeaderSize + frameSize;
        if (frameSize >= kSparseFrame && !id3v2FrameIsRead(header.version, frameHeader.first(4)) && end > read) {
            read = end;
            complete = false;
        }
        at = end;
    }
    return readTo(size) ? FileResult{} : lastSystemFailure();
}

Id3v2Text readId3v2Text(const QString &path)
{
    qint64 length = 0;
    const FileDescriptor file = openRegularFile(path, O_RDONLY, length);
    if (!file.isOpen())
        return {.state = Id3v2State::Unreadable};
    QByteArray bytes;
    if (!readId3v2Region(file.get(), length, bytes).ok())
        return {.state = Id3v2State::Unreadable};
    if (bytes.isEmpty())
        return {.state = Id3v2State::NoTag};
    return parseId3v2Text(bytes);
}
