#pragma once

#include "services/FileMoveService.h"

// Moves with rename(2) semantics that never replace an existing file, so no
// other program's file can be overwritten between a check and the move.
class PosixFileMover : public FileMoveService
{
public:
    FileResult moveFile(const QString &source, const QString &destination) override;
};
