#include "files/FileSnapshot.h"

#include "files/FileDescriptor.h"

#include <cerrno>
#include <sys/stat.h>

std::optional<FileSnapshot> takeSnapshot(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    if (!S_ISREG(info.st_mode)) {
        errno = EISDIR;  // stands for every kind of entry that is no regular file
        return std::nullopt;
    }
    FileSnapshot snapshot{.identity = {info.st_dev, info.st_ino},
                          .size = static_cast<qint64>(info.st_size),
                          .tail = {},
                          .times = {.access = info.st_atim, .modification = info.st_mtim}};
    const qint64 tailSize = qMin(snapshot.size, FileSnapshot::kTailSize);
    snapshot.tail.resize(tailSize);
    const qint64 got = readAt(fd, reinterpret_cast<unsigned char *>(snapshot.tail.data()), tailSize,
                              snapshot.size - tailSize);
    if (got < 0)
        return std::nullopt;
    // A file cut between the fstat and the read shows as its shorter tail.
    snapshot.tail.truncate(got);
    return snapshot;
}

FileResult checkSnapshot(int fd, const FileSnapshot &expected)
{
    const std::optional<FileSnapshot> now = takeSnapshot(fd);
    if (!now)
        return systemFailure(errno);
    if (*now != expected)
        return {FileProblem::Changed, 0};
    return {};
}
