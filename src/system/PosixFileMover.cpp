#include "system/PosixFileMover.h"

#include "files/NativePath.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

int renameNoReplace(const char *source, const char *destination)
{
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, source, AT_FDCWD, destination, RENAME_NOREPLACE));
}

// The call is not one the file system has.
bool lacksMeans(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// A file system with neither a rename that refuses to replace nor hard links
// (exFAT, FAT): the new name is taken first by an empty file of Kalvo's,
// made only where no file is, and the rename replaces just that one, once it
// is checked to be still Kalvo's empty file.
FileResult moveOverPlaceholder(const char *from, const char *to)
{
    const int made = ::open(to, O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (made < 0)
        return systemFailure(errno);
    struct stat placeholder {};
    const bool known = ::fstat(made, &placeholder) == 0;
    ::close(made);
    const auto stillOurs = [&] {
        struct stat now {};
        return known && ::lstat(to, &now) == 0 && S_ISREG(now.st_mode) && now.st_size == 0
               && now.st_dev == placeholder.st_dev && now.st_ino == placeholder.st_ino;
    };
    if (!stillOurs())
        return {FileProblem::NameTaken, EEXIST};
    if (::rename(from, to) != 0) {
        const int error = errno;
        if (stillOurs())
            ::unlink(to);
        return systemFailure(error);
    }
    return {};
}

}  // namespace

FileResult PosixFileMover::moveFile(const QString &source, const QString &destination)
{
    // A path with a zero character would end early, and the file would be
    // moved to a name other than the one asked for; nativePath refuses it.
    const QByteArray from = nativePath(source);
    const QByteArray to = nativePath(destination);
    if (from.isEmpty() || to.isEmpty())
        return {FileProblem::System, EINVAL};
    if (renameNoReplace(from.constData(), to.constData()) == 0)
        return {};
    if (!lacksMeans(errno))
        return systemFailure(errno);
    // Without RENAME_NOREPLACE: link() also refuses an existing destination;
    // the old name goes only once the new one exists.
    if (::link(from.constData(), to.constData()) != 0) {
        // EPERM: the file system has no hard links.
        if (errno != EPERM && !lacksMeans(errno))
            return systemFailure(errno);
        // The source must be there, as a rename would need it.
        struct stat info {};
        if (::lstat(from.constData(), &info) != 0)
            return systemFailure(errno);
        return moveOverPlaceholder(from.constData(), to.constData());
    }
    if (::unlink(from.constData()) != 0) {
        const int error = errno;
        ::unlink(to.constData());
        return systemFailure(error);
    }
    return {};
}
