#include "tagfiles/Id3v2File.h"

#include "files/FileDescriptor.h"
#include "id3v2/Id3v2Frames.h"

#include <cerrno>
#include <fcntl.h>

FileResult readId3v2Region(int fd, qint64 limit, QByteArray &tag)
{
    tag.clear();
    unsigned char start[kId3v2HeaderSize]{};
    const qint64 got = readAt(fd, start, kId3v2HeaderSize, 0);
    if (got < 0)
        return lastSystemFailure();
    Id3v2Header header;
    switch (readId3v2Header(QByteArrayView(start, got), header)) {
    case Id3v2HeaderState::NoTag:
        return {};
    case Id3v2HeaderState::Malformed:
        return {FileProblem::TagUnreadable, 0};
    case Id3v2HeaderState::Tag:
        break;
    }
    const qint64 size = header.tagSize();
    if (size > kMaxId3v2Size || size > limit)
        return {FileProblem::TagUnreadable, 0};
    tag.resize(static_cast<qsizetype>(size));
    return readAt(fd, reinterpret_cast<unsigned char *>(tag.data()), size, 0) == size ? FileResult{}
                                                                                      : lastSystemFailure();
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
