#include "files/FileAttributes.h"

#include "files/WriteCalls.h"

#include <QByteArray>
#include <QList>

#include <cerrno>
#include <sys/xattr.h>

namespace {

constexpr char kAclName[] = "system.posix_acl_access";

bool lacksAttributes()
{
    return errno == ENOTSUP || errno == ENOSYS;
}

// The names of the file's extended attributes; nothing on a file system
// without them; false when they cannot be listed.
bool attributeNames(int fd, QList<QByteArray> &names)
{
    names.clear();
    QByteArray list;
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0)
            return lacksAttributes();
        list.resize(static_cast<qsizetype>(size));
        const ssize_t got = ::flistxattr(fd, list.data(), static_cast<size_t>(list.size()));
        if (got >= 0) {
            list.truncate(static_cast<qsizetype>(got));
            break;
        }
        if (errno != ERANGE)  // grown since it was measured: again
            return lacksAttributes();
    }
    for (const QByteArray &name : list.split('\0')) {
        if (!name.isEmpty())
            names << name;
    }
    return true;
}

bool attributeValue(int fd, const QByteArray &name, QByteArray &value)
{
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name.constData(), nullptr, 0);
        if (size < 0)
            return false;
        value.resize(static_cast<qsizetype>(size));
        const ssize_t got = ::fgetxattr(fd, name.constData(), value.data(), static_cast<size_t>(value.size()));
        if (got >= 0) {
            value.truncate(static_cast<qsizetype>(got));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

FileResult notKept(const QByteArray &name)
{
    return {name == kAclName ? FileProblem::AclNotKept : FileProblem::AttributesNotKept, errno != 0 ? errno : EIO};
}

}  // namespace

FileResult copyFileAttributes(int from, int to)
{
    QList<QByteArray> names;
    if (!attributeNames(from, names))
        return {FileProblem::AttributesNotKept, errno};
    for (const QByteArray &name : std::as_const(names)) {
        QByteArray value;
        if (!attributeValue(from, name, value)) {
            if (errno == ENODATA)  // removed since it was listed
                continue;
            return notKept(name);
        }
        noteWriteCall();
        if (::fsetxattr(to, name.constData(), value.constData(), static_cast<size_t>(value.size()), 0) == 0)
            continue;
        if (name.startsWith("security.") && (errno == EPERM || errno == EACCES || errno == ENOTSUP))
            continue;
        return notKept(name);
    }
    if (!names.contains(kAclName)) {
        noteWriteCall();
        if (::fremovexattr(to, kAclName) != 0 && errno != ENODATA && !lacksAttributes())
            return notKept(kAclName);
    }
    return {};
}
