#include "PosixFolderReader.h"

#include "NativePath.h"

#include <dirent.h>
#include <cstring>

std::optional<QStringList> PosixFolderReader::fileNames(const QString &path)
{
    const QByteArray native = nativePath(path);
    DIR *folder = native.isEmpty() ? nullptr : ::opendir(native.constData());
    if (!folder)
        return std::nullopt;
    QStringList names;
    for (qsizetype looked = 0; looked < maxEntries_;) {
        const dirent *entry = ::readdir(folder);
        if (!entry)
            break;
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        ++looked;
        if (entry->d_name[0] != '.' && entry->d_type != DT_DIR)
            names << pathText(entry->d_name);
    }
    ::closedir(folder);
    return names;
}
