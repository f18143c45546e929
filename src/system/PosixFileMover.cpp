#include "system/PosixFileMover.h"

#include "files/NativePath.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

int renameNoReplace(const char *source, const char *destination)
{
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, source, AT_FDCWD, destination, RENAME_NOREPLACE));
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
    // File systems without RENAME_NOREPLACE: link() also refuses an existing
    // destination; the old name goes only once the new one exists.
    if (errno != EINVAL && errno != ENOSYS)
        return systemFailure(errno);
    if (::link(from.constData(), to.constData()) != 0)
        return systemFailure(errno);
    if (::unlink(from.constData()) != 0) {
        const int error = errno;
        ::unlink(to.constData());
        return systemFailure(error);
    }
    return {};
}
