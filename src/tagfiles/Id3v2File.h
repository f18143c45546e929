#pragma once

#include "files/FileResult.h"
#include "id3v2/Id3v2Text.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Reading the ID3v2 tag at the front of a file. Only the region the tag's
// header announces is read, and only within kMaxId3v2Size.

// The tag region of the open file fd into tag, header included: left empty
// when the file does not start with "ID3"; TagUnreadable when the header is
// malformed or the region is larger than kMaxId3v2Size or than limit (the
// bytes in front of the audio's end); the system's failure when a read fails.
FileResult readId3v2Region(int fd, qint64 limit, QByteArray &tag);

// The v2 tag at the start of the file at path, opened as the tag class opens
// it: NoTag when the file does not start with "ID3"; Unreadable when it is
// no regular file or cannot be read, or when parseId3v2Text finds the tag
// unreadable or the region is larger than the file.
Id3v2Text readId3v2Text(const QString &path);
