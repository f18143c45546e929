#pragma once

#include "files/FileResult.h"

#include <QString>

// Renames a file within its folder.
class FileMoveService
{
public:
    virtual ~FileMoveService() = default;
    // Gives the file at source the path destination. Never overwrites: fails
    // when destination exists (NameTaken) or source is missing (Missing), and
    // then leaves everything as it was. Ok when the file was moved, else
    // why not.
    virtual FileResult moveFile(const QString &source, const QString &destination) = 0;
};
