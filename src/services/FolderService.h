#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Reads which names a folder holds.
class FolderService
{
public:
    virtual ~FolderService() = default;
    // The names in the folder at path that may be files, in no particular
    // order, with their exact bytes (pathText): every entry but subfolders,
    // FIFOs, devices, sockets and hidden ones (names starting with ".").
    // Nothing when path names no folder that can be read.
    virtual std::optional<QStringList> fileNames(const QString &path) = 0;
};
