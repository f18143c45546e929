#include "NativePath.h"

#include <QFile>

QByteArray nativePath(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    return native.contains('\0') ? QByteArray() : native;
}
