#pragma once

#include <QString>

// Renames a file within its folder.
class FileMoveService
{
public:
    virtual ~FileMoveService() = default;
    // Gives the file at source the path destination. Never overwrites: fails
    // when destination exists or source is missing, and then leaves
    // everything as it was. True when the file was moved.
    virtual bool moveFile(const QString &source, const QString &destination) = 0;
};
