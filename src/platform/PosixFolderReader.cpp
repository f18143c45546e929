#include "PosixFolderReader.h"

#include "NativePath.h"

#include <dirent.h>

std::optional<QStringList> PosixFolderReader::fileNames(const QString &path)
{
    const QByteArray native = nativePath(path);
    DIR *folder = native.isEmpty() ? nullptr : ::opendir(native.constData());
    if (!folder)
        return std::nullopt;
    QStringList names;
    while (const dirent *entry = ::readdir(folder)) {
        if (entry->d_name[0] != '.' && entry->d_type != DT_DIR)
            names << pathText(entry->d_name);
    }
    ::closedir(folder);
    return names;
}
