#pragma once

#include "FolderService.h"

// Reads a folder with opendir(3) and readdir(3), keeping only the names, so a
// folder of many thousand entries costs little memory. Subfolders, FIFOs,
// devices and sockets are told by the entry's type where the file system
// gives it, without a stat; elsewhere they are listed, and adding refuses
// them as it refuses any file that is no MP3.
class PosixFolderReader final : public FolderService
{
public:
    std::optional<QStringList> fileNames(const QString &path) override;
};
