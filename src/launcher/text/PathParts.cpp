#include "launcher/text/PathParts.h"

QString GetFileNamePart(const QString &path)
{
    return path.mid(path.lastIndexOf(kPathSeparator) + 1);
}

QString GetFolderPart(const QString &path)
{
    return path.left(path.lastIndexOf(kPathSeparator) + 1);
}
