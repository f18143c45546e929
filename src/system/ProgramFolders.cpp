#include "system/ProgramFolders.h"

#include "files/NativePath.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <unistd.h>

QString currentFolder()
{
    char *folder = ::getcwd(nullptr, 0);
    const QString text = folder ? pathText(folder) : QDir::currentPath();
    std::free(folder);
    return text;
}

QString programFolder()
{
    std::array<char, PATH_MAX> program{};
    const ssize_t length = ::readlink("/proc/self/exe", program.data(), program.size());
    if (length <= 0 || length >= ssize_t(program.size()))
        return QString();
    const QString path = pathText(QByteArrayView(program.data(), length));
    return path.left(std::max<qsizetype>(path.lastIndexOf(u'/'), 1));
}
