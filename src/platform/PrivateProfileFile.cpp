#include "PrivateProfileFile.h"

#include "NativePath.h"
#include "ProfileText.h"

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
// shows as one; nothing for such a file or on an error.
std::optional<QByteArray> readBounded(int fd)
{
    QByteArray data(kMaxFileBytes + 1, Qt::Uninitialized);
    const qint64 size = readAt(fd, reinterpret_cast<unsigned char *>(data.data()), data.size(), 0);
    if (size < 0 || size > kMaxFileBytes)
        return std::nullopt;
    data.truncate(size);
    return data;
}

// The file at path when it is missing (empty, no mode) or a regular file of
// at most kMaxFileBytes; nothing for anything else. A symlink is never
// followed, even to a regular file: a settings write must not land in a file
// someone else chose. FIFOs and devices are never opened, as opening or
// reading them may wait forever or never end; O_NONBLOCK and O_NOFOLLOW cover
// an entry swapped between the lstat and the open, and fstat confirms what
// was opened.
std::optional<SettingsFile> readFile(const QByteArray &path)
{
    if (path.isEmpty())
        return std::nullopt;
    struct stat entry {};
    if (::lstat(path.constData(), &entry) != 0)
        return errno == ENOENT ? std::optional(SettingsFile{}) : std::nullopt;
    if (!S_ISREG(entry.st_mode) || entry.st_size > kMaxFileBytes)
        return std::nullopt;
    const FileDescriptor file(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!file.isOpen() || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return std::nullopt;
    const std::optional<QByteArray> data = readBounded(file.get());
    if (!data)
        return std::nullopt;
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

// Replaces the file at path, as old found it, with data: a temporary file
// beside it is written in full and synced, then renamed over it, so the old
// file stays as it was until the new one is complete on disk, and a failure
// at any step leaves it whole. The temporary is private until it takes the
// old file's owner, group and permission bits; a new file gets the usual 0666
// less the umask. A file its user may not write (0444: "do not change") is
// left as it is, as is one whose owner the new file cannot get. A folder the
// user may not write fails here, and the file is never rewritten in place
// instead: a full disk could then truncate it.
bool replaceFile(const QByteArray &path, QByteArrayView data, const SettingsFile &old, const SyncFile &syncFile)
{
    if (old.mode && ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
        return false;
    QByteArray temporary;
    FileDescriptor file = createTemporary(path, old.mode ? 0600 : 0666, temporary);
    if (!file.isOpen())
        return false;
    const int fd = file.get();
    const bool written = writeAt(fd, reinterpret_cast<const unsigned char *>(data.data()), data.size(), 0)
                         && (!old.mode || (takeOwner(fd, old) && ::fchmod(fd, *old.mode) == 0)) && syncFile(fd);
    if (file.close() && written && ::rename(temporary.constData(), path.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
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
    return profileValue(readFile(nativePath(filePath)).value_or(SettingsFile{}).data, section, key);
}

bool PrivateProfileFile::writeString(const QString &section, const QString &key, const QString &value,
                                     const QString &filePath)
{
    const QByteArray path = nativePath(filePath);
    const std::optional<SettingsFile> old = readFile(path);
    if (!old)
        return false;
    // A file that holds the value already is left alone.
    const QByteArray text = withProfileValue(old->data, section, key, value);
    if (text == old->data)
        return true;
    // The settings folder of a new user does not exist before the first write.
    makeFolders(path);
    return replaceFile(path, text, *old, syncFile_);
}
