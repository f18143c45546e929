#pragma once

#include "services/FolderService.h"

#include <QtGlobal>

// The most entries looked at in one folder. A folder of a hundred thousand
// entries opens in about a second and its names take about 10 MB; of a
// larger folder only the first entries the system lists are looked at, so
// no folder can stall or swell Kalvo.
inline constexpr qsizetype kMaxFolderEntries = 100000;

// Reads a folder with opendir(3) and readdir(3), keeping only the names, so a
// folder of many thousand entries costs little memory. Subfolders, FIFOs,
// devices and sockets are told by the entry's type where the file system
// gives it, without a stat; elsewhere they are listed, and adding refuses
// them as it refuses any file that is no MP3.
// At most maxEntries entries are looked at ("." and ".." aside), the names
// of files among them kept.
class PosixFolderReader final : public FolderService
{
public:
    explicit PosixFolderReader(qsizetype maxEntries = kMaxFolderEntries) : maxEntries_(maxEntries) {}
    std::optional<QStringList> fileNames(const QString &path) override;

private:
    qsizetype maxEntries_;
};
