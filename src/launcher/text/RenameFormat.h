#pragma once

#include "services/FileRow.h"

#include <QString>

#include <array>

// True when the format holds a character file names cannot have on the
// systems the users share files with: \ * ? ! " + > < :
bool isRefusedRenameFormat(const QString &format);
// Those characters the format holds, each once, in the order first met.
QString refusedRenameCharacters(const QString &format);

// The new file name for a row: the format with its tokens replaced by the
// row's cells (%A album, %K artist, %D title, %C comment, %T track, %J genre
// name, %Y year, %N the row's position), followed by the extension of the
// row's current file name, with "_" for each escaped byte (ByteEscape) and
// each control character (U+0000..U+001F, U+007F). Empty when the format is
// refused.
QString renameFileName(const QString &format, const FileRowCells &cells, int position);

// The longest file name the system takes, in bytes.
inline constexpr qsizetype kMaxNameBytes = 255;

// True when a new name built from tag values names a file in the folder of
// the file renamed: not empty, no separator and no zero character, at most
// kMaxNameBytes bytes, and not starting with a dot (".mp3" from an empty
// format), which would hide the file.
bool isNameWithinFolder(const QString &name);
