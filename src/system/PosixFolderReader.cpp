#include "system/PosixFolderReader.h"

#include "files/NativePath.h"

#include <dirent.h>
#include <cstring>

namespace {

// True when the entry's type, as readdir(3) tells it, may be a file: a
// regular file, a symlink (to one, or not), or a type the file system does
// not tell.
bool mayBeFile(unsigned char type)
{
    return type == DT_REG || type == DT_LNK || type == DT_UNKNOWN;
}

}  // namespace

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
        if (entry->d_name[0] != '.' && mayBeFile(entry->d_type))
            names << pathText(entry->d_name);
    }
    ::closedir(folder);
    return names;
}
