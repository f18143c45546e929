#include "system/PrivateProfileFile.h"

#include "files/NativePath.h"
#include "system/ProfileText.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A settings file holds a few lines; a larger file is not one and is never
// read into memory.
constexpr qsizetype kMaxFileBytes = 1024 * 1024;

// The settings file as found: its bytes, and its permission bits, owner and
// group when it exists.
struct SettingsFile {
    QByteArray data;
    std::optional<mode_t> mode;
    uid_t owner = 0;
    gid_t group = 0;
};

// Reads at most kMaxFileBytes + 1 bytes from fd, so that a file over the limit
// shows as one; nothing for such a file (errno EFBIG) or on an error.
std::optional<QByteArray> readBounded(int fd)
{
    QByteArray data(kMaxFileBytes + 1, Qt::Uninitialized);
    const qint64 size = readAt(fd, reinterpret_cast<unsigned char *>(data.data()), data.size(), 0);
    if (size > kMaxFileBytes)
        errno = EFBIG;
    if (size < 0 || size > kMaxFileBytes)
        return std::nullopt;
    data.truncate(size);
    return data;
}

// The file at path when it is missing (empty, no mode) or a regular file of
// at most kMaxFileBytes; nothing for anything else, with why. A symlink is
// never followed, even to a regular file: a settings write must not land in
// a file someone else chose. FIFOs and devices are never opened, as opening
// or reading them may wait forever or never end; O_NONBLOCK and O_NOFOLLOW
// cover an entry swapped between the lstat and the open, and fstat confirms
// what was opened.
std::optional<SettingsFile> readFile(const QByteArray &path, FileResult &why)
{
    if (path.isEmpty()) {
        why = {FileProblem::Missing, 0};
        return std::nullopt;
    }
    struct stat entry {};
    if (::lstat(path.constData(), &entry) != 0) {
        if (errno == ENOENT)
            return SettingsFile{};
        why = systemFailure(errno);
        return std::nullopt;
    }
    if (!S_ISREG(entry.st_mode)) {
        why = {FileProblem::NotRegularFile, 0};
        return std::nullopt;
    }
    if (entry.st_size > kMaxFileBytes) {
        why = systemFailure(EFBIG);
        return std::nullopt;
    }
    const FileDescriptor file(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isOpen()) {
        why = errno == ELOOP ? FileResult{FileProblem::NotRegularFile, 0} : systemFailure(errno);
        return std::nullopt;
    }
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
        why = {FileProblem::NotRegularFile, 0};
        return std::nullopt;
    }
    const std::optional<QByteArray> data = readBounded(file.get());
    if (!data) {
        why = systemFailure(errno);
        return std::nullopt;
    }
    return SettingsFile{*data, opened.st_mode & 07777, opened.st_uid, opened.st_gid};
}

// Creates a new file beside path under an unused random name; its descriptor
// (closed when none could be created) and name.
FileDescriptor createTemporary(const QByteArray &path, mode_t mode, QByteArray &name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        FileDescriptor file(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode));
        if (file.isOpen() || errno != EEXIST)
            return file;
    }
    return FileDescriptor();
}

// Gives the new file at fd the old file's owner and group, so that a rewrite
// by another user (root quitting) leaves the file its owner's; false when
// that is not permitted.
bool takeOwner(int fd, const SettingsFile &old)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    return (info.st_uid == old.owner && info.st_gid == old.group) || ::fchown(fd, old.owner, old.group) == 0;
}

// True when the file as found may be rewritten: not one its mode marks as
// read-only for everyone (0444: "do not change"), which root would
// otherwise pass, as root passes every access check, and one the user may
// write.
FileResult mayRewrite(const QByteArray &path, const SettingsFile &old)
{
    if (!old.mode)
        return {};
    if ((*old.mode & 0222) == 0)
        return {FileProblem::NoPermission, EACCES};
    if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
        return systemFailure(errno);
    return {};
}

// Replaces the file at path, as old found it, with data: a temporary file
// beside it is written in full and synced, then renamed over it, so the old
// file stays as it was until the new one is complete on disk, and a failure
// at any step leaves it whole. The temporary is private until it takes the
// old file's owner, group and permission bits; a new file gets the usual 0666
// less the umask. A file that may not be rewritten (mayRewrite) is left as
// it is, as is one whose owner the new file cannot get. A folder the user
// may not write fails here, and the file is never rewritten in place
// instead: a full disk could then truncate it.
FileResult replaceFile(const QByteArray &path, QByteArrayView data, const SettingsFile &old, const SyncFile &syncFile)
{
    const FileResult allowed = mayRewrite(path, old);
    if (!allowed.ok())
        return allowed;
    QByteArray temporary;
    FileDescriptor file = createTemporary(path, old.mode ? 0600 : 0666, temporary);
    if (!file.isOpen())
        return systemFailure(errno);
    const int fd = file.get();
    FileResult result;
    errno = 0;
    if (!writeAt(fd, reinterpret_cast<const unsigned char *>(data.data()), data.size(), 0))
        result = systemFailure(errno);
    else if (old.mode && !takeOwner(fd, old))
        result = {FileProblem::NoPermission, errno};
    else if (old.mode && ::fchmod(fd, *old.mode) != 0)
        result = systemFailure(errno);
    else if (!syncFile(fd))
        result = lastSystemFailure();
    if (!file.close() && result.ok())
        result = systemFailure(errno);
    if (result.ok() && ::rename(temporary.constData(), path.constData()) != 0)
        result = systemFailure(errno);
    if (!result.ok())
        ::unlink(temporary.constData());
    return result;
}

// Creates the folders above the file at path that are missing; a folder
// that cannot be made shows when the file is written.
void makeFolders(const QByteArray &path)
{
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0777);
}

}  // namespace

PrivateProfileFile::PrivateProfileFile(SyncFile syncFile) : syncFile_(std::move(syncFile)) {}

QString PrivateProfileFile::readString(const QString &section, const QString &key, const QString &filePath)
{
    FileResult why;
    return profileValue(readFile(nativePath(filePath), why).value_or(SettingsFile{}).data, section, key);
}

FileResult PrivateProfileFile::writeString(const QString &section, const QString &key, const QString &value,
                                           const QString &filePath)
{
    const QByteArray path = nativePath(filePath);
    FileResult why;
    const std::optional<SettingsFile> old = readFile(path, why);
    if (!old)
        return why;
    // A file that holds the value already is left alone.
    const QByteArray text = withProfileValue(old->data, section, key, value);
    if (text == old->data)
        return {};
    // The settings folder of a new user does not exist before the first write.
    makeFolders(path);
    return replaceFile(path, text, *old, syncFile_);
}
