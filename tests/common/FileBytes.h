#pragma once

// Whole-file reads and writes for setting up and checking test files.

#include <QByteArray>
#include <QFile>
#include <QString>

// Creates or replaces path with exactly these bytes; false on failure.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The whole content of a file (empty when it cannot be read).
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
