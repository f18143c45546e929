#pragma once

#include <QChar>
#include <QString>

// The platform's path separator; the folder part of a path keeps it at its
// end, so a full path is the plain concatenation of folder and file name.
inline constexpr QChar kPathSeparator = u'/';

// Text after the last separator; a path without one is returned whole, a path
// ending in one gives the empty text.
QString GetFileNamePart(const QString &path);

// Text up to and including the last separator; empty when there is none.
QString GetFolderPart(const QString &path);
