#include "FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

std::optional<FileIdentity> fileIdentity(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (native.isEmpty() || native.contains('\0') || ::stat(native.constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}
