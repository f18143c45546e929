#pragma once

#include "services/FileMoveService.h"

// Moves with rename(2) semantics that never replace an existing file, so no
// other program's file can be overwritten between a check and the move:
// renameat2(RENAME_NOREPLACE), else a hard link, else (exFAT, FAT) the new
// name taken first by an empty placeholder that the rename then replaces.
class PosixFileMover : public FileMoveService
{
public:
    FileResult moveFile(const QString &source, const QString &destination) override;
};
