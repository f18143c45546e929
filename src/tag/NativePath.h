#pragma once

#include <QByteArray>
#include <QString>

// The path as the system takes it; empty when it names no file: an empty
// path, or one holding a zero character, which the system would cut short
// and so take for another file.
QByteArray nativePath(const QString &path);
