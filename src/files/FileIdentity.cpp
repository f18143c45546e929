#include "files/FileIdentity.h"

#include "files/NativePath.h"

#include <sys/stat.h>

std::optional<FileIdentity> fileIdentity(const QString &path)
{
    const QByteArray native = nativePath(path);
    struct stat info {};
    if (native.isEmpty() || ::stat(native.constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

std::optional<FileIdentity> fileIdentity(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}
